#include <algorithm>
#include <cfloat>
#include <limits>
#include <vector>

#include "graph_fixture.h"

namespace {

// The plot rectangle without a layout: left 95, top 40, right 500, bottom 350.
constexpr int kL = 95, kT = 40, kR = 500, kB = 350;

std::vector<std::string> TextsAt(const RecordingDrawingContext& dc, auto where) {
    std::vector<std::string> texts;
    for (const auto& call : dc.Of(RecordingDrawingContext::Op::Text)) {
        if (where(call.points[0])) texts.push_back(call.text);
    }
    return texts;
}

TEST_F(GraphPlotTest, AxesLabelTicksByTheChosenStep) {
    struct Case {
        GraphRange range;
        std::vector<std::string> xLabels;
        std::vector<std::string> yLabels;
    };
    const Case cases[] = {
        {{0, 10, 0, 0.5},
         {"10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "0"},
         {"0.50", "0.40", "0.30", "0.20", "0.10", "0.00"}},
        {{0, 2, 0, 10},
         {"2.00", "1.75", "1.50", "1.25", "1.00", "0.75", "0.50", "0.25", "0.00"},
         {"10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}},
        {{0, 1e6, 0, 10}, {"10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.range.xmax);
        dc.calls.clear();
        ASSERT_TRUE(plot.DrawAxes(c.range, dc));
        EXPECT_EQ(TextsAt(dc, [](Point p) { return p.y == kB + 5 && p.x != kL - 5; }), c.xLabels);
        if (!c.yLabels.empty()) {
            EXPECT_EQ(TextsAt(dc, [](Point p) { return p.x == kL - 5 && p.y != kT - 10 && p.y != kT - 20; }),
                      c.yLabels);
        }
    }
    // The last case leaves 10^5 out of its X labels.
    auto texts = dc.Of(RecordingDrawingContext::Op::Text);
    auto x10 = std::find_if(texts.begin(), texts.end(), [](auto& call) { return call.text == "x10"; });
    ASSERT_NE(x10, texts.end());
    EXPECT_EQ(x10->points[0], (Point{kR - 20, kB + 25}));
    auto power = std::find_if(texts.begin(), texts.end(),
                              [](auto& call) { return call.state.font.FaceName() == "MS Sans Serif"; });
    ASSERT_NE(power, texts.end());
    EXPECT_EQ(power->text, "5");
    EXPECT_EQ(power->points[0], (Point{kR, kB + 28}));
}

TEST_F(GraphPlotTest, GridLinesFollowTheirFlags) {
    struct Case {
        bool horizontal;
        bool vertical;
    };
    const Case cases[] = {{true, true}, {false, true}, {true, false}, {false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.horizontal << c.vertical);
        plot.SetGridLines(c.horizontal, c.vertical);
        dc.calls.clear();
        ASSERT_TRUE(plot.DrawAxes({0, 10, 0, 10}, dc));
        int across = 0;
        int upright = 0;
        for (const auto& line : dc.Of(RecordingDrawingContext::Op::Line)) {
            if (line.state.pen != LogPen{2, {0, 0}, 0x808080}) continue;
            across += line.points[0].y == line.points[1].y && line.points[0].x == kL && line.points[1].x == kR;
            upright += line.points[0].x == line.points[1].x && line.points[0].y == kT && line.points[1].y == kB;
        }
        // Ticks 0 to 10 by 1 on both axes.
        EXPECT_EQ(across, c.horizontal ? 11 : 0);
        EXPECT_EQ(upright, c.vertical ? 11 : 0);
        // The tick labels stay.
        EXPECT_EQ(dc.Of(RecordingDrawingContext::Op::Text).size(), 22u);
    }
}

TEST_F(GraphPlotTest, AxesNeedFinitePositiveExtents) {
    const GraphRange ranges[] = {
        {1, 1, 0, 1}, {0, 1, 2, 1}, {0, std::numeric_limits<double>::infinity(), 0, 1}, {-DBL_MAX, DBL_MAX, 0, 1}, {FLT_MAX, -FLT_MAX, 0, 1}};
    for (const GraphRange& range : ranges) {
        EXPECT_FALSE(plot.DrawAxes(range, dc));
    }
    EXPECT_TRUE(dc.calls.empty());
    // Extreme but finite ranges end their tick loops.
    EXPECT_TRUE(plot.DrawAxes({-FLT_MAX, FLT_MAX, 1e-30, 1e-30 + 1e-44}, dc));
    EXPECT_TRUE(plot.DrawAxes({FLT_MAX - 1e32, FLT_MAX, 0, 1e-40}, dc));
}

TEST_F(GraphPlotTest, AutomaticRangeWidensSingleValuesOnceAndNotifiesEachRequest) {
    struct Case {
        const char* file;
        GraphRange expected;
    };
    const Case cases[] = {
        {"x y\n5 5\n5 5\n", {4.75, 5.25, 4.75, 5.25}},
        {"x y\n0 0\n0 0\n", {-0.01, 0.01, -0.01, 0.01}},
        {"x y\n-1 3\n2 -4\n", {-1, 2, -4, 3}},
    };
    for (const Case& c : cases) {
        RecordingPrompt prompt;
        GraphPlot plot(prompt, measurer);
        int notices = 0;
        plot.SetNotifyMessage(1025);
        plot.SetNotifySink([&](unsigned message) { notices += message == 1025; });
        plot.SetDataFile(WriteFile("data.txt", c.file).c_str());
        plot.AddCurve(Curve("x", "y"));
        ASSERT_TRUE(plot.LoadData());
        GraphRange range = plot.GetRange();
        EXPECT_DOUBLE_EQ(range.xmin, c.expected.xmin);
        EXPECT_DOUBLE_EQ(range.xmax, c.expected.xmax);
        EXPECT_DOUBLE_EQ(range.ymin, c.expected.ymin);
        EXPECT_DOUBLE_EQ(range.ymax, c.expected.ymax);
        plot.GetCurves().clear();  // the range was computed; it is kept
        EXPECT_DOUBLE_EQ(plot.GetRange().xmax, c.expected.xmax);
        EXPECT_EQ(notices, 2);
        float xmin, xmax, ymin, ymax;
        plot.GetStoredRange(xmin, xmax, ymin, ymax);
        EXPECT_FLOAT_EQ(ymax, static_cast<float>(c.expected.ymax));
    }
    // A fixed range is answered as set, without a notice.
    int notices = 0;
    plot.SetNotifyMessage(7);
    plot.SetNotifySink([&](unsigned) { ++notices; });
    plot.SetRange(1, 2, 3, 4);
    EXPECT_DOUBLE_EQ(plot.GetRange().ymax, 4.0);
    EXPECT_EQ(notices, 0);
}

TEST_F(GraphPlotTest, ToScreenRoundsHalfPixelsDownAndClamps) {
    // One data unit per pixel both ways.
    const GraphRange range{0, kR - kL, 0, kB - kT};
    struct Case {
        double x, y;
        Clamp clamp;
        double px, py;
    };
    const Case cases[] = {
        {10.5, 0.5, Clamp::No, kL + 10, kB},
        {10.6, 10.6, Clamp::No, kL + 11, kB - 11},
        {-0.5, -10.5, Clamp::No, kL - 1, kB + 11},
        {-1e6, 1e6, Clamp::Yes, kL, kT},
        {1e6, -1e6, Clamp::Yes, kR, kB},
        {1e30, -1e30, Clamp::No, kL + 1e30, kB + 1e30},
    };
    for (const Case& c : cases) {
        PixelPoint p = plot.ToScreen(range, c.x, c.y, c.clamp);
        EXPECT_DOUBLE_EQ(p.x, c.px) << c.x;
        EXPECT_DOUBLE_EQ(p.y, c.py) << c.y;
    }
}

TEST_F(GraphPlotTest, ClipSegmentCutsToThePlotRectangle) {
    struct Case {
        const char* what;
        PixelPoint from, to;
        bool visible;
        Point clippedFrom, clippedTo;
        bool fromClipped, toClipped;
    };
    const Case cases[] = {
        {"inside", {100, 100}, {200, 200}, true, {100, 100}, {200, 200}, false, false},
        {"both left", {0, 100}, {50, 200}, false, {}, {}, false, false},
        {"both below", {100, 400}, {300, 500}, false, {}, {}, false, false},
        {"one edge", {100, 100}, {600, 100}, true, {100, 100}, {500, 100}, false, true},
        {"start outside", {300, 0}, {300, 100}, true, {300, 40}, {300, 100}, true, false},
        {"two edges", {45, 100}, {145, 0}, true, {95, 50}, {105, 40}, true, true},
        {"far outside", {-1e300, 200}, {1e300, 200}, true, {95, 200}, {500, 200}, true, true},
        {"corner miss", {0, 60}, {120, -60}, false, {}, {}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto segment = plot.ClipSegment(c.from, c.to);
        ASSERT_EQ(segment.has_value(), c.visible);
        if (!c.visible) continue;
        EXPECT_EQ(segment->from, c.clippedFrom);
        EXPECT_EQ(segment->to, c.clippedTo);
        EXPECT_EQ(segment->fromClipped, c.fromClipped);
        EXPECT_EQ(segment->toClipped, c.toClipped);
    }
}

TEST_F(GraphPlotTest, CirclesOnlyAtUnclippedEnds) {
    // Points in data units = pixels from the plot's corner: inside, inside,
    // far right (cut), back inside.
    LoadXY("x y\n10 10\n100 100\n1000 100\n200 50\n", GraphType::NormalWithPoints);
    const GraphRange range{0, kR - kL, 0, kB - kT};
    plot.DrawCurve(*plot.Column(0), *plot.Column(1), dc, range, false);
    auto lines = dc.Of(RecordingDrawingContext::Op::Line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].points[1], (Point{kR, kB - 100}));
    std::vector<Point> centres;
    for (const auto& call : dc.Of(RecordingDrawingContext::Op::Ellipse)) {
        EXPECT_EQ(call.rect.Width(), 6);
        centres.push_back({call.rect.left + 3, call.rect.top + 3});
    }
    const std::vector<Point> expected{{kL + 10, kB - 10}, {kL + 100, kB - 100}, {kL + 200, kB - 50}};
    EXPECT_EQ(centres, expected);
}

}  // namespace
