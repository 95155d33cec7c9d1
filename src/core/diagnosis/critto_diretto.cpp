#include "diagnosis/critto_diretto.h"

#include "services/pompa_eventi.h"
#include "tables/campi_record.h"
#include "tables/file_interi.h"
#include "tables/lettore_righe.h"
#include "tables/shell_sort_any.h"
#include "text/testo.h"

#include <algorithm>
#include <filesystem>

namespace meravo {

namespace {

using campi_record::parte;

// Positions in a line of the tables: prefix 1-3, code 4-12, then the description 13-262 and
// the flag 263 (complete table) or the record number (secondary table).
constexpr std::size_t inizio_codice = 3;
constexpr std::size_t lunghezza_codice = 9;
constexpr std::size_t inizio_descrizione = 12;
constexpr std::size_t lunghezza_descrizione = 250;
constexpr std::size_t posizione_flag = 262;
constexpr std::size_t lunghezza_riga_completa = 263;

std::string rifilato(std::string_view s) {
    return testo::rifilato(s);
}

// Calls `usa` on every line of the text, without its line end.
template <typename Funzione> void per_ogni_riga(std::string_view testo, Funzione&& usa) {
    LettoreRighe righe(testo);
    while (const auto riga = righe.prossima()) {
        usa(*riga);
    }
}

// A cancelled line ("C") is never loaded; the reduced set keeps lines marked "A" or "B".
// An empty line carries no record.
bool da_caricare(std::string_view riga, bool ridotto) {
    if (riga.empty() || riga[0] == 'C') {
        return false;
    }
    return !ridotto || (riga.size() > 2 && (riga[2] == 'A' || riga[2] == 'B'));
}

// Halving search over records 1..n of an ascending list. Ranges of fewer than five records are
// scanned. A one-record table is compared too: a table of one diagnosis must be searchable.
int dicotomica(const std::vector<std::string>& voci, std::string_view elemento) {
    const int n = static_cast<int>(voci.size()) - 1;
    int lo = 1;
    int hi = n;
    while (hi - lo >= 5) {
        const int mid = (lo + hi) / 2;
        const int confronto =
            std::string_view(voci[static_cast<std::size_t>(mid)]).compare(elemento);
        if (confronto == 0) {
            return mid;
        }
        (confronto > 0 ? hi : lo) = mid;
    }
    for (int i = lo; i <= hi; ++i) {
        if (voci[static_cast<std::size_t>(i)] == elemento) {
            return i;
        }
    }
    return -1;
}

void marca(std::string& prefisso, int posizione, std::string_view valore) {
    if (posizione < 1) {
        return;
    }
    const auto da = static_cast<std::size_t>(posizione - 1);
    if (prefisso.size() < da + valore.size()) {
        prefisso.resize(da + valore.size(), ' ');
    }
    prefisso.replace(da, valore.size(), valore);
}

bool nella_tabella(std::size_t righe, int riga) {
    return riga >= 1 && static_cast<std::size_t>(riga) <= righe;
}

std::string mancante(const std::string& file) {
    return "File " + file + " mancante";
}

} // namespace

std::shared_ptr<TabelleIcdix> TabelleIcdix::del_programma() {
    static const auto tabelle = std::make_shared<TabelleIcdix>();
    return tabelle;
}

CrittoDiretto::CrittoDiretto(PompaEventi& pompa, std::string nome,
                             std::shared_ptr<TabelleIcdix> tabelle)
    : pompa_(pompa), nome_(std::move(nome)), tabelle_(std::move(tabelle)) {}

Esito CrittoDiretto::carica_icdix(const std::string& file,
                                  const std::string& file_secondario_completo, bool ridotto) {
    const auto testo = leggi_file_intero(testo::percorso(file));
    if (!testo) {
        return Esito::fallito(mancante(file));
    }
    auto& completa = tabelle_->completa;
    completa = {};
    per_ogni_riga(*testo, [&](std::string_view riga) {
        if (!da_caricare(riga, ridotto)) {
            return;
        }
        completa.prefisso.push_back(rifilato(parte(riga, 0, 3)));
        completa.codice.push_back(rifilato(parte(riga, inizio_codice, lunghezza_codice)));
        completa.descrizione.push_back(
            rifilato(parte(riga, inizio_descrizione, lunghezza_descrizione)));
        completa.flag.push_back(rifilato(parte(riga, posizione_flag, 1)));
    });

    auto& secondaria = tabelle_->secondaria;
    if (ridotto) {
        // The reduced set has no file of its own: its index by code is built from what loaded.
        secondaria = {};
        secondaria.prefisso = completa.prefisso;
        secondaria.codice = completa.codice;
        for (std::size_t r = 1; r <= completa.righe(); ++r) {
            secondaria.riga.push_back(static_cast<std::int32_t>(r));
        }
        ShellSortAny(pompa_, completa.righe(), false, secondaria.codice, secondaria.riga,
                     secondaria.prefisso);
        return Esito::riuscito();
    }
    const auto testo_secondario = leggi_file_intero(testo::percorso(file_secondario_completo));
    if (!testo_secondario) {
        return Esito::fallito(mancante(file_secondario_completo));
    }
    secondaria = {};
    per_ogni_riga(*testo_secondario, [&](std::string_view riga) {
        if (!da_caricare(riga, false)) {
            return;
        }
        secondaria.prefisso.push_back(rifilato(parte(riga, 0, 3)));
        secondaria.codice.push_back(rifilato(parte(riga, inizio_codice, lunghezza_codice)));
        secondaria.riga.push_back(campi_record::leggi_intero32(
            parte(riga, inizio_codice + lunghezza_codice, std::string_view::npos)));
    });
    return Esito::riuscito();
}

void CrittoDiretto::reset_icdix() {
    *tabelle_ = {};
}

std::string CrittoDiretto::dati_diretto_icdix(int ind1, int ind2) const {
    const auto& t = tabelle_->completa;
    if (!nella_tabella(t.righe(), ind2)) {
        return {};
    }
    const auto r = static_cast<std::size_t>(ind2);
    switch (ind1) {
    case 0:
        return t.prefisso[r];
    case 1:
        return t.codice[r];
    case 2:
        return t.descrizione[r];
    case 3:
        return t.flag[r];
    default:
        return {};
    }
}

Valore CrittoDiretto::dati_diretto_secondario_icdix(int ind1, int ind2) const {
    const auto& t = tabelle_->secondaria;
    if (!nella_tabella(t.righe(), ind2)) {
        return {};
    }
    const auto r = static_cast<std::size_t>(ind2);
    switch (ind1) {
    case 0:
        return t.prefisso[r];
    case 1:
        return t.codice[r];
    case 2:
        return t.riga[r];
    default:
        return {};
    }
}

std::optional<std::vector<std::string>> CrittoDiretto::dati(int colonna,
                                                            std::string_view chiamante) const {
    if (chiamante != "icdix") {
        return std::nullopt;
    }
    const auto& t = tabelle_->completa;
    switch (colonna) {
    case 0:
        return t.prefisso;
    case 1:
        return t.codice;
    case 2:
        return t.descrizione;
    case 3:
        return t.flag;
    default:
        return std::nullopt;
    }
}

std::optional<std::vector<Valore>>
CrittoDiretto::dati_secondario(int colonna, std::string_view chiamante) const {
    if (chiamante != "icdix" || colonna < 0 || colonna > 2) {
        return std::nullopt;
    }
    const auto& t = tabelle_->secondaria;
    std::vector<Valore> valori(t.righe() + 1);
    for (std::size_t r = 1; r <= t.righe(); ++r) {
        valori[r] = dati_diretto_secondario_icdix(colonna, static_cast<int>(r));
    }
    return valori;
}

std::optional<std::string> CrittoDiretto::dati_diretto(int colonna, int riga) const {
    if (colonna < 0 || colonna > 3 || !nella_tabella(tabelle_->completa.righe(), riga)) {
        return std::nullopt;
    }
    return dati_diretto_icdix(colonna, riga);
}

int CrittoDiretto::identifica_elemento_dicotomica_icdix(std::string_view elemento) const {
    return dicotomica(tabelle_->completa.descrizione, elemento);
}

int CrittoDiretto::identifica_elemento_dicotomica_secondario_icdix(std::string_view elemento,
                                                                   int* indice) const {
    const auto& t = tabelle_->secondaria;
    const int posizione = dicotomica(t.codice, elemento);
    if (posizione < 0) {
        return -1;
    }
    if (indice != nullptr) {
        *indice = posizione;
    }
    return t.riga[static_cast<std::size_t>(posizione)];
}

void CrittoDiretto::marca_servizio_icdix(int numero, int posizione_inserimento,
                                         std::string_view valore) {
    auto& t = tabelle_->completa;
    if (nella_tabella(t.righe(), numero)) {
        marca(t.prefisso[static_cast<std::size_t>(numero)], posizione_inserimento, valore);
    }
}

void CrittoDiretto::marca_servizio_secondario_icdix(int numero, int posizione_inserimento,
                                                    std::string_view valore) {
    auto& t = tabelle_->secondaria;
    if (nella_tabella(t.righe(), numero)) {
        marca(t.prefisso[static_cast<std::size_t>(numero)], posizione_inserimento, valore);
    }
}

Esito CrittoDiretto::aggiungi_record(std::string_view codice_icdix, std::string_view record,
                                     const std::string& file,
                                     const std::string& file_secondario_completo) {
    auto testo = leggi_file_intero(testo::percorso(file));
    if (!testo) {
        return Esito::fallito(mancante(file));
    }
    // The line takes exactly the complete table's width, so no later field can shift.
    std::string nuova(record.substr(0, std::min(record.size(), record.find_first_of("\r\n"))));
    nuova.resize(lunghezza_riga_completa, ' ');
    const auto codice = rifilato(parte(nuova, inizio_codice, lunghezza_codice));
    if (!testo::rifila(codice_icdix).empty() && testo::rifila(codice_icdix) != codice) {
        return Esito::fallito("Il codice " + rifilato(codice_icdix) +
                              " non corrisponde a quello del record (" + codice + ")");
    }

    std::vector<std::string> righe{""};
    std::vector<std::string> descrizioni{""};
    auto aggiungi = [&](std::string_view riga) {
        if (!riga.empty()) {
            righe.emplace_back(riga);
            descrizioni.emplace_back(parte(riga, inizio_descrizione, lunghezza_descrizione));
        }
    };
    per_ogni_riga(*testo, aggiungi);
    aggiungi(nuova);
    ShellSortAny(pompa_, righe.size() - 1, false, descrizioni, righe);

    std::string completo;
    std::string secondario;
    std::vector<std::string> codici{""};
    std::vector<std::int32_t> numeri{0};
    // The secondary table points at records as they load: cancelled lines take no number.
    std::int32_t numero = 0;
    for (std::size_t r = 1; r < righe.size(); ++r) {
        completo += righe[r] + "\r\n";
        if (!da_caricare(righe[r], false)) {
            continue;
        }
        ++numero;
        const auto c = rifilato(parte(righe[r], inizio_codice, lunghezza_codice));
        if (!c.empty()) {
            codici.push_back(c);
            numeri.push_back(numero);
        }
    }
    ShellSortAny(pompa_, codici.size() - 1, false, codici, numeri);
    for (std::size_t i = 1; i < codici.size(); ++i) {
        secondario += "000";
        campi_record::scrivi_testo(secondario, codici[i], lunghezza_codice);
        campi_record::scrivi_intero(secondario, numeri[i], 10);
        secondario += "\r\n";
    }

    const auto completo_p = testo::percorso(file);
    const auto secondario_p = testo::percorso(file_secondario_completo);
    auto bak = [](std::filesystem::path p) { return p += ".bak"; };
    std::error_code nessuno;
    const bool secondario_esiste = std::filesystem::exists(secondario_p, nessuno);
    if (!scrivi_file_intero(bak(completo_p), *testo) ||
        (secondario_esiste && !copia_file_intero(secondario_p, bak(secondario_p)))) {
        return Esito::fallito("Impossibile salvare la copia di " + file);
    }
    if (!scrivi_file_intero(completo_p, completo)) {
        return Esito::fallito("Impossibile scrivere " + file);
    }
    if (!scrivi_file_intero(secondario_p, secondario)) {
        // The two files go together: put the complete table back as it was.
        scrivi_file_intero(completo_p, *testo);
        return Esito::fallito("Impossibile scrivere " + file_secondario_completo);
    }
    return Esito::riuscito();
}

} // namespace meravo
