#pragma once

#include "archive.h"
#include "geometry.h"

// Points and rectangles of the diagram as documents store them: int32 x, y;
// int32 left, top, right, bottom.
//
// A coordinate read beyond +-kMaxDiagramCoordinate is refused
// (ArchiveError OutOfRange): no diagram reaches that far, and the room left
// to the int range keeps every later offset, inflation and product of the
// geometry from overflowing. A coordinate beyond that range (a text
// measured near the edge) is written at the range's end.
inline constexpr int kMaxDiagramCoordinate = 1'000'000'000;

void WritePoint(Archive& archive, Point p);
Point ReadPoint(Archive& archive);
void WriteRect(Archive& archive, const Rect& r);
Rect ReadRect(Archive& archive);
