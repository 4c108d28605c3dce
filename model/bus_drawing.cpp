// Drawing the bus kinds: the bar, the node and the equivalent's square, each
// with the stubs to the elements attached to it.

#include "bus.h"
#include "connection_node.h"
#include "network_equivalent.h"
#include "power_system.h"

namespace {

// The marker of a selected bar's end, and of an attachment point: 4 by 4.
Rect SquareAround(Point p) { return {p.x - 2, p.y - 2, p.x + 2, p.y + 2}; }

constexpr int kStubCircleRadius = 4;

// Open switches still show a closed circle: they stay part of the bus.
bool DrawnClosed(IElement& element) {
    int type = element.GetElementType();
    return element.IsOn() || type == ElementType::Disconnector || type == ElementType::CircuitBreaker ||
           type == ElementType::Fuse;
}

LogBrush BackgroundBrush(const PowerSystem* owner) {
    return LogBrush{BrushStyle::Solid, owner ? owner->GetBackgroundColor() : kWhite, 0};
}

void DrawWhiteMarks(DrawingContext& dc, std::initializer_list<Point> at) {
    LogBrush previous = dc.SelectBrush(LogBrush{BrushStyle::Solid, kWhite, 0});
    for (Point p : at) dc.Rectangle(SquareAround(p));
    dc.SelectBrush(previous);
}

}  // namespace

void Bus::DrawSymbol(DrawingContext& dc) {
    dc.Rectangle(rect_);
    DrawStubs(dc);
}

void Bus::DrawStubs(DrawingContext& dc) {
    const int cx = (rect_.left + rect_.right) / 2;
    const int cy = (rect_.top + rect_.bottom) / 2;
    for (int key : std::vector<int>(keys_)) {
        IElement* element = FindNeighbourForDrawing(key);
        if (!element) continue;
        Point at = element->GetConnectionPoint(key_);
        dc.MoveTo(vertical_ ? Point{cx, at.y} : Point{at.x, cy});
        dc.LineTo(at);
        LogBrush previous = dc.State().brush;
        if (!DrawnClosed(*element)) dc.SelectBrush(BackgroundBrush(owner_));
        dc.Ellipse({at.x - kStubCircleRadius, at.y - kStubCircleRadius, at.x + kStubCircleRadius,
                    at.y + kStubCircleRadius});
        dc.SelectBrush(previous);
    }
    if (selected_) DrawWhiteMarks(dc, {BarStart(), BarEnd()});
}

void ConnectionNode::DrawSymbol(DrawingContext& dc) { dc.Ellipse(rect_); }

void NetworkEquivalent::DrawSymbol(DrawingContext& dc) {
    const Rect& r = rect_;
    const int cx = (r.left + r.right) / 2;
    const int cy = (r.top + r.bottom) / 2;
    const Point outline[] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
    dc.Polyline(outline);
    for (auto [from, to] : {std::pair{Point{cx, r.top}, Point{r.left, cy}}, std::pair{Point{r.right, r.top}, Point{r.left, r.bottom}},
                            std::pair{Point{r.right, cy}, Point{cx, r.bottom}}}) {
        dc.MoveTo(from);
        dc.LineTo(to);
    }
    for (int key : std::vector<int>(keys_)) {
        IElement* element = FindNeighbourForDrawing(key);
        if (!element) continue;
        Point at = element->GetConnectionPoint(key_);
        Point from;
        if (at.x >= r.left && at.x <= r.right) from = {at.x, at.y > r.top ? r.bottom : r.top};
        else from = {at.x < r.left ? r.left : r.right, at.y};
        dc.MoveTo(from);
        dc.LineTo(at);
        Rect mark = SquareAround(at);
        if (element->IsOn()) {
            dc.Rectangle(mark);
        } else {
            mark.Inflate(1, 1);
            LogBrush previous = dc.SelectBrush(BackgroundBrush(owner_));
            dc.Rectangle(mark);
            dc.SelectBrush(previous);
        }
    }
    if (selected_) DrawWhiteMarks(dc, {Point{cx, r.top}, Point{cx, r.bottom}});
}
