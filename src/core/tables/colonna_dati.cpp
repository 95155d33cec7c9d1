#include "tables/colonna_dati.h"

#include <algorithm>

namespace meravo {

ColonnaDati colonna_vuota(TipoColonna tipo, std::size_t dimensione) {
    switch (tipo) {
    case TipoColonna::intero16:
        return std::vector<std::int16_t>(dimensione);
    case TipoColonna::intero32:
        return std::vector<std::int32_t>(dimensione);
    case TipoColonna::singola:
        return std::vector<float>(dimensione);
    case TipoColonna::doppia:
        return std::vector<double>(dimensione);
    case TipoColonna::data:
        return std::vector<Data>(dimensione);
    case TipoColonna::testo:
        return std::vector<std::string>(dimensione);
    }
    return {};
}

std::size_t dimensione(const ColonnaDati& colonna) {
    return std::visit([](const auto& v) { return v.size(); }, colonna);
}

bool tipo_uguale(const ColonnaDati& colonna, TipoColonna tipo) {
    switch (tipo) {
    case TipoColonna::intero16:
        return std::holds_alternative<std::vector<std::int16_t>>(colonna);
    case TipoColonna::intero32:
        return std::holds_alternative<std::vector<std::int32_t>>(colonna);
    case TipoColonna::singola:
        return std::holds_alternative<std::vector<float>>(colonna);
    case TipoColonna::doppia:
        return std::holds_alternative<std::vector<double>>(colonna);
    case TipoColonna::data:
        return std::holds_alternative<std::vector<Data>>(colonna);
    case TipoColonna::testo:
        return std::holds_alternative<std::vector<std::string>>(colonna);
    }
    return false;
}

Valore cella(const ColonnaDati& colonna, std::size_t indice) {
    return std::visit(
        [indice](const auto& v) -> Valore {
            if (indice >= v.size()) {
                return {};
            }
            return v[indice];
        },
        colonna);
}

ColonnaDati taglia(const ColonnaDati& colonna, std::size_t fine) {
    return std::visit(
        [fine](const auto& v) -> ColonnaDati {
            const auto n = std::min(v.size(), fine + 1);
            return std::decay_t<decltype(v)>(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n));
        },
        colonna);
}

void azzera(ColonnaDati& colonna, std::size_t indice) {
    std::visit(
        [indice](auto& v) {
            using T = typename std::decay_t<decltype(v)>::value_type;
            if (indice >= v.size()) {
                return;
            }
            if constexpr (std::is_same_v<T, std::string>) {
                v[indice].clear(); // keeps the text's storage for the next load
            } else {
                v[indice] = T{};
            }
        },
        colonna);
}

void imposta(ColonnaDati& colonna, std::size_t indice, Valore valore) {
    std::visit(
        [indice, &valore](auto& v) {
            using T = typename std::decay_t<decltype(v)>::value_type;
            if (auto* x = std::get_if<T>(&valore); x != nullptr && indice < v.size()) {
                v[indice] = std::move(*x);
            }
        },
        colonna);
}

} // namespace meravo
