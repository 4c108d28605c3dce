#pragma once

#include <QRect>
#include <QString>

#include "geometry.h"

class QFont;
class QPainter;

// A cell's text format keeps the original platform's text-drawing flags, so
// that stored formats and callers' values (0x8824 and the others) keep their
// meaning; they are turned into Qt's flags only when the text is drawn.
namespace TextFormat {
inline constexpr unsigned Left = 0x0;
inline constexpr unsigned Center = 0x1;
inline constexpr unsigned Right = 0x2;
inline constexpr unsigned VCenter = 0x4;   // with SingleLine only
inline constexpr unsigned Bottom = 0x8;    // with SingleLine only
inline constexpr unsigned WordBreak = 0x10;
inline constexpr unsigned SingleLine = 0x20;
inline constexpr unsigned ExpandTabs = 0x40;
inline constexpr unsigned NoClip = 0x100;
inline constexpr unsigned NoPrefix = 0x800;  // '&' is drawn, not an underline
inline constexpr unsigned EndEllipsis = 0x8000;
}  // namespace TextFormat

// The pixels a rectangle of the original platform covers: [left, right) x
// [top, bottom). Grid cells are handed rectangles whose right and bottom
// edges are the cell's last pixels; filling "one pixel larger to the right
// and below" covers them too (Edges::Included).
enum class Edges { Excluded, Included };
QRect PixelsOf(const Rect& r, Edges rightAndBottom = Edges::Excluded);

// Draws the text into [left, right) x [top, bottom) by the format: horizontal
// alignment always, vertical alignment for single lines only, lines broken
// at newlines unless single-line, at words with WordBreak, the end of a line
// that does not fit elided with EndEllipsis, clipped unless NoClip. A
// non-zero escapement (tenths of a degree, counter-clockwise) turns the text
// about the rectangle's centre, laid out along the turned rectangle.
void DrawFormattedText(QPainter& painter, const QString& text, const Rect& r, unsigned format,
                       int escapement);
