#include "testo_simulatore.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace meravo::simulatore {

namespace {

// Code points of the bytes 0x80-0x9F in Windows-1252; the five bytes it leaves undefined keep
// their own value, as the platform's own conversion does.
constexpr std::array<char32_t, 32> windows_1252_alti = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void aggiungi_utf8(std::string& uscita, char32_t punto) {
    if (punto < 0x80) {
        uscita += static_cast<char>(punto);
    } else if (punto < 0x800) {
        uscita += static_cast<char>(0xC0 | (punto >> 6));
        uscita += static_cast<char>(0x80 | (punto & 0x3F));
    } else {
        uscita += static_cast<char>(0xE0 | (punto >> 12));
        uscita += static_cast<char>(0x80 | ((punto >> 6) & 0x3F));
        uscita += static_cast<char>(0x80 | (punto & 0x3F));
    }
}

} // namespace

bool utf8_valido(std::string_view testo) {
    std::size_t i = 0;
    while (i < testo.size()) {
        const auto primo = static_cast<unsigned char>(testo[i]);
        std::size_t seguito = 0;
        char32_t punto = 0;
        char32_t minimo = 0;
        if (primo < 0x80) {
            ++i;
            continue;
        } else if ((primo & 0xE0) == 0xC0) {
            seguito = 1;
            punto = primo & 0x1F;
            minimo = 0x80;
        } else if ((primo & 0xF0) == 0xE0) {
            seguito = 2;
            punto = primo & 0x0F;
            minimo = 0x800;
        } else if ((primo & 0xF8) == 0xF0) {
            seguito = 3;
            punto = primo & 0x07;
            minimo = 0x10000;
        } else {
            return false;
        }
        if (i + seguito >= testo.size()) {
            return false;
        }
        for (std::size_t k = 1; k <= seguito; ++k) {
            const auto byte = static_cast<unsigned char>(testo[i + k]);
            if ((byte & 0xC0) != 0x80) {
                return false;
            }
            punto = (punto << 6) | (byte & 0x3F);
        }
        if (punto < minimo || punto > 0x10FFFF || (punto >= 0xD800 && punto <= 0xDFFF)) {
            return false;
        }
        i += seguito + 1;
    }
    return true;
}

std::string in_utf8(std::string_view testo) {
    if (utf8_valido(testo)) {
        return std::string(testo);
    }
    std::string uscita;
    uscita.reserve(testo.size() + testo.size() / 8);
    for (const char c : testo) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte < 0xA0) {
            aggiungi_utf8(uscita, windows_1252_alti[byte - 0x80]);
        } else {
            aggiungi_utf8(uscita, byte);
        }
    }
    return uscita;
}

std::optional<std::string> decodifica_base64(std::string_view testo) {
    std::string compatto;
    compatto.reserve(testo.size());
    for (const char c : testo) {
        if (c != '\r' && c != '\n' && c != ' ' && c != '\t') {
            compatto += c;
        }
    }
    if (compatto.empty() || compatto.size() % 4 != 0) {
        return std::nullopt;
    }
    const std::unique_ptr<EVP_ENCODE_CTX, decltype(&EVP_ENCODE_CTX_free)> contesto(
        EVP_ENCODE_CTX_new(), &EVP_ENCODE_CTX_free);
    if (!contesto) {
        return std::nullopt;
    }
    std::vector<unsigned char> uscita(compatto.size() / 4 * 3 + 3);
    int scritti = 0;
    int finali = 0;
    EVP_DecodeInit(contesto.get());
    const auto* ingresso = reinterpret_cast<const unsigned char*>(compatto.data());
    if (EVP_DecodeUpdate(contesto.get(), uscita.data(), &scritti, ingresso,
                         static_cast<int>(compatto.size())) < 0 ||
        EVP_DecodeFinal(contesto.get(), uscita.data() + scritti, &finali) != 1) {
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(uscita.data()),
                       static_cast<std::size_t>(scritti + finali));
}

std::string stringa_json(std::string_view testo) {
    std::string uscita = "\"";
    for (const char c : testo) {
        switch (c) {
        case '"':
            uscita += "\\\"";
            break;
        case '\\':
            uscita += "\\\\";
            break;
        case '\n':
            uscita += "\\n";
            break;
        case '\r':
            uscita += "\\r";
            break;
        case '\t':
            uscita += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                static constexpr std::string_view cifre = "0123456789abcdef";
                uscita += "\\u00";
                uscita += cifre[static_cast<unsigned char>(c) >> 4];
                uscita += cifre[static_cast<unsigned char>(c) & 0xF];
            } else {
                uscita += c;
            }
        }
    }
    uscita += '"';
    return uscita;
}

std::string maschera_credenziali(std::string_view corpo) {
    static constexpr std::array<std::string_view, 4> credenziali = {
        "pincode", "codiceFiscale", "pincodeMedico", "codiceFiscaleLavoratore"};
    std::string uscita;
    uscita.reserve(corpo.size());
    std::size_t i = 0;
    while (i < corpo.size()) {
        const auto apertura = corpo.find('<', i);
        const auto chiusura =
            apertura == std::string_view::npos ? apertura : corpo.find('>', apertura);
        if (chiusura == std::string_view::npos) {
            uscita.append(corpo.substr(i));
            break;
        }
        uscita.append(corpo.substr(i, chiusura + 1 - i));
        i = chiusura + 1;
        const auto etichetta = corpo.substr(apertura + 1, chiusura - apertura - 1);
        if (etichetta.empty() || etichetta.front() == '/' || etichetta.back() == '/') {
            continue;
        }
        auto nome = etichetta.substr(0, etichetta.find_first_of(" \t\r\n"));
        if (const auto due_punti = nome.find(':'); due_punti != std::string_view::npos) {
            nome = nome.substr(due_punti + 1);
        }
        if (std::find(credenziali.begin(), credenziali.end(), nome) != credenziali.end()) {
            const auto fine = corpo.find('<', i);
            uscita += "***";
            i = fine == std::string_view::npos ? corpo.size() : fine;
        }
    }
    return uscita;
}

bool uguali_riservati(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

} // namespace meravo::simulatore
