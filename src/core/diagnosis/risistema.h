#pragma once

#include "services/esito.h"
#include "tables/data.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Fixed-width field texts for the tables written by the diagnosis control. A missing number
// counts as 0 (and becomes 0 in the caller's variable); a missing date is the empty date
// "18991230"; a longer text is cut to its width.
namespace meravo {

std::string risistema_stringa(std::string_view dato, std::size_t lunghezza);
std::string risistema_integer(std::optional<std::int16_t>& dato);
std::string risistema_long(std::optional<std::int32_t>& dato);
std::string risistema_single(std::optional<float>& dato);
std::string risistema_data(const std::optional<Data>& dato);

// One drug as the caller hands it in. `servizio` is the record prefix; its third character
// marks the drugs of the reduced set ("A" or "B").
struct RecordFarmaco {
    std::string servizio;
    std::string minsan;
    std::string descri;
    std::string atc;
    std::optional<std::int32_t> prezzo;
    std::optional<std::int32_t> ticket;
    std::string ct;
    std::string sostan;
    std::string tabssn;
    std::string notssn;
    std::string sigssn;
    std::string caucon;
    std::optional<Data> datafine;
    std::string ditta;
};

// The drug-table line of one drug (without its line end).
std::string riga_farmaco(RecordFarmaco& farmaco);

// Writes every drug to `file` and the drugs of the reduced set to `file_ridotto`, each file
// whole or not at all.
Esito salva_farmaci(std::vector<RecordFarmaco>& farmaci, const std::string& file,
                    const std::string& file_ridotto);

} // namespace meravo
