// The automatic range, the mapping of data to pixels, the cutting of
// segments to the plot rectangle and the choice of tick steps.

#include <cmath>
#include <limits>

#include "graph_plot.h"

namespace {

// Rounds half a pixel down: the ceiling only above one half.
double RoundPixel(double v) {
    double floor = std::floor(v);
    return v - floor > 0.5 ? floor + 1.0 : floor;
}

// A single value on an axis is widened to a visible range.
void WidenSingleValue(double& min, double& max) {
    if (min != max) return;
    double margin = std::fabs(min) < 1e-6 ? 0.01 : std::fabs(min) / 20.0;
    min -= margin;
    max += margin;
}

void Widen(const std::vector<float>* values, double& min, double& max) {
    if (values == nullptr) return;
    for (float v : *values) {
        min = std::min(min, static_cast<double>(v));
        max = std::max(max, static_cast<double>(v));
    }
}

constexpr int kMaxClipRounds = 16;

}  // namespace

void GraphPlot::ComputeAutomaticRange() {
    constexpr double kFar = std::numeric_limits<float>::max();
    GraphRange range{kFar, -kFar, kFar, -kFar};
    if (!curves_.empty()) Widen(Column(curves_.front().xColumn), range.xmin, range.xmax);
    for (const GraphCurve& curve : curves_) Widen(Column(curve.yColumn), range.ymin, range.ymax);
    WidenSingleValue(range.xmin, range.xmax);
    WidenSingleValue(range.ymin, range.ymax);
    automaticRange_ = range;
    automaticComputed_ = true;
}

GraphRange GraphPlot::GetRange() {
    if (!automatic_) return fixed_;
    if (!automaticComputed_) ComputeAutomaticRange();
    if (notifyMessage_ != 0 && notifySink_) notifySink_(notifyMessage_);
    return automaticRange_;
}

PixelPoint GraphPlot::ToScreen(const GraphRange& range, double x, double y, Clamp clamp) const {
    const double xscale = (right_ - kLeft) / (range.xmax - range.xmin);
    const double yscale = (bottom_ - kTop) / (range.ymax - range.ymin);
    if (clamp == Clamp::Yes) {
        x = std::clamp(x, range.xmin, std::max(range.xmin, range.xmax));
        y = std::clamp(y, range.ymin, std::max(range.ymin, range.ymax));
    }
    PixelPoint p;
    p.x = RoundPixel(kLeft + (x - range.xmin) * xscale);
    if (clamp == Clamp::Yes) {
        p.x = std::clamp(p.x, kLeft - 1.0, right_ + 1.0);
        p.y = std::clamp(bottom_ - RoundPixel(std::fabs((y - range.ymin) * yscale)), kTop - 1.0, bottom_ + 1.0);
    } else {
        p.y = bottom_ - RoundPixel((y - range.ymin) * yscale);
    }
    return p;
}

std::optional<ClippedSegment> GraphPlot::ClipSegment(PixelPoint from, PixelPoint to) const {
    enum : int { Inside = 0, Below = 1, Above = 2, Right = 4, Left = 8 };
    const double left = kLeft, top = kTop, right = right_, bottom = bottom_;
    auto code = [&](const PixelPoint& p) {
        if (p.y > bottom) return Below;
        if (p.y < top) return Above;
        if (p.x > right) return Right;
        if (p.x < left) return Left;
        return Inside;
    };
    if (!std::isfinite(from.x) || !std::isfinite(from.y) || !std::isfinite(to.x) || !std::isfinite(to.y)) {
        return std::nullopt;
    }
    ClippedSegment result;
    int fromCode = code(from);
    int toCode = code(to);
    for (int round = 0; round < kMaxClipRounds; ++round) {
        if (fromCode == Inside && toCode == Inside) {
            result.from = {static_cast<int>(from.x), static_cast<int>(from.y)};
            result.to = {static_cast<int>(to.x), static_cast<int>(to.y)};
            return result;
        }
        if (fromCode == toCode) return std::nullopt;
        const bool moveFrom = fromCode != Inside;
        PixelPoint& end = moveFrom ? from : to;
        const int endCode = moveFrom ? fromCode : toCode;
        const double dx = to.x - from.x;
        const double dy = to.y - from.y;
        PixelPoint moved;
        // A segment along the border line it would be moved onto lies wholly
        // outside.
        if ((endCode == Below || endCode == Above) ? dy == 0.0 : dx == 0.0) return std::nullopt;
        if (endCode == Below || endCode == Above) {
            double y = endCode == Below ? bottom : top;
            moved = {from.x + dx * (y - from.y) / dy, y};
        } else {
            double x = endCode == Right ? right : left;
            moved = {x, from.y + dy * (x - from.x) / dx};
        }
        end = moved;
        if (moveFrom) {
            result.fromClipped = true;
            fromCode = code(from);
        } else {
            result.toClipped = true;
            toCode = code(to);
        }
    }
    return std::nullopt;
}

TickStep GraphPlot::ChooseStep(double min, double max, int digits) {
    double r = max - min;
    int p = 0;
    // Bounded, so that no range can keep it turning.
    for (int guard = 0; guard < 2048 && (r < 0.1 || r > 1.0); ++guard) {
        if (r < 1.0) {
            r *= 10.0;
            --p;
        } else {
            r /= 10.0;
            ++p;
        }
    }
    const double f = r <= 0.375 ? 0.25 : r <= 0.625 ? 0.5 : r <= 0.875 ? 0.75 : 1.0;
    const bool quarter = f == 0.25 || f == 0.75;

    int d = p <= 1 ? 2 : p == 2 ? 1 : p <= digits + 3 ? 0 : 2;
    if (f == 1.0 && p >= 0) d = p <= 1 ? 1 - p : 0;

    if (p < 0 || p > digits + 3) return {f, p - 1, d};
    if (p == 0 && quarter) return {f, -1, 2};
    if (f == 0.5) {
        if (p == 1) d = 1;
        if (p > 1) d = 0;
    } else if (quarter) {
        d = p == 2 ? 1 : p > 2 ? 0 : 2;
    }
    // An integer power of ten: below 10^0 it is 0, so that p = 0 with f = 0.5
    // or 1 gives no step and the caller falls back to a fifth of the range.
    double whole = p >= 1 ? std::pow(10.0, p - 1) : 0.0;
    return {f * whole, 0, d};
}

void GraphPlot::NormalizeStep(TickStep& step) {
    for (int guard = 0; guard < 2048 && step.mantissa < 1.0; ++guard) {
        step.mantissa *= 10.0;
        --step.power;
    }
    step.mantissa = std::floor(step.mantissa);
    if (step.decimals > 0) {
        int t = std::min(step.decimals, std::abs(step.power));
        step.mantissa /= std::pow(10.0, t);
        step.power += t;
    }
}
