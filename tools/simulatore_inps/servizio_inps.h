#pragma once

#include "chiave_servizio.h"
#include "richiesta_letta.h"
#include "stato_servizio.h"
#include "voce_registro.h"

#include <string>
#include <string_view>

namespace meravo::simulatore {

struct RispostaServizio {
    int stato_http = 200;
    std::string corpo;
    VoceRegistro voce;
    std::string sintesi; // one line for the log, free of credentials
};

// The two operations of the simulated certificate service, from request body to answer body.
// A body that is not the operation's request gets a SOAP fault; a request whose values are
// wrong gets every error found at once, as the doctor should correct them all in one go.
class ServizioInps {
public:
    ServizioInps(ChiaveServizio chiave, std::string pin, StatoServizio stato)
        : chiave_(std::move(chiave)), pin_(std::move(pin)), stato_(std::move(stato)) {}

    RispostaServizio invio(std::string_view corpo);
    RispostaServizio annullamento(std::string_view corpo);

private:
    struct Credenziali {
        bool pin_corretto = false;
        std::optional<std::string> codice_fiscale; // decrypted and well-formed
    };

    Credenziali controlla_credenziali(const RichiestaLetta& richiesta, const std::string& pin,
                                      const std::string& codice_fiscale, VoceRegistro& voce,
                                      std::vector<ErroreServizio>& errori) const;

    ChiaveServizio chiave_;
    std::string pin_;
    StatoServizio stato_;
};

} // namespace meravo::simulatore
