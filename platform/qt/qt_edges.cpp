#include "qt_edges.h"

#include <QPainter>

#include "qt_colors.h"

namespace {

void DrawRing(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight) {
    // The bottom-right colour owns both far corners, as on the original platform.
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width() - 1, 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height() - 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
}

}  // namespace

void DrawEdge(QPainter& painter, const QRect& rect, unsigned rings, const QPalette& palette) {
    auto colour = [&](SystemColor color) { return SystemQColor(color, palette); };
    if (rings & kRaisedOuter) {
        DrawRing(painter, rect, colour(SystemColor::Light3D), colour(SystemColor::DarkShadow3D));
    } else if (rings & kSunkenOuter) {
        DrawRing(painter, rect, colour(SystemColor::ButtonShadow), colour(SystemColor::ButtonHighlight));
    }
    // A lone inner ring lies on the rectangle's edge.
    const bool outer = rings & (kRaisedOuter | kSunkenOuter);
    const QRect inner = outer ? rect.adjusted(1, 1, -1, -1) : rect;
    if (rings & kRaisedInner) {
        DrawRing(painter, inner, colour(SystemColor::ButtonHighlight), colour(SystemColor::ButtonShadow));
    } else if (rings & kSunkenInner) {
        DrawRing(painter, inner, colour(SystemColor::DarkShadow3D), colour(SystemColor::Light3D));
    }
}
