#pragma once

#include <cstdint>

#include <QString>

#include "color.h"
#include "drawing_records.h"

// Which fields of a CGridItem CGridCtrl::SetCell applies.
namespace GridItemMask {
inline constexpr unsigned Text = 0x1;
inline constexpr unsigned Image = 0x2;
inline constexpr unsigned Data = 0x4;
inline constexpr unsigned State = 0x8;
inline constexpr unsigned BackColour = 0x10;
inline constexpr unsigned TextColour = 0x20;
inline constexpr unsigned Format = 0x40;
inline constexpr unsigned Font = 0x80;
inline constexpr unsigned Margin = 0x100;
}  // namespace GridItemMask

// Everything a cell holds, for setting several attributes at once.
struct CGridItem {
    int row = 0;
    int col = 0;
    unsigned mask = 0;
    unsigned state = 0;
    unsigned format = 0;
    int image = -1;
    ColorRef backColour = kAutomaticColor;
    ColorRef textColour = kAutomaticColor;
    std::intptr_t data = 0;
    LogFont font;
    int margin = 0;
    QString text;
};
