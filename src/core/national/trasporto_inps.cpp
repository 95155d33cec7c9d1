#include "national/trasporto_inps.h"

#include "process/dos_outputs.h"
#include "process/r4_procedure.h"
#include "process/riga_comando.h"
#include "services/messaggi.h"
#include "tables/file_interi.h"
#include "text/testo.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <vector>

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

// curl's bound on a whole exchange. Past it the service may still register the certificate, and
// the doctor is told the outcome is unknown: it is longer than the upstream time-outs of the
// usual gateways (about two minutes), so that their own answer arrives first.
constexpr int attesa_massima_curl = 180;

std::string q(const fs::path& p) {
    return quota_argomento(testo::testo_percorso(p));
}

bool esiste(const fs::path& p) {
    std::error_code e;
    return fs::exists(p, e);
}

// The first `massimo` bytes of the file, or all of it.
std::string leggi(const fs::path& p, std::size_t massimo) {
    std::ifstream f(p, std::ios::binary);
    std::error_code e;
    const auto dimensione = fs::file_size(p, e);
    std::string testo(e ? 0 : std::min<std::uintmax_t>(dimensione, massimo), '\0');
    f.read(testo.data(), static_cast<std::streamsize>(testo.size()));
    testo.resize(static_cast<std::size_t>(f.gcount()));
    return testo;
}

// What curl's --write-out gave: the answer's HTTP status ("000" when none came) and the bytes
// of the request's body it sent.
void leggi_scritto(std::string_view uscite, RispostaServizio& r) {
    const auto testo = testo::rifila(uscite);
    const auto spazio = testo.find(' ');
    const auto codice = testo.substr(0, spazio);
    const auto cifre = [](std::string_view s) {
        return !s.empty() &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (codice.size() == 3 && codice != "000" && cifre(codice)) {
        r.stato = (codice[0] - '0') * 100 + (codice[1] - '0') * 10 + (codice[2] - '0');
    }
    const auto inviati = spazio == std::string_view::npos ? "" : testo.substr(spazio + 1);
    r.partita = cifre(inviati) && inviati.find_first_not_of('0') != std::string_view::npos;
}

} // namespace

CartellaDiLavoro::CartellaDiLavoro(const fs::path& sogei, const fs::path& temporanea) {
    // The prefix is the one start-up looks for, to remove what a run that broke off left.
    percorso_ = crea_cartella_privata(sogei, prefisso_cartella_di_lavoro);
    if (percorso_.empty()) {
        percorso_ = crea_cartella_privata(temporanea, prefisso_cartella_di_lavoro);
    }
}

CartellaDiLavoro::~CartellaDiLavoro() {
    if (!percorso_.empty()) {
        std::error_code ignorato;
        fs::remove_all(percorso_, ignorato);
    }
}

bool CartellaDiLavoro::scrivi(std::string_view nome, std::string_view testo) const {
    // Read by the tools at once and removed after them: no power cut has to find them.
    return !percorso_.empty() && crea_file_nuovo_privato(percorso_ / nome, testo, false);
}

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

std::string riga_comando_curl(const DatiCurl& d, const fs::path& lavoro) {
    const auto sogei = strumenti_sogei::cartella(d.cartella_programma);
    const auto autorita = sogei / (d.modo_test ? "mirCa.pem" : "mirservice_produzione.pem");
    // Without a folder of authorities of its own, curl on Debian adds the system's to the file
    // it is given. The private work folder holds none. On Windows no build has such a folder by
    // default, and curl with Schannel would refuse the option.
#ifdef _WIN32
    const std::string cartella_autorita;
#else
    const std::string cartella_autorita = " --capath " + q(lavoro);
#endif
    // -q must come first to keep curl from reading ~/.curlrc. --data-binary posts the file's
    // bytes as they are; --data would drop its line breaks.
    return q(strumenti_sogei::curl(d.cartella_programma)) +
           " -q --verbose --silent --show-error --globoff --http1.1 --proto =https"
           " --connect-timeout 20 --max-time " +
           std::to_string(attesa_massima_curl) + " --max-filesize " +
           std::to_string(limite_risposta) + " --cacert " + q(autorita) + cartella_autorita +
           " --basic --config " + q(lavoro / "credenziali.cfg") + " --url " +
           quota_argomento(d.endpoint) + " --data-binary " +
           quota_argomento("@" + testo::testo_percorso(lavoro / "richiesta.xml")) + " --output " +
           q(lavoro / "risposta.xml") + " --stderr " + q(lavoro / "traccia.txt") + " --write-out " +
           quota_argomento("%{http_code} %{size_upload}");
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

TrasportoInps::TrasportoInps(fs::path cartella_programma, fs::path temporanea, Messaggi& messaggi,
                             Orologio& orologio, PompaEventi& pompa)
    : cartella_programma_(std::move(cartella_programma)), temporanea_(std::move(temporanea)),
      messaggi_(messaggi), orologio_(orologio), pompa_(pompa) {}

RispostaServizio TrasportoInps::invia_messaggio_soap(const DatiCurl& dati) {
    CartellaDiLavoro lavoro(strumenti_sogei::cartella(cartella_programma_), temporanea_);
    if (!lavoro.scrivi("credenziali.cfg", configurazione_curl(dati)) ||
        !lavoro.scrivi("richiesta.xml", dati.richiesta)) {
        messaggi_.avvisa("Impossibile preparare l'invio: la cartella Sogei e la cartella "
                         "temporanea non sono scrivibili.",
                         Icona::critico);
        return {};
    }
    RispostaServizio risposta;
    try {
        DOSOutputs dos(messaggi_);
        dos.CommandLine(riga_comando_curl(dati, lavoro.percorso()));
        dos.ExecuteCommand();
        risposta.uscita = dos.CodiceUscita();
        leggi_scritto(dos.Outputs(), risposta);
    } catch (const std::exception& errore) {
        // Only exhaustion of the machine's resources can get here; the send then fails with
        // a report for support staff (the command line, which holds the credentials, is not
        // in it).
        messaggi_.avvisa(std::string(errore.what()) + " - DOSOutputs - 0", Icona::critico,
                         "Error in Hello_My_Server");
        return {};
    }
    risposta.traccia = leggi(lavoro["traccia.txt"], limite_risposta);
    // curl stops when the answer says in advance that it is too long; one that does not say is
    // measured here, before a byte of it is read.
    constexpr int troppo_lunga = 63;
    std::error_code e;
    const auto dimensione = fs::file_size(lavoro["risposta.xml"], e);
    risposta.troppo_lunga = risposta.uscita == troppo_lunga || (!e && dimensione > limite_risposta);
    if (!risposta.troppo_lunga) {
        risposta.corpo = leggi(lavoro["risposta.xml"], limite_risposta);
    }
    return risposta;
}

std::string TrasportoInps::cripta_stringa(const std::string& valore) {
    CartellaDiLavoro lavoro(strumenti_sogei::cartella(cartella_programma_), temporanea_);
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
    auto risultato = leggi(b64, limite_risposta);
    risultato.erase(std::remove_if(risultato.begin(), risultato.end(),
                                   [](char c) { return c == '\n' || c == '\r'; }),
                    risultato.end());
    return risultato;
}

} // namespace meravo
