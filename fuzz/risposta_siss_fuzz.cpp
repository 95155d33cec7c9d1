// libFuzzer target: the answer dataset of the regional component. Beyond reading any bytes
// safely: a refusal shows exactly one message and leaves the protocol as it was, so that nothing
// looks sent; a success shows none.
#include "regional/invio_siss.h"

#include "servizi_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    using namespace meravo;
    fuzz::MessaggiContati messaggi;
    std::string protocollo = "vecchio";
    const bool inviato = interpreta_risposta_siss(
        std::string_view(reinterpret_cast<const char*>(dati), n), "Motivo:", messaggi, protocollo);
    fuzz::esigi(inviato ? messaggi.mostrati == 0
                        : messaggi.mostrati == 1 && protocollo == "vecchio");
    return 0;
}
