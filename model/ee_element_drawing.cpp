// Drawing the element base: the colour it is drawn in (selection, colour
// map, over a limit), its symbol, its labels and its selection handles.

#include "color_map.h"
#include "ee_element.h"
#include "element_key.h"
#include "power_system.h"

namespace {

// Loading colour maps hold their thresholds in percent; elements answer
// their loading as a fraction.
constexpr double kPercent = 100.0;
// Result labels of a network changed since its last solve.
constexpr ColorRef kStaleResultColor = Rgb(160, 160, 160);

}  // namespace

void EEElement::Draw(DrawingContext& dc) {
    drawnByColorMap_ = false;
    int mode = owner_ && IsNetworkElement() ? owner_->GetColorMapMode() : kNormalColors;
    if (mode != kNormalColors) drawnByColorMap_ = true;

    LogPen previousPen;
    LogBrush previousBrush;
    if (selected_ || mode != kNormalColors) {
        ColorRef color = kBlue;
        if (!selected_) {
            double value = mode == kNominalVoltageColors ? GetBaseVoltage()
                           : mode == kLoadingColors      ? GetLoadingIndex() * kPercent
                                                         : GetVoltageIndex();
            ColorMap* map = owner_->GetColorMap(mode);
            color = map ? map->GetColor(static_cast<float>(value), lineColor_) : lineColor_;
        }
        LogPen pen = pen_;
        pen.color = color;
        previousPen = dc.SelectPen(pen);
        // Buses are filled in their drawing colour; the others keep the
        // brush in force.
        LogBrush brush = brush_;
        if (category_ == Category::Bus) brush.color = color;
        previousBrush = category_ == Category::Bus ? dc.SelectBrush(brush) : dc.State().brush;
    } else {
        previousPen = dc.SelectPen(pen_);
        previousBrush = dc.SelectBrush(brush_);
    }
    if (!selected_ && IsOverLimit()) {
        LogPen pen = pen_;
        pen.color = kRed;
        dc.SelectPen(pen);
    }

    DrawSymbol(dc);
    const bool stale = owner_ && owner_->ResultsStale();
    for (int i = 0; i < GetLabelCount(); ++i) {
        if (!IsLabelShown(i)) continue;
        PrimitiveText& label = *labels_[static_cast<std::size_t>(i)];
        if (stale && ShowsResults(i)) {
            label.DrawInColor(dc, kStaleResultColor);
        } else {
            label.Draw(dc);
        }
    }

    dc.SelectPen(previousPen);
    dc.SelectBrush(previousBrush);
}

// Label 0 of buses, lines and transformers is the name; a load's label is
// the load scheduled; every other label of a network element shows what the
// last solve gave.
bool EEElement::ShowsResults(int label) const {
    if (!IsNetworkElement()) return false;
    switch (category_) {
        case Category::Bus:
        case Category::Line: return label > 0;
        case Category::Load: return false;
        default: return true;
    }
}

void EEElement::DrawSymbol(DrawingContext& dc) {
    dc.MoveTo(ends_[0]);
    dc.LineTo(ends_[1]);
}

void EEElement::DrawSelectionHandles(DrawingContext& dc) {
    for (Point corner : {Point{rect_.left, rect_.top}, Point{rect_.left, rect_.bottom}, Point{rect_.right, rect_.top},
                         Point{rect_.right, rect_.bottom}}) {
        dc.Rectangle({corner.x - 1, corner.y - 1, corner.x + 1, corner.y + 1});
    }
}

IElement* EEElement::FindNeighbourForDrawing(int key) {
    if (!owner_ || !IsAttachedKey(key)) return nullptr;
    IElement* neighbour = owner_->FindByKey(key);
    if (!neighbour) owner_->ReportMissingNeighbour(*this, key);
    return neighbour;
}

void EEElement::FillInPenColor(DrawingContext& dc, std::span<const Point> corners) {
    LogBrush previous = dc.SelectBrush(LogBrush{BrushStyle::Solid, dc.State().pen.color, 0});
    dc.Polygon(corners);
    dc.SelectBrush(previous);
}
