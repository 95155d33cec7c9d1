#pragma once

#include "schema_richiesta.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace meravo::simulatore {

// A request body read against the operation it must carry: the text of every element found,
// or why the body is not such a request. A body with defects is answered with a SOAP fault,
// as a real service answers a message that its schema rejects; only a well-formed request
// reaches the rules on its values.
struct RichiestaLetta {
    // Text of each element that holds text, keyed by its path below the operation element
    // ("certificato/dataInizio", "indirizzoDiReperibilita/indirizzo/cap").
    std::map<std::string, std::string> valori;
    // Every defect found, in document order; empty for a well-formed request.
    std::vector<std::string> difetti;
    // The SOAP 1.1 fault code to answer with when there are defects.
    std::string codice_fault = "Client";

    bool valida() const { return difetti.empty(); }
    bool presente(const std::string& percorso) const { return valori.contains(percorso); }
    // The text of an element, empty when it is missing.
    std::string valore(const std::string& percorso) const;
};

RichiestaLetta leggi_richiesta(std::string_view corpo, const SchemaElemento& operazione);

} // namespace meravo::simulatore
