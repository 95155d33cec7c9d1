#include "exchange/archivio_certificati.h"

#include "exchange/record_certificato.h"

#include <chrono>
#include <cstdio>

namespace meravo {

namespace {

DataOra secondo_dopo(const DataOra& m) {
    using namespace std::chrono;
    const auto giorno = sys_days{year{m.anno} / month{static_cast<unsigned>(m.mese)} /
                                 day{static_cast<unsigned>(m.giorno)}};
    const auto istante = giorno + hours{m.ora} + minutes{m.minuto} + seconds{m.secondo + 1};
    const auto nuovo_giorno = floor<days>(istante);
    const year_month_day ymd{nuovo_giorno};
    const hh_mm_ss ora{istante - nuovo_giorno};
    return {static_cast<int>(ymd.year()),
            static_cast<int>(unsigned(ymd.month())),
            static_cast<int>(unsigned(ymd.day())),
            static_cast<int>(ora.hours().count()),
            static_cast<int>(ora.minutes().count()),
            static_cast<int>(ora.seconds().count())};
}

} // namespace

std::string chiave_archivio(const DataOra& m) {
    char testo[32];
    std::snprintf(testo, sizeof testo, "%04d%02d%02d%02d%02d%02d", m.anno, m.mese, m.giorno, m.ora,
                  m.minuto, m.secondo);
    return testo;
}

void ArchivioCertificati::aggiungi_da_input(std::string_view valore) {
    if (auto chiave = record_certificato::chiave(valore)) {
        mappa_.aggiungi(std::move(*chiave), std::string(valore));
    }
}

std::string
ArchivioCertificati::archivia_certificato(const DataOra& adesso,
                                          const std::vector<std::optional<std::string>>& campi) {
    DataOra momento = adesso;
    auto chiave = chiave_archivio(momento);
    while (mappa_.contiene(chiave)) {
        momento = secondo_dopo(momento);
        chiave = chiave_archivio(momento);
    }
    mappa_.aggiungi(chiave, record_certificato::componi(chiave, campi));
    return chiave;
}

std::vector<std::string> ArchivioCertificati::chiavi() const {
    std::vector<std::string> chiavi;
    chiavi.reserve(mappa_.size());
    for (const auto& voce : mappa_.voci()) {
        chiavi.push_back(voce.first);
    }
    return chiavi;
}

std::string ArchivioCertificati::testo_file_scambio() const {
    if (mappa_.empty()) {
        return "vuoto\r\n";
    }
    std::string testo;
    for (const auto& voce : mappa_.voci()) {
        testo += voce.second;
        testo += "\r\n";
    }
    return testo;
}

} // namespace meravo
