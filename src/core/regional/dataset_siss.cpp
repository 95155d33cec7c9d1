#include "regional/dataset_siss.h"

#include "exchange/record_certificato.h"
#include "form/frm_meravo.h"
#include "text/namespace_soap.h"
#include "text/testo.h"
#include "text/xml.h"

#include <algorithm>

namespace meravo {

namespace {

using namespace namespace_soap;

constexpr std::string_view a_capo = "\r\n";
constexpr std::size_t lunghezza_note = 100;
constexpr std::size_t campo_protocollo = 1;
constexpr std::size_t campo_codice_fiscale = 17;

// Writes the dataset one line at a time; every value is escaped, so a "<" or "&" typed in a
// field cannot break the document the service reads.
class Righe {
public:
    void riga(std::string_view testo) {
        testo_ += testo;
        testo_ += a_capo;
    }
    void elemento(std::string_view nome, std::string_view valore) {
        riga("<" + std::string(nome) + ">" + testo::escape_xml(valore) + "</" + std::string(nome) +
             ">");
    }
    void campo(std::string_view nome, std::string_view valore) {
        elemento(nome, testo::rifila(valore));
    }
    // The envelope's last line has no line end after it.
    std::string chiudi() {
        testo_ += "</SOAP-ENV:Envelope>";
        return std::move(testo_);
    }

private:
    std::string testo_;
};

void apri_busta(Righe& r, std::string_view operazione, std::string_view ns,
                std::string_view prima_di_chiudere) {
    r.riga(R"(<?xml version="1.0" encoding="ISO-8859-1"?>)");
    r.riga("<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"" + std::string(SOAP_ENVELOPE) +
           "\" xmlns:SOAP-ENC=\"" + std::string(SOAP_ENCODING) + "\" xmlns:xsd=\"" +
           std::string(XSD_1999) + "\" xmlns:xsi=\"" + std::string(XSI_1999) +
           "\" SOAP-ENV:encodingStyle=\"" + std::string(SOAP_ENCODING) + "\"" +
           std::string(prima_di_chiudere) + ">");
    r.riga("<SOAP-ENV:Body>");
    r.riga("<m:GCM." + std::string(operazione) + " xmlns:m=\"" + std::string(ns) +
           "\" dataSetVersion=\"1.0\">");
    r.riga("<param>");
}

void chiudi_corpo(Righe& r, std::string_view richiesta, std::string_view operazione) {
    r.riga("</" + std::string(richiesta) + ">");
    r.riga("</param>");
    r.riga("</m:GCM." + std::string(operazione) + ">");
    r.riga("</SOAP-ENV:Body>");
}

void scrivi_medico(Righe& r, const frm_Meravo& form) {
    const auto medico = dividi_nome_medico(form.nome_medico.Text);
    r.riga("<medico>");
    r.campo("codiceFiscale", form.utente.Text);
    r.elemento("cognome", medico.cognome);
    r.elemento("nome", medico.nome);
    r.campo("codiceASL", form.asl_medico.Text);
    r.campo("regione", form.cod_reg_medico.Text);
    r.riga("</medico>");
}

bool vuoto(std::string_view testo) {
    return testo::rifila(testo).empty();
}

} // namespace

NomeMedico dividi_nome_medico(std::string_view nome_medico) {
    auto separatore = nome_medico.find('*');
    if (separatore == std::string_view::npos) {
        separatore = nome_medico.find(' ');
    }
    if (separatore == std::string_view::npos) {
        return {testo::rifilato(nome_medico), ""};
    }
    return {testo::rifilato(nome_medico.substr(0, separatore)),
            testo::rifilato(nome_medico.substr(separatore + 1))};
}

std::string data_dataset(std::string_view data) {
    const auto d = testo::rifila(data);
    if (d.size() != 10) {
        return "";
    }
    return std::string(d.substr(6, 4)) + std::string(d.substr(3, 2)) + std::string(d.substr(0, 2));
}

std::string codice_comune(const Cls_Critto& tabella_comuni, std::string_view comune) {
    const Valore nome(testo::maiuscolo(testo::rifila(comune)));
    const int riga = tabella_comuni.identifica_elemento(nome, 1);
    if (riga <= 0) {
        return "";
    }
    const auto cella = tabella_comuni.dati_diretto(4, riga);
    std::string codice;
    if (const auto* testo = std::get_if<std::string>(&cella)) {
        codice = testo::rifilato(*testo);
    } else if (const auto* intero = std::get_if<std::int32_t>(&cella)) {
        codice = std::to_string(*intero);
    } else if (const auto* corto = std::get_if<std::int16_t>(&cella)) {
        codice = std::to_string(*corto);
    }
    const bool numero = !codice.empty() && std::all_of(codice.begin(), codice.end(),
                                                       [](char c) { return c >= '0' && c <= '9'; });
    if (numero && codice.size() < 6) {
        codice.insert(0, 6 - codice.size(), '0');
    }
    return codice;
}

std::string codice_nascita(frm_Meravo& form) {
    auto codice = codice_comune(form.tabella_comuni, form.comune_nascita.Text);
    if (!codice.empty()) {
        return codice;
    }
    const auto stato =
        form.stati_esteri.leggi(testo::maiuscolo(testo::rifila(form.comune_nascita.Text)));
    if (!stato) {
        return "";
    }
    form.provincia_nascita.Text = "EE";
    return *stato;
}

std::string componi_dataset_invio(frm_Meravo& form) {
    const auto codice_luogo_nascita = codice_nascita(form);
    Righe r;
    apri_busta(r, "invioCertificatoMalattia", NS_GCM_INVIO, " ");
    r.riga("<invioCertificato>");
    scrivi_medico(r, form);
    r.riga("<lavoratore>");
    r.campo("codiceFiscale", form.txt_cf.Text);
    r.campo("cognome", form.cognome.Text);
    r.campo("nome", form.nome.Text);
    r.campo("sesso", form.sesso.Text);
    r.elemento("dataNascita", data_dataset(form.dt_nascita.Text()));
    r.elemento("idComuneNascita", codice_luogo_nascita);
    r.campo("comuneNascita", form.comune_nascita.Text);
    r.campo("provinciaNascita", form.provincia_nascita.Text);
    r.riga("<residenzaAbituale>");
    r.campo("indirizzo", form.residenza_via.Text);
    r.campo("CAP", form.residenza_cap.Text);
    r.elemento("idComune", codice_comune(form.tabella_comuni, form.residenza_comune.Text));
    r.campo("comune", form.residenza_comune.Text);
    r.campo("provincia", form.residenza_provincia.Text);
    r.riga("</residenzaAbituale>");
    if (!vuoto(form.nominativo_via.Text)) {
        r.riga("<residenzaReperibilita>");
        if (!vuoto(form.nominativo.Text)) {
            r.campo("nominativo", form.nominativo.Text);
        }
        r.campo("indirizzo", form.nominativo_via.Text);
        r.campo("CAP", form.nominativo_cap.Text);
        r.elemento("idComune", codice_comune(form.tabella_comuni, form.nominativo_comune.Text));
        r.campo("comune", form.nominativo_comune.Text);
        r.campo("provincia", form.nominativo_provincia.Text);
        r.riga("</residenzaReperibilita>");
    }
    r.riga("</lavoratore>");
    r.riga("<certificato>");
    r.elemento("dataRilascio", data_dataset(form.dt_rilascio.Text()));
    r.elemento("dataInizio", data_dataset(form.dt_inizio.Text()));
    r.elemento("dataFine", data_dataset(form.dt_fine.Text()));
    r.elemento("tipoVisita", form.opt_visita == 1 ? "D" : "A");
    r.elemento("tipoCertificato", form.opt_tipo == 1 ? "C" : (form.opt_tipo == 2 ? "R" : "I"));
    r.campo("codiceDiagnosi", form.cod_icdix.Text);
    r.elemento("noteDiagnosi", testo::rifila(form.note_diagnosi.Text).substr(0, lunghezza_note));
    r.riga("</certificato>");
    chiudi_corpo(r, "invioCertificato", "invioCertificatoMalattia");
    return r.chiudi();
}

std::string componi_dataset_annullamento(const frm_Meravo& form, std::string_view chiave) {
    const auto campi = record_certificato::campi(form.certificati.leggi(chiave).value_or(""));
    Righe r;
    apri_busta(r, "cancellaCertificatoMalattia", NS_GCM_CANCELLA, "");
    r.riga("<cancellaCertificato>");
    scrivi_medico(r, form);
    r.riga("<lavoratore>");
    r.campo("codiceFiscale", campi[campo_codice_fiscale]);
    r.riga("</lavoratore>");
    r.riga("<certificato>");
    r.campo("protocolloDaCancellare", campi[campo_protocollo]);
    r.riga("</certificato>");
    chiudi_corpo(r, "cancellaCertificato", "cancellaCertificatoMalattia");
    return r.chiudi();
}

} // namespace meravo
