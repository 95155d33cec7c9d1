#include "lookup/ricorrenze.h"

#include "lookup/confronto.h"

namespace meravo {

namespace {

// Keeps, in list order, the entries from index 1 on that satisfy the rule. A list with no entry
// beyond index 0 simply matches nothing.
template <class Regola>
std::vector<std::string> filtra(const std::vector<std::string>& lista, Regola regola) {
    std::vector<std::string> risultato(1);
    for (std::size_t i = 1; i < lista.size(); ++i) {
        if (regola(lista[i])) {
            risultato.push_back(lista[i]);
        }
    }
    return risultato;
}

} // namespace

std::vector<std::string> ricorrenze::sinistra(std::string_view testo,
                                              const std::vector<std::string>& lista) const {
    const bool m = InputMinMaiuscIndifferente();
    const auto chiave = confronto::preparato(testo, m);
    return filtra(lista,
                  [&](const std::string& voce) { return confronto::inizia_con(voce, chiave, m); });
}

std::vector<std::string> ricorrenze::ovunque(std::string_view testo,
                                             const std::vector<std::string>& lista) const {
    const bool m = InputMinMaiuscIndifferente();
    const auto chiave = confronto::preparato(testo, m);
    return filtra(lista, [&](const std::string& voce) {
        return confronto::posizione(voce, chiave, 1, m) > 0;
    });
}

std::vector<std::string> ricorrenze::sinistraEovunque(std::string_view testo1,
                                                      std::string_view testo2,
                                                      const std::vector<std::string>& lista) const {
    const bool m = InputMinMaiuscIndifferente();
    const auto chiave1 = confronto::preparato(testo1, m);
    const auto chiave2 = confronto::preparato(testo2, m);
    return filtra(lista, [&](const std::string& voce) {
        return confronto::inizia_con(voce, chiave1, m) &&
               confronto::posizione(voce, chiave2, chiave1.size() + 1, m) > 0;
    });
}

std::vector<std::string> ricorrenze::ovunqueEovunque(std::string_view testo1,
                                                     std::string_view testo2,
                                                     const std::vector<std::string>& lista) const {
    const bool m = InputMinMaiuscIndifferente();
    const auto chiave1 = confronto::preparato(testo1, m);
    const auto chiave2 = confronto::preparato(testo2, m);
    return filtra(lista, [&](const std::string& voce) {
        // Only the first occurrence of the first term anchors the second.
        const auto p = confronto::posizione(voce, chiave1, 1, m);
        return p > 0 && confronto::posizione(voce, chiave2, p + chiave1.size(), m) > 0;
    });
}

std::vector<std::optional<int>> ricorrenze::prova() {
    std::vector<std::optional<int>> lista(21);
    for (int i = 1; i <= 20; ++i) {
        lista[static_cast<std::size_t>(i)] = i;
    }
    return lista;
}

void ricorrenze::InputMinMaiuscIndifferente(bool valore) {
    proprieta_.InputMinMaiuscIndifferente = valore;
    proprieta_modificate_ = true;
}

} // namespace meravo
