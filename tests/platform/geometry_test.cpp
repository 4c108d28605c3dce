#include <gtest/gtest.h>

#include "color.h"
#include "geometry.h"

namespace {

struct RectCase {
    const char* name;
    Rect a, b;
    Rect united;
    bool meet;
    Rect common;
};

TEST(Geometry, UnionAndIntersectionFollowThePlatformRules) {
    const RectCase cases[] = {
        {"overlapping", {0, 0, 10, 10}, {5, 5, 20, 15}, {0, 0, 20, 15}, true, {5, 5, 10, 10}},
        {"nested", {0, 0, 10, 10}, {2, 3, 4, 5}, {0, 0, 10, 10}, true, {2, 3, 4, 5}},
        {"touching edges", {0, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 20, 10}, false, {}},
        {"apart", {0, 0, 10, 10}, {30, 30, 40, 40}, {0, 0, 40, 40}, false, {}},
        // An empty operand takes no part in a union, wherever it lies.
        {"first empty", {-50, -50, -50, 100}, {5, 5, 20, 15}, {5, 5, 20, 15}, false, {}},
        {"second empty", {0, 0, 10, 10}, {90, 90, 80, 95}, {0, 0, 10, 10}, false, {}},
        {"both empty", {3, 3, 3, 9}, {7, 7, 9, 7}, {}, false, {}},
        {"inside out is empty", {10, 10, 0, 0}, {1, 1, 2, 2}, {1, 1, 2, 2}, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UnionRect(c.a, c.b), c.united);
        EXPECT_EQ(UnionRect(c.b, c.a), c.united);
        Rect common{1, 2, 3, 4};
        EXPECT_EQ(IntersectRect(c.a, c.b, common), c.meet);
        EXPECT_EQ(common, c.common);
    }
}

TEST(Geometry, EmptinessAndPointInside) {
    EXPECT_TRUE((Rect{0, 0, 0, 10}).IsEmpty());
    EXPECT_TRUE((Rect{0, 0, 10, -1}).IsEmpty());
    EXPECT_TRUE((Rect{5, 0, 4, 10}).IsEmpty());
    EXPECT_FALSE((Rect{0, 0, 1, 1}).IsEmpty());

    const Rect r{10, 20, 30, 40};
    struct PointCase {
        Point p;
        bool inside;
    };
    const PointCase points[] = {
        {{10, 20}, true},   // top-left corner
        {{29, 39}, true},   // last point inside
        {{30, 25}, false},  // right edge
        {{15, 40}, false},  // bottom edge
        {{9, 25}, false},
        {{15, 19}, false},
    };
    for (const auto& c : points) {
        EXPECT_EQ(r.Contains(c.p), c.inside) << c.p.x << "," << c.p.y;
    }
}

TEST(Geometry, NormalizeInflateAndOffset) {
    Rect r{30, 40, 10, 20};
    r.Normalize();
    EXPECT_EQ(r, (Rect{10, 20, 30, 40}));
    r.Inflate(2, -3);
    EXPECT_EQ(r, (Rect{8, 23, 32, 37}));
    r.Offset(-8, 7);
    EXPECT_EQ(r, (Rect{0, 30, 24, 44}));
    EXPECT_EQ(r.Width(), 24);
    EXPECT_EQ(r.Height(), 14);
}

TEST(Geometry, ColorsAreStoredBlueGreenRed) {
    EXPECT_EQ(Rgb(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(kBlue, 0xFF0000u);
    EXPECT_EQ(kRed, 0x0000FFu);
    EXPECT_EQ(RedOf(0x563412), 0x12);
    EXPECT_EQ(GreenOf(0x563412), 0x34);
    EXPECT_EQ(BlueOf(0x563412), 0x56);
}

}  // namespace
