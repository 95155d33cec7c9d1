#include "report/dati_report.h"

#include <algorithm>

namespace meravo {

namespace {
const std::string nessun_testo;
}

void DatiReport::imposta(std::string_view nome, std::string testo) {
    const auto voce = std::find_if(campi_.begin(), campi_.end(),
                                   [nome](const auto& c) { return c.first == nome; });
    if (voce != campi_.end()) {
        voce->second = std::move(testo);
    } else {
        campi_.emplace_back(std::string(nome), std::move(testo));
    }
}

const std::string& DatiReport::testo(std::string_view nome) const {
    const auto voce = std::find_if(campi_.begin(), campi_.end(),
                                   [nome](const auto& c) { return c.first == nome; });
    return voce != campi_.end() ? voce->second : nessun_testo;
}

bool DatiReport::contiene(std::string_view nome) const {
    return std::any_of(campi_.begin(), campi_.end(),
                       [nome](const auto& c) { return c.first == nome; });
}

} // namespace meravo
