#pragma once

#include "services/esito.h"

#include <string>

namespace meravo {

class Elimina;
class frm_Meravo;
class InvioInps;

// The national cancellation of the archived certificate under `chiave`: its protocol and the
// worker's fiscal code from the record (empty when the record lacks them), the doctor's PIN from
// the form, PIN and fiscal code encrypted, posted to the form's cancellation endpoint. `riuscito`
// when the record may be removed locally; every refusal and every unknown outcome has been shown.
EsitoInvio annulla_certificato_inps(frm_Meravo& form, InvioInps& invio, const std::string& chiave);

// The browser's "Elimina" on the national road cancels through `invio`.
void collega_annullamento_nazionale(Elimina& browser, frm_Meravo& form, InvioInps& invio);

} // namespace meravo
