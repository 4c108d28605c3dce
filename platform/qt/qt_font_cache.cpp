#include "qt_font_cache.h"

#include <algorithm>

#include "qt_font.h"

const QtFontCache::Entry& QtFontCache::Get(const LogFont& font) {
    auto found = std::ranges::find_if(entries_, [&](const Entry& entry) { return entry.key == font; });
    if (found == entries_.end()) {
        if (entries_.size() == kCapacity) entries_.erase(entries_.begin());
        QFont made = ToQFont(font);
        entries_.push_back(Entry{font, made, QFontMetrics(made)});
        return entries_.back();
    }
    if (found + 1 != entries_.end()) std::rotate(found, found + 1, entries_.end());
    return entries_.back();
}
