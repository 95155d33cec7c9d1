#pragma once

#include <filesystem>
#include <string>

namespace meravo {

class Messaggi;
class Orologio;
class PompaEventi;

// What curl is told for one request.
struct DatiCurl {
    std::filesystem::path cartella_programma;
    bool modo_test = false;
    std::string utente;   // trimmed
    std::string password; // trimmed
    std::string endpoint;
    std::string richiesta;
};

// The console tools beside the program, in its "Sogei" folder, with the service's certificate
// and the authorities curl trusts.
namespace strumenti_sogei {
std::filesystem::path cartella(const std::filesystem::path& programma);
std::filesystem::path curl(const std::filesystem::path& programma);
std::filesystem::path openssl(const std::filesystem::path& programma);
} // namespace strumenti_sogei

// curl's command line: verbose trace, time limits (a dead network must not freeze the form),
// the authority of the test or production service, basic authentication with the user and
// password read from the work file `configurazione`, the request posted from the work file
// `corpo`. Neither the credentials nor the patient's data are on it: any user of the machine
// can read a running program's command line (and Windows caps its length).
std::string riga_comando_curl(const DatiCurl& dati, const std::filesystem::path& configurazione,
                              const std::filesystem::path& corpo);

// The configuration file that gives curl the user and password, quoted as curl reads it.
std::string configurazione_curl(const DatiCurl& dati);

// openssl's two command lines: RSA encryption (PKCS #1 v1.5) of `in` against the service's
// certificate into `out`, then Base64 of `out` into `b64`.
std::string riga_comando_cifra(const std::filesystem::path& programma,
                               const std::filesystem::path& in, const std::filesystem::path& out);
std::string riga_comando_base64(const std::filesystem::path& programma,
                                const std::filesystem::path& in, const std::filesystem::path& b64);

// The certificate service's transport: the request posted through curl, credentials encrypted
// through openssl. Both tools run hidden through the console runner.
class TrasportoInps {
public:
    TrasportoInps(std::filesystem::path cartella_programma, Messaggi& messaggi, Orologio& orologio,
                  PompaEventi& pompa);

    // Everything curl wrote (its trace and the answer), or the empty text when it could not
    // run. The credentials and the request reach it through work files, as the credentials of
    // `cripta_stringa` do.
    std::string invia_messaggio_soap(const DatiCurl& dati);

    // The trimmed value encrypted with the service's certificate, in Base64 on one line; the
    // empty text when the tool produced nothing. Work files go to the "Sogei" folder, or to a
    // private folder of the user when that one cannot be written; each is readable by the user
    // only, and none is left afterwards.
    std::string cripta_stringa(const std::string& valore);

private:
    std::filesystem::path cartella_programma_;
    Messaggi& messaggi_;
    Orologio& orologio_;
    PompaEventi& pompa_;
};

} // namespace meravo
