#include "qt_font_cache.h"

#include <algorithm>

#include "qt_font.h"
#include "windows_1250.h"

QtFontCache::Entry& QtFontCache::Get(const LogFont& font) {
    auto found = std::ranges::find_if(entries_, [&](const Entry& entry) { return entry.key == font; });
    if (found == entries_.end()) {
        if (entries_.size() == kFonts) entries_.erase(entries_.begin());
        QFont made = ToQFont(font);
        entries_.push_back(Entry{font, made, QFontMetrics(made), {}});
        return entries_.back();
    }
    if (found + 1 != entries_.end()) std::rotate(found, found + 1, entries_.end());
    return entries_.back();
}

Size QtFontCache::TextExtent(const LogFont& font, std::string_view text) {
    Entry& entry = Get(font);
    auto known = entry.extents.find(text);
    if (known != entry.extents.end()) return known->second;
    if (entry.extents.size() == kTextsPerFont) entry.extents.clear();
    const QFontMetrics& metrics = entry.metrics;
    Size extent{metrics.horizontalAdvance(FromWindows1250(text)), metrics.ascent() + metrics.descent()};
    entry.extents.emplace(text, extent);
    return extent;
}
