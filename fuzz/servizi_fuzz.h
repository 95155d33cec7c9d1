// What the fuzz targets share: their entry point, a message box that answers at once and always the
// same way (so that an input replays exactly; the clock is the tests' own), a reader that turns the
// fuzzer's bytes into choices, and the check of a property.
#pragma once

#include "services/messaggi.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// Defines the target: the block after `MERAVO_FUZZ(testo)` runs on every input, libFuzzer's or
// one replayed by ripeti_semi.cpp, with the input's bytes as `testo`.
#define MERAVO_FUZZ(testo)                                                                         \
    void bersaglio(std::string_view testo);                                                        \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {               \
        bersaglio(std::string_view(reinterpret_cast<const char*>(dati), n));                       \
        return 0;                                                                                  \
    }                                                                                              \
    void bersaglio(std::string_view testo)

namespace meravo::fuzz {

// Counts what is shown and answers every question alike.
class MessaggiContati final : public Messaggi {
public:
    Risposta mostra(std::string_view, std::string_view, Icona, Pulsanti pulsanti) override {
        ++mostrati;
        const bool domanda = pulsanti == Pulsanti::si_no;
        domande += domanda ? 1 : 0;
        return domanda ? risposta : Risposta::ok;
    }

    int mostrati = 0;
    int domande = 0;
    Risposta risposta = Risposta::no;
};

// The fuzzer's bytes, consumed from the front; past the end every read gives zeros.
class Byte {
public:
    explicit Byte(std::string_view dati) : resto_(dati) {}

    bool finiti() const { return resto_.empty(); }
    std::uint8_t uno() { return finiti() ? 0 : static_cast<std::uint8_t>(testo_di(1).front()); }
    template <typename Intero> Intero intero() {
        std::uint64_t valore = 0;
        for (std::size_t i = 0; i < sizeof(Intero); ++i) {
            valore = valore << 8 | uno();
        }
        return static_cast<Intero>(valore);
    }
    // A text of up to `massimo` bytes, its length given by the first byte.
    std::string_view testo(std::size_t massimo) { return testo_di(uno() % (massimo + 1)); }
    std::string_view tutto() { return testo_di(resto_.size()); }

private:
    std::string_view testo_di(std::size_t lunghezza) {
        const auto t = resto_.substr(0, lunghezza);
        resto_.remove_prefix(t.size());
        return t;
    }

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
