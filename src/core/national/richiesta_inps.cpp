#include "national/richiesta_inps.h"

#include "form/frm_meravo.h"
#include "text/namespace_soap.h"
#include "text/testo.h"
#include "text/xml.h"

namespace meravo {

namespace {

class Richiesta {
public:
    void riga(std::string_view testo) {
        if (!testo_.empty()) {
            testo_ += "\r\n";
        }
        testo_ += testo;
    }
    // A leaf of the certificate types' namespace.
    void foglia(std::string_view nome, std::string_view valore) {
        riga("<" + std::string(nome) + " xmlns='" + std::string(namespace_soap::NS_TIPICERT) +
             "'>" + testo::escape_xml(valore) + "</" + std::string(nome) + ">");
    }
    std::string testo() && { return std::move(testo_); }

private:
    std::string testo_;
};

bool vuoto(std::string_view s) {
    return testo::rifila(s).empty();
}

} // namespace

DatiRichiestaInvio dati_richiesta_invio(const frm_Meravo& f) {
    auto t = [](const std::string& s) { return testo::rifilato(s); };
    DatiRichiestaInvio d;
    d.pincode = t(f.cf_medico.Text);
    d.codice_regione = t(f.cod_reg_medico.Text);
    d.codice_asl = t(f.asl_medico.Text);
    d.codice_fiscale = t(f.txt_cf.Text);
    d.via = t(f.residenza_via.Text);
    d.cap = t(f.residenza_cap.Text);
    d.comune = t(f.residenza_comune.Text);
    d.provincia = t(f.residenza_provincia.Text);
    d.nominativo = t(f.nominativo.Text);
    d.nominativo_via = t(f.nominativo_via.Text);
    d.nominativo_cap = t(f.nominativo_cap.Text);
    d.nominativo_comune = t(f.nominativo_comune.Text);
    d.nominativo_provincia = t(f.nominativo_provincia.Text);
    d.data_rilascio = t(f.dt_rilascio.Text());
    d.data_inizio = t(f.dt_inizio.Text());
    d.data_fine = t(f.dt_fine.Text());
    d.opt_visita = f.opt_visita;
    d.opt_tipo = f.opt_tipo;
    d.codice_diagnosi = t(f.cod_icdix.Text);
    d.note_diagnosi = t(f.note_diagnosi.Text);
    return d;
}

std::string data_iso(std::string_view data) {
    const auto d = testo::rifila(data);
    if (d.size() != 10) {
        return {};
    }
    return std::string(d.substr(6, 4)) + "-" + std::string(d.substr(3, 2)) + "-" +
           std::string(d.substr(0, 2));
}

std::string componi_richiesta_invio(const DatiRichiestaInvio& d) {
    Richiesta r;
    r.riga("<SOAP-ENV:Envelope xmlns:SOAP-ENV='" + std::string(namespace_soap::SOAP_ENVELOPE) +
           "'>");
    r.riga("<SOAP-ENV:Header/>");
    r.riga("<SOAP-ENV:Body>");
    r.riga("<InvioCertificato xmlns='" + std::string(namespace_soap::NS_INVIO_REQUEST) + "'>");
    r.riga("<medico>");
    r.foglia("pincode", d.pincode);
    r.foglia("codiceRegione", d.codice_regione);
    r.foglia("codiceAsl", d.codice_asl);
    r.riga("</medico>");
    r.riga("<lavoratore>");
    r.foglia("codiceFiscale", d.codice_fiscale);
    r.riga("</lavoratore>");
    r.riga("<residenzaODomicilioAbituale>");
    r.foglia("via", d.via);
    r.foglia("cap", d.cap);
    r.foglia("comune", d.comune);
    r.foglia("provincia", d.provincia);
    r.riga("</residenzaODomicilioAbituale>");
    if (!vuoto(d.nominativo_via)) {
        r.riga("<indirizzoDiReperibilita>");
        if (!vuoto(d.nominativo)) {
            r.foglia("cognome", d.nominativo);
        }
        r.riga("<indirizzo xmlns='" + std::string(namespace_soap::NS_TIPICERT) + "'>");
        r.foglia("via", d.nominativo_via);
        r.foglia("cap", d.nominativo_cap);
        r.foglia("comune", d.nominativo_comune);
        r.foglia("provincia", d.nominativo_provincia);
        r.riga("</indirizzo>");
        r.riga("</indirizzoDiReperibilita>");
    }
    r.riga("<certificato>");
    r.foglia("dataRilascio", data_iso(d.data_rilascio));
    r.foglia("dataInizio", data_iso(d.data_inizio));
    r.foglia("dataFine", data_iso(d.data_fine));
    r.foglia("visita", d.opt_visita == 1 ? "D" : "A");
    r.foglia("tipoCertificato", d.opt_tipo == 1 ? "C" : d.opt_tipo == 2 ? "R" : "I");
    if (!vuoto(d.codice_diagnosi)) {
        r.foglia("codiceDiagnosi", d.codice_diagnosi);
    }
    if (!vuoto(d.note_diagnosi)) {
        r.foglia("noteDiagnosi", d.note_diagnosi);
    }
    r.riga("</certificato>");
    r.riga("</InvioCertificato>");
    r.riga("</SOAP-ENV:Body>");
    r.riga("</SOAP-ENV:Envelope>");
    return std::move(r).testo();
}

} // namespace meravo
