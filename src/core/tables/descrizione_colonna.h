#pragma once

#include <optional>
#include <string>

namespace meravo {

// The type codes of a table's columns, as the callers and the layouts write them.
enum class TipoColonna : int {
    intero16 = 2,
    intero32 = 3,
    singola = 4,
    doppia = 5,
    data = 7,
    testo = 8,
};

// One column of a table's layout: type code, width (texts only; the other types have fixed
// widths) and name.
struct DescrizioneColonna {
    int tipo = 0;
    int larghezza = 0;
    std::string nome;
};

std::optional<TipoColonna> tipo_da_codice(int codice);

// Characters the column takes in a record line; 0 for an unknown type code.
int larghezza_campo(const DescrizioneColonna& colonna);

} // namespace meravo
