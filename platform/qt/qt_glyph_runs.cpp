#include "qt_glyph_runs.h"

#include <algorithm>
#include <utility>

#include <QTextLayout>

#include "windows_1250.h"

namespace {

// One line laid out without a width, as the painter lays a text out.
QtGlyphRuns::Shaped Shape(const QFont& font, std::string_view text) {
    QTextLayout layout(FromWindows1250(text), font);
    // Keeps the shaping of the layout for the runs taken from it.
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    QList<QGlyphRun> runs = line.glyphRuns();
    // The layout puts the baseline an ascent below the line's top; the
    // ascent is exact in the layout's fixed point, so this is too.
    const qreal baseline = line.ascent();
    for (QGlyphRun& run : runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& p : positions) p.ry() -= baseline;
        run.setPositions(positions);
    }
    return {std::move(runs), qRound(line.horizontalAdvance())};
}

// Control characters (the code page's undefined bytes among them) and the
// soft hyphen, which a layout treats as places to break or hide.
bool LaidOutOtherwise(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f || byte == 0x81 || byte == 0x83 || byte == 0x88 || byte == 0x90 ||
           byte == 0x98 || byte == 0xad;
}

}  // namespace

bool QtGlyphRuns::Suits(const LogFont& font, std::string_view text) {
    if (font.underline != 0 || font.strikeOut != 0) return false;
    return std::ranges::none_of(text, LaidOutOtherwise);
}

const QtGlyphRuns::Shaped& QtGlyphRuns::Get(const LogFont& logFont, const QFont& font, std::string_view text) {
    auto found = std::ranges::find_if(fonts_, [&](const FontRuns& entry) { return entry.key == logFont; });
    if (found == fonts_.end()) {
        if (fonts_.size() == kFonts) fonts_.erase(fonts_.begin());
        fonts_.push_back(FontRuns{logFont, {}});
    } else if (found + 1 != fonts_.end()) {
        std::rotate(found, found + 1, fonts_.end());
    }
    auto& texts = fonts_.back().texts;
    auto known = texts.find(text);
    if (known != texts.end()) return known->second;
    if (texts.size() == kTextsPerFont) texts.clear();
    return texts.emplace(text, Shape(font, text)).first->second;
}
