#include <gtest/gtest.h>

#include <vector>

#include "byte_text.h"
#include "ee_element.h"
#include "primitive_line.h"
#include "recording_drawing_context.h"

namespace {

PrimitiveLine LineThrough(std::vector<Point> nodes, int penWidth = 0) {
    PrimitiveLine line;
    line.SetPenWidth(penWidth);
    line.SetNode(nodes.front(), 0);
    for (std::size_t i = 1; i < nodes.size(); ++i) line.AddNode(nodes[i]);
    return line;
}

// Two nodes, pen width 3, colour 0x00123456.
const char* const kStoredLine =
    "02 00 "                                   // node count
    "0A 00 00 00 14 00 00 00 "                 // (10, 20)
    "1E 00 00 00 FB FF FF FF "                 // (30, -5)
    "03 "                                      // pen width
    "1E 00 00 00 FB FF FF FF "                 // floating point: the last node placed
    "08 00 00 00 F9 FF FF FF 20 00 00 00 16 00 00 00 "  // nodes' extent grown by 2
    "56 34 12 00 "                             // colour
    "56 34 12 00 00 00 00 00 03 00 00 00 00 00 00 00";  // pen: colour, style, width (3, 0)

TEST(PrimitiveLineArchive, StoresTheBlockAndReadsItBack) {
    PrimitiveLine line = LineThrough({{10, 20}, {30, -5}}, 3);
    line.SetColor(0x123456);
    line.RecreatePen();
    Archive out = Archive::ForStoring();
    line.Serialize(out);
    EXPECT_EQ(HexOf(out.Bytes()), kStoredLine);

    PrimitiveLine loaded;
    loaded.Reopen();
    loaded.SetExtentOptions(true, 7);
    Archive in = Archive::ForLoading(BytesFromHex(kStoredLine));
    loaded.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(loaded.GetNode(-1), (Point{30, -5}));
    EXPECT_EQ(loaded.GetPen(), (LogPen{PenStyle::Solid, {3, 0}, 0x123456}));
    // Neither the finished flag nor the extent options are stored.
    EXPECT_FALSE(loaded.IsFinished());
    EXPECT_TRUE(loaded.GetWholeExtent());
    loaded.Finish(false);
    Archive again = Archive::ForStoring();
    loaded.Serialize(again);
    EXPECT_EQ(HexOf(again.Bytes()), kStoredLine);
}

TEST(PrimitiveLineArchive, ABadBlockLeavesTheLineAsItWas) {
    for (const char* bytes : {"02 00 0A 00 00 00 14 00 00 00 1E 00 00 00",  // cut in the nodes
                              "FF FF FF FF FF 0F 00",                       // count beyond the bytes
                              "01 00 00 00 00 80 00 00 00 00"}) {           // a node far off the diagram
        PrimitiveLine line = LineThrough({{1, 2}});
        Archive in = Archive::ForLoading(BytesFromHex(bytes));
        EXPECT_THROW(line.Serialize(in), ArchiveError) << bytes;
        EXPECT_EQ(line.GetNodeCount(), 1);
        EXPECT_EQ(line.GetNode(0), (Point{1, 2}));
    }
}

TEST(PrimitiveLineGeometry, BoundingRectangleGrowsByHalfThePenWidthRoundedUp) {
    struct Case {
        int penWidth;
        int inflation;
    };
    for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{2, 1}, Case{3, 2}}) {
        PrimitiveLine single = LineThrough({{5, 7}}, c.penWidth);
        EXPECT_EQ(single.CalcBoundingRect(), c.inflation);
        EXPECT_EQ(single.GetBoundingRect(), (Rect{5 - c.inflation, 7 - c.inflation, 5 + c.inflation, 7 + c.inflation}));
        PrimitiveLine bent = LineThrough({{40, 10}, {0, 30}, {20, -5}}, c.penWidth);
        EXPECT_EQ(bent.GetBoundingRect(),
                  (Rect{0 - c.inflation, -5 - c.inflation, 40 + c.inflation, 30 + c.inflation}));
    }
}

TEST(PrimitiveLineGeometry, DistanceToPathTruncatesWhereTheElementBodyRounds) {
    struct Case {
        Point a, b, p;
        Point pathNearest;
        int pathDistance;
        Point bodyNearest;
        int bodyDistance;
    };
    const Case cases[] = {
        // Along the segment: t = 10/17, offset (2.35, 0.59).
        {{0, 0}, {4, 1}, {2, 2}, {2, 0}, 4, {2, 1}, 1},
        {{0, 0}, {-4, -1}, {-2, -2}, {-2, 0}, 4, {-2, -1}, 1},
        // An exact half: the body rounds it down, the path toward zero.
        {{0, 0}, {-2, -2}, {-1, 0}, {0, 0}, 1, {-1, -1}, 1},
        // Beyond the ends.
        {{1, 1}, {3, 1}, {0, 0}, {1, 1}, 2, {1, 1}, 2},
        {{1, 1}, {3, 1}, {5, 1}, {3, 1}, 4, {3, 1}, 4},
        // A segment of no length.
        {{4, 4}, {4, 4}, {1, 0}, {4, 4}, 25, {4, 4}, 25},
    };
    for (const Case& c : cases) {
        Point nearest;
        EXPECT_EQ(LineThrough({c.a, c.b}).DistanceToPath(c.p, nearest), c.pathDistance);
        EXPECT_EQ(nearest, c.pathNearest);
        EXPECT_EQ(EEElement::DistanceToSegment(c.a, c.b, c.p, nearest), c.bodyDistance);
        EXPECT_EQ(nearest, c.bodyNearest);
    }
}

TEST(PrimitiveLineGeometry, DistanceToPathKeepsTheEarlierOfEquallyNearSegments) {
    Point nearest{-1, -1};
    EXPECT_EQ(LineThrough({{3, 3}}).DistanceToPath({3, 3}, nearest), PrimitiveLine::kNoPath);
    EXPECT_EQ(nearest, (Point{-1, -1}));
    // (10, 5) lies 5 from both arms of the corner.
    PrimitiveLine corner = LineThrough({{0, 0}, {10, 0}, {10, 10}, {15, 10}});
    EXPECT_EQ(corner.DistanceToPath({5, 5}, nearest), 25);
    EXPECT_EQ(nearest, (Point{5, 0}));
    EXPECT_EQ(corner.DistanceToPath({13, 9}, nearest), 1);
    EXPECT_EQ(nearest, (Point{13, 10}));
}

TEST(PrimitiveLineGeometry, FindNodeSnapsBelowSquaredDistance61) {
    PrimitiveLine line = LineThrough({{0, 0}, {100, 0}, {106, 0}, {200, 0}});
    struct Case {
        Point p;
        bool first, last;
        int node;
    };
    const Case cases[] = {
        {{7, 3}, true, true, 0},      // 58
        {{6, 5}, true, true, -1},     // 61
        {{7, 3}, false, true, -1},    // node 0 not asked
        {{193, 3}, true, true, 3},    // the last node
        {{193, 3}, true, false, -1},  // not asked
        {{103, 0}, true, true, 1},    // equally near nodes 1 and 2: the earlier
        {{104, 0}, true, true, 2},
    };
    for (const Case& c : cases) {
        Point found{-1, -1};
        EXPECT_EQ(line.FindNode(c.p, found, c.first, c.last), c.node) << c.p.x << "," << c.p.y;
        if (c.node >= 0) {
            EXPECT_EQ(found, line.GetNode(c.node));
        }
    }
    // The last node wins only when strictly nearer than an interior one.
    PrimitiveLine shortEnd = LineThrough({{0, 0}, {100, 0}, {104, 0}});
    Point found;
    EXPECT_EQ(shortEnd.FindNode({102, 0}, found, true, true), 1);
    EXPECT_EQ(shortEnd.FindNode({103, 0}, found, true, true), 2);
}

TEST(PrimitiveLineGeometry, LongestSegmentNeedsSquaredLength226) {
    Point from, to;
    EXPECT_FALSE(LineThrough({{0, 0}}).GetLongestSegment(from, to));
    EXPECT_FALSE(LineThrough({{0, 0}, {15, 0}}).GetLongestSegment(from, to));  // 225
    EXPECT_TRUE(LineThrough({{0, 0}, {15, 1}}).GetLongestSegment(from, to));   // 226
    // The first of equally long segments.
    ASSERT_TRUE(LineThrough({{0, 0}, {5, 0}, {5, 30}, {35, 30}, {35, 40}}).GetLongestSegment(from, to));
    EXPECT_EQ(from, (Point{5, 0}));
    EXPECT_EQ(to, (Point{5, 30}));
}

TEST(PrimitiveLineDrawing, AnUnfinishedLineEndsAtItsFloatingPoint) {
    PrimitiveLine line = LineThrough({{0, 0}, {30, 0}, {30, 40}});
    line.Reopen();
    EXPECT_EQ(line.GetFloatingPoint(), (Point{30, 40}));
    Rect invalid;
    line.MoveFloatingPoint({50, 60}, invalid);
    EXPECT_EQ(invalid, (Rect{30, 40, 50, 60}));
    // The previous floating point is repainted too.
    line.MoveFloatingPoint({20, 45}, invalid);
    EXPECT_EQ(invalid, (Rect{20, 40, 50, 60}));

    EXPECT_EQ(line.GetPointCount(), 4);
    EXPECT_EQ(line.GetNode(3), (Point{20, 45}));
    EXPECT_EQ(line.GetSegmentLengthSquared(0), 900);
    EXPECT_EQ(line.GetSegmentLengthSquared(2), 100 + 25);  // to the floating point
    EXPECT_EQ(line.GetSegmentLengthSquared(-1), 900 + 1600);  // closing, back to node 0
    EXPECT_EQ(line.GetSegmentLengthSquared(3), 0);
    // The rectangle covers the nodes only.
    EXPECT_EQ(line.GetBoundingRect(), (Rect{0, 0, 30, 40}));

    RecordingDrawingContext dc;
    line.Draw(dc, true);
    std::vector<std::vector<Point>> drawn;
    for (const auto& call : dc.Of(RecordingDrawingContext::Op::Line)) drawn.push_back(call.points);
    EXPECT_EQ(drawn, (std::vector<std::vector<Point>>{{{0, 0}, {30, 0}}, {{30, 0}, {30, 40}}, {{30, 40}, {20, 45}}}));
    auto marks = dc.Of(RecordingDrawingContext::Op::Rectangle);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[1].rect, (Rect{28, -2, 32, 2}));

    line.Finish(true);
    EXPECT_TRUE(line.IsFinished());
    EXPECT_EQ(line.GetPointCount(), 4);
    EXPECT_EQ(line.GetSegmentLengthSquared(3), 0);
    line.MoveFloatingPoint({0, 0}, invalid);
    EXPECT_EQ(invalid, (Rect{0, 0, 30, 45}));
}

TEST(PrimitiveLineDrawing, WholeExtentRepaintsTheWholeLine) {
    PrimitiveLine line = LineThrough({{0, 0}, {100, 0}});
    line.SetExtentOptions(true, 20);
    line.Reopen();
    Rect invalid;
    line.MoveFloatingPoint({110, 10}, invalid);
    EXPECT_EQ(invalid, (Rect{0, 0, 110, 10}));
}

TEST(PrimitiveLineEditing, NodesMoveCopyAndFinish) {
    PrimitiveLine line = LineThrough({{0, 0}, {10, 0}});
    line.MoveNode(1, {5, -5});
    line.SetNode({-10, 0}, 0);
    EXPECT_EQ(line.GetBoundingRect(), (Rect{-10, -5, 15, 0}));
    EXPECT_THROW(line.MoveNode(2, {1, 1}), std::out_of_range);

    PrimitiveLine target = LineThrough({{99, 99}, {98, 98}});
    target.Reopen();
    line.CopyNodesTo(target);
    EXPECT_TRUE(target.IsFinished());
    ASSERT_EQ(target.GetNodeCount(), 3);
    EXPECT_EQ(target.GetNode(0), (Point{-10, 0}));
    EXPECT_EQ(target.GetNode(1), (Point{98, 98}));
    EXPECT_EQ(target.GetNode(2), (Point{15, -5}));

    PrimitiveLine empty;
    line.CopyNodesTo(empty);
    EXPECT_EQ(empty.GetNodeCount(), 2);

    PrimitiveLine finished;
    finished.SetNode({1, 1}, -1);
    finished.FinishAt(nullptr);
    EXPECT_EQ(finished.GetNodeCount(), 2);
    Point end{4, 5};
    finished.FinishAt(&end);
    EXPECT_EQ(finished.GetNode(-1), end);
}

}  // namespace
