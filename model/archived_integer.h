#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

// A value held as a double but archived as an integer of type Int: a value
// beyond the range is held at the nearest end of it, and a value that is no
// number is stored as 0.
template <typename Int>
Int NarrowForArchive(double value) {
    if (std::isnan(value)) return 0;
    value = std::clamp(value, static_cast<double>(std::numeric_limits<Int>::min()),
                       static_cast<double>(std::numeric_limits<Int>::max()));
    return static_cast<Int>(value);
}
