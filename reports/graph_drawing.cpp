// Drawing the plot: curves by graph type, the background and frame, the
// legend and the titles.

#include <algorithm>
#include <cmath>

#include "graph_plot.h"
#include "text_in_rect.h"

namespace {

constexpr int kCircleRadius = 3;

Point ToPoint(const PixelPoint& p) { return {static_cast<int>(p.x), static_cast<int>(p.y)}; }

}  // namespace

LogPen GraphPlot::CurvePen(const GraphCurve& curve) const {
    if (graphType_ == GraphType::Bar || graphType_ == GraphType::Categories) return {PenStyle::Solid, {0, 0}, kBlack};
    return {curve.penStyle, {curve.penWidth, 0}, curve.color};
}

void GraphPlot::DrawCircle(DrawingContext& dc, Point at) const {
    dc.Ellipse({at.x - kCircleRadius, at.y - kCircleRadius, at.x + kCircleRadius, at.y + kCircleRadius});
}

void GraphPlot::DrawCurve(const std::vector<float>& xs, const std::vector<float>& ys, DrawingContext& dc,
                          const GraphRange& range, bool circles) {
    const std::size_t n = std::min(xs.size(), ys.size());
    if (!(range.xmax - range.xmin != 0.0 && range.ymax - range.ymin != 0.0)) return;
    const int y0 = static_cast<int>(ToScreen(range, 0.0, 0.0, Clamp::Yes).y);
    const bool withPoints = graphType_ == GraphType::NormalWithPoints || circles;

    switch (graphType_) {
        case GraphType::Bar:
        case GraphType::Categories: {
            const ColorRef fill = curves_.empty() ? kBlack : curves_.front().color;
            Point previous;
            for (std::size_t i = 0; i < n; ++i) {
                Point p = ToPoint(ToScreen(range, xs[i], ys[i], Clamp::Yes));
                // A zero-width bar has nothing to fill.
                if (i > 0 && previous.y != y0 && previous.x != p.x) {
                    LogBrush brush = dc.SelectBrush({BrushStyle::Solid, fill, 0});
                    Rect bar{std::min(previous.x, p.x), std::min(y0, previous.y), std::max(previous.x, p.x),
                             std::max(y0, previous.y)};
                    dc.Rectangle(bar);
                    dc.SelectBrush(brush);
                }
                previous = p;
            }
            break;
        }
        case GraphType::Line:
        case GraphType::LineWithPoints:
            for (std::size_t i = 0; i < n; ++i) {
                Point p = ToPoint(ToScreen(range, xs[i], ys[i], Clamp::Yes));
                dc.MoveTo({p.x, y0});
                dc.LineTo(p);
                if (graphType_ == GraphType::LineWithPoints) DrawCircle(dc, p);
            }
            break;
        default: {
            PixelPoint previous;
            for (std::size_t i = 0; i < n; ++i) {
                PixelPoint p = ToScreen(range, xs[i], ys[i], Clamp::No);
                if (i > 0) {
                    if (auto segment = ClipSegment(previous, p)) {
                        dc.MoveTo(segment->from);
                        dc.LineTo(segment->to);
                        if (withPoints && i == 1 && !segment->fromClipped) DrawCircle(dc, segment->from);
                        if (withPoints && !segment->toClipped) DrawCircle(dc, segment->to);
                    }
                }
                previous = p;
            }
            break;
        }
    }
}

void GraphPlot::DrawFrame(DrawingContext& dc) const {
    LogPen previous = dc.SelectPen({PenStyle::Solid, {2, 0}, kBlack});
    dc.MoveTo({kLeft, kTop});
    dc.LineTo({right_ + 1, kTop});
    dc.LineTo({right_ + 1, bottom_ + 1});
    dc.LineTo({kLeft, bottom_ + 1});
    dc.LineTo({kLeft, kTop});
    dc.SelectPen(previous);
}

void GraphPlot::Render(DrawingContext& dc) {
    if (!redraw_) return;
    if (!loaded_) LoadData();
    if (!loaded_) return;

    LogPen previousPen = dc.SelectPen({PenStyle::Solid, {0, 0}, kBlack});
    LogBrush previousBrush = dc.SelectBrush({BrushStyle::Solid, backgroundColor_, 0});
    dc.Rectangle({0, 0, client_.cx, client_.cy});
    GraphRange range = GetRange();
    if (DrawAxes(range, dc)) {
        for (const GraphCurve& curve : curves_) {
            const std::vector<float>* xs = Column(curve.xColumn);
            const std::vector<float>* ys = Column(curve.yColumn);
            if (xs == nullptr || ys == nullptr) continue;
            LogPen pen = dc.SelectPen(CurvePen(curve));
            DrawCurve(*xs, *ys, dc, range, curve.showCircles);
            dc.SelectPen(pen);
        }
        DrawFrame(dc);
    }
    dc.SelectBrush(previousBrush);
    dc.SelectPen(previousPen);
}

void GraphPlot::DrawLegend(DrawingContext& dc) {
    if (graphType_ == GraphType::Categories) return;
    const int w = (kLeft + kRightMargin + right_ - kLegendColumns * 5 - 10) / kLegendColumns - 10;
    const int s = w / 6;
    const int h = legendRowHeight_;
    LogFont previousFont = dc.SelectFont(tickFont_);
    for (std::size_t i = 0; i < curves_.size(); ++i) {
        const GraphCurve& curve = curves_[i];
        const int row = static_cast<int>(i / kLegendColumns);
        const int x = 5 + static_cast<int>(i % kLegendColumns) * w;
        const int y = bottom_ + kBottomMargin + 10 + row * h;
        LogPen previousPen = dc.SelectPen(CurvePen(curve));
        dc.MoveTo({x, y});
        dc.LineTo({x + s, y});
        if (graphType_ == GraphType::Normal && curve.showCircles) {
            DrawCircle(dc, {x + s / 3, y});
            DrawCircle(dc, {x + 2 * s / 3, y});
        }
        dc.SelectPen(previousPen);
        const std::string& label = curve.legend.empty() ? curve.yName : curve.legend;
        DrawTextInRect(dc, {x + s + 2, y - h / 2, x + w - s, y + h / 2}, label, TextPlace::Start, TextPlace::Center);
    }
    dc.SelectFont(previousFont);
}

void GraphPlot::DrawTitles(DrawingContext& dc) {
    LogFont previous = dc.SelectFont(tickFont_);
    const int a = dc.GetTextExtent("12.5").cy;

    dc.SelectFont(xTitleFont_);
    DrawTextInRect(dc, {kLeft, bottom_ + a + 5, right_, bottom_ + kBottomMargin}, xAxisTitle_, TextPlace::Center,
                   TextPlace::Start);

    dc.SelectFont(yTitleFont_);
    Size extent = dc.GetTextExtent(yAxisTitle_);
    const int yBottom = std::min(kTop + bottom_ / 2 + extent.cx / 2, bottom_ + kTop / 2);
    DrawTextInRect(dc, {5, kTop, extent.cy + 6, yBottom}, yAxisTitle_, TextPlace::Start, TextPlace::End);

    dc.SelectFont(titleFont_);
    DrawTextInRect(dc, {kLeft, 2, right_, kTop - 2}, graphTitle_, TextPlace::Center, TextPlace::Center);
    dc.SelectFont(previous);
}
