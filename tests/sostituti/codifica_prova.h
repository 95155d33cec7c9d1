#pragma once

#include <string>
#include <string_view>

namespace meravo::prova {

// What the stand-ins write where the real tools write base64: hexadecimal, two digits a byte.
// The module carries the tool's text as it is, so any encoding that is not the text itself
// proves as much.
inline std::string codifica(std::string_view dati) {
    static constexpr char cifre[] = "0123456789ABCDEF";
    std::string uscita;
    for (const unsigned char c : dati) {
        uscita += {cifre[c >> 4], cifre[c & 15]};
    }
    return uscita;
}

} // namespace meravo::prova
