// Drawing a transformer: its path broken by two winding circles, the
// regulating kind's arrow across them, and the to winding's voltage colour.

#include <cmath>

#include "color_map.h"
#include "model_interface.h"
#include "power_system.h"
#include "transformer.h"

namespace {

constexpr int kCircleRadius = 10;
// The regulation arrow: half its length across the symbol, and its head.
constexpr double kArrowHalfLength = 13.0;
constexpr double kHeadSize = 3.0;

Rect CircleAround(Point c) { return {c.x - kCircleRadius, c.y - kCircleRadius, c.x + kCircleRadius, c.y + kCircleRadius}; }

}  // namespace

std::optional<LogPen> Transformer::WindingPen() {
    if (!owner_ || owner_->GetColorMapMode() != kNominalVoltageColors || !on_) return std::nullopt;
    std::vector<IElement*> connected;
    GetConnectedElements(connected);
    ColorMap* map = owner_->GetColorMap(kNominalVoltageColors);
    if (connected.size() != 2 || !map) return std::nullopt;
    LogPen pen = pen_;
    pen.color = map->GetColor(static_cast<float>(connected[1]->GetBaseVoltage()), lineColor_);
    return pen;
}

void Transformer::DrawSymbol(DrawingContext& dc) {
    const std::optional<Symbol> symbol = PlaceSymbol();
    if (!symbol) {
        path_.Draw(dc, selected_);
        return;
    }
    circleCentres_[0] = symbol->centres[0];
    circleCentres_[1] = symbol->centres[1];
    dc.MoveTo(path_.GetNode(0));
    dc.LineTo(symbol->lineEnd);
    dc.Ellipse(CircleAround(symbol->centres[0]));
    std::optional<LogPen> previous;
    if (std::optional<LogPen> winding = WindingPen()) previous = dc.SelectPen(*winding);
    dc.Ellipse(CircleAround(symbol->centres[1]));
    dc.MoveTo(symbol->resume);
    for (int i = 1; i < path_.GetPointCount(); ++i) dc.LineTo(path_.GetNode(i));
    if (GetBranchKind() == BranchData::kRegulatingTransformer) DrawRegulationArrow(dc);
    if (previous) dc.SelectPen(*previous);
}

void Transformer::DrawRegulationArrow(DrawingContext& dc) const {
    const Point p0 = path_.GetNode(0);
    const Point p1 = path_.GetNode(1);
    const double dx = static_cast<double>(p1.x) - p0.x;
    const double dy = static_cast<double>(p1.y) - p0.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    const double a = std::fabs(dx) / length;
    const double s = dx > 0.0 ? -dy / length : dy / length;
    const Point mc{(circleCentres_[0].x + circleCentres_[1].x) / 2, (circleCentres_[0].y + circleCentres_[1].y) / 2};
    // Coordinates are truncated toward zero.
    auto at = [](double x, double y) { return Point{static_cast<int>(x), static_cast<int>(y)}; };
    const Point tail = at(mc.x + kArrowHalfLength * (s - a), mc.y + kArrowHalfLength * (s + a));
    const Point tip = at(mc.x + kArrowHalfLength * (a - s), mc.y - kArrowHalfLength * (s + a));
    dc.MoveTo(tail);
    dc.LineTo(tip);
    const Point head[] = {at(tip.x - kHeadSize * a, tip.y + kHeadSize * s), tip,
                          at(tip.x + kHeadSize * s, tip.y + kHeadSize * a)};
    FillInPenColor(dc, head);
}
