#include "doppi/doppi.h"

#include <fstream>
#include <map>
#include <random>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

namespace meravo::prova {

Risposta MessaggiRegistrati::mostra(std::string_view testo, std::string_view titolo, Icona icona,
                                    Pulsanti pulsanti) {
    mostrati.push_back({std::string(testo), std::string(titolo), icona, pulsanti});
    if (azione) {
        azione();
    }
    if (pulsanti == Pulsanti::ok) {
        return Risposta::ok;
    }
    if (risposte.empty()) {
        return Risposta::no;
    }
    const auto r = risposte.front();
    risposte.pop_front();
    return r;
}

std::vector<std::string> parti(std::string_view testo, char separatore) {
    std::vector<std::string> risultato;
    for (std::size_t inizio = 0, fine = 0; fine != std::string_view::npos; inizio = fine + 1) {
        fine = testo.find(separatore, inizio);
        risultato.emplace_back(testo.substr(inizio, fine - inizio));
    }
    return risultato;
}

// A column of a case file, its escapes turned into the bytes they stand for.
std::string senza_escape(std::string_view colonna) {
    static const std::map<char, char> semplici = {
        {'r', '\r'}, {'n', '\n'}, {'t', '\t'}, {'\\', '\\'}};
    std::string testo;
    for (std::size_t i = 0; i < colonna.size(); ++i) {
        const char dopo = i + 1 < colonna.size() ? colonna[i + 1] : ' ';
        if (colonna[i] == '\\' && dopo == 'x' && i + 3 < colonna.size()) {
            testo +=
                static_cast<char>(std::stoi(std::string(colonna.substr(i + 2, 2)), nullptr, 16));
            i += 3;
        } else if (colonna[i] == '\\' && semplici.contains(dopo)) {
            testo += semplici.at(dopo);
            ++i;
        } else {
            testo += colonna[i];
        }
    }
    return testo;
}

std::vector<std::vector<std::string>> casi_da_file(const std::filesystem::path& file, bool escape) {
    std::vector<std::vector<std::string>> casi;
    std::istringstream testo(CartellaTemporanea::leggi_file(file));
    for (std::string riga; std::getline(testo, riga);) {
        if (!riga.empty() && !riga.starts_with('#')) {
            casi.emplace_back();
            for (const auto& colonna : parti(riga, '\t')) {
                casi.back().push_back(escape ? senza_escape(colonna) : std::string(colonna));
            }
        }
    }
    return casi;
}

CartellaTemporanea::CartellaTemporanea() {
    std::random_device casuale;
    do {
        percorso_ =
            std::filesystem::temp_directory_path() / ("meravo-prova-" + std::to_string(casuale()));
    } while (!std::filesystem::create_directory(percorso_));
}

void CartellaTemporanea::scrivi(const std::string& nome, const std::string& contenuto) const {
    std::ofstream(percorso_ / nome, std::ios::binary) << contenuto;
}

std::string CartellaTemporanea::leggi_file(const std::filesystem::path& file) {
    std::ifstream f(file, std::ios::binary);
    std::ostringstream testo;
    testo << f.rdbuf();
    return testo.str();
}

void copia_tabelle_esempio(const std::filesystem::path& dati,
                           const std::filesystem::path& cartella) {
    std::filesystem::create_directories(cartella);
    for (const auto* nome : {"icdIX_completo.tda", "icdIX_secondario_completo.tda", "comuni.tda",
                             "StatiEsteri_siss.txt"}) {
        std::filesystem::copy_file(dati / nome, cartella / nome);
    }
}

std::string documento_atteso(const std::filesystem::path& file) {
    std::string testo;
    for (const char c : CartellaTemporanea::leggi_file(file)) {
        testo += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return testo.ends_with("\r\n") ? testo.substr(0, testo.size() - 2) : testo;
}

EsitoInvio esito_chiamato(const std::string& nome) {
    return std::map<std::string, EsitoInvio>{{"riuscito", EsitoInvio::riuscito},
                                             {"rifiutato", EsitoInvio::rifiutato},
                                             {"incerto", EsitoInvio::incerto}}
        .at(nome);
}

Icona icona_chiamata(const std::string& nome) {
    return std::map<std::string, Icona>{{"nessuna", Icona::nessuna},
                                        {"esclamazione", Icona::esclamazione},
                                        {"critico", Icona::critico}}
        .at(nome);
}

std::string percorso_accanto(const std::string& nome) {
#ifdef _WIN32
    char buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    const std::filesystem::path eseguibile(std::string(buffer, n));
    return (eseguibile.parent_path() / (nome + ".exe")).string();
#else
    const auto eseguibile = std::filesystem::read_symlink("/proc/self/exe");
    return (eseguibile.parent_path() / nome).string();
#endif
}

} // namespace meravo::prova
