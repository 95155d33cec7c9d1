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

    // True only after a receipt; every failure has shown its message.
    bool invia_certificato_inps();

    // The form's credentials and test flag applied to one request (sending or cancelling).
    std::string invia_messaggio_soap(const std::string& messaggio_soap,
                                     const std::string& endpoint_soap);
    std::string cripta_stringa(const std::string& valore) {
        return trasporto_.cripta_stringa(valore);
    }

private:
    frm_Meravo& form_;
    TrasportoInps trasporto_;
};

// A copy of curl's output fit to keep on disk: the basic-authentication header of the trace,
// which carries the credentials, is blanked out.
std::string senza_credenziali(std::string_view uscite);

// "Stampa/Esci" on the national road sends through `invio`; the hidden "Crypta" button runs its
// encryption tool.
void collega_invio_nazionale(frm_Meravo& form, InvioInps& invio);

} // namespace meravo
