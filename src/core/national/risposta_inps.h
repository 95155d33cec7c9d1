#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace meravo {

class Messaggi;

// The status of the last HTTP answer in curl's trace ("< HTTP/1.1 401 Unauthorized"), past
// any interim 1xx answer; nothing when no answer came (the connection itself failed).
std::optional<int> stato_http(std::string_view uscite);

// Tells the doctor why an exchange gave no envelope the module could read: the service refused
// the user name or password, or is out of service, or no connection could be made at all.
void avvisa_connessione_fallita(std::string_view uscite, Messaggi& messaggi);
// An answer without the service's envelope: a transport failure or a SOAP fault is told to the
// doctor and true returned; false for an envelope that is neither, which the caller reports.
bool avvisa_guasto(std::string_view risposta, Messaggi& messaggi);

// The rules for the answer to a certificate sent: true on a receipt (then `protocollo` holds
// its identifier); otherwise the reason has been shown and `protocollo` may hold the errors.
bool interpreta_risposta_invio(std::string_view risposta, Messaggi& messaggi,
                               std::string& protocollo);

} // namespace meravo
