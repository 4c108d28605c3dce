#pragma once

#include <QPalette>
#include <QRect>

class QPainter;

// The two one-pixel rings of a 3-D border, as the original platform's
// owner-drawn controls combine them: the outer ring on the rectangle's
// own edge, the inner ring one pixel inside it (on the edge when alone).
enum EdgeRing : unsigned {
    kRaisedOuter = 0x1,
    kSunkenOuter = 0x2,
    kRaisedInner = 0x4,
    kSunkenInner = 0x8,
    kEdgeRaised = kRaisedOuter | kRaisedInner,
    kEdgeSunken = kSunkenOuter | kSunkenInner,
};

// Draws the rings named in `rings` on all four sides of `rect` in the
// palette's system colours: raised rings are light at the top and left and
// dark at the bottom and right, sunken ones the other way round.
void DrawEdge(QPainter& painter, const QRect& rect, unsigned rings, const QPalette& palette);
