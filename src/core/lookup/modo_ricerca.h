#pragma once

#include <string_view>

namespace meravo {

// The four ways the look-up narrows its column; the caption of the mode indicator names them.
enum class ModoRicerca {
    sinistra,           // "<"  the entry begins with the typed text
    ovunque,            // ">"  the typed text occurs anywhere
    sinistra_e_ovunque, // "<>" a confirmed beginning, then a second term after it
    ovunque_e_ovunque,  // ">>" a confirmed term anywhere, then a second term after it
};

constexpr std::string_view simbolo(ModoRicerca modo) {
    switch (modo) {
    case ModoRicerca::sinistra:
        return "<";
    case ModoRicerca::ovunque:
        return ">";
    case ModoRicerca::sinistra_e_ovunque:
        return "<>";
    case ModoRicerca::ovunque_e_ovunque:
        return ">>";
    }
    return "<";
}

constexpr bool a_due_termini(ModoRicerca modo) {
    return modo == ModoRicerca::sinistra_e_ovunque || modo == ModoRicerca::ovunque_e_ovunque;
}

} // namespace meravo
