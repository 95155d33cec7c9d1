#pragma once

#include "national/risposta_inps.h"

#include <string>

namespace meravo {

class Messaggi;

// The rules for the answer to a cancellation: `riuscito` when the record may go from the archive
// (a receipt, or the doctor's Yes to removing locally a certificate that the service does not
// know or has already cancelled). `protocollo` is emptied and then holds the cancellation's id or
// the errors' descriptions; every refusal and every unknown outcome has been shown.
EsitoInvio interpreta_risposta_annullamento(const RispostaServizio& r, Messaggi& messaggi,
                                            std::string& protocollo);

} // namespace meravo
