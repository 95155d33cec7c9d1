#pragma once

#include <compare>
#include <cstdint>

namespace meravo {

// A calendar date as the table files hold it (yyyymmdd). The empty date is the zero of the
// platform's date type, 30 December 1899, and is written as such.
struct Data {
    std::int16_t anno = 1899;
    std::int8_t mese = 12;
    std::int8_t giorno = 30;

    static constexpr Data zero() { return Data{}; }
    // The date of these numbers, or zero() when they name no day of the calendar.
    static Data da_numeri(long anno, long mese, long giorno);

    friend constexpr auto operator<=>(const Data&, const Data&) = default;
};

} // namespace meravo
