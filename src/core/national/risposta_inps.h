#pragma once

#include "services/esito.h"

#include <cstddef>
#include <optional>
#include <string>

namespace meravo {

class Messaggi;

// What curl brought back from one exchange with the service. The body alone says what the
// service did; curl's own count of the bytes it sent tells whether the request left.
struct RispostaServizio {
    std::string corpo;         // the answer's body, whole
    std::string traccia;       // curl's verbose trace and its error lines, for the copy on disk
    std::optional<int> stato;  // HTTP status of the answer, when one came
    std::optional<int> uscita; // curl's exit status, when it ran
    bool partita = false;      // some of the request reached the connection to the service
    bool troppo_lunga = false; // a body beyond `limite_risposta`, left unread
};

// An answer of the service is some kilobytes: one past this bound is not read into memory.
inline constexpr std::size_t limite_risposta = std::size_t{8} << 20;

// The end of reading an answer in which no envelope of the service could be read (`busta_trovata`:
// its opening was there): an outcome left unknown, a transport failure or a SOAP fault, or an
// answer that cannot be interpreted, each told to the doctor. Never `riuscito`.
EsitoInvio avvisa_senza_busta(const RispostaServizio& r, bool busta_trovata, bool annullamento,
                              Messaggi& messaggi);

// The rules for the answer to a certificate sent: `riuscito` on a receipt (then `protocollo`
// holds its identifier); otherwise the reason has been shown and `protocollo` may hold the
// errors.
EsitoInvio interpreta_risposta_invio(const RispostaServizio& r, Messaggi& messaggi,
                                     std::string& protocollo);

} // namespace meravo
