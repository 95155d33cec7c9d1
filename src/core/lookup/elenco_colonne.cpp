#include "lookup/elenco_colonne.h"

#include "text/testo.h"

#include <algorithm>
#include <numeric>

namespace meravo {

void ElencoColonne::svuota() {
    intestazioni_.clear();
    righe_.clear();
    selezionata_ = -1;
}

void ElencoColonne::aggiungi_colonna(std::string titolo) {
    intestazioni_.push_back(std::move(titolo));
}

void ElencoColonne::aggiungi_riga(std::vector<std::string> celle) {
    righe_.push_back(std::move(celle));
    if (selezionata_ < 0) {
        selezionata_ = 0;
    }
}

void ElencoColonne::seleziona(int riga) {
    if (riga >= 0 && static_cast<std::size_t>(riga) < righe_.size()) {
        selezionata_ = riga;
    }
}

std::string ElencoColonne::cella_selezionata(std::size_t colonna) const {
    if (selezionata_ < 0) {
        return {};
    }
    const auto& riga = righe_[static_cast<std::size_t>(selezionata_)];
    return colonna < riga.size() ? riga[colonna] : std::string{};
}

void ElencoColonne::ordina(std::size_t colonna) {
    discendente_ = !discendente_;
    std::vector<std::string> chiavi;
    chiavi.reserve(righe_.size());
    for (const auto& riga : righe_) {
        chiavi.push_back(colonna < riga.size() ? testo::maiuscolo(riga[colonna]) : std::string{});
    }
    std::vector<std::size_t> ordine(righe_.size());
    std::iota(ordine.begin(), ordine.end(), std::size_t{0});
    std::stable_sort(ordine.begin(), ordine.end(), [&](std::size_t a, std::size_t b) {
        return discendente_ ? chiavi[b] < chiavi[a] : chiavi[a] < chiavi[b];
    });
    std::vector<std::vector<std::string>> ordinate;
    ordinate.reserve(righe_.size());
    int nuova_selezione = -1;
    for (std::size_t i = 0; i < ordine.size(); ++i) {
        if (static_cast<int>(ordine[i]) == selezionata_) {
            nuova_selezione = static_cast<int>(i);
        }
        ordinate.push_back(std::move(righe_[ordine[i]]));
    }
    righe_ = std::move(ordinate);
    selezionata_ = nuova_selezione;
}

} // namespace meravo
