#pragma once

#include <string_view>

#include "drawing_records.h"
#include "geometry.h"

// Measures text as the screen would draw it, for labels that must know their
// extent before they are next drawn: one logical unit per pixel, the font
// given, single-byte text.
class ITextMeasurer {
public:
    virtual Size TextExtent(const LogFont& font, std::string_view text) = 0;

protected:
    ~ITextMeasurer() = default;
};
