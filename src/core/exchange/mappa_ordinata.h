#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace meravo {

// Text keys to text values, walked in insertion order; keys compared byte for byte. Removal
// keeps the order of the others. Sized for an archive of certificates or a list of states:
// removal rebuilds the index.
class MappaOrdinata {
public:
    using Voce = std::pair<std::string, std::string>;

    bool contiene(std::string_view chiave) const { return indice_.count(std::string(chiave)) > 0; }

    // Adds the pair unless the key is already there; says whether it was added.
    bool aggiungi(std::string chiave, std::string valore) {
        if (contiene(chiave)) {
            return false;
        }
        indice_.emplace(chiave, voci_.size());
        voci_.emplace_back(std::move(chiave), std::move(valore));
        return true;
    }

    bool rimuovi(std::string_view chiave) {
        const auto trovata = indice_.find(std::string(chiave));
        if (trovata == indice_.end()) {
            return false;
        }
        voci_.erase(voci_.begin() + static_cast<std::ptrdiff_t>(trovata->second));
        indice_.clear();
        for (std::size_t i = 0; i < voci_.size(); ++i) {
            indice_.emplace(voci_[i].first, i);
        }
        return true;
    }

    std::optional<std::string> leggi(std::string_view chiave) const {
        const auto trovata = indice_.find(std::string(chiave));
        if (trovata == indice_.end()) {
            return std::nullopt;
        }
        return voci_[trovata->second].second;
    }

    const std::vector<Voce>& voci() const { return voci_; }
    std::size_t size() const { return voci_.size(); }
    bool empty() const { return voci_.empty(); }

private:
    std::vector<Voce> voci_;
    std::unordered_map<std::string, std::size_t> indice_;
};

} // namespace meravo
