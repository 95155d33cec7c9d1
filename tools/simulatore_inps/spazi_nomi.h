#pragma once

#include <string_view>

// Namespaces of the messages the simulated certificate service reads and writes. They are kept
// here, apart from the module's own copy, so that a slip on either side shows up in the tests
// instead of being shared by both.
namespace meravo::simulatore::spazi_nomi {

inline constexpr std::string_view busta_soap = "http://schemas.xmlsoap.org/soap/envelope/";
inline constexpr std::string_view invio_richiesta =
    "http://inviocertificatorequest.xsd.cert.sanita.finanze.it";
inline constexpr std::string_view tipi_certificato = "http://tipicert.xsd.cert.sanita.finanze.it";
inline constexpr std::string_view annullamento_richiesta =
    "http://annullamentocertificatorequest.xsd.cert.sanita.finanze.it";
inline constexpr std::string_view invio_risposta =
    "http://inviocertificatoresponse.xsd.cert.sanita.finanze.it";
inline constexpr std::string_view annullamento_risposta =
    "http://annullamentocertificatoresponse.xsd.cert.sanita.finanze.it";

} // namespace meravo::simulatore::spazi_nomi
