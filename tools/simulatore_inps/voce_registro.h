#pragma once

#include "errore_servizio.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace meravo::simulatore {

// What the simulator understood of one request, as one JSON object: the service, the outcome,
// the decrypted fiscal code, whether the PIN matched (never the PIN itself), the text of every
// request element by its path, the errors answered. Tests read it to compare what the module
// sent with what was typed.
class VoceRegistro {
public:
    explicit VoceRegistro(std::string_view servizio);

    void esito(std::string_view esito) { esito_ = esito; }
    const std::string& esito() const { return esito_; }
    void testo(std::string_view chiave, std::string_view valore);
    void vero_falso(std::string_view chiave, bool valore);
    void campo(std::string_view percorso, std::string_view valore);
    void errori(const std::vector<ErroreServizio>& errori) { errori_ = errori; }

    std::string json() const;

private:
    std::string servizio_;
    std::string esito_;
    std::vector<std::pair<std::string, std::string>> proprieta_; // values already in JSON
    std::vector<std::pair<std::string, std::string>> campi_;
    std::vector<ErroreServizio> errori_;
};

} // namespace meravo::simulatore
