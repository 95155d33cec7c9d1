#include "doppi/doppi.h"

#include <cmath>
#include <filesystem>
#include <fstream>
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

double OrologioFinto::secondi_da_mezzanotte() const {
    const double letto = std::fmod(secondi + scarto_letture_, 86400.0);
    scarto_letture_ += passo_per_lettura;
    return letto;
}

void OrologioFinto::pausa(std::chrono::milliseconds durata) {
    ++pause;
    avanza(std::chrono::duration<double>(durata).count());
}

void OrologioFinto::avanza(double s) {
    secondi = std::fmod(secondi + s, 86400.0);
}

CartellaTemporanea::CartellaTemporanea() {
    std::random_device casuale;
    for (;;) {
        auto candidato =
            std::filesystem::temp_directory_path() / ("meravo-prova-" + std::to_string(casuale()));
        if (std::filesystem::create_directory(candidato)) {
            percorso_ = std::move(candidato);
            return;
        }
    }
}

CartellaTemporanea::~CartellaTemporanea() {
    std::error_code ignorato;
    std::filesystem::remove_all(percorso_, ignorato);
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
