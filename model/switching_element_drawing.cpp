// Drawing the switching elements: the path with the kind's symbol in the
// middle of its first segment (or its second, when the path bends there),
// showing the state and the direction of the flow.

#include <cmath>

#include "switching_element.h"

namespace SD = SwitchData;

namespace {

// A bent path carries a switch's symbol on its second segment only when
// that one is longer than this (squared).
constexpr int kSecondSegmentRoom = 100;
// The connector's symbol needs no room; the switches' at least 5 units.
constexpr double kConnectorMinimum = 0.0;
constexpr double kSwitchMinimum = 5.0;

void Line(DrawingContext& dc, Point a, Point b) {
    dc.MoveTo(a);
    dc.LineTo(b);
}

// A polyline through the placed points of the given indexes.
void Through(DrawingContext& dc, const std::vector<Point>& points, std::span<const int> indexes) {
    std::vector<Point> line;
    for (int i : indexes) line.push_back(points[static_cast<std::size_t>(i)]);
    dc.Polyline(line);
}

// A contact: a small square around the point.
void Contact(DrawingContext& dc, Point c) { dc.Rectangle({c.x - 1, c.y - 1, c.x + 1, c.y + 1}); }

}  // namespace

bool Connector::PlaceSymbolPoints(Point a, Point b, std::span<const SymbolOffset> table, double minimumLength,
                                  std::vector<Point>& out) {
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    const double d = std::sqrt(dx * dx + dy * dy);
    // A segment of no length has no direction to place a symbol along.
    if (d < minimumLength || d == 0.0) return false;
    const double ux = dx / d, uy = dy / d;
    const double nx = -uy, ny = ux;
    const double mx = (static_cast<double>(a.x) + b.x) / 2.0;
    const double my = (static_cast<double>(a.y) + b.y) / 2.0;
    out.clear();
    for (const SymbolOffset& p : table) {
        out.push_back({static_cast<int>(mx + p.along * ux + p.across * nx + 0.4),
                       static_cast<int>(my + p.along * uy + p.across * ny + 0.4)});
    }
    return true;
}

bool Connector::DrawWithSymbol(DrawingContext& dc, std::span<const SymbolOffset> table, double minimumLength,
                               bool secondSegmentNeedsRoom) {
    const int count = path_.GetPointCount();
    if (count < 2) return false;
    int first = 0;
    if (count >= 3 && (!secondSegmentNeedsRoom || path_.GetSegmentLengthSquared(1) > kSecondSegmentRoom)) {
        Line(dc, path_.GetNode(0), path_.GetNode(1));
        first = 1;
    }
    const Point a = path_.GetNode(first);
    const Point b = path_.GetNode(first + 1);
    std::vector<Point> points;
    const bool placed = PlaceSymbolPoints(a, b, table, minimumLength, points);
    if (placed) DrawContacts(dc, a, b, points);
    else Line(dc, a, b);
    for (int i = first + 2; i < count; ++i) Line(dc, path_.GetNode(i - 1), path_.GetNode(i));
    return placed;
}

void Connector::DrawTerminals(DrawingContext& dc, Point a, Point b, Point c1, Point c2) {
    Contact(dc, c1);
    Contact(dc, c2);
    Line(dc, a, c1);
    Line(dc, c2, b);
}

void Connector::DrawSwitchArrow(DrawingContext& dc, const std::vector<Point>& points, std::span<const int> toEnd1,
                                std::span<const int> toEnd0) const {
    const double p = data_[SD::kP];
    if (p > 0.0) Through(dc, points, toEnd1);
    else if (p < 0.0) Through(dc, points, toEnd0);
}

// --- Connector: a triangle pointing along the flow ---

void Connector::DrawSymbol(DrawingContext& dc) {
    static constexpr SymbolOffset kPoints[] = {{0, 0}, {0, -4}, {9, 0}, {0, 4}, {9, -4}, {9, 4}};
    if (data_[SD::kP] == 0.0 && data_[SD::kQ] == 0.0) {
        path_.Draw(dc, selected_);
        return;
    }
    if (DrawWithSymbol(dc, kPoints, kConnectorMinimum, false) && selected_) path_.DrawNodeMarks(dc);
}

void Connector::DrawContacts(DrawingContext& dc, Point a, Point b, const std::vector<Point>& points) {
    static constexpr int kTowardEnd1[] = {1, 2, 3, 1};
    static constexpr int kTowardEnd0[] = {0, 4, 5, 0};
    Line(dc, a, points[0]);
    if (data_[SD::kP] > 0.0) Through(dc, points, kTowardEnd1);
    else Through(dc, points, kTowardEnd0);
    Line(dc, points[2], b);
}

// --- Disconnector: a blade between two contacts ---

void Disconnector::DrawSymbol(DrawingContext& dc) {
    static constexpr SymbolOffset kPoints[] = {{-10, 0}, {11, -7}, {10, 0}, {-10, 11}, {-5, 8}, {-5, 14},
                                               {-5, 11}, {5, 11},  {5, 14}, {10, 11},  {5, 8}};
    DrawWithSymbol(dc, kPoints, kSwitchMinimum, true);
    if (selected_) path_.DrawNodeMarks(dc);
}

void Disconnector::DrawContacts(DrawingContext& dc, Point a, Point b, const std::vector<Point>& points) {
    static constexpr int kTowardEnd1[] = {3, 7, 8, 9, 10, 7};
    static constexpr int kTowardEnd0[] = {9, 6, 5, 3, 4, 6};
    const Point c1 = points[0], c2 = points[2];
    DrawTerminals(dc, a, b, c1, c2);
    Line(dc, c1, on_ ? c2 : points[1]);
    DrawSwitchArrow(dc, points, kTowardEnd1, kTowardEnd0);
}

// --- Circuit breaker: a box with a blade between two contacts ---

void CircuitBreaker::DrawSymbol(DrawingContext& dc) {
    static constexpr SymbolOffset kPoints[] = {{-7, 0},  {-12, -7}, {-12, 7}, {12, 7}, {12, -7},
                                               {8, -5},  {7, 0},    {-10, 14}, {-5, 11}, {-5, 17},
                                               {-5, 14}, {5, 14},   {5, 17},  {10, 14}, {5, 11}};
    DrawWithSymbol(dc, kPoints, kSwitchMinimum, true);
    if (selected_) path_.DrawNodeMarks(dc);
}

void CircuitBreaker::DrawContacts(DrawingContext& dc, Point a, Point b, const std::vector<Point>& points) {
    static constexpr int kBox[] = {1, 2, 3, 4, 1};
    static constexpr int kTowardEnd1[] = {7, 11, 12, 13, 14, 11};
    static constexpr int kTowardEnd0[] = {13, 10, 9, 7, 8, 10};
    const Point c1 = points[0], c2 = points[6];
    DrawTerminals(dc, a, b, c1, c2);
    Through(dc, points, kBox);
    Line(dc, c1, on_ ? c2 : points[5]);
    DrawSwitchArrow(dc, points, kTowardEnd1, kTowardEnd0);
}

// --- Fuse: a box with a wire that an open (blown) fuse lacks ---

void Fuse::DrawSymbol(DrawingContext& dc) {
    static constexpr SymbolOffset kPoints[] = {{-6, 0},  {-10, -6}, {-10, 6}, {10, 6},  {10, -6}, {-3, -4},
                                               {3, 4},   {6, 0},    {-10, 13}, {-5, 10}, {-5, 16}, {-5, 13},
                                               {5, 13},  {5, 16},   {10, 13}, {5, 10}};
    DrawWithSymbol(dc, kPoints, kSwitchMinimum, true);
    if (selected_) path_.DrawNodeMarks(dc);
}

void Fuse::DrawContacts(DrawingContext& dc, Point a, Point b, const std::vector<Point>& points) {
    static constexpr int kBox[] = {1, 2, 3, 4, 1};
    static constexpr int kWire[] = {0, 5, 6, 7};
    static constexpr int kTowardEnd1[] = {8, 12, 13, 14, 15, 12};
    static constexpr int kTowardEnd0[] = {14, 11, 10, 8, 9, 11};
    DrawTerminals(dc, a, b, points[0], points[7]);
    Through(dc, points, kBox);
    if (on_) Through(dc, points, kWire);
    DrawSwitchArrow(dc, points, kTowardEnd1, kTowardEnd0);
}
