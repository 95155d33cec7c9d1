#include "tables/blocco_scrittura.h"

#include "services/orologio.h"
#include "services/pompa_eventi.h"

#include <chrono>
#include <fcntl.h>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace meravo {

namespace {

constexpr double secondi_al_giorno = 86400.0;
constexpr std::chrono::milliseconds passo{50};

} // namespace

BloccoScrittura::~BloccoScrittura() {
    rilascia();
}

bool BloccoScrittura::crea(std::string_view operazione) {
    const std::string riga = std::string(operazione) + "\r\n";
#ifdef _WIN32
    const int fd =
        _wopen(percorso_.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        return false;
    }
    _write(fd, riga.data(), static_cast<unsigned>(riga.size()));
    _close(fd);
#else
    const int fd = ::open(percorso_.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    // The name of the change is for whoever finds the lock left behind; the lock is the file.
    [[maybe_unused]] const auto scritti = ::write(fd, riga.data(), riga.size());
    ::close(fd);
#endif
    return true;
}

bool BloccoScrittura::prendi(const std::filesystem::path& percorso, std::string_view operazione,
                             Orologio& orologio, PompaEventi& pompa) {
    rilascia();
    percorso_ = percorso;
    double precedente = orologio.secondi_da_mezzanotte();
    double trascorsi = 0;
    while (!crea(operazione)) {
        const double adesso = orologio.secondi_da_mezzanotte();
        double delta = adesso - precedente;
        if (delta < 0) {
            delta += secondi_al_giorno; // past midnight
        }
        trascorsi += delta;
        precedente = adesso;
        if (trascorsi >= attesa_massima) {
            return false;
        }
        pompa.esegui_eventi_in_attesa();
        orologio.pausa(passo);
    }
    preso_ = true;
    return true;
}

void BloccoScrittura::rilascia() {
    if (!preso_) {
        return;
    }
    preso_ = false;
    std::error_code ignorato;
    std::filesystem::remove(percorso_, ignorato);
}

} // namespace meravo
