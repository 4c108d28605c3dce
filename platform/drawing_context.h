#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "color.h"
#include "drawing_records.h"
#include "geometry.h"

// Text alignment flags by their platform numbers; a horizontal and a vertical
// flag are combined with |.
namespace TextAlign {
inline constexpr unsigned Left = 0;
inline constexpr unsigned Right = 2;
inline constexpr unsigned Center = 6;
inline constexpr unsigned Top = 0;
inline constexpr unsigned Bottom = 8;
inline constexpr unsigned Baseline = 24;
}  // namespace TextAlign

enum class BackgroundMode {
    Transparent = 1,  // text is drawn over what lies beneath
    Opaque = 2,       // the text's cell is first filled with the background colour
};

// What is in force on a drawing context. A fresh context holds the
// platform's defaults that the model relies on.
struct DrawingState {
    LogPen pen{PenStyle::Solid, {0, 0}, kBlack};
    LogBrush brush{BrushStyle::Solid, kWhite, 0};
    LogFont font;
    ColorRef textColor = kBlack;
    ColorRef backgroundColor = kWhite;  // behind opaque text; the model never changes it
    BackgroundMode backgroundMode = BackgroundMode::Opaque;
    unsigned textAlign = TextAlign::Left | TextAlign::Top;
    Point position;  // the current position of MoveTo and LineTo
    std::optional<Rect> clip;  // when set, nothing shows outside it
};

// Direction of an arc as the drawing hooks receive it: degrees measured
// counter-clockwise as seen on the screen (y grows downwards) from the
// direction of the positive x axis. The sweep is in (0, 360].
struct ArcSpan {
    Point start;
    Point end;
    double startDegrees = 0.0;
    double sweepDegrees = 0.0;
};

// The arc of the ellipse inscribed in `box` that runs counter-clockwise from
// the ray from the box's centre through `start` to the ray through `end`.
// When both rays coincide the arc is the whole ellipse.
ArcSpan ArcSpanOf(const Rect& box, Point start, Point end);

// The surface the model draws on (the screen, a printer, a picture, or a
// recording in tests), shaped after the original platform's device context.
// This base keeps what is in force and answers the previous values; a
// concrete surface draws in the protected hooks, reading State() for the pen,
// brush, font and colours. Coordinates are logical diagram units.
class DrawingContext {
public:
    DrawingContext() = default;
    DrawingContext(const DrawingContext&) = delete;
    DrawingContext& operator=(const DrawingContext&) = delete;
    virtual ~DrawingContext() = default;

    const DrawingState& State() const { return state_; }

    // Each answers what was in force before, so that a caller can restore it.
    LogPen SelectPen(const LogPen& pen);
    LogBrush SelectBrush(const LogBrush& brush);
    LogFont SelectFont(const LogFont& font);
    ColorRef SetTextColor(ColorRef color);
    unsigned SetTextAlign(unsigned align);
    BackgroundMode SetBackgroundMode(BackgroundMode mode);
    // Nothing set: drawing shows wherever the surface reaches.
    std::optional<Rect> SetClipRect(std::optional<Rect> clip);

    // Answers the previous current position.
    Point MoveTo(Point p);
    // A line with the pen from the current position to p, which becomes the
    // current position.
    void LineTo(Point p);
    // Lines through the points with the pen; the current position is neither
    // used nor changed.
    void Polyline(std::span<const Point> points);
    // The closed outline with the pen, filled with the brush by the alternate
    // (even-odd) rule.
    void Polygon(std::span<const Point> points);
    // Outline with the pen and interior with the brush, both within
    // [left, right) x [top, bottom).
    void Rectangle(const Rect& r);
    // The ellipse inscribed in the rectangle, drawn like Rectangle.
    void Ellipse(const Rect& box);
    // An elliptic arc with the pen, not filled; see ArcSpanOf.
    void Arc(const Rect& box, Point start, Point end);
    // Single-byte text with the font, text colour and background mode, placed
    // by the text alignment relative to `at`.
    void TextOut(Point at, std::string_view text);
    // Width and height of the text in the selected font.
    Size GetTextExtent(std::string_view text);
    // Plays a stored picture (the bytes of an enhanced metafile) stretched
    // into the rectangle.
    void PlayPicture(std::span<const std::uint8_t> metafile, const Rect& where);

protected:
    virtual void DrawLine(Point from, Point to) = 0;
    virtual void DrawPolyline(std::span<const Point> points) = 0;
    virtual void DrawPolygon(std::span<const Point> points) = 0;
    virtual void DrawRectangle(const Rect& r) = 0;
    virtual void DrawEllipse(const Rect& box) = 0;
    virtual void DrawArc(const Rect& box, const ArcSpan& span) = 0;
    virtual void DrawText(Point at, std::string_view text) = 0;
    virtual Size MeasureText(std::string_view text) = 0;
    virtual void DrawPicture(std::span<const std::uint8_t> metafile, const Rect& where) = 0;

private:
    DrawingState state_;
};
