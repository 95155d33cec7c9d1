#pragma once

#include "errore_servizio.h"

#include <string>
#include <string_view>
#include <vector>

// The answers of the simulated service, built as documents so that every text is escaped.
// The module finds the answer by its markers: a `soapenv` envelope whose text contains
// "ricevutaOK" (or "ricevutaAnnullamentoOK") is a receipt, anything else in it is a list of
// `errore` elements; an `env` envelope carries a fault.
namespace meravo::simulatore::risposte_soap {

// InvioCertificato: the new certificate's protocol, in an unprefixed `idCertificato`.
std::string ricevuta_invio(std::string_view id_certificato);
// InvioCertificato: `errore` elements with `tipoErrore` and `descrizione`, unprefixed.
std::string errori_invio(const std::vector<ErroreServizio>& errori);

// AnnullamentoCertificato answers carry the `ns2` prefix on every element of their own.
std::string ricevuta_annullamento(std::string_view id_annullamento);
std::string errori_annullamento(const std::vector<ErroreServizio>& errori);

// A SOAP 1.1 fault: `codice` is "Client", "Server" or "VersionMismatch".
std::string fault(std::string_view codice, std::string_view testo);

} // namespace meravo::simulatore::risposte_soap
