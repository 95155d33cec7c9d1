#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One archived certificate: 30 fields joined by "§" (byte 0xA7); field 0 is the archive key,
// yyyymmddhhmmss of the moment it was archived.
namespace meravo::record_certificato {

inline constexpr char separatore = '\xA7';
inline constexpr std::size_t numero_campi = 30;

// The names of fields 1 to 29, as the printed copy names its fields.
extern const std::array<std::string_view, numero_campi> nomi_campi;

// A field as the archive stores it: nothing becomes the empty text, every CR LF becomes "||",
// surrounding blanks go, and a "§" (which would shift every following field) becomes a blank.
std::string campo_archivio(const std::optional<std::string>& valore);

// Key and fields 1..29 (`campi[i - 1]` is field i) joined by the separator, each through the
// field rule.
std::string componi(std::string_view chiave, const std::vector<std::optional<std::string>>& campi);

// The fields of a record, always exactly 30: missing ones are empty, any beyond the 30th are
// left out.
std::array<std::string, numero_campi> campi(std::string_view record);

// The key of a record: its text before the first separator; nothing when there is none.
std::optional<std::string> chiave(std::string_view record);

// 20240105093000 -> "05/01/2024 09:30:00", by character positions; a text of another shape
// converts by the same positions (missing characters are simply absent).
std::string elenco_da_chiave(std::string_view chiave);

} // namespace meravo::record_certificato
