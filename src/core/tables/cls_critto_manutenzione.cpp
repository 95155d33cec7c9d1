#include "tables/cls_critto.h"

#include "services/messaggi.h"
#include "services/orologio.h"
#include "tables/blocco_scrittura.h"
#include "tables/campi_record.h"
#include "tables/file_cifrato.h"
#include "tables/file_interi.h"
#include "text/testo.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace meravo {

namespace {

namespace fs = std::filesystem;
using namespace campi_record;

constexpr std::string_view titolo = "Ostrel 2";
constexpr std::string_view titolo_crittatura = "Ostrel2";

constexpr std::string_view file_blocco = "modElenco.blk";
constexpr std::string_view file_copia_piana = "tara_config.tmp";
constexpr std::string_view file_copia_piana_bak = "tara_config.bak";
constexpr std::string_view file_elenco_bak = "elenco_pazienti.bak";
constexpr std::string_view prefisso_backup_datato = "elenco_pazienti.bak_";
constexpr std::string_view prefisso_nuovo_record = "000";

const std::string errore_crittatura =
    "Errore nella crittatura dell'elenco pazienti! Impossibile eliminare il paziente.";
const std::string errore_aggiornamento =
    "ATTENZIONE!!! Si \xE8 verificato un errore nell'aggiornamento dell'elenco pazienti. "
    "Verr\xE0 ripristinata la versione precedente.";

std::int64_t numero_paziente(std::string_view riga) {
    return static_cast<std::int64_t>(numero_lenient(parte(riga, 3, 11)));
}

std::string data_ora_per_nome(const DataOra& d) {
    char testo[32];
    std::snprintf(testo, sizeof testo, "%04d%02d%02d_%02d%02d%02d", d.anno, d.mese, d.giorno, d.ora,
                  d.minuto, d.secondo);
    return testo;
}

} // namespace

bool Cls_Critto::scrittura(const std::string& file_da_crittare, const std::string& file_crittato) {
    const auto chiaro = leggi_file_intero(testo::percorso(file_da_crittare));
    if (!chiaro || !scrivi_file_intero(testo::percorso(file_crittato),
                                       cifra_righe(righe_di(*chiaro), orologio_))) {
        messaggi_.avvisa(errore_crittatura, Icona::critico, titolo_crittatura);
        return false;
    }
    return true;
}

void Cls_Critto::mostra_struttura_errata(bool eliminazione) {
    std::string testo = "ATTENZIONE!!! E' stato trovato un errore nella struttura di un record "
                        "dell'elenco pazienti. ";
    testo += eliminazione ? "E' impossibile continuare con l'eliminazione del paziente."
                          : "E' impossibile aggiornare i dati del paziente nell'elenco.";
    testo += "\nVerr\xE0 ripristinata la versione precedente dell'elenco pazienti.";
    testo += "\nIMPORTANTE. Contattare l'assistenza tecnica di Ostrel!";
    messaggi_.avvisa(testo, Icona::critico, titolo);
}

// Every change of the list runs here: lock, read the list as it is on disk, check every record,
// change, back up, write, reload. The records are taken from the list itself rather than from
// the plain copy, which another program's load may have left behind an older list; the plain copy
// is rewritten from the same records so that the two stay one.
bool Cls_Critto::modifica_elenco(std::string_view operazione, bool crittato, bool eliminazione,
                                 const CambioElenco& cambia) {
    if (!caricata() || campi_.size() < 2 || campi_[1].tipo != TipoColonna::intero32) {
        return false;
    }
    const fs::path elenco = testo::percorso(file_caricato_);
    const fs::path cartella = elenco.parent_path();
    BloccoScrittura blocco;
    if (!blocco.prendi(cartella / file_blocco, operazione, orologio_, pompa_)) {
        messaggi_.avvisa("L'elenco pazienti \xE8 in modifica da un'altra postazione. "
                         "Riprovare tra qualche istante.",
                         Icona::esclamazione, titolo);
        return false;
    }

    const auto contenuto = leggi_file_intero(elenco);
    std::vector<std::string> righe;
    bool leggibile = contenuto.has_value();
    if (leggibile && crittato) {
        leggibile = decifra_righe(*contenuto, orologio_, file_caricato_, righe).ok();
    } else if (leggibile) {
        righe = righe_di(*contenuto);
    }
    const std::size_t lunghezza = lunghezza_record() - 2;
    if (!leggibile || std::any_of(righe.begin(), righe.end(), [lunghezza](const std::string& r) {
            return r.size() != lunghezza;
        })) {
        // Nothing has been written yet: the previous list is still the list.
        mostra_struttura_errata(eliminazione);
        return false;
    }
    if (!cambia(righe)) {
        return false;
    }

    // Two changes within the same second on one computer share the dated name; the later
    // backup replaces the earlier one.
    const fs::path datato = cartella / (std::string(prefisso_backup_datato) +
                                        data_ora_per_nome(orologio_.adesso()) + "_" + computer_);
    const fs::path elenco_bak = cartella / file_elenco_bak;
    const fs::path copia_piana = cartella / file_copia_piana;
    const fs::path copia_piana_bak = cartella / file_copia_piana_bak;
    std::error_code ignorato;
    const bool con_copia = crittato && fs::exists(copia_piana, ignorato);
    if (!copia_file_intero(elenco, datato) || !copia_file_intero(elenco, elenco_bak) ||
        (con_copia && !copia_file_intero(copia_piana, copia_piana_bak))) {
        messaggi_.avvisa("Impossibile creare la copia di sicurezza dell'elenco pazienti: "
                         "l'elenco non \xE8 stato modificato.",
                         Icona::critico, titolo);
        return false;
    }

    const std::string chiaro = unisci_righe(righe);
    const bool scritto =
        (!con_copia || scrivi_file_intero(copia_piana, chiaro)) &&
        scrivi_file_intero(elenco, crittato ? cifra_righe(righe, orologio_) : chiaro);
    if (!scritto) {
        if (crittato) {
            messaggi_.avvisa(errore_crittatura, Icona::critico, titolo_crittatura);
        }
        if (eliminazione || !crittato) {
            messaggi_.avvisa(errore_aggiornamento, Icona::critico, titolo);
        }
        copia_file_intero(elenco_bak, elenco);
        if (con_copia) {
            copia_file_intero(copia_piana_bak, copia_piana);
        }
    }
    fs::remove(copia_piana_bak, ignorato);
    if (!scritto) {
        return false;
    }

    const std::string file = file_caricato_;
    const OpzioniCarica opzioni = opzioni_caricate_;
    if (const auto ricarica = carica(file, opzioni); !ricarica) {
        messaggi_.avvisa(ricarica.messaggio(), Icona::critico, titolo);
        return false;
    }
    return true;
}

std::string Cls_Critto::riga_nuova(const std::vector<Valore>& valori) const {
    std::string riga(prefisso_nuovo_record);
    for (std::size_t c = 1; c < campi_.size(); ++c) {
        const Valore v = c < valori.size() ? valori[c] : Valore{};
        if (!converti(v, campi_[c].tipo)) {
            return {};
        }
        scrivi_campo(riga, v, descrizione_[c - 1]);
    }
    return riga;
}

bool Cls_Critto::aggiorna_esistente(std::int32_t cliente, const std::vector<Valore>& aggiornamento,
                                    bool crittato) {
    if (!caricata() || aggiornamento.size() > campi_.size()) {
        return false;
    }
    // The fields to write, each already in its width; the others keep their bytes.
    std::vector<std::pair<std::size_t, std::string>> campi_nuovi;
    for (std::size_t c = 1; c < aggiornamento.size(); ++c) {
        const Valore& v = aggiornamento[c];
        if (std::holds_alternative<std::monostate>(v)) {
            continue;
        }
        const auto convertito = converti(v, campi_[c].tipo);
        // The first column is the patient's number: it names the record, it is not changed.
        if (!convertito || (c == 1 && *convertito != Valore(cliente))) {
            return false;
        }
        std::string campo;
        scrivi_campo(campo, *convertito, descrizione_[c - 1]);
        campi_nuovi.emplace_back(c, std::move(campo));
    }
    return modifica_elenco("aggiorna_esistente", crittato, false, [&](auto& righe) {
        const auto trovata = std::find_if(righe.begin(), righe.end(), [&](const std::string& r) {
            return numero_paziente(r) == cliente;
        });
        if (trovata == righe.end()) {
            messaggi_.avvisa(std::string("Il paziente ") + std::to_string(cliente) +
                                 " non \xE8 presente nell'elenco pazienti.",
                             Icona::esclamazione, titolo);
            return false;
        }
        for (const auto& [c, campo] : campi_nuovi) {
            trovata->replace(campi_[c].inizio, campi_[c].larghezza, campo);
        }
        return true;
    });
}

bool Cls_Critto::aggiungi_nuovo(const std::vector<Valore>& vettore, int colonna_ordinamento,
                                bool scrittura_crittato) {
    separa_cessati = true;
    if (!caricata() || !colonna_valida(colonna_ordinamento) || vettore.size() > campi_.size()) {
        return false;
    }
    const std::string nuova = riga_nuova(vettore);
    if (nuova.empty()) {
        return false;
    }
    const auto& ordine = campi_[static_cast<std::size_t>(colonna_ordinamento)];
    const auto chiave_di = [&ordine](std::string_view riga) {
        return leggi_campo(parte(riga, ordine.inizio, ordine.larghezza), ordine.tipo);
    };
    const Valore chiave = chiave_di(nuova);
    const auto numero = numero_paziente(nuova);
    return modifica_elenco("aggiungi_nuovo", scrittura_crittato, false, [&](auto& righe) {
        if (std::any_of(righe.begin(), righe.end(),
                        [&](const std::string& r) { return numero_paziente(r) == numero; })) {
            messaggi_.avvisa(std::string("Il paziente ") + std::to_string(numero) +
                                 " \xE8 gi\xE0 presente nell'elenco pazienti.",
                             Icona::esclamazione, titolo);
            return false;
        }
        const auto dopo = std::find_if(righe.begin(), righe.end(), [&](const std::string& r) {
            return confronta(chiave_di(r), chiave) > 0;
        });
        righe.insert(dopo, nuova);
        return true;
    });
}

bool Cls_Critto::eliminazione_definitiva(int indice_paziente, std::int32_t paziente) {
    // The row must still hold that patient: a stale index must not remove someone else.
    if (dati_diretto(1, indice_paziente) != Valore(paziente)) {
        return false;
    }
    return modifica_elenco(
        "eliminazione_definitiva", opzioni_caricate_.lettura_crittato, true, [&](auto& righe) {
            const auto trovata =
                std::find_if(righe.begin(), righe.end(),
                             [&](const std::string& r) { return numero_paziente(r) == paziente; });
            if (trovata == righe.end()) {
                messaggi_.avvisa(std::string("Il paziente ") + std::to_string(paziente) +
                                     " non \xE8 presente nell'elenco pazienti.",
                                 Icona::esclamazione, titolo);
                return false;
            }
            righe.erase(trovata);
            return true;
        });
}

} // namespace meravo
