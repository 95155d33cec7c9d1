#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace meravo {

// The ICD-IX tables in memory, numbered from 1 (element 0 of every list holds nothing).
// The complete table is in ascending order of description, the secondary one in ascending
// order of code; the halving searches rely on both orders.
struct TabelleIcdix {
    struct Completa {
        std::vector<std::string> prefisso{""};
        std::vector<std::string> codice{""};
        std::vector<std::string> descrizione{""};
        std::vector<std::string> flag{""};
        std::size_t righe() const { return codice.size() - 1; }
    };
    struct Secondaria {
        std::vector<std::string> prefisso{""};
        std::vector<std::string> codice{""};
        std::vector<std::int32_t> riga{0};
        std::size_t righe() const { return codice.size() - 1; }
    };

    Completa completa;
    Secondaria secondaria;

    // The one set of tables the whole program shares: every diagnosis control sees the tables
    // that any of them loaded.
    static std::shared_ptr<TabelleIcdix> del_programma();
};

} // namespace meravo
