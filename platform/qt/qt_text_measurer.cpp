#include "qt_text_measurer.h"

#include "windows_1250.h"

Size TextExtentOf(const QFontMetrics& metrics, const QString& text) {
    return {metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent()};
}

Size QtTextMeasurer::TextExtent(const LogFont& font, std::string_view text) {
    return TextExtentOf(fonts_.Get(font).metrics, FromWindows1250(text));
}
