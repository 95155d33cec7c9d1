#pragma once

#include "voce_registro.h"

#include <filesystem>
#include <optional>
#include <string>

namespace meravo::simulatore {

// A JSON-lines file with one VoceRegistro per request, appended and flushed as each request
// is answered. It holds decrypted fiscal codes, so only the user may read it.
class RegistroRichieste {
public:
    static std::optional<RegistroRichieste> apri(const std::filesystem::path& file,
                                                 std::string& errore);
    RegistroRichieste(RegistroRichieste&& altro) noexcept;
    RegistroRichieste& operator=(RegistroRichieste&& altro) noexcept;
    RegistroRichieste(const RegistroRichieste&) = delete;
    RegistroRichieste& operator=(const RegistroRichieste&) = delete;
    ~RegistroRichieste();

    bool scrivi(const VoceRegistro& voce);

private:
    explicit RegistroRichieste(int descrittore) : descrittore_(descrittore) {}
    int descrittore_;
};

} // namespace meravo::simulatore
