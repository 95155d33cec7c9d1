#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace meravo::simulatore {

// What the simulator is started with. The PKI folder is the one scripts/pki fills: the HTTPS
// certificate and key of the server and the private key of the service's encryption pair.
struct OpzioniSimulatore {
    int porta = 0; // 0: any free port
    std::filesystem::path cartella_pki;
    std::string utente;
    std::string password;
    std::string pin;
    std::optional<std::filesystem::path> file_stato;
    std::optional<std::filesystem::path> file_registro;
    int ritardo_ms = 0; // a slow service: every answer waits this long
    bool aiuto = false;

    std::filesystem::path certificato_server() const { return cartella_pki / "simulatore.pem"; }
    std::filesystem::path chiave_server() const { return cartella_pki / "simulatore.key"; }
    std::filesystem::path chiave_servizio() const { return cartella_pki / "SanitelCF.key"; }
};

extern const std::string_view uso_simulatore;

// The options of a command line; empty, with the reason in `errore`, when it is not usable.
std::optional<OpzioniSimulatore> leggi_opzioni(int argc, const char* const* argv,
                                               std::string& errore);

} // namespace meravo::simulatore
