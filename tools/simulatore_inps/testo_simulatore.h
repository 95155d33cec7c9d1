#pragma once

#include <optional>
#include <string>
#include <string_view>

// Small text helpers of the simulator: encodings, Base64, JSON strings and log masking.
namespace meravo::simulatore {

bool utf8_valido(std::string_view testo);

// The module writes its texts in Windows-1252 and a request carries no declaration that says
// so: a body that is valid UTF-8 is taken as it is, any other as Windows-1252, and both come
// back as UTF-8.
std::string in_utf8(std::string_view testo);

// Standard Base64 with or without line breaks (the openssl tool breaks its output every 64
// characters, and a carriage return may be left at each break); empty when it is not Base64.
std::optional<std::string> decodifica_base64(std::string_view testo);

// A JSON string literal, quotes included, for UTF-8 text.
std::string stringa_json(std::string_view testo);

// The request with the content of the credential elements (encrypted PIN and fiscal code)
// replaced by "***", for the log.
std::string maschera_credenziali(std::string_view corpo);

// Comparison whose time does not depend on where the texts differ.
bool uguali_riservati(std::string_view a, std::string_view b);

} // namespace meravo::simulatore
