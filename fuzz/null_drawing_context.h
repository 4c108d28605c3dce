#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "drawing_context.h"

// Draws nothing; text is as wide as it is long.
class NullDrawingContext final : public DrawingContext {
protected:
    void DrawLine(Point, Point) override {}
    void DrawPolyline(std::span<const Point>) override {}
    void DrawPolygon(std::span<const Point>) override {}
    void DrawRectangle(const Rect&) override {}
    void DrawEllipse(const Rect&) override {}
    void DrawArc(const Rect&, const ArcSpan&) override {}
    void DrawText(Point, std::string_view) override {}
    Size MeasureText(std::string_view text) override { return {static_cast<int>(text.size()), 12}; }
    void DrawPicture(std::span<const std::uint8_t>, const Rect&) override {}
};
