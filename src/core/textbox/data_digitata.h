#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace meravo {

// The date that a typed text reads as, written gg/mm/aaaa, or nothing when it reads as none.
// Read day first, then month, then year, split by "/", "-" or "." (the same one twice); day and
// month of one or two digits, the year of two or four. A two-digit year from 00 to 29 falls in
// the 2000s, from 30 to 99 in the 1900s; or year first as programs write it, aaaa-mm-gg. Blanks
// around the date are ignored. The day must exist in that month of that year.
std::optional<std::string> data_riconosciuta(std::string_view testo);

} // namespace meravo
