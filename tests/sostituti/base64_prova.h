#pragma once

#include <string>
#include <string_view>

namespace meravo::prova {

// Standard base64 with padding, no line breaks.
inline std::string base64(std::string_view dati) {
    static constexpr char alfabeto[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string uscita;
    for (std::size_t i = 0; i < dati.size(); i += 3) {
        const std::size_t n = dati.size() - i < 3 ? dati.size() - i : 3;
        unsigned valore = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            valore = (valore << 8) | (k < n ? static_cast<unsigned char>(dati[i + k]) : 0U);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            uscita += k <= n ? alfabeto[(valore >> (18 - 6 * k)) & 0x3F] : '=';
        }
    }
    return uscita;
}

} // namespace meravo::prova
