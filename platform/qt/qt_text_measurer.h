#pragma once

#include <QFontMetrics>
#include <QString>

#include "qt_font_cache.h"
#include "text_measurer.h"

// The extent GDI would give: the advance of the text and the cell height
// (ascent plus descent) of the font.
Size TextExtentOf(const QFontMetrics& metrics, const QString& text);

// Measures with the fonts installed here, as the screen draws them.
class QtTextMeasurer final : public ITextMeasurer {
public:
    Size TextExtent(const LogFont& font, std::string_view text) override;

private:
    QtFontCache fonts_;
};
