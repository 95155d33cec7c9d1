#pragma once

#include <cstdint>
#include <vector>

namespace meravo {

// The optional arguments of Cls_Critto::carica.
struct OpzioniCarica {
    // Column whose values the secondary index holds in ascending order; 0 for none.
    int ordinamento_secondario = 0;
    // Only the records marked "A" or "B" in the third prefix character.
    bool ridotto = false;
    // The file is enciphered with the line cipher.
    bool lettura_crittato = false;
    // No plain copy of the patients' table beside it.
    bool no_decritto = false;
    // Only the records whose number (characters 4 to 14) is in tabella_autorizzati.
    bool lettura_parziale = false;
    // Ascending record numbers, numbered from 1 (element 0 unused).
    std::vector<std::int64_t> tabella_autorizzati{};
};

} // namespace meravo
