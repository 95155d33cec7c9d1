#pragma once

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

} // namespace meravo::testo
