#pragma once

#include "regional/componente_regionale.h"
#include "services/esito.h"

#include <memory>
#include <string>
#include <string_view>

namespace meravo {

class Elimina;
class Messaggi;
class frm_Meravo;

// The regional road: GCM datasets handed to the regional component, both texts copied to the
// program folder, the answer read into the form's `protocollo`.
class InvioSiss {
public:
    // `bean_siss` may be empty: then every send and cancellation tells the doctor and fails.
    InvioSiss(frm_Meravo& form, std::unique_ptr<ComponenteRegionale> bean_siss);

    // True after a successful answer; `protocollo` then holds the protocol (possibly empty).
    EsitoInvio invia_certificato_siss();
    // True when the network cancelled the certificate archived under `chiave`.
    EsitoInvio annulla_certificato_siss(const std::string& chiave);

private:
    struct Operazione;
    EsitoInvio scambia(std::string dataset, const Operazione& operazione);

    frm_Meravo& form_;
    std::unique_ptr<ComponenteRegionale> bean_siss_;
};

// The rules for a regional answer: a fault first, then the service's error with its
// exceptions, otherwise success with the protocol the answer carries. `motivo` opens every
// message ("Impossibile stampare il certificato per il seguente motivo:").
bool interpreta_risposta_siss(std::string_view risposta, std::string_view motivo,
                              Messaggi& messaggi, std::string& protocollo);

// "Stampa/Esci" and "Elimina" in regional mode go through `invio`.
void collega_invio_regionale(frm_Meravo& form, InvioSiss& invio);
void collega_annullamento_regionale(Elimina& browser, InvioSiss& invio);

} // namespace meravo
