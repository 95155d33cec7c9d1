// libFuzzer target: the answer dataset of the regional component. Beyond reading any bytes
// safely: a refusal shows exactly one message and leaves the protocol as it was, so that nothing
// looks sent; a success shows none.
#include "regional/invio_siss.h"

#include "servizi_fuzz.h"

MERAVO_FUZZ(risposta) {
    meravo::fuzz::MessaggiContati messaggi;
    std::string protocollo = "vecchio";
    const bool inviato =
        meravo::interpreta_risposta_siss(risposta, "Motivo:", messaggi, protocollo);
    meravo::fuzz::esigi(inviato ? messaggi.mostrati == 0
                                : messaggi.mostrati == 1 && protocollo == "vecchio");
}
