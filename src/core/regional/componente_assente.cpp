#include "regional/componente_regionale.h"

namespace meravo {

// The regional component is a Windows COM object: elsewhere only the simulated one exists.
std::unique_ptr<ComponenteRegionale> crea_componente_di_sistema() {
    return nullptr;
}

} // namespace meravo
