#pragma once

#include <QRect>

class QImage;

// Where the owner-drawn lists put their parts, in item coordinates; pure,
// so that drawing and tests take the same numbers.

// The swatch of a colour list item. Margins are from the item's edges; the
// right edge is a distance from the item's left.
struct SwatchLayout {
    int gap = 0;  // 0: no swatch, the whole item is filled
    int topMargin = 0;
    int bottomMargin = 0;
    int leftMargin = 0;
    int rightEdge = 0;
};

// The swatch; when the right edge is not right of the left margin the
// swatch is one gap wide.
QRect SwatchRect(const QRect& item, const SwatchLayout& layout);
// Where the item's text starts: one gap after the swatch, or at the item's
// left without one.
int ItemTextLeft(const QRect& item, const SwatchLayout& layout);
// The part of a disabled item that is darkened.
QRect DimmedRect(const QRect& item);

// The text of a grid list cell, inset 1 pixel at the left and 2 at the right.
QRect GridCellTextRect(const QRect& cell);
// Whether a grid list cell is drawn: not empty, not wholly left of the
// control, and wholly inside its right edge.
bool GridCellShown(const QRect& cell, int rightEdge);

// Mixes the source rectangle (stretched to the destination's size) into the
// destination rectangle with weight a in 0..255: per colour byte,
// (a x source + (255 - a) x destination) / 256. False, with nothing
// changed, when either rectangle does not lie within its image.
bool BlendRect(QImage& destination, const QRect& destinationRect, const QImage& source, const QRect& sourceRect,
               int weight);
