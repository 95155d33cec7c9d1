#include "tables/generatore_r4.h"

#include <bit>
#include <cmath>

namespace meravo {

namespace {

constexpr std::uint32_t maschera = 0xFFFFFF;
constexpr double modulo = 16777216.0; // 2^24

} // namespace

double GeneratoreR4::reseed(double seme) {
    const auto bit = std::bit_cast<std::uint32_t>(static_cast<float>(seme));
    stato_ = ((bit >> 24) + bit) & maschera;
    return next();
}

double GeneratoreR4::next() {
    // The same as stato × 16598013 + 12820163 modulo 2^24, written the way the original
    // arithmetic runs so that the two can be compared term by term.
    stato_ = (0xFFC39EC3u - stato_ * 0x2BC03u) & maschera;
    return stato_ / modulo;
}

int GeneratoreR4::carattere() {
    return static_cast<int>(std::floor(next() * 96.0 + 32.0));
}

int GeneratoreR4::posizione() {
    return static_cast<int>(std::floor(next() * 1000.0 + 1.0));
}

} // namespace meravo
