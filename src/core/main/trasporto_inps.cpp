#include "main/trasporto_inps.h"

#include "process/dos_outputs.h"
#include "process/r4_procedure.h"
#include "process/riga_comando.h"
#include "services/messaggi.h"
#include "text/testo.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace meravo {

namespace fs = std::filesystem;
using riga_comando::quota_argomento;

namespace {

#ifdef _WIN32
constexpr const char* nome_curl = "Curl";
constexpr const char* nome_openssl = "openssl.exe";
#else
constexpr const char* nome_curl = "curl";
constexpr const char* nome_openssl = "openssl";
#endif

// How long to look for a tool's output file after it ended, and how often.
constexpr double attesa_file = 1.0;
constexpr double passo_attesa = 0.05;
constexpr int attese_base64 = 5;

std::string q(const fs::path& p) {
    return quota_argomento(testo::testo_percorso(p));
}

bool esiste(const fs::path& p) {
    std::error_code e;
    return fs::exists(p, e);
}

void rimuovi(const fs::path& p) {
    std::error_code ignorato;
    fs::remove(p, ignorato);
}

// Created readable and writable by the user only: it holds a credential in clear.
bool scrivi_privato(const fs::path& p, const std::string& testo) {
#ifdef _WIN32
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f << testo;
    return static_cast<bool>(f.flush());
#else
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    ::fchmod(fd, 0600);
    bool ok = true;
    for (std::size_t scritti = 0; ok && scritti < testo.size();) {
        const auto n = ::write(fd, testo.data() + scritti, testo.size() - scritti);
        ok = n > 0;
        scritti += ok ? static_cast<std::size_t>(n) : 0;
    }
    return ::close(fd) == 0 && ok;
#endif
}

fs::path cartella_privata() {
    std::random_device casuale;
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        const auto p = fs::temp_directory_path() / ("meravo-" + std::to_string(casuale()));
        std::error_code e;
        if (fs::create_directory(p, e)) {
            fs::permissions(p, fs::perms::owner_all, fs::perm_options::replace, e);
            return p;
        }
    }
    return {};
}

std::string leggi(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

} // namespace

namespace strumenti_sogei {
fs::path cartella(const fs::path& programma) {
    return programma / "Sogei";
}
fs::path curl(const fs::path& programma) {
    return cartella(programma) / nome_curl;
}
fs::path openssl(const fs::path& programma) {
    return cartella(programma) / nome_openssl;
}
} // namespace strumenti_sogei

std::string riga_comando_curl(const DatiCurl& d) {
    const auto sogei = strumenti_sogei::cartella(d.cartella_programma);
    const auto autorita = sogei / (d.modo_test ? "mirCa.pem" : "mirservice_produzione.pem");
    return q(strumenti_sogei::curl(d.cartella_programma)) +
           " --verbose --connect-timeout 20 --max-time 120 --cacert " + q(autorita) +
           " --basic --user " + quota_argomento(d.utente + ":" + d.password) + " --url " +
           quota_argomento(d.endpoint) + " --data " + quota_argomento(d.richiesta);
}

std::string riga_comando_cifra(const fs::path& programma, const fs::path& in, const fs::path& out) {
    return q(strumenti_sogei::openssl(programma)) + " rsautl -encrypt -in " + q(in) + " -out " +
           q(out) + " -inkey " + q(strumenti_sogei::cartella(programma) / "SanitelCF.cer") +
           " -certin -pkcs";
}

std::string riga_comando_base64(const fs::path& programma, const fs::path& in,
                                const fs::path& b64) {
    return q(strumenti_sogei::openssl(programma)) + " base64 -base64 -e  -out " + q(b64) + " -in " +
           q(in);
}

TrasportoInps::TrasportoInps(fs::path cartella_programma, Messaggi& messaggi, Orologio& orologio,
                             PompaEventi& pompa)
    : cartella_programma_(std::move(cartella_programma)), messaggi_(messaggi), orologio_(orologio),
      pompa_(pompa) {}

std::string TrasportoInps::invia_messaggio_soap(const DatiCurl& dati) {
    try {
        DOSOutputs dos(messaggi_);
        dos.CommandLine(riga_comando_curl(dati));
        dos.ExecuteCommand();
        return dos.Outputs();
    } catch (const std::exception& errore) {
        // Only exhaustion of the machine's resources can get here; the send then fails with
        // a report for support staff (the command line, which holds the credentials, is not
        // in it).
        messaggi_.avvisa(std::string(errore.what()) + " - DOSOutputs - 0", Icona::critico,
                         "Error in Hello_My_Server");
        return {};
    }
}

std::string TrasportoInps::cripta_stringa(const std::string& valore) {
    const auto sogei = strumenti_sogei::cartella(cartella_programma_);
    fs::path lavoro = sogei;
    fs::path privata;
    const char* nomi[] = {"stringa.txt", "stringa.enc", "stringa.enc.b64", "calcola.bat"};
    auto pulisci = [&] {
        for (const char* n : nomi) {
            rimuovi(lavoro / n);
        }
    };
    pulisci();
    const auto chiaro = testo::rifilato(valore);
    if (!scrivi_privato(lavoro / "stringa.txt", chiaro)) {
        // An install the user cannot write to: the work files go to a folder of the user's own.
        privata = cartella_privata();
        lavoro = privata;
        if (privata.empty() || !scrivi_privato(lavoro / "stringa.txt", chiaro)) {
            return {};
        }
    }
    const auto in = lavoro / "stringa.txt";
    const auto enc = lavoro / "stringa.enc";
    const auto b64 = lavoro / "stringa.enc.b64";

    // The tools have ended when the runner returns; their files may still take a moment to
    // appear on a network or scanned folder, so look for them for a while.
    auto aspetta = [&](const fs::path& file) {
        for (double atteso = 0; !esiste(file) && atteso < attesa_file; atteso += passo_attesa) {
            attendi(passo_attesa, orologio_, pompa_);
        }
    };
    DOSOutputs dos(messaggi_);
    dos.CommandLine(riga_comando_cifra(cartella_programma_, in, enc));
    dos.ExecuteCommand();
    aspetta(enc);
    dos.CommandLine(riga_comando_base64(cartella_programma_, enc, b64));
    dos.ExecuteCommand();
    aspetta(b64);
    for (int attese = 0; !esiste(b64) && attese < attese_base64; ++attese) {
        attendi(1, orologio_, pompa_);
    }
    auto risultato = leggi(b64);
    risultato.erase(std::remove_if(risultato.begin(), risultato.end(),
                                   [](char c) { return c == '\n' || c == '\r'; }),
                    risultato.end());
    pulisci();
    if (!privata.empty()) {
        std::error_code ignorato;
        fs::remove_all(privata, ignorato);
    }
    return risultato;
}

} // namespace meravo
