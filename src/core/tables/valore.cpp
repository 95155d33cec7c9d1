#include "tables/valore.h"

#include <string_view>

namespace meravo {

namespace {

enum class Genere { nulla, numero, data, testo };

Genere genere(const Valore& v) {
    if (std::holds_alternative<std::monostate>(v)) {
        return Genere::nulla;
    }
    if (std::holds_alternative<Data>(v)) {
        return Genere::data;
    }
    if (std::holds_alternative<std::string>(v)) {
        return Genere::testo;
    }
    return Genere::numero;
}

double numero(const Valore& v) {
    return std::visit(
        [](const auto& x) -> double {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_arithmetic_v<T>) {
                return static_cast<double>(x);
            } else {
                return 0;
            }
        },
        v);
}

} // namespace

int confronta(const Valore& a, const Valore& b) {
    const Genere ga = genere(a);
    const Genere gb = genere(b);
    if (ga != gb) {
        return ga < gb ? -1 : 1;
    }
    switch (ga) {
    case Genere::nulla:
        return 0;
    case Genere::numero: {
        const double x = numero(a);
        const double y = numero(b);
        // A NaN (only a caller can put one in a cell) sorts above every number, so that a
        // halving search over it still moves.
        if (x != x || y != y) {
            return (x != x) - (y != y);
        }
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case Genere::data: {
        const auto o = std::get<Data>(a) <=> std::get<Data>(b);
        return o < 0 ? -1 : (o > 0 ? 1 : 0);
    }
    case Genere::testo: {
        const int c = std::string_view(std::get<std::string>(a))
                          .compare(std::string_view(std::get<std::string>(b)));
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    }
    return 0;
}

bool e_testo(const Valore& v) {
    return std::holds_alternative<std::string>(v);
}

bool e_numero(const Valore& v) {
    return genere(v) == Genere::numero;
}

} // namespace meravo
