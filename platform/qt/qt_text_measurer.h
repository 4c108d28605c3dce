#pragma once

#include "qt_font_cache.h"
#include "text_measurer.h"

// Measures with the fonts installed here, as the screen draws them.
class QtTextMeasurer final : public ITextMeasurer {
public:
    Size TextExtent(const LogFont& font, std::string_view text) override { return fonts_.TextExtent(font, text); }

private:
    QtFontCache fonts_;
};
