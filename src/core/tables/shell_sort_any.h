#pragma once

#include "services/pompa_eventi.h"

#include <algorithm>
#include <cstddef>
#include <tuple>
#include <utility>

namespace meravo {

// Sorts elements 1 to numEls of one or more lists together: `chiavi` holds the keys, every list
// in `compagni` moves along with it (a table column and the row numbers it came from, say).
// Lists are numbered from 1; element 0 is never touched.
//
// Shell sort with the gaps ..., 40, 13, 4, 1: ascending, equal keys keep their order within a
// pass; descending, an equal key is moved past. Pending window events run every 1000 elements,
// since the lists can be as long as a whole table.
//
// numEls is cut to the shortest list, so a caller's miscount cannot reach past an end.
template <typename Chiavi, typename... Compagni>
void ShellSortAny(PompaEventi& pompa, std::size_t numEls, bool descending, Chiavi& chiavi,
                  Compagni&... compagni) {
    for (const std::size_t dimensione : {chiavi.size(), compagni.size()...}) {
        numEls = std::min(numEls, dimensione == 0 ? 0 : dimensione - 1);
    }
    if (numEls < 2) {
        return;
    }
    std::size_t h = 1;
    while (h <= numEls) {
        h = 3 * h + 1;
    }
    do {
        h /= 3;
        for (std::size_t i = h + 1; i <= numEls; ++i) {
            auto chiave = std::move(chiavi[i]);
            auto presi = std::make_tuple(std::move(compagni[i])...);
            std::size_t j = i;
            while (j > h && ((chiave < chiavi[j - h]) != descending)) {
                chiavi[j] = std::move(chiavi[j - h]);
                ((compagni[j] = std::move(compagni[j - h])), ...);
                j -= h;
            }
            chiavi[j] = std::move(chiave);
            std::apply([&](auto&... valori) { ((compagni[j] = std::move(valori)), ...); }, presi);
            if (i % 1000 == 0) {
                pompa.esegui_eventi_in_attesa();
            }
        }
    } while (h > 1);
}

} // namespace meravo
