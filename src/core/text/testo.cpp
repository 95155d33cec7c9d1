#include "text/testo.h"

#include <array>

namespace meravo::testo {

namespace {

// Code points of 0x80..0x9F; undefined positions keep their own value.
constexpr std::array<char32_t, 32> alti = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char byte_di(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    for (std::size_t i = 0; i < alti.size(); ++i) {
        if (alti[i] == cp) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

void aggiungi_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at `i`; returns U+FFFD (which has no Windows-1252 form) for a
// malformed one and always advances at least one byte.
char32_t leggi_utf8(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i++]);
    if (b0 < 0x80) {
        return b0;
    }
    int seguito = 0;
    char32_t cp = 0;
    char32_t minimo = 0;
    if ((b0 & 0xE0) == 0xC0) {
        seguito = 1, cp = b0 & 0x1F, minimo = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        seguito = 2, cp = b0 & 0x0F, minimo = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        seguito = 3, cp = b0 & 0x07, minimo = 0x10000;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < seguito; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp < minimo ? 0xFFFD : cp;
}

} // namespace

char32_t carattere_unicode(unsigned char byte) {
    return (byte >= 0x80 && byte < 0xA0) ? alti[byte - 0x80] : byte;
}

std::string cp1252_a_utf8(std::string_view testo) {
    std::string out;
    out.reserve(testo.size() + testo.size() / 4);
    for (char c : testo) {
        aggiungi_utf8(out, carattere_unicode(static_cast<unsigned char>(c)));
    }
    return out;
}

std::u16string cp1252_a_utf16(std::string_view testo) {
    std::u16string out;
    out.reserve(testo.size());
    for (char c : testo) {
        out.push_back(static_cast<char16_t>(carattere_unicode(static_cast<unsigned char>(c))));
    }
    return out;
}

std::string utf8_a_cp1252(std::string_view testo) {
    std::string out;
    out.reserve(testo.size());
    for (std::size_t i = 0; i < testo.size();) {
        out.push_back(byte_di(leggi_utf8(testo, i)));
    }
    return out;
}

std::string utf16_a_cp1252(std::u16string_view testo) {
    std::string out;
    out.reserve(testo.size());
    for (std::size_t i = 0; i < testo.size(); ++i) {
        const char16_t u = testo[i];
        if (u >= 0xD800 && u <= 0xDFFF) {
            // Anything outside the basic plane has no Windows-1252 form; skip a whole pair.
            if (u <= 0xDBFF && i + 1 < testo.size() && testo[i + 1] >= 0xDC00 &&
                testo[i + 1] <= 0xDFFF) {
                ++i;
            }
            out.push_back('?');
        } else {
            out.push_back(byte_di(u));
        }
    }
    return out;
}

unsigned char maiuscola(unsigned char b) {
    if (b >= 'a' && b <= 'z') {
        return static_cast<unsigned char>(b - 0x20);
    }
    switch (b) {
    case 0x9A: // š
    case 0x9C: // œ
    case 0x9E: // ž
        return static_cast<unsigned char>(b - 0x10);
    case 0xFF: // ÿ
        return 0x9F;
    case 0xF7: // ÷ is not a letter
        return b;
    default:
        break;
    }
    if (b >= 0xE0 && b <= 0xFE) {
        return static_cast<unsigned char>(b - 0x20);
    }
    return b;
}

std::string maiuscolo(std::string_view testo) {
    std::string out(testo);
    for (char& c : out) {
        c = static_cast<char>(maiuscola(static_cast<unsigned char>(c)));
    }
    return out;
}

unsigned char minuscola(unsigned char b) {
    if (b >= 'A' && b <= 'Z') {
        return static_cast<unsigned char>(b + 0x20);
    }
    switch (b) {
    case 0x8A: // Š
    case 0x8C: // Œ
    case 0x8E: // Ž
        return static_cast<unsigned char>(b + 0x10);
    case 0x9F: // Ÿ
        return 0xFF;
    case 0xD7: // × is not a letter
        return b;
    default:
        break;
    }
    if (b >= 0xC0 && b <= 0xDE) {
        return static_cast<unsigned char>(b + 0x20);
    }
    return b;
}

std::string minuscolo(std::string_view testo) {
    std::string out(testo);
    for (char& c : out) {
        c = static_cast<char>(minuscola(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string_view rifila(std::string_view testo) {
    const auto inizio = testo.find_first_not_of(' ');
    if (inizio == std::string_view::npos) {
        return {};
    }
    const auto fine = testo.find_last_not_of(' ');
    return testo.substr(inizio, fine - inizio + 1);
}

std::string rifilato(std::string_view testo) {
    return std::string(rifila(testo));
}

// The standard library's own narrow conversion of a path is no help here: on Windows it reads
// bytes through the C runtime's locale and writes UTF-8, so neither direction is Windows-1252.
std::filesystem::path percorso(std::string_view testo) {
#ifdef _WIN32
    const auto utf16 = cp1252_a_utf16(testo);
    return std::filesystem::path(std::wstring(utf16.begin(), utf16.end()));
#else
    return std::filesystem::path(std::string(testo));
#endif
}

std::string testo_percorso(const std::filesystem::path& p) {
#ifdef _WIN32
    const auto& nativo = p.native();
    return utf16_a_cp1252(std::u16string(nativo.begin(), nativo.end()));
#else
    return p.string();
#endif
}

} // namespace meravo::testo
