#include "national/annullamento_inps.h"

#include "archive/elimina.h"
#include "exchange/record_certificato.h"
#include "form/frm_meravo.h"
#include "national/invio_inps.h"
#include "national/richiesta_annullamento.h"
#include "national/risposta_annullamento.h"
#include "text/testo.h"

namespace meravo {

namespace {

constexpr std::size_t campo_protocollo = 1;
constexpr std::size_t campo_codice_fiscale = 17;

} // namespace

EsitoInvio annulla_certificato_inps(frm_Meravo& form, InvioInps& invio, const std::string& chiave) {
    form.protocollo.clear();
    const auto campi = record_certificato::campi(form.certificati.leggi(chiave).value_or(""));
    const auto pincode = invio.cripta_stringa(testo::rifilato(form.cf_medico.Text));
    const auto codice_fiscale = invio.cripta_stringa(testo::rifilato(campi[campo_codice_fiscale]));
    const auto richiesta = componi_richiesta_annullamento(pincode, codice_fiscale,
                                                          testo::rifilato(campi[campo_protocollo]));
    const auto risposta = invio.invia_messaggio_soap(richiesta, form.endpoint_annullamento);
    return interpreta_risposta_annullamento(risposta, form.servizi().messaggi, form.protocollo);
}

void collega_annullamento_nazionale(Elimina& browser, frm_Meravo& form, InvioInps& invio) {
    browser.annulla_certificato_inps = [&form, &invio](const std::string& chiave) {
        return annulla_certificato_inps(form, invio, chiave);
    };
}

} // namespace meravo
