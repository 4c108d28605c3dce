// Drawing a line: its path and the arrow of its active flow.

#include <cmath>

#include "power_line.h"

namespace BD = BranchData;

namespace {

// A segment shorter than this carries no flow arrow.
constexpr double kMinArrowSegment = 75.0;
// The arrow head: half its base across the segment, its tip ahead.
constexpr double kArrowHalfBase = 4.0;
constexpr double kArrowLength = 9.0;

// To the nearest integer, an exact half going down.
int RoundHalfDown(double value) { return static_cast<int>(std::ceil(value - 0.5)); }

}  // namespace

void PowerLine::DrawSymbol(DrawingContext& dc) {
    path_.Draw(dc, selected_);
    const double pFrom = Value(BD::kPFrom);
    const double pTo = Value(BD::kPTo);
    if (data_.empty() || pFrom == Value(BD::kReserved1) || pFrom == pTo) return;
    Point a = ends_[0];
    Point b = ends_[1];
    if (path_.GetPointCount() >= 3 && !path_.GetLongestSegment(a, b)) return;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (length < kMinArrowSegment) return;
    // The unit vector along the active flow and its normal.
    const double sign = pFrom > pTo ? 1.0 : -1.0;
    const double tx = sign * dx / length;
    const double ty = sign * dy / length;
    const double nx = ty;
    const double ny = -tx;
    const Point m{(a.x + b.x) / 2, (a.y + b.y) / 2};
    const Point corners[] = {
        {RoundHalfDown(m.x + kArrowHalfBase * nx), RoundHalfDown(m.y + kArrowHalfBase * ny)},
        {RoundHalfDown(m.x + kArrowLength * tx), RoundHalfDown(m.y + kArrowLength * ty)},
        {RoundHalfDown(m.x - kArrowHalfBase * nx), RoundHalfDown(m.y - kArrowHalfBase * ny)},
    };
    FillInPenColor(dc, corners);
}
