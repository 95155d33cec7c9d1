#include "diagnosis/risistema.h"

#include "tables/campi_record.h"
#include "tables/file_interi.h"
#include "text/testo.h"

namespace meravo {

std::string risistema_stringa(std::string_view dato, std::size_t lunghezza) {
    std::string campo;
    campi_record::scrivi_testo(campo, dato, lunghezza);
    return campo;
}

std::string risistema_integer(std::optional<std::int16_t>& dato) {
    std::string campo;
    campi_record::scrivi_intero(campo, dato.emplace(dato.value_or(0)), 5);
    return campo;
}

std::string risistema_long(std::optional<std::int32_t>& dato) {
    std::string campo;
    campi_record::scrivi_intero(campo, dato.emplace(dato.value_or(0)), 10);
    return campo;
}

std::string risistema_single(std::optional<float>& dato) {
    std::string campo;
    campi_record::scrivi_decimale(campo, dato.emplace(dato.value_or(0.0F)));
    return campo;
}

std::string risistema_data(const std::optional<Data>& dato) {
    std::string campo;
    campi_record::scrivi_data(campo, dato.value_or(Data::zero()));
    return campo;
}

std::string riga_farmaco(RecordFarmaco& f) {
    return f.servizio + risistema_stringa(f.minsan, 9) + risistema_stringa(f.descri, 30) +
           risistema_stringa(f.atc, 7) + risistema_long(f.prezzo) + risistema_long(f.ticket) +
           risistema_stringa(f.ct, 3) + risistema_stringa(f.sostan, 6) +
           risistema_stringa(f.tabssn, 1) + risistema_stringa(f.notssn, 2) +
           risistema_stringa(f.sigssn, 1) + risistema_stringa(f.caucon, 1) +
           risistema_data(f.datafine) + risistema_stringa(f.ditta, 4);
}

Esito salva_farmaci(std::vector<RecordFarmaco>& farmaci, const std::string& file,
                    const std::string& file_ridotto) {
    std::string tutti;
    std::string ridotti;
    for (auto& farmaco : farmaci) {
        const auto riga = riga_farmaco(farmaco) + "\r\n";
        tutti += riga;
        const auto& s = farmaco.servizio;
        if (s.size() > 2 && (s[2] == 'A' || s[2] == 'B')) {
            ridotti += riga;
        }
    }
    if (!scrivi_file_intero(testo::percorso(file), tutti)) {
        return Esito::fallito("Impossibile scrivere " + file);
    }
    if (!file_ridotto.empty() && !scrivi_file_intero(testo::percorso(file_ridotto), ridotti)) {
        return Esito::fallito("Impossibile scrivere " + file_ridotto);
    }
    return Esito::riuscito();
}

} // namespace meravo
