#include "recorded_picture.h"

#include <cmath>
#include <cstdint>
#include <utility>

namespace {

// Maps the picture's frame onto the rectangle it is played into, rounding
// to the nearest unit.
class FrameMapping {
public:
    FrameMapping(Size frame, const Rect& where) : frame_(frame), where_(where) {}

    Point Map(Point p) const { return {where_.left + ScaleX(p.x), where_.top + ScaleY(p.y)}; }
    Rect Map(const Rect& r) const {
        Point topLeft = Map(Point{r.left, r.top});
        Point bottomRight = Map(Point{r.right, r.bottom});
        return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    }
    int ScaleX(int length) const { return Scale(length, where_.Width(), frame_.cx); }
    int ScaleY(int length) const { return Scale(length, where_.Height(), frame_.cy); }

    // A font or pen size that was not 0 stays at least one unit, so that a
    // picture played small never switches to the platform's default size.
    static int KeepNonZero(int original, int scaled) {
        if (original == 0 || scaled != 0) return scaled;
        return original < 0 ? -1 : 1;
    }

private:
    static int Scale(int length, int to, int from) {
        return static_cast<int>(std::llround(static_cast<double>(length) * to / from));
    }

    Size frame_;
    Rect where_;
};

// What was in force for a call, sized for where the picture is played.
void SelectScaled(DrawingContext& dc, const DrawingState& state, const FrameMapping& mapping,
                  const Rect& clip) {
    LogPen pen = state.pen;
    pen.width.x = FrameMapping::KeepNonZero(pen.width.x, mapping.ScaleX(pen.width.x));
    dc.SelectPen(pen);
    dc.SelectBrush(state.brush);
    LogFont font = state.font;
    font.height = FrameMapping::KeepNonZero(font.height, mapping.ScaleY(font.height));
    font.width = FrameMapping::KeepNonZero(font.width, mapping.ScaleX(font.width));
    dc.SelectFont(font);
    dc.SetTextColor(state.textColor);
    dc.SetTextAlign(state.textAlign);
    dc.SetBackgroundMode(state.backgroundMode);
    Rect shown = clip;
    if (state.clip && !IntersectRect(clip, mapping.Map(*state.clip), shown)) shown = {};
    dc.SetClipRect(shown);
}

std::vector<Point> MapAll(const std::vector<Point>& points, const FrameMapping& mapping) {
    std::vector<Point> mapped;
    mapped.reserve(points.size());
    for (Point p : points) mapped.push_back(mapping.Map(p));
    return mapped;
}

void PlayCall(DrawingContext& dc, const RecordedPicture::Call& call, const FrameMapping& mapping) {
    using Op = RecordedPicture::Op;
    switch (call.op) {
        case Op::Line:
            dc.MoveTo(mapping.Map(call.points[0]));
            dc.LineTo(mapping.Map(call.points[1]));
            break;
        case Op::Polyline: dc.Polyline(MapAll(call.points, mapping)); break;
        case Op::Polygon: dc.Polygon(MapAll(call.points, mapping)); break;
        case Op::Rectangle: dc.Rectangle(mapping.Map(call.rect)); break;
        case Op::Ellipse: dc.Ellipse(mapping.Map(call.rect)); break;
        case Op::Arc:
            dc.Arc(mapping.Map(call.rect), mapping.Map(call.points[0]), mapping.Map(call.points[1]));
            break;
        case Op::Text: dc.TextOut(mapping.Map(call.points[0]), call.text); break;
        case Op::Picture: dc.PlayPicture(call.bytes, mapping.Map(call.rect)); break;
    }
}

}  // namespace

void RecordedPicture::Play(DrawingContext& dc, const Rect& where) const {
    if (frame_.cx <= 0 || frame_.cy <= 0) return;
    const DrawingState saved = dc.State();
    Rect clip = where;
    if (saved.clip && !IntersectRect(where, *saved.clip, clip)) return;

    FrameMapping mapping(frame_, where);
    for (const Call& call : calls_) {
        SelectScaled(dc, call.state, mapping, clip);
        PlayCall(dc, call, mapping);
    }

    dc.SelectPen(saved.pen);
    dc.SelectBrush(saved.brush);
    dc.SelectFont(saved.font);
    dc.SetTextColor(saved.textColor);
    dc.SetTextAlign(saved.textAlign);
    dc.SetBackgroundMode(saved.backgroundMode);
    dc.SetClipRect(saved.clip);
    dc.MoveTo(saved.position);
}

RecordedPicture PictureRecorder::Finish() {
    RecordedPicture done(picture_.frame_);
    std::swap(done, picture_);
    return done;
}

RecordedPicture::Call& PictureRecorder::Add(RecordedPicture::Op op) {
    RecordedPicture::Call& call = picture_.calls_.emplace_back();
    call.op = op;
    call.state = State();
    return call;
}

void PictureRecorder::DrawLine(Point from, Point to) { Add(RecordedPicture::Op::Line).points = {from, to}; }

void PictureRecorder::DrawPolyline(std::span<const Point> points) {
    Add(RecordedPicture::Op::Polyline).points.assign(points.begin(), points.end());
}

void PictureRecorder::DrawPolygon(std::span<const Point> points) {
    Add(RecordedPicture::Op::Polygon).points.assign(points.begin(), points.end());
}

void PictureRecorder::DrawRectangle(const Rect& r) { Add(RecordedPicture::Op::Rectangle).rect = r; }

void PictureRecorder::DrawEllipse(const Rect& box) { Add(RecordedPicture::Op::Ellipse).rect = box; }

void PictureRecorder::DrawArc(const Rect& box, const ArcSpan& span) {
    RecordedPicture::Call& call = Add(RecordedPicture::Op::Arc);
    call.rect = box;
    call.points = {span.start, span.end};
}

void PictureRecorder::DrawText(Point at, std::string_view text) {
    RecordedPicture::Call& call = Add(RecordedPicture::Op::Text);
    call.points = {at};
    call.text = text;
}

Size PictureRecorder::MeasureText(std::string_view text) { return measurer_.TextExtent(State().font, text); }

void PictureRecorder::DrawPicture(std::span<const std::uint8_t> metafile, const Rect& where) {
    RecordedPicture::Call& call = Add(RecordedPicture::Op::Picture);
    call.rect = where;
    call.bytes.assign(metafile.begin(), metafile.end());
}
