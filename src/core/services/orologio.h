#pragma once

#include <chrono>

namespace meravo {

struct DataOra {
    int anno = 0;
    int mese = 0;
    int giorno = 0;
    int ora = 0;
    int minuto = 0;
    int secondo = 0;
};

// The local clock. Waits go through `pausa` so that a test clock can move time forward instead
// of sleeping.
class Orologio {
public:
    virtual ~Orologio() = default;
    virtual DataOra adesso() const = 0;
    // Seconds since local midnight, with fractions; starts again from 0 at midnight.
    virtual double secondi_da_mezzanotte() const = 0;
    virtual void pausa(std::chrono::milliseconds durata) = 0;
};

class OrologioDiSistema final : public Orologio {
public:
    DataOra adesso() const override;
    double secondi_da_mezzanotte() const override;
    void pausa(std::chrono::milliseconds durata) override;
};

} // namespace meravo
