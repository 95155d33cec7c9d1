#include "server_simulatore.h"

#include "testo_simulatore.h"

#include <chrono>
#include <ctime>
#include <iomanip>
#include <sstream>
#include <strings.h>
#include <thread>

namespace meravo::simulatore {

namespace {

constexpr const char* indirizzo_ascolto = "127.0.0.1";
constexpr const char* percorso_invio = "/TrasmissioneCertificatiWeb/services/InvioCertificato";
constexpr const char* percorso_annullamento =
    "/TrasmissioneCertificatiWeb/services/AnnullamentoCertificato";
constexpr std::size_t corpo_massimo = 1024 * 1024;

std::string ora() {
    const auto adesso = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm locale{};
    localtime_r(&adesso, &locale);
    std::ostringstream testo;
    testo << std::put_time(&locale, "%H:%M:%S");
    return testo.str();
}

std::string_view nome_servizio(const std::string& percorso) {
    const auto barra = percorso.rfind('/');
    return std::string_view(percorso).substr(barra + 1);
}

} // namespace

ServerSimulatore::ServerSimulatore(const std::filesystem::path& certificato,
                                   const std::filesystem::path& chiave, CredenzialiAccesso accesso,
                                   ServizioInps& servizio, RegistroRichieste* registro,
                                   std::ostream& diario)
    : server_(certificato.c_str(), chiave.c_str()), accesso_(std::move(accesso)),
      servizio_(servizio), registro_(registro), diario_(diario) {
    // httplib also sets SO_REUSEPORT, with which a second simulator started on a busy port
    // would silently share it; SO_REUSEADDR alone still allows a quick restart on the same port.
    server_.set_socket_options([](socket_t presa) {
        int si = 1;
        setsockopt(presa, SOL_SOCKET, SO_REUSEADDR, &si, sizeof(si));
    });
    server_.set_payload_max_length(corpo_massimo);
    server_.set_read_timeout(5, 0);
    // The body is read here rather than by httplib, which refuses a form-encoded body (curl's
    // default content type, which the module posts with) of more than 8 KB: the real service
    // takes a certificate with long notes.
    const auto gestore = [this](Operazione operazione) {
        return [this, operazione](const httplib::Request& richiesta, httplib::Response& risposta,
                                  const httplib::ContentReader& leggi) {
            httplib::Request letta = richiesta;
            leggi([&letta](const char* dati, std::size_t quanti) {
                letta.body.append(dati, quanti);
                return letta.body.size() <= corpo_massimo;
            });
            gestisci(letta, risposta, operazione);
        };
    };
    server_.Post(percorso_invio, gestore(Operazione::invio));
    server_.Post(percorso_annullamento, gestore(Operazione::annullamento));
    const auto solo_post = [this](const httplib::Request& richiesta, httplib::Response& risposta) {
        const std::lock_guard turno(turno_);
        risposta.status = 405;
        risposta.set_header("Allow", "POST");
        risposta.set_content("Il servizio accetta solo richieste POST\n", "text/plain");
        RispostaServizio esito{405, risposta.body, VoceRegistro(nome_servizio(richiesta.path)),
                               "metodo non ammesso"};
        esito.voce.esito("metodo non ammesso");
        annota(richiesta, risposta, esito);
    };
    server_.Get(percorso_invio, solo_post);
    server_.Get(percorso_annullamento, solo_post);
    // What httplib refuses itself (an unknown path, a body too large) is logged too: a wrong
    // endpoint address shows up here. The service's own answers always carry a body.
    server_.set_error_handler(httplib::Server::HandlerWithResponse(
        [this](const httplib::Request& richiesta, httplib::Response& risposta) {
            if (risposta.body.empty()) {
                const std::lock_guard turno(turno_);
                diario_ << ora() << " richiesta " << richiesta.method << ' ' << richiesta.path
                        << " da " << richiesta.remote_addr << ": rifiutata con " << risposta.status
                        << std::endl;
            }
            return httplib::Server::HandlerResponse::Unhandled;
        }));
}

int ServerSimulatore::apri(int porta) {
    if (porta == 0) {
        return server_.bind_to_any_port(indirizzo_ascolto);
    }
    return server_.bind_to_port(indirizzo_ascolto, porta) ? porta : -1;
}

bool ServerSimulatore::autorizzato(const httplib::Request& richiesta) const {
    const auto intestazione = richiesta.get_header_value("Authorization");
    constexpr std::string_view schema = "Basic ";
    if (intestazione.size() <= schema.size() ||
        ::strncasecmp(intestazione.c_str(), schema.data(), schema.size()) != 0) {
        return false;
    }
    const auto coppia = decodifica_base64(std::string_view(intestazione).substr(schema.size()));
    if (!coppia) {
        return false;
    }
    const auto due_punti = coppia->find(':');
    if (due_punti == std::string::npos) {
        return false;
    }
    // Both halves are always compared, so the time taken tells nothing about which was wrong.
    const bool utente = uguali_riservati(coppia->substr(0, due_punti), accesso_.utente);
    const bool password = uguali_riservati(coppia->substr(due_punti + 1), accesso_.password);
    return utente && password;
}

void ServerSimulatore::gestisci(const httplib::Request& richiesta, httplib::Response& risposta,
                                Operazione operazione) {
    std::this_thread::sleep_for(ritardo_);
    const std::lock_guard turno(turno_);
    if (!autorizzato(richiesta)) {
        RispostaServizio esito{401, "Autenticazione richiesta\n",
                               VoceRegistro(nome_servizio(richiesta.path)),
                               "credenziali HTTP non valide"};
        esito.voce.esito("non autorizzato");
        risposta.status = esito.stato_http;
        risposta.set_header("WWW-Authenticate", "Basic realm=\"TrasmissioneCertificatiWeb\"");
        risposta.set_content(esito.corpo, "text/plain; charset=utf-8");
        annota(richiesta, risposta, esito);
        return;
    }
    const auto esito = operazione == Operazione::invio ? servizio_.invio(richiesta.body)
                                                       : servizio_.annullamento(richiesta.body);
    risposta.status = esito.stato_http;
    risposta.set_content(esito.corpo, "text/xml; charset=utf-8");
    annota(richiesta, risposta, esito);
}

// The Authorization header never reaches the log; the encrypted credentials are masked too.
void ServerSimulatore::annota(const httplib::Request& richiesta, const httplib::Response& risposta,
                              const RispostaServizio& esito) {
    const auto adesso = ora();
    diario_ << adesso << " richiesta " << richiesta.method << ' ' << richiesta.path << " da "
            << richiesta.remote_addr << ", " << richiesta.body.size() << " byte\n"
            << maschera_credenziali(in_utf8(richiesta.body)) << '\n'
            << adesso << " risposta " << risposta.status << ": " << esito.sintesi << '\n'
            << esito.corpo << '\n'
            << std::flush;
    if (registro_ != nullptr && !registro_->scrivi(esito.voce)) {
        diario_ << adesso << " impossibile scrivere nel registro" << std::endl;
    }
}

} // namespace meravo::simulatore
