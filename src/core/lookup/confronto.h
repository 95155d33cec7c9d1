#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Comparisons shared by the matching rules and the look-up. Positions are 1-based with 0 for
// "not there", because captions and the box are cut at such positions.
namespace meravo::confronto {

// The form a search term takes: upper case (Windows-1252) when case is ignored.
std::string preparato(std::string_view testo, bool maiuscole);

// True when `voce` begins with `chiave`. `chiave` is already prepared; `voce` is upper-cased
// on the fly when `maiuscole`, so that long columns are scanned without copies.
bool inizia_con(std::string_view voce, std::string_view chiave, bool maiuscole);

// Position of `chiave` in `voce` at or after position `da`, or 0. An empty term is found at `da`
// itself as long as `da` is not beyond the end by more than one character.
std::size_t posizione(std::string_view voce, std::string_view chiave, std::size_t da,
                      bool maiuscole);

// Up to `quanti` characters from position `da` on; empty when `da` is past the end.
std::string_view parte(std::string_view testo, std::size_t da,
                       std::size_t quanti = std::string_view::npos);

} // namespace meravo::confronto
