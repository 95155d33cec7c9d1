#pragma once

#include "tables/data.h"
#include "tables/descrizione_colonna.h"
#include "tables/valore.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace meravo {

// A table column held as an array of its own type, numbered from 1 (element 0 unused).
using ColonnaDati =
    std::variant<std::vector<std::int16_t>, std::vector<std::int32_t>, std::vector<float>,
                 std::vector<double>, std::vector<Data>, std::vector<std::string>>;

// A column of `dimensione` elements, each the type's zero (the empty text, the empty date).
ColonnaDati colonna_vuota(TipoColonna tipo, std::size_t dimensione);

std::size_t dimensione(const ColonnaDati& colonna);
bool tipo_uguale(const ColonnaDati& colonna, TipoColonna tipo);

// Element `indice`, or nothing outside the column.
Valore cella(const ColonnaDati& colonna, std::size_t indice);

// Elements 0 to `fine` (fine included) of the column, as a column of the same type.
ColonnaDati taglia(const ColonnaDati& colonna, std::size_t fine);

// Sets element `indice` to its type's zero.
void azzera(ColonnaDati& colonna, std::size_t indice);

// Sets element `indice` to `valore`, which must already be of the column's type.
void imposta(ColonnaDati& colonna, std::size_t indice, Valore valore);

} // namespace meravo
