// What the fuzz targets share: services that answer at once and always the same way (so that an
// input replays exactly), and a reader that turns the fuzzer's bytes into choices.
#pragma once

#include "services/messaggi.h"
#include "services/orologio.h"
#include "services/segnale.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace meravo::fuzz {

class OrologioFermo final : public Orologio {
public:
    DataOra adesso() const override { return {2024, 1, 5, 9, 30, 0}; }
    double secondi_da_mezzanotte() const override { return secondi; }
    void pausa(std::chrono::milliseconds) override {}

    double secondi = 34200.0;
};

// Counts what is shown and answers every question alike.
class MessaggiContati final : public Messaggi {
public:
    Risposta mostra(std::string_view, std::string_view, Icona, Pulsanti pulsanti) override {
        ++mostrati;
        if (pulsanti == Pulsanti::si_no) {
            ++domande;
            return risposta;
        }
        return Risposta::ok;
    }

    int mostrati = 0;
    int domande = 0;
    Risposta risposta = Risposta::no;
};

class SegnaleMuto final : public Segnale {
public:
    void beep() override {}
};

// The fuzzer's bytes, consumed from the front; past the end every read gives zeros.
class Byte {
public:
    Byte(const std::uint8_t* dati, std::size_t n)
        : resto_(reinterpret_cast<const char*>(dati), n) {}

    bool finiti() const { return resto_.empty(); }

    std::uint8_t uno() {
        if (resto_.empty()) {
            return 0;
        }
        const auto b = static_cast<std::uint8_t>(resto_.front());
        resto_.remove_prefix(1);
        return b;
    }

    template <typename Intero> Intero intero() {
        std::uint64_t valore = 0;
        for (std::size_t i = 0; i < sizeof(Intero); ++i) {
            valore = valore << 8 | uno();
        }
        return static_cast<Intero>(valore);
    }

    // A text of up to `massimo` bytes, its length given by the first byte.
    std::string_view testo(std::size_t massimo) {
        const std::size_t lunghezza = std::min<std::size_t>(uno() % (massimo + 1), resto_.size());
        const auto t = resto_.substr(0, lunghezza);
        resto_.remove_prefix(lunghezza);
        return t;
    }

    std::string_view tutto() {
        const auto t = resto_;
        resto_ = {};
        return t;
    }

private:
    std::string_view resto_;
};

// A property that does not hold is a finding: say which one, and stop here, where the fuzzer
// keeps the input.
inline void esigi(bool condizione, const char* file = __builtin_FILE(),
                  int riga = __builtin_LINE()) {
    if (!condizione) {
        std::fprintf(stderr, "condizione non rispettata: %s:%d\n", file, riga);
        std::abort();
    }
}

} // namespace meravo::fuzz
