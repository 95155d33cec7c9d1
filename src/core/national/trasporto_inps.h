#pragma once

#include "national/risposta_inps.h"

#include <filesystem>
#include <string>
#include <string_view>

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

// A folder made afresh for one run of the external tools and removed whole with everything in
// it: private to the user (POSIX 0700; on Windows a protected DACL for the user alone, inherited
// by what the tools create in it), inside `sogei` or, when that cannot be written or others may
// replace what is in it, in the user's temporary folder. Nobody else can put a name in it, so the
// tools may be told to create their files there.
class CartellaDiLavoro {
public:
    CartellaDiLavoro(const std::filesystem::path& sogei, const std::filesystem::path& temporanea);
    ~CartellaDiLavoro();
    CartellaDiLavoro(const CartellaDiLavoro&) = delete;
    CartellaDiLavoro& operator=(const CartellaDiLavoro&) = delete;

    // Empty when no folder could be made.
    const std::filesystem::path& percorso() const { return percorso_; }
    std::filesystem::path operator[](std::string_view nome) const { return percorso_ / nome; }

    // Creates the file `nome` new, readable and writable by the user alone before its first
    // byte, and writes `testo` whole; false, leaving alone whatever is already at the name (a
    // file, a link: never followed), when it cannot.
    bool scrivi(std::string_view nome, std::string_view testo) const;

private:
    std::filesystem::path percorso_;
};

// curl's command line. It reads no configuration of the user's (a line "insecure" there would
// send the credentials to any server), trusts only the service's authority file (no store of
// the system), takes the address as it is (no globbing), speaks HTTP/1.1 (whose trace header
// with the credentials is the one the copy on disk blanks out), gives up on a dead network and
// on an answer past `limite_risposta`. The credentials come from the work file
// "credenziali.cfg" and the request from "richiesta.xml" in `lavoro`; the body goes to
// "risposta.xml" and the trace to "traccia.txt" there, apart, and only the HTTP status and the
// count of the request's bytes sent to the standard output. Neither the credentials nor the
// patient's data are on it: any user of the machine can read a running program's command line (and
// Windows caps its length).
std::string riga_comando_curl(const DatiCurl& dati, const std::filesystem::path& lavoro);

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
    TrasportoInps(std::filesystem::path cartella_programma, std::filesystem::path temporanea,
                  Messaggi& messaggi, Orologio& orologio, PompaEventi& pompa);

    // What curl brought back; nothing of it (no exit status) when it could not run. The
    // credentials and the request reach it through work files, as the value of `cripta_stringa`
    // does.
    RispostaServizio invia_messaggio_soap(const DatiCurl& dati);

    // The trimmed value encrypted with the service's certificate, in Base64 on one line; the
    // empty text when the tool produced nothing. The work files go to a `CartellaDiLavoro`.
    std::string cripta_stringa(const std::string& valore);

private:
    std::filesystem::path cartella_programma_;
    std::filesystem::path temporanea_;
    Messaggi& messaggi_;
    Orologio& orologio_;
    PompaEventi& pompa_;
};

} // namespace meravo
