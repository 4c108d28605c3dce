#pragma once

#include <optional>

#include <QBrush>
#include <QFont>
#include <QPen>
#include <QRegion>

#include "drawing_context.h"
#include "qt_font_cache.h"
#include "qt_glyph_runs.h"

class QPainter;

// Draws on a QPainter (a widget, an image, a printer) with the rules of the
// original platform that drawings rely on: shapes cover [left, right) x
// [top, bottom) and are filled by the brush inside the pen; lines leave out
// their last pixel; a dashed pen wider than one pixel draws solid; polygons
// fill by the alternate rule; text is placed by the text alignment, turned
// by the font's escapement and, in opaque mode, laid on its cell filled with
// the background colour. Drawing is aliased, as on the original screen.
// The painter is borrowed and already active; its transformation maps
// logical units to pixels. A clip rectangle set on the context narrows
// whatever clip the painter's owner had set; it never widens it.
class QtDrawingContext final : public DrawingContext {
public:
    explicit QtDrawingContext(QPainter& painter);

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
    // Puts the selected pen (and brush, for shapes) on the painter.
    void UsePen();
    void UsePenAndBrush();
    // Puts the font and the text colour on the painter.
    void UseFont(const QtFontCache::Entry& font);
    void UseTextColor(ColorRef color);
    // The text shaped in the painter's font, as a label measured and then
    // drawn is shaped once; null for a text the painter lays out itself.
    const QtGlyphRuns::Shaped* ShapeOnPainter(const QtFontCache::Entry& font, std::string_view text);
    // Puts the context's clip on the painter when it changed since the last
    // drawing call.
    void ApplyClip();

    QPainter& painter_;
    const bool ownerClips_;
    const QRegion ownerClip_;
    std::optional<Rect> appliedClip_;
    QtFontCache fonts_;
    QtGlyphRuns glyphRuns_;
    // The Qt objects last made of the selected pen, brush and text colour,
    // and the font the painter made of the last font set: a drawing keeps
    // selecting the same few, and the painter skips an object it already
    // holds, whereas a font set anew looks its engine up again.
    std::optional<LogPen> penMade_;
    QPen pen_;
    std::optional<LogBrush> brushMade_;
    QBrush brush_;
    std::optional<ColorRef> textColorMade_;
    QPen textPen_;
    std::optional<LogFont> fontSet_;
    QFont fontOnPainter_;
};
