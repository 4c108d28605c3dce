#include "qt_font.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cctype>
#include <cstdlib>
#include <utility>

#include <QFontMetricsF>

#include "windows_1250.h"

namespace {

struct FaceSubstitute {
    std::string_view face;  // compared without regard to case
    const char* family;
};

constexpr std::array<FaceSubstitute, 10> kFaceSubstitutes{{
    {"", "Liberation Sans"},
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"Microsoft Sans Serif", "Liberation Sans"},
    {"MS Shell Dlg", "Liberation Sans"},
    {"Arial Narrow", "Liberation Sans Narrow"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    // The reports' body face: any monospaced one keeps their columns.
    {"Lucida Console", "Liberation Mono"},
}};

constexpr int kDefaultCellHeight = 16;

bool SameFace(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The pixel size whose ascent plus descent is `cellHeight` in this family.
int PixelSizeForCell(QFont font, int cellHeight) {
    constexpr int kProbe = 1000;
    font.setPixelSize(kProbe);
    QFontMetricsF metrics(font);
    double cell = metrics.ascent() + metrics.descent();
    if (cell <= 0.0) return cellHeight;
    return std::max(1, static_cast<int>(std::lround(cellHeight * kProbe / cell)));
}

}  // namespace

QString SubstituteFace(std::string_view face) {
    for (const auto& substitute : kFaceSubstitutes) {
        if (SameFace(face, substitute.face)) return QString::fromLatin1(substitute.family);
    }
    return FromWindows1250(face);
}

QFont ToQFont(const LogFont& font) {
    QFont qfont(SubstituteFace(font.FaceName()));
    // Held within what can be shown, so that no size is negated past the
    // int range.
    const int height = std::clamp(font.height, -LogFont::kMaxSize, LogFont::kMaxSize);
    const int width = std::clamp(font.width, -LogFont::kMaxSize, LogFont::kMaxSize);
    if (height < 0) {
        qfont.setPixelSize(-height);
    } else {
        qfont.setPixelSize(PixelSizeForCell(qfont, height == 0 ? kDefaultCellHeight : height));
    }
    int weight = font.weight == 0 ? 400 : std::clamp(font.weight, 1, 1000);
    qfont.setWeight(static_cast<QFont::Weight>(weight));
    qfont.setItalic(font.italic != 0);
    qfont.setUnderline(font.underline != 0);
    qfont.setStrikeOut(font.strikeOut != 0);
    if (width != 0) {
        double average = QFontMetricsF(qfont).averageCharWidth();
        if (average > 0.0) {
            int stretch = static_cast<int>(std::lround(100.0 * std::abs(width) / average));
            qfont.setStretch(std::clamp(stretch, 1, 4000));
        }
    }
    return qfont;
}

void ApplyQFont(const QFont& chosen, LogFont& font) {
    font.SetFaceName(ToWindows1250(chosen.family()));
    int pixels = chosen.pixelSize();
    // A chooser answers in points; the screen has 96 pixels to the inch.
    if (pixels <= 0) pixels = static_cast<int>(std::lround(chosen.pointSizeF() * 96.0 / 72.0));
    font.height = -pixels;
    font.weight = chosen.weight();
    font.italic = chosen.italic() ? 1 : 0;
    font.underline = chosen.underline() ? 1 : 0;
    font.strikeOut = chosen.strikeOut() ? 1 : 0;
}
