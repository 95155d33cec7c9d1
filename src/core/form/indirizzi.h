#pragma once

#include <string_view>

// Where the module sends: the national certificate service (production or test) and the
// regional portal. Each host can be replaced, for training and tests, by an environment
// variable holding a scheme://host[:port] prefix; the paths stay.
namespace meravo::indirizzi {

inline constexpr std::string_view host_inps_produzione = "https://certservice.sanita.finanze.it";
inline constexpr std::string_view host_inps_test = "https://certservicetest.sanita.finanze.it";
inline constexpr std::string_view host_portale_siss = "https://www.crs.lombardia.it";

inline constexpr std::string_view variabile_host_inps = "MERAVO_INPS_HOST";
inline constexpr std::string_view variabile_host_portale = "MERAVO_PORTALE_SISS_HOST";

inline constexpr std::string_view percorso_invio =
    "/TrasmissioneCertificatiWeb/services/InvioCertificato";
inline constexpr std::string_view percorso_annullamento =
    "/TrasmissioneCertificatiWeb/services/AnnullamentoCertificato";
inline constexpr std::string_view percorso_portale = "/CertificatidiMalattia/";

} // namespace meravo::indirizzi
