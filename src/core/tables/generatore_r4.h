#pragma once

#include <cstdint>

namespace meravo {

// The pseudo-random generator behind the line cipher: a 24-bit linear congruential generator.
// Its sequence after a given reseed fixes the key positions and the substitution tables of every
// enciphered table file, so it must never change: files written in the field by the program this
// module replaces, and the files we write for it, depend on exactly these numbers.
class GeneratoreR4 {
public:
    // Seeds from a negative number (through its single-precision bit pattern) and returns the
    // first value of the new sequence.
    double reseed(double seme);
    // The next value, in [0, 1).
    double next();

    // Int(next × 96 + 32): a character code from 32 to 127.
    int carattere();
    // Int(next × 1000 + 1): a key position from 1 to 1000.
    int posizione();

private:
    std::uint32_t stato_ = 327680;
};

} // namespace meravo
