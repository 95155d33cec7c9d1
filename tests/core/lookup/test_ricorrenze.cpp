#include "lookup/ricorrenze.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

using Lista = std::vector<std::string>;

// Index 0 of every list holds nothing; "nothing matched" is a list with only that slot.
Lista lista(std::initializer_list<const char*> voci) {
    Lista l(1);
    l.insert(l.end(), voci.begin(), voci.end());
    return l;
}

TEST(Ricorrenze, LeQuattroRegoleConLaRegolaDelleMaiuscole) {
    enum Regola { sinistra, ovunque, sinistra_e_ovunque, ovunque_e_ovunque };
    const struct {
        Regola regola;
        bool maiuscole;
        const char* t1;
        const char* t2;
        Lista voci;
        Lista atteso;
    } casi[] = {
        {sinistra, true, "AB", "", lista({"ABC", "xab", "AB", "ABD"}), lista({"ABC", "AB", "ABD"})},
        {sinistra, false, "AB", "", lista({"abc", "ABC"}), lista({"ABC"})},
        // Entries come back as stored, whatever the case rule.
        {sinistra, true, "ab", "", lista({"ABC"}), lista({"ABC"})},
        {sinistra, true, "", "", lista({"x", ""}), lista({"x", ""})},
        {sinistra, true, "Z", "", lista({"ABC"}), lista({})},
        {ovunque, true, "\xE8", "", lista({"PERCH\xC9", "CAFF\xC8", "e"}), lista({"CAFF\xC8"})},
        {ovunque, false, "b", "", lista({"ABC", "abc", "cab"}), lista({"abc", "cab"})},
        // The second term must begin after the first: position 3 or later here.
        {sinistra_e_ovunque, true, "AB", "B", lista({"ABB", "AB", "xABB"}), lista({"ABB"})},
        {sinistra_e_ovunque, true, "ab", "c", lista({"ABxC", "ABC", "AxBC"}),
         lista({"ABxC", "ABC"})},
        // Only the first occurrence of the first term anchors the second.
        {ovunque_e_ovunque, true, "A", "A", lista({"xAyA", "xA"}), lista({"xAyA"})},
        {ovunque_e_ovunque, true, "ab", "ab", lista({"AB-AB", "ABAB", "AB"}),
         lista({"AB-AB", "ABAB"})},
        {ovunque_e_ovunque, false, "a", "b", lista({"ba", "aB", "ab"}), lista({"ab"})},
        {ovunque_e_ovunque, true, "ab", "ba", lista({"ABA", "AB-BA"}), lista({"AB-BA"})},
        // An empty second term is found right after the first, even at the end of the entry.
        {sinistra_e_ovunque, true, "AB", "", lista({"AB", "ABC", "A"}), lista({"AB", "ABC"})},
        // Duplicates are all returned, in list order.
        {ovunque, true, "A", "", lista({"A", "B", "A"}), lista({"A", "A"})},
        // Slot 0 is never an entry, and a list without entries finds nothing.
        {ovunque, true, "Z", "", Lista{"ABZ", "ABC"}, lista({})},
        {sinistra, true, "", "", Lista{}, lista({})},
        {sinistra, true, "", "", Lista(1), lista({})},
    };
    for (const auto& c : casi) {
        const ricorrenze r({c.maiuscole});
        Lista risultato;
        switch (c.regola) {
        case sinistra:
            risultato = r.sinistra(c.t1, c.voci);
            break;
        case ovunque:
            risultato = r.ovunque(c.t1, c.voci);
            break;
        case sinistra_e_ovunque:
            risultato = r.sinistraEovunque(c.t1, c.t2, c.voci);
            break;
        case ovunque_e_ovunque:
            risultato = r.ovunqueEovunque(c.t1, c.t2, c.voci);
            break;
        }
        EXPECT_EQ(risultato, c.atteso) << "rule " << c.regola << " terms " << c.t1 << "/" << c.t2;
    }
}

} // namespace
} // namespace meravo
