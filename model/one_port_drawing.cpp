// The symbols of the one-port kinds. Each starts with the connection line
// from the bus (end 0) to end 1 and, when selected, marks both ends.

#include "generator.h"
#include "load.h"
#include "power_system.h"
#include "shunt.h"
#include "variable_bank.h"

namespace {

// Half the width of the earth's middle and lowest bars, and the spacing of
// the bars below the body.
constexpr int kEarthMiddleHalf = 6;
constexpr int kEarthLowestHalf = 3;
constexpr int kEarthStep = 3;

void Line(DrawingContext& dc, Point from, Point to) {
    dc.MoveTo(from);
    dc.LineTo(to);
}

}  // namespace

// --- Generators ---

void Generator::DrawSymbol(DrawingContext& dc) {
    const Point e = ends_[1];
    constexpr int kStub = 6;
    Line(dc, ends_[0], e);
    if (orientation_) dc.LineTo({facesLeft_ ? e.x - kStub : e.x + kStub, e.y});
    else dc.LineTo({e.x, e.y + kStub});
    DrawEndMarks(dc);
    ColorRef previous = dc.SetTextColor(selected_ ? kBlue : lineColor_);
    DrawLetter(dc);
    dc.SetTextColor(previous);
}

void Generator::DrawCentredText(DrawingContext& dc, const char* letters) {
    unsigned previousAlign = dc.SetTextAlign(TextAlign::Center | TextAlign::Top);
    LogFont previousFont = dc.SelectFont(owner_ ? owner_->GetFont() : LogFont{});
    Size extent = dc.GetTextExtent(letters);
    dc.TextOut({(rect_.left + rect_.right) / 2, (rect_.top + rect_.bottom - extent.cy) / 2}, letters);
    dc.SelectFont(previousFont);
    dc.SetTextAlign(previousAlign);
}

void Generator::DrawLetter(DrawingContext& dc) {
    // An arc from a point back to itself is the whole circle.
    Point start{rect_.right, (rect_.top + rect_.bottom) / 2};
    dc.Arc(rect_, start, start);
    DrawCentredText(dc, "G");
}

void SyncCompensator::DrawLetter(DrawingContext& dc) {
    Point start{rect_.right, (rect_.top + rect_.bottom) / 2};
    dc.Arc(rect_, start, start);
    DrawCentredText(dc, "SC");
}

void VarCompensator::DrawLetter(DrawingContext& dc) {
    const Rect& r = rect_;
    const Point outline[] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
    dc.Polyline(outline);
    DrawCentredText(dc, "SVC");
}

// --- Load ---

void Load::DrawSymbol(DrawingContext& dc) {
    Line(dc, ends_[0], ends_[1]);
    dc.LineTo({arrow_[0].x, ends_[1].y});
    FillInPenColor(dc, arrow_);
    DrawEndMarks(dc);
}

// --- Shunts ---

void Shunt::DrawEarth(DrawingContext& dc, int halfWidth, bool withStem) {
    const int x = ends_[1].x;
    const int bottom = rect_.bottom;
    if (withStem) Line(dc, {x, bottom}, {x, bottom + kEarthStep});
    Line(dc, {x - halfWidth, bottom + kEarthStep}, {x + halfWidth, bottom + kEarthStep});
    Line(dc, {x - kEarthLowestHalf, bottom + 2 * kEarthStep}, {x + kEarthLowestHalf, bottom + 2 * kEarthStep});
}

void Shunt::DrawSymbol(DrawingContext& dc) {
    const Rect& r = rect_;
    Line(dc, ends_[0], ends_[1]);
    dc.LineTo({ends_[1].x, ends_[1].y + 7});
    const Point outline[] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
    dc.Polyline(outline);
    DrawEarth(dc, kEarthMiddleHalf + 1, true);
    DrawEndMarks(dc);
}

void Shunt::DrawCapacitorSymbol(DrawingContext& dc) {
    const Point e = ends_[1];
    Line(dc, ends_[0], e);
    dc.LineTo({e.x, e.y + 20});
    Line(dc, {e.x - 6, e.y + 20}, {e.x + 6, e.y + 20});
    Line(dc, {e.x - 6, e.y + 24}, {e.x + 6, e.y + 24});
    Line(dc, {e.x, e.y + 24}, {e.x, rect_.bottom});
    DrawEarth(dc, kEarthMiddleHalf, true);
    DrawEndMarks(dc);
}

void Shunt::DrawReactorSymbol(DrawingContext& dc) {
    const Point e = ends_[1];
    Line(dc, ends_[0], e);
    dc.LineTo({e.x, e.y + 6});
    // Three turns, each a half ellipse from the bottom of its box to the top.
    for (int y : {e.y + 12, e.y + 18, e.y + 24}) dc.Arc({e.x - 6, y - 6, e.x + 6, y}, {e.x, y}, {e.x, y - 6});
    Line(dc, {e.x, e.y + 24}, {e.x, rect_.bottom + kEarthStep});
    DrawEarth(dc, kEarthMiddleHalf, false);
    DrawEndMarks(dc);
}

void Capacitor::DrawSymbol(DrawingContext& dc) { DrawCapacitorSymbol(dc); }

void Reactor::DrawSymbol(DrawingContext& dc) { DrawReactorSymbol(dc); }

// --- Banks ---

void VariableBank::DrawArrow(DrawingContext& dc) {
    const int cx = (rect_.left + rect_.right) / 2;
    const int cy = (rect_.top + rect_.bottom) / 2;
    Line(dc, {cx - 7, cy + 7}, {cx + 7, cy - 7});
    const Point head[] = {{cx + 5, cy - 7}, {cx + 9, cy - 9}, {cx + 7, cy - 5}};
    FillInPenColor(dc, head);
}

void VariableBank::DrawSymbol(DrawingContext& dc) {
    DrawCapacitorSymbol(dc);
    DrawArrow(dc);
}

void VariableReactorBank::DrawSymbol(DrawingContext& dc) {
    DrawReactorSymbol(dc);
    DrawArrow(dc);
}
