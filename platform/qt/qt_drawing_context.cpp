#include "qt_drawing_context.h"

#include <cmath>
#include <vector>

#include <QPainter>
#include <QPen>
#include <QPolygon>

#include "emf_picture.h"
#include "qt_colors.h"
#include "windows_1250.h"

namespace {

// Pen styles beyond solid and dashed, by their platform numbers, and the
// brush style that fills nothing.
constexpr std::int32_t kDotPen = 2;
constexpr std::int32_t kDashDotPen = 3;
constexpr std::int32_t kDashDotDotPen = 4;
constexpr std::int32_t kNullPen = 5;
constexpr std::int32_t kNullBrush = 1;

// Dash patterns of one-pixel pens, in pixels on and off.
const QList<qreal> kDashPattern{18, 6};
const QList<qreal> kDotPattern{3, 3};
const QList<qreal> kDashDotPattern{9, 6, 3, 6};
const QList<qreal> kDashDotDotPattern{9, 3, 3, 3, 3, 3};

QPen ToQPen(const LogPen& pen) {
    if (pen.style == kNullPen) return QPen(Qt::NoPen);
    int width = std::max(0, pen.width.x);
    QPen qpen(ToQColor(pen.color));
    // Width 0 and 1 draw one device pixel whatever the scale.
    qpen.setWidth(width <= 1 ? 0 : width);
    if (width <= 1) {
        // A one-pixel line leaves out its last pixel.
        qpen.setCapStyle(Qt::FlatCap);
        qpen.setJoinStyle(Qt::MiterJoin);
        switch (pen.style) {
            case PenStyle::Dash: qpen.setDashPattern(kDashPattern); break;
            case kDotPen: qpen.setDashPattern(kDotPattern); break;
            case kDashDotPen: qpen.setDashPattern(kDashDotPattern); break;
            case kDashDotDotPen: qpen.setDashPattern(kDashDotDotPattern); break;
            default: break;
        }
    } else {
        // Wide pens are always solid, with round ends and joins.
        qpen.setCapStyle(Qt::RoundCap);
        qpen.setJoinStyle(Qt::RoundJoin);
    }
    return qpen;
}

QBrush ToQBrush(const LogBrush& brush) {
    if (brush.style == kNullBrush) return QBrush(Qt::NoBrush);
    return QBrush(ToQColor(brush.color));
}

QPolygon ToQPolygon(std::span<const Point> points) {
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const Point& p : points) polygon.append(QPoint(p.x, p.y));
    return polygon;
}

// The rectangle whose aliased outline lies on the outermost pixels of
// [left, right) x [top, bottom): QPainter's outline of a one-pixel pen
// covers right and bottom as well.
QRect OutlineRect(const Rect& r) { return QRect(r.left, r.top, r.Width() - 1, r.Height() - 1); }

// The text's top-left corner relative to the reference point, for the
// alignment flags and the text's extent and ascent.
QPoint AlignmentOffset(unsigned align, Size extent, int ascent) {
    int dx = 0;
    if ((align & TextAlign::Center) == TextAlign::Center) {
        dx = -extent.cx / 2;
    } else if (align & TextAlign::Right) {
        dx = -extent.cx;
    }
    int dy = 0;
    if ((align & TextAlign::Baseline) == TextAlign::Baseline) {
        dy = -ascent;
    } else if (align & TextAlign::Bottom) {
        dy = -extent.cy;
    }
    return {dx, dy};
}

}  // namespace

QtDrawingContext::QtDrawingContext(QPainter& painter)
    : painter_(painter), ownerClips_(painter.hasClipping()), ownerClip_(painter.clipRegion()) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
}

void QtDrawingContext::ApplyClip() {
    const std::optional<Rect>& clip = State().clip;
    if (clip == appliedClip_) return;
    appliedClip_ = clip;
    if (ownerClips_) {
        painter_.setClipRegion(ownerClip_);
    } else {
        painter_.setClipping(false);
    }
    if (clip) {
        QRect r(clip->left, clip->top, clip->Width(), clip->Height());
        painter_.setClipRect(r, ownerClips_ ? Qt::IntersectClip : Qt::ReplaceClip);
    }
}

void QtDrawingContext::UsePen() {
    ApplyClip();
    if (penMade_ != State().pen) {
        pen_ = ToQPen(State().pen);
        penMade_ = State().pen;
    }
    painter_.setPen(pen_);
    painter_.setBrush(Qt::NoBrush);
}

void QtDrawingContext::UsePenAndBrush() {
    UsePen();
    if (brushMade_ != State().brush) {
        brush_ = ToQBrush(State().brush);
        brushMade_ = State().brush;
    }
    painter_.setBrush(brush_);
}

void QtDrawingContext::UseFont(const QtFontCache::Entry& font) {
    // The owner may have set a font of its own in between.
    if (fontSet_ == font.key && painter_.font() == fontOnPainter_) return;
    painter_.setFont(font.font);
    fontOnPainter_ = painter_.font();
    fontSet_ = font.key;
}

void QtDrawingContext::UseTextColor(ColorRef color) {
    if (textColorMade_ != color) {
        textPen_ = QPen(ToQColor(color));
        textColorMade_ = color;
    }
    painter_.setPen(textPen_);
}

void QtDrawingContext::DrawLine(Point from, Point to) {
    UsePen();
    painter_.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
}

void QtDrawingContext::DrawPolyline(std::span<const Point> points) {
    if (points.size() < 2) return;
    UsePen();
    painter_.drawPolyline(ToQPolygon(points));
}

void QtDrawingContext::DrawPolygon(std::span<const Point> points) {
    if (points.size() < 2) return;
    UsePenAndBrush();
    painter_.drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
}

void QtDrawingContext::DrawRectangle(const Rect& r) {
    Rect box = r;
    box.Normalize();
    if (box.IsEmpty()) return;
    UsePenAndBrush();
    painter_.drawRect(OutlineRect(box));
}

void QtDrawingContext::DrawEllipse(const Rect& box) {
    Rect b = box;
    b.Normalize();
    if (b.IsEmpty()) return;
    UsePenAndBrush();
    painter_.drawEllipse(OutlineRect(b));
}

void QtDrawingContext::DrawArc(const Rect& box, const ArcSpan& span) {
    Rect b = box;
    b.Normalize();
    if (b.IsEmpty()) return;
    UsePen();
    // QPainter counts angles counter-clockwise in sixteenths of a degree.
    painter_.drawArc(OutlineRect(b), static_cast<int>(std::lround(span.startDegrees * 16.0)),
                     static_cast<int>(std::lround(span.sweepDegrees * 16.0)));
}

const QtGlyphRuns::Shaped* QtDrawingContext::ShapeOnPainter(const QtFontCache::Entry& font, std::string_view text) {
    if (!QtGlyphRuns::Suits(font.key, text)) return nullptr;
    UseFont(font);
    return &glyphRuns_.Get(font.key, painter_.font(), text);
}

void QtDrawingContext::DrawText(Point at, std::string_view text) {
    ApplyClip();
    const DrawingState& state = State();
    const QtFontCache::Entry& font = fonts_.Get(state.font);
    const QtGlyphRuns::Shaped* shaped = state.font.escapement == 0 ? ShapeOnPainter(font, text) : nullptr;
    // Only a centred or right-aligned text and an opaque cell need the
    // advance; a text seen for the first time is shaped to measure it.
    const bool needsWidth = (state.textAlign & TextAlign::Right) != 0 || state.backgroundMode == BackgroundMode::Opaque;
    int width = 0;
    if (needsWidth) width = shaped ? shaped->advance : fonts_.TextExtent(state.font, text).cx;
    const int ascent = font.metrics.ascent();
    const Size extent{width, ascent + font.metrics.descent()};
    const QPoint topLeft = AlignmentOffset(state.textAlign, extent, ascent);
    const QRect cell(topLeft, QSize(extent.cx, extent.cy));

    if (state.font.escapement == 0) {
        // Upright text is placed by offsetting, without the transformation
        // saved and restored around each label.
        const QPoint origin(at.x, at.y);
        if (state.backgroundMode == BackgroundMode::Opaque) painter_.fillRect(cell.translated(origin), ToQColor(state.backgroundColor));
        UseFont(font);
        UseTextColor(state.textColor);
        const QPoint baseline = origin + QPoint(topLeft.x(), topLeft.y() + ascent);
        if (!shaped) {
            painter_.drawText(baseline, FromWindows1250(text));
            return;
        }
        for (const QGlyphRun& run : shaped->runs) painter_.drawGlyphRun(baseline, run);
        return;
    }
    painter_.save();
    painter_.translate(at.x, at.y);
    // The escapement is in tenths of a degree, counter-clockwise on screen.
    painter_.rotate(-state.font.escapement / 10.0);
    if (state.backgroundMode == BackgroundMode::Opaque) painter_.fillRect(cell, ToQColor(state.backgroundColor));
    painter_.setFont(font.font);
    painter_.setPen(ToQColor(state.textColor));
    painter_.drawText(QPoint(topLeft.x(), topLeft.y() + ascent), FromWindows1250(text));
    painter_.restore();
}

Size QtDrawingContext::MeasureText(std::string_view text) {
    const QtFontCache::Entry& font = fonts_.Get(State().font);
    if (const QtGlyphRuns::Shaped* shaped = ShapeOnPainter(font, text)) {
        return {shaped->advance, font.metrics.ascent() + font.metrics.descent()};
    }
    return fonts_.TextExtent(State().font, text);
}

void QtDrawingContext::DrawPicture(std::span<const std::uint8_t> metafile, const Rect& where) {
    Rect r = where;
    r.Normalize();
    if (r.IsEmpty()) return;
    ApplyClip();
    painter_.save();
    // In double: a stored rectangle may span more than an int holds.
    const double width = static_cast<double>(r.right) - r.left;
    const double height = static_cast<double>(r.bottom) - r.top;
    PlayEnhancedMetafile(painter_, metafile, QRectF(r.left, r.top, width, height));
    painter_.restore();
}
