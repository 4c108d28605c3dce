#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <QFont>
#include <QGlyphRun>
#include <QList>

#include "drawing_records.h"
#include "qt_font_cache.h"

// The glyphs of upright single-line texts, shaped once for each font and
// text: a diagram repeats most of its result labels, and shaping is most of
// what measuring or drawing a short label costs, so a label measured before
// it is drawn is shaped once. The runs are placed from the start of the
// baseline, as the painter places a text it shapes itself. Bounded like the
// font cache; one painting's worth, for one paint device.
class QtGlyphRuns {
public:
    struct Shaped {
        QList<QGlyphRun> runs;
        int advance = 0;  // pixels, rounded as the font's metrics round it
    };

    // `text` in `font`, the font the painter made of `logFont` for its
    // device.
    const Shaped& Get(const LogFont& logFont, const QFont& font, std::string_view text);

    // The texts a layout places as the painter does: no control character
    // or soft hyphen (a tab, a break) and no line under or through the text
    // (drawn by the painter's own rules).
    static bool Suits(const LogFont& font, std::string_view text);

private:
    struct FontRuns {
        LogFont key;
        std::unordered_map<std::string, Shaped, QtFontCache::TextHash, std::equal_to<>> texts;
    };
    static constexpr std::size_t kFonts = 8;
    static constexpr std::size_t kTextsPerFont = 16384;
    std::vector<FontRuns> fonts_;  // most recently used last
};
