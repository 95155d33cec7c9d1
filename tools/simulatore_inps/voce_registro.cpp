#include "voce_registro.h"

#include "testo_simulatore.h"

namespace meravo::simulatore {

VoceRegistro::VoceRegistro(std::string_view servizio) : servizio_(servizio) {}

void VoceRegistro::testo(std::string_view chiave, std::string_view valore) {
    proprieta_.emplace_back(chiave, stringa_json(valore));
}

void VoceRegistro::vero_falso(std::string_view chiave, bool valore) {
    proprieta_.emplace_back(chiave, valore ? "true" : "false");
}

void VoceRegistro::campo(std::string_view percorso, std::string_view valore) {
    campi_.emplace_back(percorso, valore);
}

std::string VoceRegistro::json() const {
    std::string riga =
        "{\"servizio\":" + stringa_json(servizio_) + ",\"esito\":" + stringa_json(esito_);
    for (const auto& [chiave, valore] : proprieta_) {
        riga += "," + stringa_json(chiave) + ":" + valore;
    }
    riga += ",\"campi\":{";
    for (std::size_t i = 0; i < campi_.size(); ++i) {
        riga += (i == 0 ? "" : ",") + stringa_json(campi_[i].first) + ":" +
                stringa_json(campi_[i].second);
    }
    riga += "},\"errori\":[";
    for (std::size_t i = 0; i < errori_.size(); ++i) {
        riga += std::string(i == 0 ? "" : ",") +
                "{\"tipoErrore\":" + stringa_json(errori_[i].tipo) +
                ",\"descrizione\":" + stringa_json(errori_[i].descrizione) + "}";
    }
    return riga + "]}";
}

} // namespace meravo::simulatore
