#pragma once

#include <string_view>
#include <vector>

namespace meravo::simulatore {

// One element a request may hold: its namespace and local name, whether it may be left out,
// and the elements it holds in order. An element without children holds text.
struct SchemaElemento {
    std::string_view nome;
    std::string_view spazio;
    bool facoltativo = false;
    std::vector<SchemaElemento> figli;
};

// The operation elements inside the SOAP body of the two services.
const SchemaElemento& schema_invio_certificato();
const SchemaElemento& schema_annullamento_certificato();

} // namespace meravo::simulatore
