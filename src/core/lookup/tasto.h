#pragma once

namespace meravo {

// The keys the look-up reacts to, by their Windows virtual-key codes, so a widget can hand any
// platform code over with a cast: codes not listed here are simply not acted upon.
enum class Tasto : int {
    invio = 13,
    maiuscole = 16,
    esc = 27,
    spazio = 32,
    fine = 35,
    inizio = 36,
    sinistra = 37,
    su = 38,
    destra = 39,
    giu = 40,
};

// Modifier state delivered with a key, summed as the platform reports it.
namespace modificatori {
inline constexpr int nessuno = 0;
inline constexpr int shift = 1;
inline constexpr int ctrl = 2;
inline constexpr int alt = 4;
} // namespace modificatori

} // namespace meravo
