#pragma once

#include <memory>
#include <optional>
#include <string>

namespace meravo {

struct ServiziForm;

// The regional client component: it takes a GCM dataset and does the whole exchange with the
// regional network, handing back the answer dataset. Texts are Windows-1252.
class ComponenteRegionale {
public:
    virtual ~ComponenteRegionale() = default;
    // The dataset goes by reference because the component's own call takes it so; nothing
    // comes back when the call itself failed.
    virtual std::optional<std::string> callSebMethod(std::string& dataset) = 0;
};

// The component installed on this machine, from its ProgID "WinBridge4Seb.Bean.1" (Windows
// only); nothing when it cannot be created.
std::unique_ptr<ComponenteRegionale> crea_componente_di_sistema();

// The component of this machine: the simulated one when the environment asks for it
// (MERAVO_SISS_SIMULATO=1) on an installation in test mode, otherwise the installed one;
// nothing when none can be created.
std::unique_ptr<ComponenteRegionale> crea_componente_regionale(const ServiziForm& servizi,
                                                               bool modo_test);

} // namespace meravo
