#pragma once

#include <string>
#include <string_view>

namespace meravo {

// The AnnullamentoCertificato SOAP request, one piece per line (CR LF), single-quoted attributes
// (the whole request travels inside one double-quoted command-line argument), every inserted
// text escaped for XML. PIN and fiscal code come already encrypted.
std::string componi_richiesta_annullamento(std::string_view pincode_cifrato,
                                           std::string_view codice_fiscale_cifrato,
                                           std::string_view id_certificato);

} // namespace meravo
