#pragma once

#include "registro_richieste.h"
#include "servizio_inps.h"

#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <ostream>
#include <string>

namespace meravo::simulatore {

struct CredenzialiAccesso {
    std::string utente;
    std::string password;
};

// The HTTPS front of the simulated service: the two service paths, HTTP basic authentication,
// and a log of every request and answer on the given stream. Requests are served one at a
// time, so the service and its state need no locking of their own and the log never
// interleaves two exchanges.
class ServerSimulatore {
public:
    ServerSimulatore(const std::filesystem::path& certificato, const std::filesystem::path& chiave,
                     CredenzialiAccesso accesso, ServizioInps& servizio,
                     RegistroRichieste* registro, std::ostream& diario);

    // False when the HTTPS certificate or key could not be used.
    bool valido() const { return server_.is_valid(); }
    // Binds to the loopback address only; `porta` 0 takes a free port. The port, or -1.
    int apri(int porta);
    // Serves until ferma() is called; false when it could not serve at all.
    bool ascolta() { return server_.listen_after_bind(); }
    void ferma() { server_.stop(); }
    bool in_ascolto() const { return server_.is_running(); }
    // A slow service, for trying how the module behaves while it waits: every answer of the
    // two service paths comes this much later.
    void rallenta(std::chrono::milliseconds ritardo) { ritardo_ = ritardo; }

private:
    enum class Operazione { invio, annullamento };

    void gestisci(const httplib::Request& richiesta, httplib::Response& risposta,
                  Operazione operazione);
    bool autorizzato(const httplib::Request& richiesta) const;
    void annota(const httplib::Request& richiesta, const httplib::Response& risposta,
                const RispostaServizio& esito);

    httplib::SSLServer server_;
    CredenzialiAccesso accesso_;
    ServizioInps& servizio_;
    RegistroRichieste* registro_;
    std::ostream& diario_;
    std::mutex turno_;
    std::chrono::milliseconds ritardo_{0};
};

} // namespace meravo::simulatore
