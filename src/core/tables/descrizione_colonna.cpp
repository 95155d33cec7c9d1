#include "tables/descrizione_colonna.h"

namespace meravo {

std::optional<TipoColonna> tipo_da_codice(int codice) {
    switch (codice) {
    case 2:
    case 3:
    case 4:
    case 5:
    case 7:
    case 8:
        return static_cast<TipoColonna>(codice);
    default:
        return std::nullopt;
    }
}

int larghezza_campo(const DescrizioneColonna& colonna) {
    const auto tipo = tipo_da_codice(colonna.tipo);
    if (!tipo) {
        return 0;
    }
    switch (*tipo) {
    case TipoColonna::intero16:
        return 6;
    case TipoColonna::intero32:
        return 11;
    case TipoColonna::singola:
    case TipoColonna::doppia:
        return 21;
    case TipoColonna::data:
        return 8;
    case TipoColonna::testo:
        return colonna.larghezza;
    }
    return 0;
}

} // namespace meravo
