#include "diagram_pages.h"

#include <algorithm>

namespace {

int PagesFor(long long length, long long pageLength) {
    return static_cast<int>(std::clamp((length + pageLength - 1) / pageLength, 1LL, 1LL * DiagramPages::kMostPages));
}

long long Scaled(long long value, long long times, long long per) { return per > 0 ? value * times / per : value; }

}  // namespace

DiagramPages::DiagramPages(const PrinterPage& printer, Size diagram) {
    const bool portrait = printer.millimetres.cx <= printer.millimetres.cy;
    const int shorterMm = portrait ? printer.millimetres.cx : printer.millimetres.cy;
    const int shorterPixels = portrait ? printer.pixels.cx : printer.pixels.cy;
    const int longerPixels = portrait ? printer.pixels.cy : printer.pixels.cx;
    // A page without a size still shows one unit, so that the grid stays finite.
    const int shorter = std::max(1, static_cast<int>(Scaled(shorterMm, kUnitsPerReferenceSide, kReferenceMillimetres)));
    const int longer = std::max(1, static_cast<int>(Scaled(shorter, longerPixels, shorterPixels)));
    page_ = portrait ? Size{shorter, longer} : Size{longer, shorter};
    extent_ = shorter;
    columns_ = PagesFor(diagram.cx, page_.cx);
    rows_ = PagesFor(diagram.cy, page_.cy);
}

int DiagramPages::Count() const {
    return static_cast<int>(std::min(1LL * columns_ * rows_, 1LL * kMostPages));
}

Point DiagramPages::Origin(int page) const {
    const int index = std::max(page, 1) - 1;
    return {index % columns_ * page_.cx, index / columns_ * page_.cy};
}
