// libFuzzer target: the look-up model over a small sorted column, fed keys, characters, clicks
// and the container's calls, some of them arriving while a search lets window events run. After
// every input the look-up's lists must agree with each other and with the column, every match
// must match what is typed under the current search mode, the candidate and the selections must
// lie within their lists; sorting the multi-column list keeps its rows and its selection, and a
// row chosen there puts in the box the entry it shows.
#include "core/lookup/banco_trova.h"
#include "text/testo.h"

#include "servizi_fuzz.h"

#include <array>

namespace meravo::fuzz {
namespace {

using Evento = std::array<std::uint8_t, 3>;

// Few letters, so that entries share beginnings and the searches have something to narrow.
constexpr std::string_view lettere = "ABC \xC0-a\xE0";
constexpr std::string_view digitabili = "abcABC \xE0\xC0-";
constexpr Tasto tasti[] = {Tasto::invio,  Tasto::maiuscole, Tasto::esc,      Tasto::spazio,
                           Tasto::fine,   Tasto::inizio,    Tasto::sinistra, Tasto::su,
                           Tasto::destra, Tasto::giu,       Tasto{65}};

// The entries sorted, and in upper case when case is ignored, as prefix searches require.
std::vector<std::string> colonna(Byte& byte, bool maiuscole) {
    std::vector<std::string> righe(byte.uno() % 120);
    std::uint32_t stato = byte.intero<std::uint32_t>();
    const auto prossimo = [&stato] { return (stato = stato * 1103515245u + 12345u) >> 16; };
    for (auto& voce : righe) {
        for (auto l = prossimo() % 7; l > 0; --l) {
            voce.push_back(lettere[prossimo() % lettere.size()]);
        }
        voce = maiuscole ? testo::maiuscolo(voce) : voce;
    }
    std::sort(righe.begin(), righe.end());
    return righe;
}

struct Banco : prova::BancoTrova {
    Banco(Byte& byte, std::uint8_t opzioni)
        : BancoTrova(colonna(byte, opzioni & 1),
                     opzioni & 8 ? std::optional<std::string>("icdix") : std::nullopt,
                     opzioni & 16 ? std::optional<std::string>("farmaci_tab") : std::nullopt),
          maiuscole(opzioni & 1) {
        // The multi-column list shows a date per row in its second column.
        for (std::size_t r = 1; r <= tabella.colonne[2].size(); ++r) {
            tabella.colonne[3].push_back(std::to_string(10 + r % 18) + "/0" +
                                         std::to_string(1 + r % 9) + "/2024");
        }
        t.InputMinMaiuscIndifferente(maiuscole);
        t.gestione_enter_esterna(opzioni & 2);
        t.lista_treeview(opzioni & 4);
        t.setta_treeview({2, 3}, {"Voce", "Data"});
        t.eventi().selezione_confermata = [this] { conferme.push_back(t.Text()); };
    }

    // What the user does: typing, keys and clicks, delivered to the part that has the focus.
    void input_utente(Evento e) {
        const auto [tipo, a, b] = e;
        const Tasto tasto = tasti[a % std::size(tasti)];
        const int mod = b % 8;
        const bool testo = t.focus() == trova::Focus::testo;
        const bool lista = t.focus() == trova::Focus::lista;
        const int scelta = tipo % 8;
        if (scelta < 3 && testo) {
            const char c = b % 4 == 0 ? static_cast<char>(a) : digitabili[a % digitabili.size()];
            if (c == ' ') {
                t.tasto_giu_testo(Tasto::spazio, modificatori::nessuno);
            }
            t.carattere_testo(c);
        } else if (scelta == 3 && (testo || lista)) {
            testo ? t.tasto_giu_testo(tasto, mod) : t.tasto_giu_lista(tasto, mod);
        } else if (scelta == 3) {
            tasto == Tasto::invio ? scegli_nella_vista(-1, mod) : t.tasto_giu_controllo(tasto, mod);
        } else if (scelta == 4 && lista) {
            t.tasto_su_lista(tasto, mod);
        } else if (scelta == 5) {
            b % 2 ? t.doppio_click_lista(a - 1) : t.click_lista(a - 1);
        } else if (scelta == 6 && b % 3 == 0) {
            t.seleziona_riga_vista(a - 1);
        } else if (scelta == 6 && b % 3 == 1) {
            scegli_nella_vista(a - 1, std::nullopt);
        } else if (scelta == 6) {
            const auto& v = t.vista();
            const auto puntatore = v.cella_selezionata(v.intestazioni().size() - 2);
            const auto righe = v.righe().size();
            t.click_intestazione_vista(a % 5 - 1);
            esigi(v.righe().size() == righe);
            esigi(v.cella_selezionata(v.intestazioni().size() - 2) == puntatore);
        } else if (scelta == 7) {
            t.mouse_su_testo();
        }
    }

    // Choosing a row of the multi-column list, by double click or by Enter (with these modifiers)
    // on the selected row, puts in the box the entry that row shows.
    void scegli_nella_vista(int riga, std::optional<int> invio_con) {
        const auto& vista = t.vista();
        const auto& righe = vista.righe();
        const int scelta = !invio_con && riga >= 0 && static_cast<std::size_t>(riga) < righe.size()
                               ? riga
                               : vista.selezionata();
        const bool aperta = vista.visibile() && scelta >= 0;
        const std::string mostrata = aperta ? righe[static_cast<std::size_t>(scelta)].front() : "";
        const auto prima = conferme.size();
        if (invio_con) {
            t.tasto_giu_controllo(Tasto::invio, *invio_con);
        } else {
            t.scegli_riga_vista(riga);
        }
        // Keys typed meanwhile are applied after the choice, so it is checked as it is confirmed.
        if (aperta && !vista.visibile()) {
            esigi(conferme.size() > prima && conferme[prima] == mostrata);
        }
    }

    // What the container does between the user's inputs.
    void chiamata_contenitore(Evento e) {
        const auto [tipo, a, b] = e;
        std::string prefisso;
        for (int i = a % 3; i > 0; --i) {
            prefisso.push_back(digitabili[(b + i) % digitabili.size()]);
        }
        const int scelta = tipo % 6;
        if (scelta == 0 && t.ridimensionato()) {
            trovati_al_ridimensionamento = &t.lista_trovati();
        } else if (scelta == 1) {
            t.inizializza_senza_caricare(prefisso);
        } else if (scelta == 2) {
            t.inizializza(tabella, b % 4 == 0 ? 7 : 2, prefisso);
        } else if (scelta == 3) {
            t.chiudi_lista();
        } else if (scelta == 4) {
            t.reset_selezione_testo();
            t.rimetti_focus();
        } else if (scelta == 5) {
            t.lista_treeview(b % 2 == 0);
        }
    }

    void verifica() {
        esigi(!t.in_elaborazione());
        const auto& colonna = t.valori_colonna();
        const auto& trovati = t.lista_trovati();
        const auto& puntatori = t.puntatori();
        esigi(colonna == tabella.dati(2, {}));
        esigi(trovati.size() == puntatori.size() && !trovati.empty());
        esigi(t.quanti() == static_cast<std::int32_t>(trovati.size()) - 1);
        for (std::size_t k = 1; k < puntatori.size(); ++k) {
            const auto riga = puntatori[k];
            esigi(riga >= 1 && static_cast<std::size_t>(riga) < colonna.size());
            esigi(k == 1 || puntatori[k - 1] < riga);
            esigi(trovati[k] == colonna[static_cast<std::size_t>(riga)]);
        }
        esigi(t.quanti() == 0 || (t.posizione() >= 1 && t.posizione() <= t.quanti()));
        if (trovati_al_ridimensionamento != &trovati) {
            trovati_al_ridimensionamento = nullptr;
            // The matches filtered again by the mode's rule, stated on its own, over what is typed.
            const auto digitato = t.testo().substr(0, t.inizio_selezione());
            const auto& primo = a_due_termini(t.modo()) ? t.fisso().caption : digitato;
            esigi(prova::secondo_la_regola(t.modo(), maiuscole, primo, digitato, trovati) ==
                  trovati);
        }

        esigi(t.inizio_selezione() + t.lunghezza_selezione() == t.testo().size());
        esigi(t.posizione_cursore() <= t.testo().size());
        for (const auto* e : {&t.primo_libero(), &t.fisso(), &t.libero()}) {
            esigi(!e->visibile || !e->caption.empty());
        }
        const auto& lista = t.lista();
        esigi(lista.indice() >= -1 && lista.indice() < static_cast<int>(lista.voci().size()));
        const auto& vista = t.vista();
        esigi(vista.selezionata() >= -1 &&
              vista.selezionata() < static_cast<int>(vista.righe().size()));
        for (const auto& celle : vista.righe()) {
            esigi(celle.size() == vista.intestazioni().size());
        }
    }

    bool maiuscole;
    std::vector<std::string> conferme; // Text as each confirmation announced it
    // A resize puts the mode back to "<" without searching again: until the next search the
    // matches are still those of the mode before, and only that search makes them agree.
    const std::vector<std::string>* trovati_al_ridimensionamento = nullptr;
};

} // namespace

MERAVO_FUZZ(testo) {
    Byte byte(testo);
    const auto opzioni = byte.uno();
    Banco b(byte, opzioni);
    b.t.inizializza(b.tabella, 2, std::string(byte.testo(3)));
    b.verifica();

    const auto prossimo = [&byte] { return Evento{byte.uno(), byte.uno(), byte.uno()}; };
    for (int eventi = 0; !byte.finiti() && ++eventi < 300;) {
        const auto e = prossimo();
        if (e[0] < 160) {
            b.input_utente(e);
        } else if (e[0] < 224) {
            b.chiamata_contenitore(e);
        } else {
            // The next inputs are given while the search they may start is still running.
            for (int k = e[1] % 4 + 1; k > 0 && !byte.finiti(); --k) {
                b.in_arrivo.push_back([&b, e = prossimo()] { b.input_utente(e); });
            }
            b.input_utente(prossimo());
        }
        b.verifica();
        // Whatever no search took comes afterwards, one input at a time.
        while (!b.in_arrivo.empty()) {
            const auto resto = std::move(b.in_arrivo.front());
            b.in_arrivo.pop_front();
            resto();
            b.verifica();
        }
    }
}

} // namespace meravo::fuzz
