#include <cfloat>
#include <string>
#include <vector>

#include "graph_fixture.h"
#include "graph_value.h"

namespace {

TEST(GraphValueTest, ReadsLikeAtofInTheCLocale) {
    struct Case {
        const char* text;
        float value;
    };
    const Case cases[] = {
        {"1.5", 1.5f},   {"-2e3", -2000.0f}, {"+7", 7.0f},    {".25", 0.25f},     {"5.", 5.0f},
        {"12abc", 12.0f}, {"1e", 1.0f},      {"3e+", 3.0f},   {"abc", 0.0f},      {"inf", 0.0f},
        {"nan", 0.0f},   {"-", 0.0f},        {".", 0.0f},     {"0x1A", 0.0f},     {"1e39", FLT_MAX},
        {"-1e400", -FLT_MAX}, {"1e-400", 0.0f}, {"0.000000000000000000000000000000000000000000000001", 0.0f},
        {"1,5", 1.0f},
    };
    for (const Case& c : cases) EXPECT_EQ(GraphValue(c.text), c.value) << c.text;
    std::string longZeros = "0." + std::string(400, '0') + "1";
    EXPECT_EQ(GraphValue(longZeros), 0.0f);
    EXPECT_EQ(GraphValue("1" + std::string(400, '0')), FLT_MAX);
}

TEST_F(GraphPlotTest, ContinuationTableLoadsEveryCurveAlikeWithLfOrCrLf) {
    std::vector<std::vector<float>> loaded[2];
    const char* files[] = {"graph_continuation_crlf.txt", "graph_continuation_lf.txt"};
    for (int f = 0; f < 2; ++f) {
        RecordingPrompt prompt;
        GraphPlot plot(prompt, measurer);
        plot.SetDataFile(DataPath(files[f]).c_str());
        for (const char* bus : {"V_LAKE", "V_MILL_2", "V_NORTH"}) plot.AddCurve(Curve("PLoad_Total", bus));
        ASSERT_TRUE(plot.LoadData()) << files[f];
        EXPECT_TRUE(prompt.boxes.empty());
        EXPECT_EQ(plot.GetCurves()[0].xColumn, 3);
        EXPECT_EQ(plot.GetCurves()[2].yColumn, 2);
        for (int column = 0; column < 4; ++column) {
            ASSERT_NE(plot.Column(column), nullptr);
            loaded[f].push_back(*plot.Column(column));
        }
    }
    EXPECT_EQ(loaded[0][3], (std::vector<float>{2.5f, 3.0f, 3.5f, 3.8f, 3.9f}));
    EXPECT_EQ(loaded[0][0].size(), 5u);
    EXPECT_EQ(loaded[0], loaded[1]);
}

TEST_F(GraphPlotTest, SensitivityFileAsCategoryBars) {
    plot.SetGraphType(GraphType::Categories);
    plot.SetDataFile(DataPath("graph_sensitivity.txt").c_str());
    plot.AddCurve(Curve("x", "Sensitivity", 0x00AA00));
    plot.SetClientSize({600, 400});
    plot.Layout(dc);
    plot.Render(dc);
    EXPECT_EQ(plot.CategoryNames(), (std::vector<std::string>{"LAKE", "MILL_2", "NORTH"}));

    int bars = 0;
    for (const auto& call : dc.Of(RecordingDrawingContext::Op::Rectangle)) {
        if (call.state.brush.color != 0x00AA00) continue;
        ++bars;
        EXPECT_EQ(call.state.pen.color, kBlack);
    }
    EXPECT_EQ(bars, 3);
    // The names stand upright under the plot, no X ticks.
    int upright = 0;
    for (const auto& call : dc.Of(RecordingDrawingContext::Op::Text)) upright += call.state.font.escapement == 900;
    EXPECT_EQ(upright, 3);
}

TEST_F(GraphPlotTest, BarsNeitherWhereThePreviousValueIsZeroNorWithoutWidth) {
    struct Case {
        const char* file;
        int bars;
    };
    const Case cases[] = {
        {"x y\n1 100\n2 0\n3 50\n4 0\n", 2},
        {"x y\n1 100\n1 20\n3 50\n", 1},
        {"x y\n", 0},
    };
    for (const Case& c : cases) {
        RecordingPrompt prompt;
        GraphPlot plot(prompt, measurer);
        RecordingDrawingContext dc;
        plot.SetGraphType(GraphType::Bar);
        plot.SetDataFile(WriteFile("bars.txt", c.file).c_str());
        plot.AddCurve(Curve("x", "y", 0x123456));
        plot.SetRange(0, 5, -10, 110);
        plot.Render(dc);
        int bars = 0;
        for (const auto& call : dc.Of(RecordingDrawingContext::Op::Rectangle)) bars += call.state.brush.color == 0x123456;
        EXPECT_EQ(bars, c.bars) << c.file;
    }
}

TEST_F(GraphPlotTest, StemsForEveryPoint) {
    for (int type : {GraphType::Line, GraphType::LineWithPoints}) {
        RecordingPrompt prompt;
        GraphPlot plot(prompt, measurer);
        RecordingDrawingContext dc;
        plot.SetGraphType(type);
        plot.SetDataFile(WriteFile("stems.txt", "x y\n1 2\n2 -1\n3 9\n").c_str());
        plot.AddCurve(Curve("x", "y"));
        ASSERT_TRUE(plot.LoadData());
        const GraphRange range{0, 4, -2, 10};
        plot.DrawCurve(*plot.Column(0), *plot.Column(1), dc, range, false);
        const int y0 = static_cast<int>(plot.ToScreen(range, 0, 0, Clamp::Yes).y);
        auto lines = dc.Of(RecordingDrawingContext::Op::Line);
        ASSERT_EQ(lines.size(), 3u);
        for (const auto& line : lines) {
            EXPECT_EQ(line.points[0].y, y0);
            EXPECT_EQ(line.points[0].x, line.points[1].x);
        }
        EXPECT_EQ(dc.Of(RecordingDrawingContext::Op::Ellipse).size(), type == GraphType::LineWithPoints ? 3u : 0u);
    }
}

TEST_F(GraphPlotTest, ParameterLineNamesTheParameterColumn) {
    LoadXY("PARAMETER: Load 3\r\nx y\r\n1 2 0 7\r\n2 3 0 7\r\n3 4 0 8\r\n");
    EXPECT_EQ(plot.ParameterName(), "Load");
    EXPECT_EQ(plot.ParameterColumn(), 3);
    EXPECT_EQ(plot.ParameterValues(), (std::vector<float>{7.0f, 8.0f}));
    EXPECT_EQ(*plot.Column(1), (std::vector<float>{2.0f, 3.0f, 4.0f}));

    RecordingPrompt prompt;
    GraphPlot bare(prompt, measurer);
    bare.SetDataFile(WriteFile("bare.txt", "PARAMETER:\r\nx y\r\n1 2\r\n").c_str());
    bare.AddCurve(Curve("x", "y"));
    EXPECT_FALSE(bare.LoadData());
    EXPECT_TRUE(bare.IsLoaded());
    EXPECT_EQ(bare.Column(0), nullptr);
}

TEST_F(GraphPlotTest, MissingColumnIsToldOnceAndLoadsNothing) {
    plot.SetDataFile(WriteFile("data.txt", "x y\n1 2\n").c_str());
    plot.AddCurve(Curve("x", "Q_LOSS"));
    plot.SetClientSize({600, 400});
    plot.Render(dc);
    plot.Render(dc);
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].text, "Graph cannot be updated!\nMissing information for Q_LOSS variable!");
    EXPECT_EQ(plot.Column(0), nullptr);
    EXPECT_TRUE(dc.Of(RecordingDrawingContext::Op::Line).empty());
}

TEST_F(GraphPlotTest, FileMissingAtFirstRenderLoadsAtTheNext) {
    std::string path = WriteFile("placeholder", "");
    path = path.substr(0, path.rfind('/')) + "/late.txt";
    std::filesystem::remove(path);
    plot.SetDataFile(path.c_str());
    plot.AddCurve(Curve("x", "y"));
    plot.SetClientSize({600, 400});
    plot.Render(dc);
    EXPECT_FALSE(plot.IsLoaded());
    EXPECT_TRUE(dc.calls.empty());
    WriteFile("late.txt", "x y\n1 2\n3 4\n");
    plot.Render(dc);
    EXPECT_TRUE(plot.IsLoaded());
    EXPECT_EQ(*plot.Column(1), (std::vector<float>{2.0f, 4.0f}));
}

TEST_F(GraphPlotTest, LongLinesAndColumnsBeyondSixteenBits) {
    constexpr int kColumns = 70000;
    std::string header = "x";
    std::string row = "1";
    for (int i = 1; i < kColumns; ++i) {
        header += " c" + std::to_string(i);
        row += ";" + std::to_string(i);
    }
    RecordingPrompt prompt;
    GraphPlot wide(prompt, measurer);
    wide.SetDataFile(WriteFile("wide.txt", header + "\r\n" + row + "\r\n\r\n\r\n" + row).c_str());
    wide.AddCurve(Curve("x", "c69999"));
    ASSERT_TRUE(wide.LoadData());
    EXPECT_EQ(wide.GetCurves()[0].yColumn, 69999);
    EXPECT_EQ(*wide.Column(69999), (std::vector<float>{69999.0f, 69999.0f}));
}

}  // namespace
