#include "grid_text_format.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

namespace {

int QtFlags(unsigned format) {
    int flags = 0;
    if (format & TextFormat::Right) {
        flags |= Qt::AlignRight;
    } else if (format & TextFormat::Center) {
        flags |= Qt::AlignHCenter;
    } else {
        flags |= Qt::AlignLeft;
    }
    if (format & TextFormat::SingleLine) {
        flags |= Qt::TextSingleLine;
        if (format & TextFormat::Bottom) {
            flags |= Qt::AlignBottom;
        } else if (format & TextFormat::VCenter) {
            flags |= Qt::AlignVCenter;
        } else {
            flags |= Qt::AlignTop;
        }
    } else {
        flags |= Qt::AlignTop;
        if (format & TextFormat::WordBreak) flags |= Qt::TextWordWrap;
    }
    if (format & TextFormat::ExpandTabs) flags |= Qt::TextExpandTabs;
    if (format & TextFormat::NoClip) flags |= Qt::TextDontClip;
    if (!(format & TextFormat::NoPrefix)) flags |= Qt::TextShowMnemonic;
    return flags;
}

// Each line that is wider than `width` ends in "..." within it. Word-broken
// text is left to the wrapping.
QString Elided(const QString& text, const QFontMetrics& metrics, int width, unsigned format) {
    if (!(format & TextFormat::EndEllipsis)) return text;
    if (format & TextFormat::SingleLine) return metrics.elidedText(text, Qt::ElideRight, width, Qt::TextSingleLine);
    if (format & TextFormat::WordBreak) return text;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) line = metrics.elidedText(line, Qt::ElideRight, width);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

QRect PixelsOf(const Rect& r, Edges rightAndBottom) {
    int grow = rightAndBottom == Edges::Included ? 1 : 0;
    return QRect(r.left, r.top, r.Width() + grow, r.Height() + grow);
}

void DrawFormattedText(QPainter& painter, const QString& text, const Rect& r, unsigned format,
                       int escapement) {
    QRect box = PixelsOf(r);
    if (escapement % 3600 == 0) {
        QFontMetrics metrics(painter.font(), painter.device());
        painter.drawText(box, QtFlags(format), Elided(text, metrics, box.width(), format));
        return;
    }
    painter.save();
    painter.translate(QRectF(box).center());
    double degrees = escapement / 10.0;
    painter.rotate(-degrees);
    // Along a quarter turn the text runs over the rectangle's height.
    bool across = (escapement / 900) % 2 != 0 && escapement % 900 == 0;
    QSizeF size = across ? QSizeF(box.height(), box.width()) : QSizeF(box.size());
    QRectF turned(QPointF(-size.width() / 2, -size.height() / 2), size);
    QFontMetrics metrics(painter.font(), painter.device());
    painter.drawText(turned, QtFlags(format),
                     Elided(text, metrics, static_cast<int>(size.width()), format));
    painter.restore();
}
