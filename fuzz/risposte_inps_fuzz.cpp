// libFuzzer target: what curl wrote back from the national service, read both as the answer to a
// certificate sent and as the answer to a cancellation. Beyond reading any bytes safely, the
// doctor always hears why nothing happened: a refusal shows exactly one message, a success none
// (or only the question the doctor said Yes to), and the doctor's answer to that question is
// the only thing that may change the outcome.
#include "national/risposta_annullamento.h"
#include "national/risposta_inps.h"
#include "text/testo.h"

#include "servizi_fuzz.h"

namespace meravo::fuzz {
namespace {

struct Annullamento {
    MessaggiContati messaggi;
    std::string protocollo = "vecchio";
    bool eliminabile;

    Annullamento(std::string_view risposta, Risposta del_medico) {
        messaggi.risposta = del_medico;
        eliminabile = interpreta_risposta_annullamento(risposta, messaggi, protocollo);
    }
};

bool rifilato(const std::string& protocollo) {
    return protocollo == testo::rifilato(protocollo);
}

} // namespace
} // namespace meravo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    using namespace meravo;
    using namespace meravo::fuzz;
    const std::string_view risposta(reinterpret_cast<const char*>(dati), n);

    MessaggiContati messaggi;
    std::string protocollo = "vecchio";
    esigi(interpreta_risposta_invio(risposta, messaggi, protocollo)
              ? messaggi.mostrati == 0 && rifilato(protocollo)
              : messaggi.mostrati == 1 && messaggi.domande == 0);

    const Annullamento no(risposta, Risposta::no);
    const Annullamento si(risposta, Risposta::si);
    esigi(no.messaggi.mostrati == si.messaggi.mostrati && no.protocollo == si.protocollo);
    esigi(no.messaggi.domande == si.messaggi.domande && no.messaggi.domande <= 1);
    if (no.messaggi.domande == 1) {
        esigi(!no.eliminabile && si.eliminabile && no.messaggi.mostrati == 1);
    } else {
        esigi(no.eliminabile == si.eliminabile);
        esigi(no.eliminabile ? no.messaggi.mostrati == 0 && rifilato(no.protocollo)
                             : no.messaggi.mostrati == 1);
    }
    return 0;
}
