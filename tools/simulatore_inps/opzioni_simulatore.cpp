#include "opzioni_simulatore.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <vector>

namespace meravo::simulatore {

const std::string_view uso_simulatore =
    "uso: meravo-simulatore-inps --pki CARTELLA --utente UTENTE --password PASSWORD --pin PIN\n"
    "                            [--porta N] [--stato FILE] [--registro FILE] [--ritardo MS]\n"
    "\n"
    "Servizio nazionale dei certificati di malattia simulato, in HTTPS su 127.0.0.1.\n"
    "  --porta N        porta di ascolto; 0 (predefinita) sceglie una porta libera\n"
    "  --pki CARTELLA   simulatore.pem, simulatore.key e SanitelCF.key (scripts/pki)\n"
    "  --utente, --password  credenziali dell'autenticazione HTTP di base\n"
    "  --pin PIN        pincode del medico atteso nelle richieste\n"
    "  --stato FILE     certificati emessi e annullati, conservati tra un avvio e l'altro\n"
    "  --registro FILE  una riga JSON per richiesta con i valori decifrati (per le prove)\n"
    "  --ritardo MS     ogni risposta arriva dopo MS millisecondi (un servizio lento)\n"
    "La prima riga dell'uscita e' la porta di ascolto; SIGINT o SIGTERM fermano il servizio.\n";

namespace {

bool leggi_intero(std::string_view testo, int& valore, int massimo) {
    const auto fine = testo.data() + testo.size();
    const auto [punto, errore] = std::from_chars(testo.data(), fine, valore);
    return errore == std::errc() && punto == fine && valore >= 0 && valore <= massimo;
}

} // namespace

std::optional<OpzioniSimulatore> leggi_opzioni(int argc, const char* const* argv,
                                               std::string& errore) {
    static const std::vector<std::string_view> note = {"--porta",    "--pki",    "--utente",
                                                       "--password", "--pin",    "--stato",
                                                       "--registro", "--ritardo"};
    OpzioniSimulatore opzioni;
    std::map<std::string, std::string, std::less<>> valori;
    for (int i = 1; i < argc; ++i) {
        std::string_view argomento = argv[i];
        if (argomento == "--aiuto" || argomento == "-h" || argomento == "--help") {
            opzioni.aiuto = true;
            return opzioni;
        }
        std::string valore;
        const auto uguale = argomento.find('=');
        if (uguale != std::string_view::npos) {
            valore = argomento.substr(uguale + 1);
            argomento = argomento.substr(0, uguale);
        } else if (i + 1 < argc) {
            valore = argv[++i];
        } else {
            errore = "manca il valore di " + std::string(argomento);
            return std::nullopt;
        }
        if (std::find(note.begin(), note.end(), argomento) == note.end()) {
            errore = "opzione sconosciuta " + std::string(argomento);
            return std::nullopt;
        }
        valori[std::string(argomento)] = std::move(valore);
    }
    // An empty password is allowed, but it must be said: a forgotten option is a mistake.
    for (const auto obbligatoria : {"--pki", "--utente", "--password", "--pin"}) {
        if (!valori.contains(obbligatoria)) {
            errore = std::string("manca l'opzione ") + obbligatoria;
            return std::nullopt;
        }
    }
    if (valori.contains("--porta") && !leggi_intero(valori["--porta"], opzioni.porta, 65535)) {
        errore = "porta non valida: " + valori["--porta"];
        return std::nullopt;
    }
    if (valori.contains("--ritardo") &&
        !leggi_intero(valori["--ritardo"], opzioni.ritardo_ms, 600000)) {
        errore = "ritardo non valido: " + valori["--ritardo"];
        return std::nullopt;
    }
    opzioni.cartella_pki = valori["--pki"];
    opzioni.utente = valori["--utente"];
    opzioni.password = valori["--password"];
    opzioni.pin = valori["--pin"];
    if (valori.contains("--stato")) {
        opzioni.file_stato = valori["--stato"];
    }
    if (valori.contains("--registro")) {
        opzioni.file_registro = valori["--registro"];
    }
    return opzioni;
}

} // namespace meravo::simulatore
