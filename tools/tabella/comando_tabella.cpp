#include "comando_tabella.h"

#include "services/messaggi.h"
#include "services/pompa_eventi.h"
#include "tables/cls_critto.h"
#include "tables/file_cifrato.h"
#include "tables/file_interi.h"
#include "text/testo.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ostream>

namespace meravo {

namespace {

constexpr std::string_view uso =
    "uso: meravo-tabella decifra CIFRATO PIANO | cifra PIANO CIFRATO | "
    "mostra FILE LAYOUT [--cifrato]";

// carica reports through its result; anything else that wants a word goes to standard error.
class MessaggiSuErrori final : public Messaggi {
public:
    explicit MessaggiSuErrori(std::ostream& errori) : errori_(errori) {}
    Risposta mostra(std::string_view testo, std::string_view, Icona, Pulsanti) override {
        errori_ << testo::cp1252_a_utf8(testo) << '\n';
        return Risposta::no;
    }

private:
    std::ostream& errori_;
};

int fallisce(std::ostream& errori, std::string_view messaggio) {
    errori << testo::cp1252_a_utf8(messaggio) << '\n';
    return 1;
}

std::optional<int> intero(std::string_view testo) {
    int valore = 0;
    const auto r = std::from_chars(testo.data(), testo.data() + testo.size(), valore);
    if (r.ec != std::errc{} || r.ptr != testo.data() + testo.size()) {
        return std::nullopt;
    }
    return valore;
}

std::string decimale(double valore) {
    char buffer[64];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, valore, std::chars_format::fixed, 6);
    std::string testo(buffer, r.ptr);
    testo.erase(testo.find_last_not_of('0') + 1);
    if (testo.back() == '.') {
        testo.pop_back();
    }
    return testo == "-0" ? "0" : testo;
}

std::string in_utf8(const Valore& v) {
    return std::visit(
        [](const auto& x) -> std::string {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::string>) {
                // A tab inside a text would read as a cell boundary.
                std::string t = testo::cp1252_a_utf8(x);
                std::replace(t.begin(), t.end(), '\t', ' ');
                return t;
            } else if constexpr (std::is_same_v<T, Data>) {
                char buffer[32];
                std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", x.anno, x.mese, x.giorno);
                return buffer;
            } else if constexpr (std::is_floating_point_v<T>) {
                return decimale(x);
            } else if constexpr (std::is_integral_v<T>) {
                return std::to_string(x);
            } else {
                return {};
            }
        },
        v);
}

int decifra(const std::string& cifrato, const std::string& piano, std::ostream& errori,
            Orologio& orologio) {
    const auto contenuto = leggi_file_intero(testo::percorso(cifrato));
    if (!contenuto) {
        return fallisce(errori, "File " + cifrato + " mancante o illeggibile");
    }
    std::vector<std::string> righe;
    if (const auto esito = decifra_righe(*contenuto, orologio, cifrato, righe); !esito) {
        return fallisce(errori, esito.messaggio());
    }
    if (!scrivi_file_intero(testo::percorso(piano), unisci_righe(righe))) {
        return fallisce(errori, "Impossibile scrivere il file " + piano);
    }
    return 0;
}

int cifra(const std::string& piano, const std::string& cifrato, std::ostream& errori,
          Orologio& orologio) {
    const auto contenuto = leggi_file_intero(testo::percorso(piano));
    if (!contenuto) {
        return fallisce(errori, "File " + piano + " mancante o illeggibile");
    }
    if (!scrivi_file_intero(testo::percorso(cifrato),
                            cifra_righe(righe_di(*contenuto), orologio))) {
        return fallisce(errori, "Impossibile scrivere il file " + cifrato);
    }
    return 0;
}

int mostra(const std::string& file, const std::string& testo_layout, bool cifrato,
           std::ostream& uscita, std::ostream& errori, Orologio& orologio) {
    std::string errore;
    const auto layout = leggi_layout(testo_layout, errore);
    if (!layout) {
        return fallisce(errori, errore);
    }
    PompaEventiNulla pompa;
    MessaggiSuErrori messaggi(errori);
    Cls_Critto tabella(orologio, pompa, messaggi);
    if (const auto esito = tabella.descrizione(*layout); !esito) {
        return fallisce(errori, "Layout non valido: " + esito.messaggio());
    }
    OpzioniCarica opzioni;
    opzioni.lettura_crittato = cifrato;
    if (const auto esito = tabella.carica(file, opzioni); !esito) {
        return fallisce(errori, esito.messaggio());
    }
    for (int r = 1; r <= tabella.righe_caricate(); ++r) {
        for (int c = 1; c <= tabella.colonne(); ++c) {
            if (c > 1) {
                uscita << '\t';
            }
            uscita << in_utf8(tabella.dati_diretto(c, r));
        }
        uscita << '\n';
    }
    return 0;
}

} // namespace

std::optional<std::vector<DescrizioneColonna>> leggi_layout(std::string_view testo,
                                                            std::string& errore) {
    std::vector<DescrizioneColonna> colonne;
    for (;;) {
        const auto virgola = testo.find(',');
        const auto voce = testo.substr(0, virgola);
        const auto primi = voce.find(':');
        const auto secondi = primi == std::string_view::npos ? primi : voce.find(':', primi + 1);
        if (secondi == std::string_view::npos) {
            errore =
                "Layout non valido: \"" + std::string(voce) + "\" non \xE8 tipo:larghezza:nome";
            return std::nullopt;
        }
        const auto tipo = intero(voce.substr(0, primi));
        const auto larghezza_testo = voce.substr(primi + 1, secondi - primi - 1);
        const auto larghezza =
            larghezza_testo.empty() ? std::optional<int>(0) : intero(larghezza_testo);
        if (!tipo || !larghezza) {
            errore = "Layout non valido: \"" + std::string(voce) + "\" non ha numeri dove servono";
            return std::nullopt;
        }
        colonne.push_back({*tipo, *larghezza, std::string(voce.substr(secondi + 1))});
        if (virgola == std::string_view::npos) {
            return colonne;
        }
        testo.remove_prefix(virgola + 1);
    }
}

int esegui_tabella(const std::vector<std::string>& argomenti, std::ostream& uscita,
                   std::ostream& errori, Orologio& orologio) {
    const auto n = argomenti.size();
    if (n == 3 && argomenti[0] == "decifra") {
        return decifra(argomenti[1], argomenti[2], errori, orologio);
    }
    if (n == 3 && argomenti[0] == "cifra") {
        return cifra(argomenti[1], argomenti[2], errori, orologio);
    }
    if ((n == 3 || (n == 4 && argomenti[3] == "--cifrato")) && argomenti[0] == "mostra") {
        return mostra(argomenti[1], argomenti[2], n == 4, uscita, errori, orologio);
    }
    return fallisce(errori, uso);
}

} // namespace meravo
