#pragma once

namespace meravo {

// The halving search of the tables over positions 1 to `ultimo` of an ascending list.
// `confronta(p)` tells where entry p stands against the value sought: below 0, above 0, or 0.
//
// The bounds move to the middle itself, not past it, and once fewer than `soglia` positions
// remain they are scanned in order. A single entry is compared like any other.
template <typename Confronto> int ricerca_dimezzata(int ultimo, int soglia, Confronto confronta) {
    if (ultimo < 1) {
        return -1;
    }
    int lo = 1;
    int hi = ultimo;
    while (hi - lo >= soglia) {
        const int mezzo = lo + (hi - lo) / 2;
        const int c = confronta(mezzo);
        if (c < 0) {
            lo = mezzo;
        } else if (c > 0) {
            hi = mezzo;
        } else {
            return mezzo;
        }
    }
    for (int p = lo; p <= hi; ++p) {
        if (confronta(p) == 0) {
            return p;
        }
    }
    return -1;
}

} // namespace meravo
