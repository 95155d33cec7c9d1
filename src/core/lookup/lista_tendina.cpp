#include "lookup/lista_tendina.h"

#include <algorithm>

namespace meravo {

void ListaTendina::riempi(const std::vector<std::string>& lista, std::int32_t quanti) {
    voci_.clear();
    indice_ = -1;
    const auto fine = std::min<std::size_t>(lista.size(), static_cast<std::size_t>(quanti) + 1);
    for (std::size_t k = 1; k < fine; ++k) {
        voci_.push_back(lista[k]);
    }
}

void ListaTendina::seleziona(int indice) {
    if (indice >= 0 && static_cast<std::size_t>(indice) < voci_.size()) {
        indice_ = indice;
    }
}

bool ListaTendina::sposta(int passo) {
    const int nuovo = indice_ + passo;
    if (indice_ < 0 || nuovo < 0 || static_cast<std::size_t>(nuovo) >= voci_.size()) {
        return false;
    }
    indice_ = nuovo;
    return true;
}

std::string ListaTendina::testo_selezionato() const {
    return indice_ >= 0 ? voci_[static_cast<std::size_t>(indice_)] : std::string{};
}

std::string ListaTendina::Text() const {
    return indice_ >= 0 ? testo_selezionato() : testo_;
}

void ListaTendina::Text(std::string testo) {
    const auto trovata = std::find(voci_.begin(), voci_.end(), testo);
    if (trovata != voci_.end()) {
        indice_ = static_cast<int>(trovata - voci_.begin());
    }
    testo_ = std::move(testo);
}

} // namespace meravo
