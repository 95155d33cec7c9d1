#include "form/diario_invio.h"

#include "tables/file_interi.h"
#include "tables/lettore_righe.h"
#include "text/testo.h"

#include <system_error>

namespace meravo {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view prefisso_diario = "invio_in_corso_";
constexpr std::string_view estensione_diario = ".txt";

struct CampoVoce {
    std::string_view chiave;
    std::string VoceDiario::*campo;
};

constexpr CampoVoce campi_voce[] = {
    {"cognome", &VoceDiario::cognome},   {"nome", &VoceDiario::nome},
    {"cf", &VoceDiario::codice_fiscale}, {"rilascio", &VoceDiario::rilascio},
    {"inizio", &VoceDiario::inizio},     {"fine", &VoceDiario::fine},
    {"strada", &VoceDiario::strada},     {"ora", &VoceDiario::ora},
};

// One line per value: a line break typed into a field must not make a key of its own.
std::string su_una_riga(std::string testo) {
    for (char& c : testo) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return testo;
}

std::string testo_diario(const VoceDiario& v) {
    // The first line is for whoever opens the file by hand.
    std::string testo = "Invio di un certificato di malattia: se il modulo non lo ha concluso, "
                        "verificare sul portale INPS se il certificato \xE8 stato emesso.\r\n";
    for (const auto& c : campi_voce) {
        testo += std::string(c.chiave) + "=" + su_una_riga(v.*c.campo) + "\r\n";
    }
    testo += std::string("esito=") + (v.esito_ignoto ? "non noto" : "in corso") + "\r\n";
    return testo;
}

VoceDiario leggi_voce(std::string_view testo) {
    VoceDiario v;
    LettoreRighe righe(testo);
    while (const auto riga = righe.prossima()) {
        const auto uguale = riga->find('=');
        if (uguale == std::string_view::npos) {
            continue;
        }
        const auto chiave = riga->substr(0, uguale);
        const auto valore = std::string(riga->substr(uguale + 1));
        for (const auto& c : campi_voce) {
            if (c.chiave == chiave) {
                v.*c.campo = valore;
            }
        }
        if (chiave == "esito") {
            v.esito_ignoto = valore == "non noto";
        }
    }
    return v;
}

// The process that wrote the journal named `nome`, if the name is a journal's.
std::optional<long> pid_del_diario(const std::string& nome) {
    if (!nome.starts_with(prefisso_diario) || !nome.ends_with(estensione_diario)) {
        return std::nullopt;
    }
    const auto cifre = nome.substr(prefisso_diario.size(),
                                   nome.size() - prefisso_diario.size() - estensione_diario.size());
    if (cifre.empty() || cifre.size() > 9 ||
        cifre.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stol(cifre);
}

} // namespace

bool DiarioInvio::scrivi(const std::vector<fs::path>& cartelle, const VoceDiario& voce) {
    const auto testo = testo_diario(voce);
    if (presente()) {
        return scrivi_file_intero(percorso_, testo, Accesso::solo_utente);
    }
    const auto nome = std::string(prefisso_diario) + std::to_string(id_processo()) +
                      std::string(estensione_diario);
    for (const auto& cartella : cartelle) {
        // The user's own folder is made when first needed, for the user alone.
        std::error_code errore;
        if (&cartella != &cartelle.front() && !fs::is_directory(cartella, errore) &&
            fs::create_directories(cartella, errore)) {
            fs::permissions(cartella, fs::perms::owner_all, fs::perm_options::replace, errore);
        }
        // Created new: a left-over of an earlier process with this id is told at start-up, so
        // anything still at the name is not ours to write into.
        if (crea_file_nuovo_privato(cartella / nome, testo)) {
            percorso_ = cartella / nome;
            return true;
        }
    }
    return false;
}

void DiarioInvio::rimuovi() {
    if (presente()) {
        std::error_code ignorato;
        fs::remove(percorso_, ignorato);
        percorso_.clear();
    }
}

std::vector<fs::path>
cartelle_diario(const fs::path& programma,
                const std::function<std::optional<std::string>(std::string_view)>& ambiente) {
    std::vector<fs::path> cartelle{programma};
    const auto variabile = [&](std::string_view nome) {
        auto valore = ambiente ? ambiente(nome) : std::nullopt;
        return valore && !valore->empty() ? valore : std::nullopt;
    };
#ifdef _WIN32
    if (const auto locale = variabile("LOCALAPPDATA")) {
        cartelle.push_back(testo::percorso(*locale) / "Meravo");
    }
#else
    if (const auto stato = variabile("XDG_STATE_HOME")) {
        cartelle.push_back(testo::percorso(*stato) / "meravo");
    } else if (const auto casa = variabile("HOME")) {
        cartelle.push_back(testo::percorso(*casa) / ".local" / "state" / "meravo");
    }
#endif
    return cartelle;
}

DiariTrovati cerca_diari(const std::vector<fs::path>& cartelle) {
    DiariTrovati trovati;
    for (const auto& cartella : cartelle) {
        std::error_code errore;
        for (fs::directory_iterator voce(cartella, errore), fine; !errore && voce != fine;
             voce.increment(errore)) {
            const auto pid = pid_del_diario(testo::testo_percorso(voce->path().filename()));
            if (!pid || !dell_utente(voce->path()) || !voce->is_regular_file()) {
                continue;
            }
            if (*pid != id_processo() && processo_vivo(*pid)) {
                trovati.invio_in_corso = true;
            } else if (const auto testo = leggi_file_intero(voce->path())) {
                trovati.interrotti.emplace_back(voce->path(), leggi_voce(*testo));
            }
        }
    }
    return trovati;
}

std::string avviso_invio_interrotto(const VoceDiario& v) {
    const std::string certificato = "del certificato di malattia di " + v.cognome + " " + v.nome +
                                    " (" + v.codice_fiscale + "), dal " + v.inizio + " al " +
                                    v.fine + ", rilasciato il " + v.rilascio + ", iniziato il " +
                                    v.ora + " (invio " + v.strada + ")";
    return (v.esito_ignoto ? "L'esito dell'invio " + certificato + " non \xE8 noto"
                           : "Il modulo si \xE8 chiuso durante l'invio " + certificato) +
           ": il certificato potrebbe essere stato emesso dall'INPS senza essere stato archiviato. "
           "Verificare sul portale INPS prima di inviarlo di nuovo.";
}

void rimuovi_lavoro_interrotto(const fs::path& programma, const fs::path& temporanea) {
    // The national road's work files, by name, and its private folders of one run each.
    static constexpr std::string_view file_di_lavoro[] = {
        "credenziali.cfg", "richiesta.xml",   "stringa.txt",
        "stringa.enc",     "stringa.enc.b64", "calcola.bat",
    };
    const auto sogei = programma / "Sogei";
    for (const auto nome : file_di_lavoro) {
        rimuovi_se_dell_utente(sogei / nome);
    }
    for (const auto& cartella : {sogei, temporanea}) {
        std::error_code errore;
        for (fs::directory_iterator voce(cartella, errore), fine; !errore && voce != fine;
             voce.increment(errore)) {
            if (testo::testo_percorso(voce->path().filename())
                    .starts_with(prefisso_cartella_di_lavoro)) {
                rimuovi_se_dell_utente(voce->path());
            }
        }
    }
}

} // namespace meravo
