#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "drawing_context.h"
#include "fixed_metric_measurer.h"

// A drawing context that draws nothing and keeps every drawing call with
// what was in force for it. Text is measured with fixed metrics.
class RecordingDrawingContext final : public DrawingContext {
public:
    enum class Op { Line, Polyline, Polygon, Rectangle, Ellipse, Arc, Text, Picture };

    struct Call {
        Op op = Op::Line;
        std::vector<Point> points;  // line: from, to; polyline, polygon: all; arc: start, end
        Rect rect;                  // rectangle, ellipse, arc box, picture frame
        ArcSpan arc;
        std::string text;
        std::vector<std::uint8_t> picture;
        DrawingState state;  // pen, brush, font, colours, alignment in force
    };

    std::vector<Call> calls;

    // The calls of one kind, in order.
    std::vector<Call> Of(Op op) const {
        std::vector<Call> found;
        for (const auto& call : calls) {
            if (call.op == op) found.push_back(call);
        }
        return found;
    }

protected:
    void DrawLine(Point from, Point to) override { Add(Op::Line).points = {from, to}; }
    void DrawPolyline(std::span<const Point> points) override {
        Add(Op::Polyline).points.assign(points.begin(), points.end());
    }
    void DrawPolygon(std::span<const Point> points) override {
        Add(Op::Polygon).points.assign(points.begin(), points.end());
    }
    void DrawRectangle(const Rect& r) override { Add(Op::Rectangle).rect = r; }
    void DrawEllipse(const Rect& box) override { Add(Op::Ellipse).rect = box; }
    void DrawArc(const Rect& box, const ArcSpan& span) override {
        Call& call = Add(Op::Arc);
        call.points = {span.start, span.end};
        call.rect = box;
        call.arc = span;
    }
    void DrawText(Point at, std::string_view text) override {
        Call& call = Add(Op::Text);
        call.points = {at};
        call.text = text;
    }
    Size MeasureText(std::string_view text) override {
        return FixedMetricMeasurer::Extent(State().font, text);
    }
    void DrawPicture(std::span<const std::uint8_t> metafile, const Rect& where) override {
        Call& call = Add(Op::Picture);
        call.rect = where;
        call.picture.assign(metafile.begin(), metafile.end());
    }

private:
    Call& Add(Op op) {
        Call& call = calls.emplace_back();
        call.op = op;
        call.state = State();
        return call;
    }
};
