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
// Character 1 of a record's prefix is its status, character 2 its suspension mark.
constexpr char stato_cessato = '1';
constexpr char segno_sospeso = '1';
constexpr char segno_non_sospeso = '0';
constexpr std::string_view nome_colonna_chiavenome = "chiavenome";
constexpr std::string_view nome_colonna_codicereg = "codicereg";

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
    const auto presa = blocco.prendi(cartella / file_blocco, operazione, orologio_, pompa_);
    if (presa == BloccoScrittura::Presa::occupato) {
        messaggi_.avvisa("L'elenco pazienti \xE8 in modifica da un'altra postazione. "
                         "Riprovare tra qualche istante.",
                         Icona::esclamazione, titolo);
        return false;
    }
    if (presa == BloccoScrittura::Presa::non_creabile) {
        messaggi_.avvisa("Impossibile creare il file " + testo::testo_percorso(cartella / file_blocco) +
                             " (errore di sistema " + std::to_string(blocco.errore()) +
                             "): la cartella dell'elenco pazienti non \xE8 scrivibile o non \xE8 "
                             "raggiungibile. L'elenco non \xE8 stato modificato.",
                         Icona::critico, titolo);
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
    // A blank line holds no record: the loader passes over it, and the change writes the list
    // without it.
    std::erase_if(righe, [](const std::string& r) { return r.empty(); });
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
    constexpr auto privato = Accesso::solo_utente;
    if (!copia_file_intero(elenco, datato, privato) ||
        !copia_file_intero(elenco, elenco_bak, privato) ||
        (con_copia && !copia_file_intero(copia_piana, copia_piana_bak, privato))) {
        messaggi_.avvisa("Impossibile creare la copia di sicurezza dell'elenco pazienti: "
                         "l'elenco non \xE8 stato modificato.",
                         Icona::critico, titolo);
        return false;
    }

    const std::string chiaro = unisci_righe(righe);
    const bool scritto =
        (!con_copia || scrivi_file_intero(copia_piana, chiaro, privato)) &&
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
            copia_file_intero(copia_piana_bak, copia_piana, privato);
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
    // The list is changed; only the other programs' working copy is behind.
    if (!copia_piana_mancata_.empty()) {
        messaggi_.avvisa(copia_piana_mancata_ +
                             ": la copia di lavoro dell'elenco pazienti non \xE8 aggiornata.",
                         Icona::esclamazione, titolo);
    }
    return true;
}

std::vector<std::string>::iterator Cls_Critto::trova_paziente(std::vector<std::string>& righe,
                                                              std::int32_t paziente) {
    const auto trovata = std::find_if(righe.begin(), righe.end(), [&](const std::string& r) {
        return numero_paziente(r) == paziente;
    });
    if (trovata == righe.end()) {
        messaggi_.avvisa(std::string("Il paziente ") + std::to_string(paziente) +
                             " non \xE8 presente nell'elenco pazienti.",
                         Icona::esclamazione, titolo);
    }
    return trovata;
}

std::optional<Cls_Critto::CampiNuovi>
Cls_Critto::campi_nuovi(std::int32_t cliente, const std::vector<Valore>& aggiornamento) const {
    if (!caricata() || aggiornamento.size() > campi_.size()) {
        return std::nullopt;
    }
    CampiNuovi campi;
    for (std::size_t c = 1; c < aggiornamento.size(); ++c) {
        const Valore& v = aggiornamento[c];
        if (std::holds_alternative<std::monostate>(v)) {
            continue;
        }
        const auto convertito = converti(v, campi_[c].tipo);
        // The first column is the patient's number: it names the record, it is not changed.
        if (!convertito || (c == 1 && *convertito != Valore(cliente))) {
            return std::nullopt;
        }
        std::string campo;
        scrivi_campo(campo, *convertito, descrizione_[c - 1]);
        campi.emplace_back(c, std::move(campo));
    }
    return campi;
}

void Cls_Critto::scrivi_campi(std::string& riga, const CampiNuovi& campi) const {
    for (const auto& [c, campo] : campi) {
        riga.replace(campi_[c].inizio, campi_[c].larghezza, campo);
    }
}

int Cls_Critto::colonna_di_nome(std::string_view nome) const {
    const auto trovata = std::find_if(descrizione_.begin(), descrizione_.end(),
                                      [nome](const auto& c) { return c.nome == nome; });
    return trovata == descrizione_.end() ? -1
                                         : static_cast<int>(trovata - descrizione_.begin()) + 1;
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
    // The fields to write, each already in its width; the others keep their bytes.
    const auto campi = campi_nuovi(cliente, aggiornamento);
    if (!campi) {
        return false;
    }
    return modifica_elenco("aggiorna_esistente", crittato, false, [&](auto& righe) {
        const auto trovata = trova_paziente(righe, cliente);
        if (trovata == righe.end()) {
            return false;
        }
        scrivi_campi(*trovata, *campi);
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
    // Other programs of the practice know a new patient as an update of the list.
    return modifica_elenco("aggiorna_esistente", scrittura_crittato, false, [&](auto& righe) {
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
    return modifica_elenco("eliminazione_definitiva", opzioni_caricate_.lettura_crittato, true,
                           [&](auto& righe) {
                               const auto trovata = trova_paziente(righe, paziente);
                               if (trovata == righe.end()) {
                                   return false;
                               }
                               righe.erase(trovata);
                               return true;
                           });
}

bool Cls_Critto::aggiorna_chiavenome(const std::string& nomepaziente, const std::string& codicereg,
                                     std::int32_t numerocli) {
    const int colonna_nome = colonna_di_nome(nome_colonna_chiavenome);
    const int colonna_reg = colonna_di_nome(nome_colonna_codicereg);
    if (colonna_nome < 1 || colonna_reg < 1) {
        return false;
    }
    std::vector<Valore> aggiornamento(campi_.size());
    aggiornamento[static_cast<std::size_t>(colonna_nome)] = nomepaziente;
    aggiornamento[static_cast<std::size_t>(colonna_reg)] = codicereg;
    const auto campi = campi_nuovi(numerocli, aggiornamento);
    if (!campi) {
        return false;
    }
    const auto& chiave = campi_[static_cast<std::size_t>(colonna_nome)];
    const auto minore = [&chiave](const std::string& a, const std::string& b) {
        return confronta(leggi_campo(parte(a, chiave.inizio, chiave.larghezza), chiave.tipo),
                         leggi_campo(parte(b, chiave.inizio, chiave.larghezza), chiave.tipo)) < 0;
    };
    return modifica_elenco(
        "aggiorna_chiavenome", opzioni_caricate_.lettura_crittato, false, [&](auto& righe) {
            const auto trovata = trova_paziente(righe, numerocli);
            if (trovata == righe.end()) {
                return false;
            }
            // A list kept in order of the name key is searched by halves on it: the record
            // moves to the place of its new key. A list in another order keeps it where it is.
            const bool in_ordine = std::is_sorted(righe.begin(), righe.end(), minore);
            scrivi_campi(*trovata, *campi);
            if (in_ordine) {
                std::string riga = std::move(*trovata);
                righe.erase(trovata);
                righe.insert(std::upper_bound(righe.begin(), righe.end(), riga, minore),
                             std::move(riga));
            }
            return true;
        });
}

bool Cls_Critto::marca_cessato(std::int32_t paziente) {
    return segna_stato(paziente, "marca_cessato", 0, stato_cessato);
}

bool Cls_Critto::modifica_sospensione(std::int32_t paziente, bool sospeso) {
    return segna_stato(paziente, "modifica_sospensione", 1,
                       sospeso ? segno_sospeso : segno_non_sospeso);
}

bool Cls_Critto::segna_stato(std::int32_t paziente, std::string_view operazione,
                             std::size_t posizione, char segno) {
    return modifica_elenco(operazione, opzioni_caricate_.lettura_crittato, false, [&](auto& righe) {
        const auto trovata = trova_paziente(righe, paziente);
        if (trovata == righe.end()) {
            return false;
        }
        (*trovata)[posizione] = segno;
        return true;
    });
}

bool Cls_Critto::AggiungiRecord(const std::string& nomefile, const std::string& nomefilebak,
                                const std::string& recordAggiunta, bool ordinamento, int inizioRec,
                                int lungrec) {
    const auto contenuto = leggi_file_intero(nomefile);
    if (!contenuto) {
        messaggi_.avvisa("Impossibile leggere il file " + nomefile +
                             ": il record non \xE8 stato aggiunto.",
                         Icona::critico, titolo);
        return false;
    }
    auto righe = righe_di(*contenuto);
    std::erase_if(righe, [](const std::string& r) { return r.empty(); });
    const std::size_t lunghezza = righe.empty() ? recordAggiunta.size() : righe.front().size();
    if (std::any_of(righe.begin(), righe.end(),
                    [lunghezza](const std::string& r) { return r.size() != lunghezza; })) {
        messaggi_.avvisa("ATTENZIONE!!! Il file " + nomefile +
                             " contiene record di lunghezze diverse: il record non \xE8 stato "
                             "aggiunto.",
                         Icona::critico, titolo);
        return false;
    }
    // The sort key: characters inizioRec to inizioRec + lungrec - 1, or to the end of the record.
    const auto inizio = static_cast<std::size_t>(std::max(inizioRec, 1) - 1);
    const std::size_t chiave = lungrec > 0 ? static_cast<std::size_t>(lungrec) : std::string::npos;
    if (recordAggiunta.empty() || recordAggiunta.size() != lunghezza ||
        recordAggiunta.find_first_of("\r\n") != std::string::npos || inizioRec < 1 || lungrec < 0 ||
        inizio >= lunghezza || (chiave != std::string::npos && inizio + chiave > lunghezza)) {
        messaggi_.avvisa("Il record da aggiungere non ha la struttura dei record del file " +
                             nomefile + ": il file non \xE8 stato modificato.",
                         Icona::esclamazione, titolo);
        return false;
    }
    auto dove = righe.end();
    if (ordinamento) {
        const auto chiave_di = [&](std::string_view r) { return r.substr(inizio, chiave); };
        dove = std::find_if(righe.begin(), righe.end(), [&](const std::string& r) {
            return chiave_di(r) > chiave_di(recordAggiunta);
        });
    }
    righe.insert(dove, recordAggiunta);
    if (!copia_file_intero(nomefile, nomefilebak, Accesso::solo_utente)) {
        messaggi_.avvisa("Impossibile creare la copia di sicurezza " + nomefilebak +
                             ": il file non \xE8 stato modificato.",
                         Icona::critico, titolo);
        return false;
    }
    // Written whole or not at all: on a failure the file is still the one in the backup.
    if (!scrivi_file_intero(nomefile, unisci_righe(righe))) {
        messaggi_.avvisa("Impossibile scrivere il file " + nomefile +
                             ": il file non \xE8 stato modificato.",
                         Icona::critico, titolo);
        return false;
    }
    return true;
}

} // namespace meravo
