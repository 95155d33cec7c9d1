#include "tables/data.h"

namespace meravo {

Data Data::da_numeri(long anno, long mese, long giorno) {
    if (anno < 1 || anno > 9999 || mese < 1 || mese > 12 || giorno < 1) {
        return zero();
    }
    static constexpr int giorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bisestile = (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0;
    const long ultimo = giorni[mese - 1] + (mese == 2 && bisestile ? 1 : 0);
    if (giorno > ultimo) {
        return zero();
    }
    return Data{static_cast<std::int16_t>(anno), static_cast<std::int8_t>(mese),
                static_cast<std::int8_t>(giorno)};
}

} // namespace meravo
