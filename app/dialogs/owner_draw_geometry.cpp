#include "owner_draw_geometry.h"

#include <algorithm>

#include <QImage>

QRect SwatchRect(const QRect& item, const SwatchLayout& layout) {
    int left = item.x() + layout.leftMargin;
    int right = item.x() + layout.rightEdge;
    if (right <= left) right = left + layout.gap;
    int top = item.y() + layout.topMargin;
    int bottom = item.y() + item.height() - layout.bottomMargin;
    return QRect(left, top, right - left, bottom - top);
}

int ItemTextLeft(const QRect& item, const SwatchLayout& layout) {
    if (layout.gap == 0) return item.x();
    QRect swatch = SwatchRect(item, layout);
    return swatch.x() + swatch.width() + layout.gap;
}

QRect DimmedRect(const QRect& item) { return item.adjusted(3, 3, -3, -3); }

QRect GridCellTextRect(const QRect& cell) { return cell.adjusted(1, 0, -2, 0); }

bool GridCellShown(const QRect& cell, int rightEdge) {
    return !cell.isEmpty() && cell.x() + cell.width() > 0 && cell.x() + cell.width() <= rightEdge;
}

bool BlendRect(QImage& destination, const QRect& destinationRect, const QImage& source, const QRect& sourceRect,
               int weight) {
    if (destinationRect.isEmpty() || sourceRect.isEmpty()) return false;
    if (!destination.rect().contains(destinationRect) || !source.rect().contains(sourceRect)) return false;
    if (destination.format() != QImage::Format_RGB32 && destination.format() != QImage::Format_ARGB32) {
        return false;
    }
    QImage stretched = source.copy(sourceRect)
                           .scaled(destinationRect.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                           .convertToFormat(QImage::Format_RGB32);
    unsigned a = static_cast<unsigned>(std::clamp(weight, 0, 255));
    for (int y = 0; y < destinationRect.height(); ++y) {
        auto* target = reinterpret_cast<QRgb*>(destination.scanLine(destinationRect.y() + y)) + destinationRect.x();
        const auto* from = reinterpret_cast<const QRgb*>(stretched.constScanLine(y));
        for (int x = 0; x < destinationRect.width(); ++x) {
            auto mix = [a](unsigned s, unsigned d) { return (a * s + (255 - a) * d) >> 8; };
            target[x] = qRgba(mix(qRed(from[x]), qRed(target[x])), mix(qGreen(from[x]), qGreen(target[x])),
                              mix(qBlue(from[x]), qBlue(target[x])), qAlpha(target[x]));
        }
    }
    return true;
}
