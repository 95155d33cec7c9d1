#pragma once

#include <string_view>

// Namespaces of the messages the module exchanges with the certificate services.
namespace meravo::namespace_soap {

inline constexpr std::string_view SOAP_ENVELOPE = "http://schemas.xmlsoap.org/soap/envelope/";
inline constexpr std::string_view NS_INVIO_REQUEST =
    "http://inviocertificatorequest.xsd.cert.sanita.finanze.it";
inline constexpr std::string_view NS_TIPICERT = "http://tipicert.xsd.cert.sanita.finanze.it";
inline constexpr std::string_view NS_ANNULLA_REQUEST =
    "http://annullamentocertificatorequest.xsd.cert.sanita.finanze.it";

// The regional network's GCM datasets.
inline constexpr std::string_view SOAP_ENCODING = "http://schemas.xmlsoap.org/soap/encoding/";
inline constexpr std::string_view XSD_1999 = "http://www.w3.org/1999/XMLSchema";
inline constexpr std::string_view XSI_1999 = "http://www.w3.org/1999/XMLSchema-instance";
inline constexpr std::string_view NS_GCM_INVIO =
    "http://www.crs.lombardia.it/schemas/DCSanita/SALUS/2010-01/invioCertificatoMalattia/";
inline constexpr std::string_view NS_GCM_CANCELLA =
    "http://www.crs.lombardia.it/schemas/DCSanita/SALUS/2010-01/cancellaCertificatoMalattia/";

} // namespace meravo::namespace_soap
