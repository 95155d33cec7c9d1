#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace meravo {

// The data fields of one printed report, by name: the module sets their captions and nothing
// else. A name never set reads as the empty text, so a copy always prints whole.
class DatiReport {
public:
    void imposta(std::string_view nome, std::string testo);
    const std::string& testo(std::string_view nome) const;
    bool contiene(std::string_view nome) const;
    const std::vector<std::pair<std::string, std::string>>& campi() const { return campi_; }

private:
    std::vector<std::pair<std::string, std::string>> campi_;
};

} // namespace meravo
