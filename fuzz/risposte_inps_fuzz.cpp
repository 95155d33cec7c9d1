// libFuzzer target: what curl wrote back from the national service, read both as the answer to a
// certificate sent and as the answer to a cancellation. Beyond reading any bytes safely, the
// doctor always hears why nothing happened: a refusal shows exactly one message, a success none
// (or only the question the doctor said Yes to), and the doctor's answer to that question is
// the only thing that may change the outcome.
#include "national/risposta_annullamento.h"
#include "national/risposta_inps.h"
#include "text/testo.h"

#include "servizi_fuzz.h"

MERAVO_FUZZ(uscita) {
    using namespace meravo;
    using namespace meravo::fuzz;
    const RispostaServizio risposta{std::string(uscita), "", {}, 0};
    const auto rifilato = [](const std::string& p) { return p == testo::rifilato(p); };

    MessaggiContati invio;
    std::string protocollo = "vecchio";
    esigi(interpreta_risposta_invio(risposta, invio, protocollo) == EsitoInvio::riuscito
              ? invio.mostrati == 0 && rifilato(protocollo)
              : invio.mostrati == 1 && invio.domande == 0);

    // The same cancellation's answer, the doctor saying No, then Yes.
    MessaggiContati no, si;
    si.risposta = Risposta::si;
    std::string protocollo_no = "vecchio", protocollo_si = "vecchio";
    const bool eliminabile_no =
        interpreta_risposta_annullamento(risposta, no, protocollo_no) == EsitoInvio::riuscito;
    const bool eliminabile_si =
        interpreta_risposta_annullamento(risposta, si, protocollo_si) == EsitoInvio::riuscito;
    esigi(no.mostrati == si.mostrati && no.domande == si.domande && no.domande <= 1 &&
          protocollo_no == protocollo_si);
    esigi(no.domande == 1 ? !eliminabile_no && eliminabile_si && no.mostrati == 1
                          : eliminabile_no == eliminabile_si &&
                                (eliminabile_no ? no.mostrati == 0 && rifilato(protocollo_no)
                                                : no.mostrati == 1));
}
