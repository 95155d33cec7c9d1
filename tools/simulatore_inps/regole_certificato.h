#pragma once

#include "errore_servizio.h"
#include "richiesta_letta.h"

#include <string_view>
#include <vector>

namespace meravo::simulatore {

// A calendar date written yyyy-mm-dd.
bool data_valida(std::string_view testo);

// Sixteen letters and digits: the shape of a personal fiscal code.
bool codice_fiscale_valido(std::string_view testo);

// Every error in the addresses and the certificate's values of a well-formed InvioCertificato,
// in the order the request holds them. The credentials are checked by the service, which
// holds the key that decrypts them.
std::vector<ErroreServizio> errori_certificato(const RichiestaLetta& richiesta);

} // namespace meravo::simulatore
