#include "drawing_context.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace {

// Direction of the ray from the centre through p, in degrees within
// [0, 360); screen y grows downwards, so it is negated.
double RayDegrees(double cx, double cy, Point p) {
    double degrees = std::atan2(cy - p.y, p.x - cx) * 180.0 / std::numbers::pi;
    return degrees < 0.0 ? degrees + 360.0 : degrees;
}

}  // namespace

ArcSpan ArcSpanOf(const Rect& box, Point start, Point end) {
    double cx = (box.left + box.right) / 2.0;
    double cy = (box.top + box.bottom) / 2.0;
    ArcSpan span{start, end, RayDegrees(cx, cy, start), 0.0};
    double sweep = RayDegrees(cx, cy, end) - span.startDegrees;
    if (sweep <= 0.0) sweep += 360.0;
    span.sweepDegrees = sweep;
    return span;
}

LogPen DrawingContext::SelectPen(const LogPen& pen) { return std::exchange(state_.pen, pen); }

LogBrush DrawingContext::SelectBrush(const LogBrush& brush) {
    return std::exchange(state_.brush, brush);
}

LogFont DrawingContext::SelectFont(const LogFont& font) { return std::exchange(state_.font, font); }

ColorRef DrawingContext::SetTextColor(ColorRef color) {
    return std::exchange(state_.textColor, color);
}

unsigned DrawingContext::SetTextAlign(unsigned align) {
    return std::exchange(state_.textAlign, align);
}

BackgroundMode DrawingContext::SetBackgroundMode(BackgroundMode mode) {
    return std::exchange(state_.backgroundMode, mode);
}

std::optional<Rect> DrawingContext::SetClipRect(std::optional<Rect> clip) {
    return std::exchange(state_.clip, clip);
}

Point DrawingContext::MoveTo(Point p) { return std::exchange(state_.position, p); }

void DrawingContext::LineTo(Point p) {
    DrawLine(state_.position, p);
    state_.position = p;
}

void DrawingContext::Polyline(std::span<const Point> points) { DrawPolyline(points); }

void DrawingContext::Polygon(std::span<const Point> points) { DrawPolygon(points); }

void DrawingContext::Rectangle(const Rect& r) { DrawRectangle(r); }

void DrawingContext::Ellipse(const Rect& box) { DrawEllipse(box); }

void DrawingContext::Arc(const Rect& box, Point start, Point end) {
    DrawArc(box, ArcSpanOf(box, start, end));
}

void DrawingContext::TextOut(Point at, std::string_view text) { DrawText(at, text); }

Size DrawingContext::GetTextExtent(std::string_view text) { return MeasureText(text); }

void DrawingContext::PlayPicture(std::span<const std::uint8_t> metafile, const Rect& where) {
    DrawPicture(metafile, where);
}
