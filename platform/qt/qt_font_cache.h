#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <QFont>
#include <QFontMetrics>

#include "drawing_records.h"
#include "geometry.h"

// The fonts of the few LOGFONTs a drawing keeps selecting, made once, and
// the extents of the texts measured in them: a fresh QFont looks its family,
// substitutes and engine up again, and measuring shapes the whole text,
// each of which costs more than drawing the short labels of a diagram,
// whose texts repeat. Bounded; the font used longest ago makes room.
class QtFontCache {
public:
    // Looks single-byte texts up without copying them.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    struct Entry {
        LogFont key;
        QFont font;
        QFontMetrics metrics;
        std::unordered_map<std::string, Size, TextHash, std::equal_to<>> extents;
    };

    // The font `ToQFont` makes of `font`, with its metrics.
    Entry& Get(const LogFont& font);

    // The extent GDI would give: the advance of the single-byte text and the
    // cell height (ascent plus descent) of the font.
    Size TextExtent(const LogFont& font, std::string_view text);

private:
    static constexpr std::size_t kFonts = 8;
    static constexpr std::size_t kTextsPerFont = 8192;
    std::vector<Entry> entries_;  // most recently used last
};
