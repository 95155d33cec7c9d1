#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Texts inside the core are Windows-1252 bytes: the code page of every file the module reads and
// writes, and fixed widths count bytes. These helpers are the only crossing to Unicode.
namespace meravo::testo {

// Every byte maps to one code point; the five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, so any byte string
// survives a round trip.
char32_t carattere_unicode(unsigned char byte);

std::string cp1252_a_utf8(std::string_view testo);
std::u16string cp1252_a_utf16(std::string_view testo);

// Characters without a Windows-1252 form, and malformed UTF-8/UTF-16, become '?'.
std::string utf8_a_cp1252(std::string_view testo);
std::string utf16_a_cp1252(std::u16string_view testo);

unsigned char maiuscola(unsigned char byte);
std::string maiuscolo(std::string_view testo);
// The reverse of `maiuscola` over the same letters.
unsigned char minuscola(unsigned char byte);
std::string minuscolo(std::string_view testo);

// Blanks are spaces only: tabs and line breaks are content in the module's fields.
std::string_view rifila(std::string_view testo);
std::string rifilato(std::string_view testo);

// A path from a text of the module (the exchange file's own path, the folders it names): on
// Windows the text's letters reach the file system as the same letters in UTF-16, whatever the
// system's code page; elsewhere the bytes are the path.
std::filesystem::path percorso(std::string_view testo);
// A path as a text of the module, for command lines and messages: on Windows the reverse of
// `percorso`, characters without a Windows-1252 form becoming '?'; elsewhere its bytes.
std::string testo_percorso(const std::filesystem::path& p);

} // namespace meravo::testo
