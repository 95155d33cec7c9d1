#pragma once

#include "national/trasporto_inps.h"

#include <string>

namespace meravo {

class frm_Meravo;

// The national road of a certificate: the request built from the form, PIN and fiscal code
// encrypted, posted through curl, the answer read into the form's `protocollo`.
class InvioInps {
public:
    explicit InvioInps(frm_Meravo& form);

    // `riuscito` only after a receipt; every refusal and every unknown outcome has shown its
    // message.
    EsitoInvio invia_certificato_inps();

    // The form's credentials and test flag applied to one request (sending or cancelling).
    RispostaServizio invia_messaggio_soap(const std::string& messaggio_soap,
                                          const std::string& endpoint_soap);
    std::string cripta_stringa(const std::string& valore) {
        return trasporto_.cripta_stringa(valore);
    }

private:
    frm_Meravo& form_;
    TrasportoInps trasporto_;
};

// A copy of curl's trace fit to keep on disk: the authorization header, which carries the
// credentials, is blanked out in every form a trace may show it (HTTP/1.1 "> Authorization:",
// HTTP/2 "> authorization:" and "[HTTP/2] [1] [authorization: ...]").
std::string senza_credenziali(std::string_view traccia);

// "Stampa/Esci" on the national road sends through `invio`; the hidden "Crypta" button runs its
// encryption tool.
void collega_invio_nazionale(frm_Meravo& form, InvioInps& invio);

} // namespace meravo
