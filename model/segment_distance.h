#pragma once

#include "geometry.h"

// How the nearest point on a segment is brought back to whole units. The
// element bodies and the drawn paths have always rounded differently, and
// hit tests near their thresholds depend on it.
enum class NearestRounding {
    HalfDown,    // A + the offset rounded to nearest, an exact half going down
    TowardZero,  // A + the offset, the sum truncated toward zero
};

// Squared distance from p to the segment a-b, in whole units squared (at
// most INT_MAX), with the segment's nearest point in `nearest`. The position
// along the segment is kept in single precision.
int SquaredDistanceToSegment(Point a, Point b, Point p, Point& nearest, NearestRounding rounding);

// Squared distance between two points, at most INT_MAX.
int SquaredDistance(Point a, Point b);
