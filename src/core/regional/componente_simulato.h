#pragma once

#include "regional/componente_regionale.h"

#include <string>
#include <string_view>
#include <vector>

namespace meravo {

// A stand-in for the regional component, for the demo and the tests: it checks the dataset as
// the regional service would (declaration, envelope, elements in order, dates, codes) and
// answers with a protocol, with the service's error and its exceptions, or with a fault.
class ComponenteSimulato final : public ComponenteRegionale {
public:
    std::optional<std::string> callSebMethod(std::string& dataset) override;

    // Every dataset received, in order.
    std::vector<std::string> ricevuti;

private:
    int protocolli_assegnati_ = 0;
};

} // namespace meravo
