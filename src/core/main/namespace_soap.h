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

} // namespace meravo::namespace_soap
