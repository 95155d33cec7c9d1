#pragma once

#include <string>
#include <string_view>

namespace meravo {

class Messaggi;

// The rules for the answer to a cancellation: true when the record may go from the archive (a
// receipt, or the doctor's Yes to removing locally a certificate that the service does not know
// or has already cancelled). `protocollo` is emptied and then holds the cancellation's id or the
// errors' descriptions; every refusal has been shown.
bool interpreta_risposta_annullamento(std::string_view risposta, Messaggi& messaggi,
                                      std::string& protocollo);

} // namespace meravo
