#pragma once

#include <cmath>
#include <cstdint>

namespace platform {

// Screen units as the program sees them: 96 dots per inch.
inline constexpr double kDotsPerInch = 96.0;

// Rounds to the nearest integer, halves to the even neighbour, as every stored size and position is.
inline int RoundEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

// Picture sizes are kept in HiMetric (0.01 mm); these convert both ways at the screen's resolution.
inline int PixelsToHiMetric(int pixels) {
    return RoundEven(pixels * 2540.0 / kDotsPerInch);
}
inline double HiMetricToPixels(int hiMetric) {
    return hiMetric * kDotsPerInch / 2540.0;
}

}  // namespace platform
