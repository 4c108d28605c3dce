#pragma once

#include <array>

#include "color.h"

// A colour by its HTML/CSS name. A name holds at most 31 characters and
// its terminating zero.
struct NamedColour {
    ColorRef colour;
    char name[32];
};

// The 140 named colours of HTML and CSS in alphabetical order, as
// 0x00BBGGRR. Colours with two names (Aqua and Cyan, Fuchsia and Magenta)
// appear under both; of the greys only "LightGrey" is spelt with an e.
extern const std::array<NamedColour, 140> NamedColourTable;
