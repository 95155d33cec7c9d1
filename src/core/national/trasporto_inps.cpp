#include "national/trasporto_inps.h"

#include "process/dos_outputs.h"
#include "process/r4_procedure.h"
#include "process/riga_comando.h"
#include "services/messaggi.h"
#include "text/testo.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <sddl.h>
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

#ifdef _WIN32
// A security descriptor, in the system's text form, that gives full access to the user running
// the module and to nobody else; empty if the user cannot be told.
std::wstring descrittore_utente() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return {};
    }
    DWORD lunghezza = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &lunghezza);
    std::vector<char> dati(lunghezza);
    wchar_t* sid = nullptr;
    const bool letto =
        lunghezza > 0 &&
        GetTokenInformation(token, TokenUser, dati.data(), lunghezza, &lunghezza) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(dati.data())->User.Sid, &sid);
    CloseHandle(token);
    if (!letto) {
        return {};
    }
    std::wstring sddl = L"D:P(A;;FA;;;" + std::wstring(sid) + L")";
    LocalFree(sid);
    return sddl;
}
#endif

// Created readable and writable by the user only: it holds a credential or a patient's data.
bool scrivi_privato(const fs::path& p, const std::string& testo) {
#ifdef _WIN32
    // Protected, with full access for this user alone: the Sogei folder may be one that every
    // user of the machine can read.
    const auto sddl = descrittore_utente();
    PSECURITY_DESCRIPTOR descrittore = nullptr;
    if (sddl.empty() || !ConvertStringSecurityDescriptorToSecurityDescriptorW(
                            sddl.c_str(), SDDL_REVISION_1, &descrittore, nullptr)) {
        return false;
    }
    SECURITY_ATTRIBUTES sicurezza{sizeof(SECURITY_ATTRIBUTES), descrittore, FALSE};
    const HANDLE file = CreateFileW(p.c_str(), GENERIC_WRITE, 0, &sicurezza, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    LocalFree(descrittore);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = true;
    for (std::size_t scritti = 0; ok && scritti < testo.size();) {
        DWORD n = 0;
        const auto quanti =
            static_cast<DWORD>(std::min<std::size_t>(testo.size() - scritti, 1 << 20));
        ok = WriteFile(file, testo.data() + scritti, quanti, &n, nullptr) && n > 0;
        scritti += n;
    }
    return CloseHandle(file) && ok;
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

// The work files of one run of the external tools. They go to the Sogei folder beside the
// tools or, when the install cannot be written to, to a private folder of the user's. Every
// name is removed before the first write and again at the end, so no file of an earlier run
// can be taken for this one's and none is left behind.
class FileDiLavoro {
public:
    FileDiLavoro(fs::path sogei, std::vector<std::string> nomi)
        : cartella_(std::move(sogei)), nomi_(std::move(nomi)) {
        pulisci();
    }
    ~FileDiLavoro() {
        pulisci();
        if (!privata_.empty()) {
            std::error_code ignorato;
            fs::remove_all(privata_, ignorato);
        }
    }
    FileDiLavoro(const FileDiLavoro&) = delete;
    FileDiLavoro& operator=(const FileDiLavoro&) = delete;

    fs::path operator[](std::string_view nome) const { return cartella_ / nome; }

    // False when neither folder could take the file.
    bool scrivi(std::string_view nome, const std::string& testo) {
        if (scrivi_privato(cartella_ / nome, testo)) {
            scritti_ = true;
            return true;
        }
        if (scritti_ || !privata_.empty()) {
            return false;
        }
        privata_ = cartella_privata();
        if (privata_.empty()) {
            return false;
        }
        cartella_ = privata_;
        return scrivi(nome, testo);
    }

private:
    void pulisci() const {
        for (const auto& n : nomi_) {
            rimuovi(cartella_ / n);
        }
    }

    fs::path cartella_;
    fs::path privata_;
    std::vector<std::string> nomi_;
    bool scritti_ = false;
};

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

std::string riga_comando_curl(const DatiCurl& d, const fs::path& configurazione,
                              const fs::path& corpo) {
    const auto sogei = strumenti_sogei::cartella(d.cartella_programma);
    const auto autorita = sogei / (d.modo_test ? "mirCa.pem" : "mirservice_produzione.pem");
    // --data-binary posts the file's bytes as they are; --data would drop its line breaks.
    return q(strumenti_sogei::curl(d.cartella_programma)) +
           " --verbose --connect-timeout 20 --max-time 120 --cacert " + q(autorita) +
           " --basic --config " + q(configurazione) + " --url " + quota_argomento(d.endpoint) +
           " --data-binary " + quota_argomento("@" + testo::testo_percorso(corpo));
}

std::string configurazione_curl(const DatiCurl& d) {
    // A quoted value of curl's configuration files takes backslash escapes.
    std::string valore;
    for (const char c : d.utente + ":" + d.password) {
        switch (c) {
        case '\\':
        case '"':
            valore += '\\';
            valore += c;
            break;
        case '\n':
            valore += "\\n";
            break;
        case '\r':
            valore += "\\r";
            break;
        case '\t':
            valore += "\\t";
            break;
        default:
            valore += c;
        }
    }
    return "user = \"" + valore + "\"\n";
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
    FileDiLavoro lavoro(strumenti_sogei::cartella(cartella_programma_),
                        {"credenziali.cfg", "richiesta.xml"});
    if (!lavoro.scrivi("credenziali.cfg", configurazione_curl(dati)) ||
        !lavoro.scrivi("richiesta.xml", dati.richiesta)) {
        messaggi_.avvisa("Impossibile preparare l'invio: la cartella Sogei e la cartella "
                         "temporanea non sono scrivibili.",
                         Icona::critico);
        return {};
    }
    try {
        DOSOutputs dos(messaggi_);
        dos.CommandLine(
            riga_comando_curl(dati, lavoro["credenziali.cfg"], lavoro["richiesta.xml"]));
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
    FileDiLavoro lavoro(strumenti_sogei::cartella(cartella_programma_),
                        {"stringa.txt", "stringa.enc", "stringa.enc.b64", "calcola.bat"});
    if (!lavoro.scrivi("stringa.txt", testo::rifilato(valore))) {
        return {};
    }
    const auto in = lavoro["stringa.txt"];
    const auto enc = lavoro["stringa.enc"];
    const auto b64 = lavoro["stringa.enc.b64"];

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
    return risultato;
}

} // namespace meravo
