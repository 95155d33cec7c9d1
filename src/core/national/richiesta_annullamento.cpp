#include "national/richiesta_annullamento.h"

#include "text/namespace_soap.h"
#include "text/xml.h"

namespace meravo {

namespace {

std::string foglia(std::string_view nome, std::string_view valore) {
    const std::string n(nome);
    return "<" + n + " xmlns='" + std::string(namespace_soap::NS_ANNULLA_REQUEST) + "'>" +
           testo::escape_xml(valore) + "</" + n + ">";
}

} // namespace

std::string componi_richiesta_annullamento(std::string_view pincode_cifrato,
                                           std::string_view codice_fiscale_cifrato,
                                           std::string_view id_certificato) {
    const std::string righe[] = {
        "<SOAP-ENV:Envelope xmlns:SOAP-ENV='" + std::string(namespace_soap::SOAP_ENVELOPE) + "'>",
        "<SOAP-ENV:Header/>",
        "<SOAP-ENV:Body>",
        "<AnnullamentoCertificato xmlns='" + std::string(namespace_soap::NS_ANNULLA_REQUEST) + "'>",
        foglia("pincodeMedico", pincode_cifrato),
        foglia("codiceFiscaleLavoratore", codice_fiscale_cifrato),
        foglia("idCertificato", id_certificato),
        "</AnnullamentoCertificato>",
        "</SOAP-ENV:Body>",
        "</SOAP-ENV:Envelope>",
    };
    std::string richiesta;
    for (const auto& riga : righe) {
        if (!richiesta.empty()) {
            richiesta += "\r\n";
        }
        richiesta += riga;
    }
    return richiesta;
}

} // namespace meravo
