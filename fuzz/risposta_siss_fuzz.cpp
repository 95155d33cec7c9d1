// libFuzzer target: the answer dataset of the regional component. Beyond reading any bytes
// safely: a refusal shows exactly one message and leaves the protocol as it was, so that nothing
// looks sent; a success shows none.
#include "regional/invio_siss.h"

#include "servizi_fuzz.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    using namespace meravo;
    const std::string_view risposta(reinterpret_cast<const char*>(dati), n);
    fuzz::MessaggiContati messaggi;
    std::string protocollo = "vecchio";
    if (interpreta_risposta_siss(risposta, "Motivo:", messaggi, protocollo)) {
        fuzz::esigi(messaggi.mostrati == 0);
    } else {
        fuzz::esigi(messaggi.mostrati == 1 && protocollo == "vecchio");
    }
    return 0;
}
