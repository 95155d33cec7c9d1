#pragma once

#include "doppi/doppi.h"
#include "tables/cls_critto.h"

#include <charconv>
#include <filesystem>
#include <string>
#include <vector>

namespace meravo::prova {

// Joins record lines, each ended by CR LF.
inline std::string righe_crlf(const std::vector<std::string>& righe) {
    std::string s;
    for (const auto& r : righe) {
        s += r + "\r\n";
    }
    return s;
}

// The loaded table as text, to compare whole tables at once: a line a row, its status and then
// its cells apart by '|', numbers in their shortest exact form and dates as yyyymmdd.
inline std::string vista(const Cls_Critto& t) {
    std::string s;
    for (int r = 1; r <= t.righe(); ++r) {
        s += t.risposta_servizio(r);
        for (int c = 1; c <= t.colonne(); ++c) {
            const auto testo = [](const auto& v) -> std::string {
                using T = std::decay_t<decltype(v)>;
                char n[32];
                if constexpr (std::is_same_v<T, std::string>) {
                    return v;
                } else if constexpr (std::is_same_v<T, Data>) {
                    return std::to_string(v.anno * 10000 + v.mese * 100 + v.giorno);
                } else if constexpr (std::is_arithmetic_v<T>) {
                    return std::string(n, std::to_chars(n, n + sizeof n, v).ptr);
                }
                return "";
            };
            s += '|' + std::visit(testo, t.dati_diretto(c, r));
        }
        s += '\n';
    }
    return s;
}

// The services a table needs, a scratch folder, and the table itself.
struct AmbienteTabelle {
    OrologioFinto orologio;
    PompaEventiContata pompa;
    MessaggiRegistrati messaggi;
    CartellaTemporanea cartella;
    Cls_Critto tabella{orologio, pompa, messaggi};
    AmbienteTabelle() {
        tabella.nome_computer = [] { return std::string("STUDIO1"); };
    }
    bool esiste(const std::string& nome) const {
        return std::filesystem::exists(cartella.file(nome));
    }
    // Writes the file `nome` and loads it as a table of `colonne`.
    Esito carica(const std::vector<DescrizioneColonna>& colonne, const std::string& contenuto,
                 const OpzioniCarica& opzioni = {}, const std::string& nome = "t.tda") {
        cartella.scrivi(nome, contenuto);
        return tabella.descrizione(colonne) ? tabella.carica(cartella.file(nome), opzioni)
                                            : Esito::fallito("descrizione rifiutata");
    }
};

} // namespace meravo::prova
