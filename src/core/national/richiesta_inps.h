#pragma once

#include <string>
#include <string_view>

namespace meravo {

class frm_Meravo;

// What the national request carries, already trimmed; PIN and fiscal code already encrypted.
struct DatiRichiestaInvio {
    std::string pincode;
    std::string codice_regione;
    std::string codice_asl;
    std::string codice_fiscale;
    std::string via, cap, comune, provincia;
    std::string nominativo;
    std::string nominativo_via, nominativo_cap, nominativo_comune, nominativo_provincia;
    std::string data_rilascio, data_inizio, data_fine; // as typed: dd/mm/yyyy
    int opt_visita = 0;
    int opt_tipo = 0;
    std::string codice_diagnosi;
    std::string note_diagnosi;
};

// The form's fields for the request, trimmed (PIN and fiscal code still to be encrypted).
DatiRichiestaInvio dati_richiesta_invio(const frm_Meravo& form);

// "dd/mm/yyyy" -> "yyyy-mm-dd"; any text of another length gives the empty text.
std::string data_iso(std::string_view data);

// The InvioCertificato SOAP request, one piece per line (CR LF), single-quoted attributes,
// every inserted text escaped for XML.
std::string componi_richiesta_invio(const DatiRichiestaInvio& dati);

} // namespace meravo
