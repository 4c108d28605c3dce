#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "drawing_context.h"
#include "geometry.h"
#include "text_measurer.h"

// A picture kept as the drawing calls that made it, each with what was in
// force for it, over a frame of its own logical units from (0, 0) to the
// frame's size. It owns everything it holds, so it outlives whatever drew it,
// and any drawing context can play it back at any size.
class RecordedPicture {
public:
    enum class Op { Line, Polyline, Polygon, Rectangle, Ellipse, Arc, Text, Picture };

    struct Call {
        Op op = Op::Line;
        std::vector<Point> points;  // line: from, to; polyline, polygon: all; arc: start, end; text: where
        Rect rect;                  // rectangle, ellipse, arc box, picture frame
        std::string text;
        std::vector<std::uint8_t> bytes;  // a stored picture played inside this one
        DrawingState state;
    };

    explicit RecordedPicture(Size frame) : frame_(frame) {}

    Size Frame() const { return frame_; }
    const std::vector<Call>& Calls() const { return calls_; }

    // Draws the calls on `dc` with the frame stretched onto `where`:
    // coordinates, font sizes and pen widths scale with it, and nothing shows
    // outside `where`. What was in force on `dc` is in force again afterwards.
    // A picture with an empty frame draws nothing.
    void Play(DrawingContext& dc, const Rect& where) const;

private:
    friend class PictureRecorder;

    Size frame_;
    std::vector<Call> calls_;
};

// The drawing context that records a picture. Text is measured as the
// measurer's surface would draw it, so that what is laid out while recording
// fits when the picture is played there.
class PictureRecorder final : public DrawingContext {
public:
    // The measurer is borrowed for the recorder's life.
    PictureRecorder(ITextMeasurer& measurer, Size frame) : measurer_(measurer), picture_(frame) {}

    // Hands over what was recorded; the recorder starts an empty picture on
    // the same frame.
    RecordedPicture Finish();

protected:
    void DrawLine(Point from, Point to) override;
    void DrawPolyline(std::span<const Point> points) override;
    void DrawPolygon(std::span<const Point> points) override;
    void DrawRectangle(const Rect& r) override;
    void DrawEllipse(const Rect& box) override;
    void DrawArc(const Rect& box, const ArcSpan& span) override;
    void DrawText(Point at, std::string_view text) override;
    Size MeasureText(std::string_view text) override;
    void DrawPicture(std::span<const std::uint8_t> metafile, const Rect& where) override;

private:
    RecordedPicture::Call& Add(RecordedPicture::Op op);

    ITextMeasurer& measurer_;
    RecordedPicture picture_;
};
