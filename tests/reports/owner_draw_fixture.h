#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include "owner_draw_combo.h"

// Plain system colours for owner-drawn combos, so that tests can tell the
// parts of an item by their pixels.
inline QPalette OwnerDrawTestPalette() {
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Base, Qt::white);
    palette.setColor(QPalette::Active, QPalette::Text, Qt::black);
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(0, 0, 128));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
    return palette;
}

// The item drawn by the combo into an image of the item's size, which
// starts out `underneath`.
inline QImage DrawnItem(const OwnerDrawCombo& combo, OwnerDrawItem item, QColor underneath = Qt::magenta) {
    QImage image(item.rect.size(), QImage::Format_RGB32);
    image.fill(underneath);
    item.rect.moveTo(0, 0);
    QPainter painter(&image);
    combo.DrawItem(painter, item);
    return image;
}

inline QColor PixelAt(const QImage& image, int x, int y) { return image.pixelColor(x, y); }
