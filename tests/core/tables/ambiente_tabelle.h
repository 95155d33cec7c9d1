#pragma once

#include "cartella_prova.h"
#include "doppi/doppi.h"
#include "tables/cls_critto.h"

#include <string>
#include <vector>

namespace meravo::prova {

// The services a table needs, a scratch folder, and the table itself.
struct AmbienteTabelle {
    OrologioFinto orologio;
    PompaEventiContata pompa;
    MessaggiRegistrati messaggi;
    CartellaProva cartella;
    Cls_Critto tabella{orologio, pompa, messaggi};

    AmbienteTabelle() {
        tabella.nome_computer = [] { return std::string("STUDIO1"); };
    }
};

// Joins record lines, each ended by CR LF.
inline std::string righe_crlf(const std::vector<std::string>& righe) {
    std::string s;
    for (const auto& r : righe) {
        s += r + "\r\n";
    }
    return s;
}

} // namespace meravo::prova
