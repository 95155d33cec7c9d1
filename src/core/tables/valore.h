#pragma once

#include "tables/data.h"

#include <cstdint>
#include <string>
#include <variant>

namespace meravo {

// One cell of a table, whatever its column's type; std::monostate is "nothing" (a cell outside
// the table, element 0 of a list). Texts are Windows-1252 bytes.
using Valore =
    std::variant<std::monostate, std::int16_t, std::int32_t, float, double, Data, std::string>;

// The order in which the searches compare: numbers by value whatever their width, texts byte by
// byte as unsigned codes, dates by date. Values of different kinds are never equal; they order by
// kind (nothing, numbers, dates, texts) so that any two values can be sorted together.
int confronta(const Valore& a, const Valore& b);

struct MinoreValore {
    bool operator()(const Valore& a, const Valore& b) const { return confronta(a, b) < 0; }
};

bool e_testo(const Valore& v);
bool e_numero(const Valore& v);

} // namespace meravo
