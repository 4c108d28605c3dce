#pragma once

#include <cstdlib>
#include <string_view>

#include "text_measurer.h"

// Text extents that tests can work out by hand: every character is a cell
// as high as the font's height (16 when the height is 0) and half as wide,
// rounded up, unless the font gives its own width.
class FixedMetricMeasurer final : public ITextMeasurer {
public:
    static Size Extent(const LogFont& font, std::string_view text) {
        int height = font.height != 0 ? std::abs(font.height) : 16;
        int width = font.width != 0 ? std::abs(font.width) : (height + 1) / 2;
        return {width * static_cast<int>(text.size()), height};
    }

    Size TextExtent(const LogFont& font, std::string_view text) override { return Extent(font, text); }
};
