// The axes: tick labels and grid lines, the category names of a category
// plot, and the powers of ten the tick labels leave out.

#include <cmath>
#include <cstdio>

#include "graph_plot.h"
#include "text_in_rect.h"

namespace {

// No axis ever needs more ticks; the cap ends the loops whatever the range.
constexpr int kMaxTicks = 1000;
constexpr ColorRef kGridColor = 0x808080;
constexpr std::int32_t kDotPen = 2;

std::string Label(double value, int decimals) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

// The index of the highest tick at or below `max`: a quotient a hair below
// a whole number counts as that number.
double HighestTick(double max, double step) {
    double n = max / step;
    double k = std::ceil(n) - n <= 0.01 ? std::ceil(n) : n;
    return std::trunc(k);
}

LogPen GridPen() { return {kDotPen, {0, 0}, kGridColor}; }

}  // namespace

bool GraphPlot::DrawAxes(const GraphRange& range, DrawingContext& dc) {
    const double xExtent = range.xmax - range.xmin;
    const double yExtent = range.ymax - range.ymin;
    if (!(std::isfinite(xExtent) && xExtent > 0.0 && std::isfinite(yExtent) && yExtent > 0.0)) return false;

    LogFont previousFont = dc.SelectFont(tickFont_);
    TickStep xStep = ChooseStep(range.xmin, range.xmax, 1);
    TickStep yStep = ChooseStep(range.ymin, range.ymax, 0);
    if (xStep.mantissa <= 0.0) {
        xStep.mantissa = xExtent / 5.0;
        NormalizeStep(xStep);
    }
    if (yStep.mantissa <= 0.0) {
        yStep.mantissa = yExtent / 5.0;
        NormalizeStep(yStep);
    }
    if (graphType_ == GraphType::Categories) {
        DrawCategoryNames(range, dc);
    } else {
        DrawTicks(range, xStep, Axis::X, dc);
    }
    DrawTicks(range, yStep, Axis::Y, dc);
    DrawExponents(xStep, yStep, dc);
    dc.SelectFont(previousFont);
    return true;
}

void GraphPlot::DrawTicks(const GraphRange& range, const TickStep& step, Axis axis, DrawingContext& dc) {
    const bool horizontal = axis == Axis::X;
    const double min = horizontal ? range.xmin : range.ymin;
    const double max = horizontal ? range.xmax : range.ymax;
    const double stepValue = std::pow(10.0, step.power) * step.mantissa;
    if (!(stepValue > 0.0 && std::isfinite(stepValue))) return;
    dc.SetTextAlign(horizontal ? TextAlign::Center | TextAlign::Top : TextAlign::Right | TextAlign::Baseline);
    double k = HighestTick(max, stepValue);
    for (int tick = 0; tick < kMaxTicks && min <= k * stepValue; ++tick, k -= 1.0) {
        const double value = k * stepValue;
        const PixelPoint p = ToScreen(range, horizontal ? value : 0.0, horizontal ? 0.0 : value, Clamp::Yes);
        const int x = static_cast<int>(p.x);
        const int y = static_cast<int>(p.y);
        // The X ticks carry the vertical grid lines, the Y ticks the
        // horizontal ones.
        if (horizontal ? verticalGrid_ : horizontalGrid_) {
            LogPen previous = dc.SelectPen(GridPen());
            dc.MoveTo(horizontal ? Point{x, kTop} : Point{kLeft, y});
            dc.LineTo(horizontal ? Point{x, bottom_} : Point{right_, y});
            dc.SelectPen(previous);
        }
        dc.TextOut(horizontal ? Point{x, bottom_ + 5} : Point{kLeft - 5, y + 5}, Label(k * step.mantissa, step.decimals));
    }
}

void GraphPlot::DrawCategoryNames(const GraphRange& range, DrawingContext& dc) {
    const double xscale = (right_ - kLeft) / (range.xmax - range.xmin);
    const double x0 = ToScreen(range, 0.0, 0.0, Clamp::Yes).x;
    LogFont previous = dc.SelectFont(categoryFont_);
    dc.SetTextAlign(TextAlign::Right | TextAlign::Top);
    for (std::size_t i = 0; i < categories_.size(); ++i) {
        Size extent = dc.GetTextExtent(categories_[i]);
        Rect box;
        box.left = static_cast<int>(std::clamp(x0 + static_cast<double>(i) * xscale + xscale / 3.0, -1e9, 1e9));
        box.top = bottom_ + 5;
        box.right = box.left + extent.cy;
        box.bottom = bottom_ + extent.cx + 5;
        DrawTextInRect(dc, box, categories_[i], TextPlace::Start, TextPlace::Start);
    }
    dc.SelectFont(previous);
}

void GraphPlot::DrawExponents(const TickStep& xStep, const TickStep& yStep, DrawingContext& dc) {
    if (yStep.power != 0) {
        dc.SetTextAlign(TextAlign::Right | TextAlign::Baseline);
        dc.TextOut({kLeft - 5, kTop - 10}, "x10");
        LogFont previous = dc.SelectFont(exponentFont_);
        dc.SetTextAlign(TextAlign::Left | TextAlign::Baseline);
        dc.TextOut({kLeft - 5, kTop - 20}, std::to_string(yStep.power));
        dc.SelectFont(previous);
    }
    if (xStep.power != 0) {
        dc.SetTextAlign(TextAlign::Left | TextAlign::Top);
        dc.TextOut({right_ - 20, bottom_ + 25}, "x10");
        LogFont previous = dc.SelectFont(exponentFont_);
        dc.SetTextAlign(TextAlign::Left | TextAlign::Baseline);
        dc.TextOut({right_, bottom_ + 28}, std::to_string(xStep.power));
        dc.SelectFont(previous);
    }
}
