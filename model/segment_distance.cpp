#include "segment_distance.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace {

// A coordinate computed in floating point, kept inside the int range so that
// far-off points read from a document cannot overflow the conversion.
int ToCoordinate(double value) {
    if (!(value > INT_MIN)) return INT_MIN;
    if (!(value < INT_MAX)) return INT_MAX;
    return static_cast<int>(value);
}

int RoundHalfDown(float value) {
    double whole = std::floor(value);
    if (value - whole > 0.5) whole += 1.0;
    return ToCoordinate(whole);
}

}  // namespace

int SquaredDistance(Point a, Point b) {
    std::int64_t dx = std::int64_t{a.x} - b.x;
    std::int64_t dy = std::int64_t{a.y} - b.y;
    // Each square fits; their sum may not.
    std::uint64_t sum = static_cast<std::uint64_t>(dx * dx) + static_cast<std::uint64_t>(dy * dy);
    return sum > INT_MAX ? INT_MAX : static_cast<int>(sum);
}

int SquaredDistanceToSegment(Point a, Point b, Point p, Point& nearest, NearestRounding rounding) {
    double dx = static_cast<double>(b.x) - a.x;
    double dy = static_cast<double>(b.y) - a.y;
    double lengthSquared = dx * dx + dy * dy;
    if (lengthSquared == 0.0) {
        nearest = a;
    } else {
        double alongX = static_cast<double>(p.x) - a.x;
        double alongY = static_cast<double>(p.y) - a.y;
        auto t = static_cast<float>((alongX * dx + alongY * dy) / lengthSquared);
        if (t <= 0.0f) {
            nearest = a;
        } else if (t >= 1.0f) {
            nearest = b;
        } else if (rounding == NearestRounding::HalfDown) {
            nearest = {ToCoordinate(static_cast<double>(a.x) + RoundHalfDown(t * static_cast<float>(dx))),
                       ToCoordinate(static_cast<double>(a.y) + RoundHalfDown(t * static_cast<float>(dy)))};
        } else {
            nearest = {ToCoordinate(std::trunc(t * static_cast<float>(dx) + static_cast<float>(a.x))),
                       ToCoordinate(std::trunc(t * static_cast<float>(dy) + static_cast<float>(a.y)))};
        }
    }
    return SquaredDistance(p, nearest);
}
