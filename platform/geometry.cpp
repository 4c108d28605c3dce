#include "geometry.h"

#include <algorithm>
#include <utility>

void Rect::Normalize() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
}

void Rect::Inflate(int dx, int dy) {
    left -= dx;
    top -= dy;
    right += dx;
    bottom += dy;
}

void Rect::Offset(int dx, int dy) {
    left += dx;
    top += dy;
    right += dx;
    bottom += dy;
}

Rect UnionRect(const Rect& a, const Rect& b) {
    if (a.IsEmpty()) return b.IsEmpty() ? Rect{} : b;
    if (b.IsEmpty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

bool IntersectRect(const Rect& a, const Rect& b, Rect& out) {
    Rect common{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
    if (a.IsEmpty() || b.IsEmpty() || common.IsEmpty()) {
        out = Rect{};
        return false;
    }
    out = common;
    return true;
}
