#pragma once

#include <cstddef>
#include <vector>

#include <QFont>
#include <QFontMetrics>

#include "drawing_records.h"

// The fonts of the few LOGFONTs a drawing keeps selecting, made once: a
// fresh QFont looks its family, substitutes and engine up again, which costs
// more than measuring or drawing the short labels of a diagram. Bounded;
// the font used longest ago makes room.
class QtFontCache {
public:
    struct Entry {
        LogFont key;
        QFont font;
        QFontMetrics metrics;
    };

    // The font `ToQFont` makes of `font`, with its metrics.
    const Entry& Get(const LogFont& font);

private:
    static constexpr std::size_t kCapacity = 8;
    std::vector<Entry> entries_;  // most recently used last
};
