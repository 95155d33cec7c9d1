#include "registro_richieste.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace meravo::simulatore {

std::optional<RegistroRichieste> RegistroRichieste::apri(const std::filesystem::path& file,
                                                         std::string& errore) {
    const int descrittore = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (descrittore < 0) {
        errore = "impossibile aprire il registro " + file.string() + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return RegistroRichieste(descrittore);
}

RegistroRichieste::RegistroRichieste(RegistroRichieste&& altro) noexcept
    : descrittore_(altro.descrittore_) {
    altro.descrittore_ = -1;
}

RegistroRichieste& RegistroRichieste::operator=(RegistroRichieste&& altro) noexcept {
    std::swap(descrittore_, altro.descrittore_);
    return *this;
}

RegistroRichieste::~RegistroRichieste() {
    if (descrittore_ >= 0) {
        ::close(descrittore_);
    }
}

bool RegistroRichieste::scrivi(const VoceRegistro& voce) {
    // One write per line: with O_APPEND a reader never sees half a line followed by another.
    const std::string riga = voce.json() + "\n";
    std::size_t scritti = 0;
    while (scritti < riga.size()) {
        const auto fatto = ::write(descrittore_, riga.data() + scritti, riga.size() - scritti);
        if (fatto <= 0) {
            return false;
        }
        scritti += static_cast<std::size_t>(fatto);
    }
    return true;
}

} // namespace meravo::simulatore
