#include "tables/campi_record.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace meravo::campi_record {

namespace {

constexpr double milione = 1000000.0;
// The largest number a decimal field holds: 13 integer digits and 6 decimals.
constexpr double massimo_decimale = 9999999999999.999999;
// Italian desktops wrote a comma here; nothing reads it back.
constexpr char separatore_decimale = ',';

bool spazio(char c) {
    return c == ' ' || c == '\t';
}

template <typename T> T entro(double v) {
    constexpr double minimo = static_cast<double>(std::numeric_limits<T>::min());
    constexpr double massimo = static_cast<double>(std::numeric_limits<T>::max());
    if (v != v) {
        return 0;
    }
    return static_cast<T>(std::clamp(std::nearbyint(v), minimo, massimo));
}

void cifre(std::string& riga, std::uint64_t valore, int quante) {
    char buffer[24];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, valore);
    const int scritte = static_cast<int>(r.ptr - buffer);
    riga.append(static_cast<std::size_t>(std::max(0, quante - scritte)), '0');
    riga.append(buffer, r.ptr);
}

} // namespace

double numero_lenient(std::string_view testo) {
    std::size_t i = 0;
    while (i < testo.size() && spazio(testo[i])) {
        ++i;
    }
    double segno = 1;
    if (i < testo.size() && (testo[i] == '+' || testo[i] == '-')) {
        segno = testo[i] == '-' ? -1 : 1;
        ++i;
    }
    double valore = 0;
    for (; i < testo.size(); ++i) {
        const char c = testo[i];
        if (c >= '0' && c <= '9') {
            valore = valore * 10 + (c - '0');
        } else if (!spazio(c)) {
            break;
        }
    }
    return segno * valore;
}

std::int16_t leggi_intero16(std::string_view campo) {
    return entro<std::int16_t>(numero_lenient(campo));
}

std::int32_t leggi_intero32(std::string_view campo) {
    return entro<std::int32_t>(numero_lenient(campo));
}

double leggi_decimale(std::string_view campo) {
    const double segno = !campo.empty() && campo[0] == '-' ? -1 : 1;
    const double interi = numero_lenient(parte(campo, 1, 13));
    const double decimali = numero_lenient(parte(campo, 15, 6));
    if (interi < 0 || decimali < 0) {
        return segno * (interi + decimali / milione); // a damaged field, read as it comes
    }
    // The nearest double to the decimal number itself (integer part + decimals / 10^6 would
    // round twice), so that a saved value reads back as the very number that was saved.
    char testo[32];
    auto fine = std::to_chars(testo, testo + 16, static_cast<std::uint64_t>(interi)).ptr;
    *fine++ = '.';
    const auto cifre_decimali =
        std::to_chars(fine, fine + 8, static_cast<std::uint32_t>(decimali)).ptr;
    const auto scritte = cifre_decimali - fine;
    std::memmove(fine + (6 - scritte), fine, static_cast<std::size_t>(scritte));
    std::fill(fine, fine + (6 - scritte), '0');
    fine += 6;
    double valore = 0;
    std::from_chars(testo, fine, valore);
    return segno * valore;
}

Data leggi_data(std::string_view campo) {
    return Data::da_numeri(static_cast<long>(numero_lenient(parte(campo, 0, 4))),
                           static_cast<long>(numero_lenient(parte(campo, 4, 2))),
                           static_cast<long>(numero_lenient(parte(campo, 6, 2))));
}

Valore leggi_campo(std::string_view campo, TipoColonna tipo) {
    switch (tipo) {
    case TipoColonna::intero16:
        return leggi_intero16(campo);
    case TipoColonna::intero32:
        return leggi_intero32(campo);
    case TipoColonna::singola:
        return static_cast<float>(leggi_decimale(campo));
    case TipoColonna::doppia:
        return leggi_decimale(campo);
    case TipoColonna::data:
        return leggi_data(campo);
    case TipoColonna::testo:
        return std::string(leggi_testo(campo));
    }
    return {};
}

void scrivi_intero(std::string& riga, std::int64_t valore, int quante) {
    riga.push_back(valore < 0 ? '-' : '+');
    const std::uint64_t assoluto =
        valore < 0 ? 0 - static_cast<std::uint64_t>(valore) : static_cast<std::uint64_t>(valore);
    cifre(riga, assoluto, quante);
}

void scrivi_decimale(std::string& riga, double valore) {
    if (valore != valore) {
        valore = 0;
    }
    riga.push_back(valore < 0 ? '-' : '+');
    // A number beyond the field would shift every following field: it is held at the largest
    // the field can carry.
    const double assoluto = std::min(std::fabs(valore), massimo_decimale);
    char buffer[64];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, assoluto, std::chars_format::fixed, 6);
    std::string_view testo(buffer, static_cast<std::size_t>(r.ptr - buffer));
    if (testo.size() > 20) {
        testo = "9999999999999.999999";
    }
    const auto inizio = riga.size();
    riga.append(20 - testo.size(), '0');
    riga.append(testo);
    std::replace(riga.begin() + static_cast<std::ptrdiff_t>(inizio), riga.end(), '.',
                 separatore_decimale);
}

void scrivi_data(std::string& riga, Data data) {
    // A date that names no day (only a caller can build one) is written as the empty date,
    // which keeps the field's eight characters.
    if (Data::da_numeri(data.anno, data.mese, data.giorno) != data) {
        data = Data::zero();
    }
    cifre(riga, static_cast<std::uint64_t>(data.anno), 4);
    cifre(riga, static_cast<std::uint64_t>(data.mese), 2);
    cifre(riga, static_cast<std::uint64_t>(data.giorno), 2);
}

void scrivi_testo(std::string& riga, std::string_view testo, std::size_t larghezza) {
    // A longer text is cut to its width, else every following field would shift; a line break
    // inside it would split the record, so it becomes a blank.
    testo = testo.substr(0, larghezza);
    const auto inizio = riga.size();
    riga.append(testo);
    std::replace_if(
        riga.begin() + static_cast<std::ptrdiff_t>(inizio), riga.end(),
        [](char c) { return c == '\r' || c == '\n'; }, ' ');
    riga.append(larghezza - testo.size(), ' ');
}

void scrivi_prefisso(std::string& riga, std::string_view prefisso) {
    scrivi_testo(riga, prefisso, lunghezza_prefisso);
}

void scrivi_campo(std::string& riga, const Valore& valore, const DescrizioneColonna& colonna) {
    const auto tipo = tipo_da_codice(colonna.tipo);
    if (!tipo) {
        return;
    }
    const Valore v = converti(valore, *tipo).value_or(leggi_campo({}, *tipo));
    switch (*tipo) {
    case TipoColonna::intero16:
        scrivi_intero(riga, std::get<std::int16_t>(v), 5);
        break;
    case TipoColonna::intero32:
        scrivi_intero(riga, std::get<std::int32_t>(v), 10);
        break;
    case TipoColonna::singola:
        scrivi_decimale(riga, std::get<float>(v));
        break;
    case TipoColonna::doppia:
        scrivi_decimale(riga, std::get<double>(v));
        break;
    case TipoColonna::data:
        scrivi_data(riga, std::get<Data>(v));
        break;
    case TipoColonna::testo:
        scrivi_testo(riga, std::get<std::string>(v),
                     static_cast<std::size_t>(std::max(0, colonna.larghezza)));
        break;
    }
}

std::optional<Valore> converti(const Valore& valore, TipoColonna tipo) {
    if (std::holds_alternative<std::monostate>(valore)) {
        return leggi_campo({}, tipo);
    }
    switch (tipo) {
    case TipoColonna::intero16:
    case TipoColonna::intero32:
    case TipoColonna::singola:
    case TipoColonna::doppia: {
        if (!e_numero(valore)) {
            return std::nullopt;
        }
        const double d = std::visit(
            [](const auto& x) -> double {
                if constexpr (std::is_arithmetic_v<std::decay_t<decltype(x)>>) {
                    return static_cast<double>(x);
                } else {
                    return 0;
                }
            },
            valore);
        if (tipo == TipoColonna::intero16) {
            return entro<std::int16_t>(d);
        }
        if (tipo == TipoColonna::intero32) {
            return entro<std::int32_t>(d);
        }
        if (tipo == TipoColonna::singola) {
            return static_cast<float>(d);
        }
        return d;
    }
    case TipoColonna::data:
        if (!std::holds_alternative<Data>(valore)) {
            return std::nullopt;
        }
        return valore;
    case TipoColonna::testo:
        if (!e_testo(valore)) {
            return std::nullopt;
        }
        return valore;
    }
    return std::nullopt;
}

} // namespace meravo::campi_record
