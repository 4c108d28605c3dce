#include <vector>

#include "graph_fixture.h"

namespace {

TEST_F(GraphPlotTest, LegendColumnsFollowThePlotWidth) {
    // Without a layout the plot's right edge is 500 and its bottom 350.
    for (int i = 0; i < 5; ++i) {
        GraphCurve curve = Curve("x", "y" + std::to_string(i), 0x010101 * static_cast<ColorRef>(i + 1));
        curve.showCircles = i == 0;
        plot.AddCurve(curve);
    }
    plot.GetCurves()[1].legend = "second";
    plot.DrawLegend(dc);

    auto lines = dc.Of(RecordingDrawingContext::Op::Line);
    ASSERT_EQ(lines.size(), 5u);
    const int w = 136, s = 22, y = 350 + 55;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lines[i].points[0], (Point{5 + i * w, y}));
        EXPECT_EQ(lines[i].points[1], (Point{5 + i * w + s, y}));
        EXPECT_EQ(lines[i].state.pen.color, 0x010101u * static_cast<ColorRef>(i + 1));
    }
    // The fifth curve opens the second row; rows are as high as the layout
    // made them, and there was none.
    EXPECT_EQ(lines[4].points[0], (Point{5, y}));
    EXPECT_EQ(dc.Of(RecordingDrawingContext::Op::Ellipse).size(), 2u);
    auto texts = dc.Of(RecordingDrawingContext::Op::Text);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0].text, "y0");
    EXPECT_EQ(texts[1].text, "second");
    EXPECT_EQ(texts[1].points[0].x, 5 + w + s + 2);
}

TEST_F(GraphPlotTest, LayoutMakesRoomForTheLegendRows) {
    plot.SetClientSize({600, 400});
    for (int i = 0; i < 5; ++i) plot.AddCurve(Curve("x", "y"));
    plot.Layout(dc);
    // The probe text in the 13-pixel tick font is 13 high, plus 5; two rows.
    EXPECT_EQ(plot.LegendHeight(), 36);
    EXPECT_EQ(plot.PlotRight(), 580);
    EXPECT_EQ(plot.PlotBottom(), 400 - 45 - 36);
}

TEST_F(GraphPlotTest, RenderDrawsBackgroundAxesCurvesAndFrame) {
    plot.SetClientSize({600, 400});
    plot.SetBackgroundColor(0xEEDDCC);
    GraphCurve curve = Curve("x", "y", 0x0000FF);
    curve.penStyle = 1;
    curve.penWidth = 2;
    plot.AddCurve(curve);
    plot.SetDataFile(WriteFile("data.txt", "x y\n0 0\n1 1\n2 4\n").c_str());
    plot.Layout(dc);
    plot.Render(dc);

    auto rectangles = dc.Of(RecordingDrawingContext::Op::Rectangle);
    ASSERT_FALSE(rectangles.empty());
    EXPECT_EQ(rectangles[0].rect, (Rect{0, 0, 600, 400}));
    EXPECT_EQ(rectangles[0].state.brush.color, 0xEEDDCCu);

    auto lines = dc.Of(RecordingDrawingContext::Op::Line);
    int curveSegments = 0;
    for (const auto& line : lines) {
        curveSegments += line.state.pen == LogPen{1, {2, 0}, 0x0000FF};
    }
    EXPECT_EQ(curveSegments, 2);
    // The frame closes the drawing, its right and bottom edges one pixel out.
    ASSERT_GE(lines.size(), 4u);
    const auto& last = lines.back();
    EXPECT_EQ(last.state.pen.width.x, 2);
    EXPECT_EQ(last.points[1], (Point{95, 40}));
    EXPECT_EQ(lines[lines.size() - 3].points[1], (Point{581, 356}));

    // Without the redraw flag nothing is drawn again.
    plot.ClearRedraw();
    dc.calls.clear();
    plot.Render(dc);
    EXPECT_TRUE(dc.calls.empty());
}

TEST_F(GraphPlotTest, TitlesInTheirBoxes) {
    plot.SetClientSize({600, 400});
    plot.SetGraphTitle("PV");
    plot.SetXAxisTitle("P");
    plot.SetYAxisTitle("Volts");
    plot.Layout(dc);
    plot.DrawTitles(dc);
    auto texts = dc.Of(RecordingDrawingContext::Op::Text);
    ASSERT_EQ(texts.size(), 3u);
    // Fixed metrics: a character is half the font's height wide, rounded up.
    // X title: 14-pixel font, centred in (95, 355+13+5, 580, 400).
    EXPECT_EQ(texts[0].points[0], (Point{95 + (485 - 7) / 2, 373}));
    // Y title: upright, its run 14 wide and 35 tall, ending at the bottom
    // of (5, 40, 20, min(40 + 177 + 17, 355 + 20)).
    EXPECT_EQ(texts[1].state.font.escapement, 900);
    EXPECT_EQ(texts[1].points[0], (Point{5, 234}));
    // Graph title: 16-pixel font, centred both ways in (95, 2, 580, 38).
    EXPECT_EQ(texts[2].points[0], (Point{95 + (485 - 16) / 2, 2 + (36 - 16) / 2}));
}

}  // namespace
