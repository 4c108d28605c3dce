#include "qt_text_measurer.h"

#include <QFontMetrics>

#include "qt_font.h"
#include "windows_1250.h"

Size TextExtentOf(const QFont& font, const QString& text) {
    QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent()};
}

Size QtTextMeasurer::TextExtent(const LogFont& font, std::string_view text) {
    return TextExtentOf(ToQFont(font), FromWindows1250(text));
}
