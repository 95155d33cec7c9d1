// libFuzzer target: Cls_Critto::carica on arbitrary bytes, plain or enciphered, with every load
// option; then the searches over whatever loaded, and a save/load/save round that must settle.
#include "doppi/doppi.h"
#include "services/pompa_eventi.h"
#include "tables/cls_critto.h"
#include "tables/file_cifrato.h"

#include "servizi_fuzz.h"

namespace meravo::fuzz {
namespace {

// Every column type; record length 3 + 6 + 11 + 21 + 21 + 8 + 5 + 2 = 77.
const std::vector<DescrizioneColonna> layout = {
    {2, 0, "i16"}, {3, 0, "i32"}, {4, 0, "sng"}, {5, 0, "dbl"}, {7, 0, "data"}, {8, 5, "testo"},
};

struct Ambiente {
    prova::OrologioFinto orologio;
    PompaEventiNulla pompa;
    MessaggiContati messaggi;
    // Under TMPDIR, which scripts/fuzz points at a scratch folder of its own that it removes
    // even when a finding ends the process before this object does.
    prova::CartellaTemporanea cartella;
    // 30 valid key lines, so that the fuzzer's bytes reach the deciphering of data lines.
    std::string intestazione = cifra_righe({}, orologio);

    Cls_Critto nuova_tabella() {
        Cls_Critto t(orologio, pompa, messaggi);
        t.nome_computer = [] { return std::string("FUZZ"); };
        esigi(t.descrizione(layout).ok());
        return t;
    }
};

void cerca_ovunque(const Cls_Critto& t) {
    for (int c = 1; c <= t.colonne(); ++c) {
        const Valore v = t.dati_diretto(c, 1);
        t.identifica_elemento(v, c, c - 1);
        t.identifica_elemento_dicotomica_primo(v, c);
        t.ricerca_dicotomica(v, c);
        t.identifica_elemento_da(v, c, 2);
        t.identifica_elemento_cessati(v, c);
        t.ritorna_inizio_singoli(c);
        t.dati(c);
    }
    t.identifica_elemento_lunghezza("A", 6);
    t.estrai("a", 6);
    int posizione = 0;
    t.identifica_elemento_dicotomica_secondario_primo(t.dati_diretto_secondario(1, 1), &posizione);
    t.identifica_elemento_secondario_da(std::int32_t{1}, 2, 1);
}

} // namespace

MERAVO_FUZZ(testo) {
    static Ambiente a;
    Byte byte(testo);
    const auto modo = byte.uno();
    const auto opzioni_bit = byte.uno();
    const auto corpo = byte.tutto();
    const bool cifrato = (modo & 1) != 0;

    // Enciphered input comes three ways: bytes as they are (the header too), a valid header
    // before arbitrary data lines, or the fuzzer's plain lines enciphered with that header's
    // keys, which lets it build records that decipher into something meaningful.
    std::string contenuto;
    if (cifrato && (modo & 64) != 0) {
        contenuto = cifra_righe(righe_di(corpo), a.orologio);
    } else {
        contenuto = cifrato && (modo & 2) != 0 ? a.intestazione : std::string();
        contenuto.append(corpo);
    }
    a.cartella.scrivi("tabella.tcl", contenuto);

    Cls_Critto t = a.nuova_tabella();
    t.separa_cessati = (modo & 4) != 0;
    t.nome_tabella = (modo & 8) != 0 ? "generale_pazienti" : "tabella";
    OpzioniCarica opzioni;
    opzioni.lettura_crittato = cifrato;
    opzioni.no_decritto = (modo & 16) != 0;
    opzioni.ridotto = (opzioni_bit & 1) != 0;
    opzioni.lettura_parziale = (opzioni_bit & 2) != 0;
    opzioni.tabella_autorizzati = {0, 1, 2, 7, 100, 12345};
    opzioni.ordinamento_secondario = (opzioni_bit >> 2) % 8; // 7 is outside the layout
    t.carica(a.cartella.file("tabella.tcl"), opzioni);
    cerca_ovunque(t);

    // Whatever loaded, once saved, must load back without complaint and save to the same bytes
    // the second time round (the first save may normalise, e.g. a CR inside a text).
    esigi(t.salva(a.cartella.file("primo.tda"), true, (modo & 32) != 0).ok());
    Cls_Critto u = a.nuova_tabella();
    esigi(u.carica(a.cartella.file("primo.tda"), {.lettura_crittato = (modo & 32) != 0}) &&
          u.righe() == t.righe() && u.salva(a.cartella.file("secondo.tda"), true));
    Cls_Critto v = a.nuova_tabella();
    esigi(v.carica(a.cartella.file("secondo.tda")) && v.salva(a.cartella.file("terzo.tda"), true));
    esigi(a.cartella.leggi("secondo.tda") == a.cartella.leggi("terzo.tda"));
}

} // namespace meravo::fuzz
