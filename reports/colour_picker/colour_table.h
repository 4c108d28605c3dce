#pragma once

#include <array>
#include <string_view>

#include "color.h"

// The colours a colour picker offers, in the order of its cells (eight to a
// row); the names are the cells' tooltips.
struct NamedColour {
    ColorRef colour;
    std::string_view name;
};

inline constexpr int kPickerColourCount = 40;
inline constexpr int kPickerColumns = 8;
extern const std::array<NamedColour, kPickerColourCount> kPickerColours;

// The cell of `colour`, or -1 when the table does not hold it.
int PickerColourIndex(ColorRef colour);
