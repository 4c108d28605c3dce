#include "grid_default_cell.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include "qt_font.h"
#include "windows_metrics.h"

namespace {

// The sizes taken when no font can be measured (no application object).
constexpr int kUnmeasuredMargin = 3;
constexpr int kUnmeasuredWidth = 40;
constexpr int kUnmeasuredHeight = 16;

}  // namespace

CGridDefaultCell::CGridDefaultCell() {
    SetFormat(kFormat);
    SetTextColour(kAutomaticColor);
    SetBackColour(kAutomaticColor);
    LogFont messageFont;
    if (QGuiApplication::instance()) ApplyQFont(MessageFont(), messageFont);
    SetFont(&messageFont);
}

CGridDefaultCell& CGridDefaultCell::operator=(const CGridDefaultCell& other) {
    CGridCellBase::operator=(other);
    return *this;
}

void CGridDefaultCell::SetFont(const LogFont* font) {
    if (!font) return;
    logFont_ = *font;
    if (!QGuiApplication::instance()) {
        SetMargin(kUnmeasuredMargin);
        width_ = kUnmeasuredWidth;
        height_ = kUnmeasuredHeight;
        return;
    }
    font_ = ToQFont(*font);
    QFontMetrics metrics(font_);
    SetMargin(metrics.horizontalAdvance(QLatin1Char(' ')));
    width_ = metrics.horizontalAdvance(QStringLiteral(" XXXXXXXXXXXX "));
    height_ = metrics.height() * 3 / 2;
}
