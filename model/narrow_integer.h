#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

// A value held as a double but archived or handed on as an integer of type
// Int: the fraction is dropped, a value beyond the type's range is held at
// the nearest end of it, and a value that is no number becomes 0 (a plain
// conversion would be undefined for the last two).
template <typename Int>
Int NarrowToInteger(double value) {
    if (std::isnan(value)) return 0;
    value = std::clamp(value, static_cast<double>(std::numeric_limits<Int>::min()),
                       static_cast<double>(std::numeric_limits<Int>::max()));
    return static_cast<Int>(value);
}
