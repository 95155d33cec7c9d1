#pragma once

#include <QPaintDevice>
#include <cmath>

// Sizes as the core and the saved layouts give them, in twips: 1440 to the inch, so 15 to a
// pixel at 96 dots per inch. The screen's logical resolution decides the pixels.
namespace meravo::misure {

inline int pixel_da_twip(double twip, int punti_per_pollice) {
    return static_cast<int>(std::lround(twip * punti_per_pollice / 1440.0));
}

inline int pixel_verticali(double twip, const QPaintDevice& schermo) {
    return pixel_da_twip(twip, schermo.logicalDpiY());
}

inline int pixel_orizzontali(double twip, const QPaintDevice& schermo) {
    return pixel_da_twip(twip, schermo.logicalDpiX());
}

} // namespace meravo::misure
