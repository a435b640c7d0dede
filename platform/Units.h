#pragma once

#include <cmath>

namespace platform {

// Rounds to the nearest integer, halves to the even neighbour, as every stored size and position is.
inline int roundEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace platform
