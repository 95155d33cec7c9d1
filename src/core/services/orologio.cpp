#include "services/orologio.h"

#include <ctime>
#include <thread>

namespace meravo {

namespace {

struct Locale {
    std::tm tm{};
    double frazione = 0;
};

Locale ora_locale() {
    const auto ora = std::chrono::system_clock::now();
    const auto secondi = std::chrono::system_clock::to_time_t(ora);
    Locale l;
#ifdef _WIN32
    localtime_s(&l.tm, &secondi);
#else
    localtime_r(&secondi, &l.tm);
#endif
    const auto intero = std::chrono::system_clock::from_time_t(secondi);
    l.frazione = std::chrono::duration<double>(ora - intero).count();
    return l;
}

} // namespace

DataOra OrologioDiSistema::adesso() const {
    const auto l = ora_locale();
    return {l.tm.tm_year + 1900, l.tm.tm_mon + 1, l.tm.tm_mday,
            l.tm.tm_hour,        l.tm.tm_min,     l.tm.tm_sec};
}

double OrologioDiSistema::secondi_da_mezzanotte() const {
    const auto l = ora_locale();
    return l.tm.tm_hour * 3600.0 + l.tm.tm_min * 60.0 + l.tm.tm_sec + l.frazione;
}

void OrologioDiSistema::pausa(std::chrono::milliseconds durata) {
    std::this_thread::sleep_for(durata);
}

} // namespace meravo
