#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "fixed_metric_measurer.h"
#include "graph_plot.h"
#include "recording_drawing_context.h"
#include "recording_prompt.h"

// A plot over a recording prompt and fixed text metrics, with helpers that
// write data files into a folder of the test's own.
class GraphPlotTest : public ::testing::Test {
protected:
    RecordingPrompt prompt;
    FixedMetricMeasurer measurer;
    GraphPlot plot{prompt, measurer};
    RecordingDrawingContext dc;

    static std::string DataPath(const char* name) { return std::string(TEST_DATA_DIR) + "/" + name; }

    std::string WriteFile(const std::string& name, std::string_view contents) {
        std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) /
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(folder);
        std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

    static GraphCurve Curve(std::string x, std::string y, ColorRef color = 0x0000FF) {
        GraphCurve curve;
        curve.xName = std::move(x);
        curve.yName = std::move(y);
        curve.color = color;
        return curve;
    }

    // Loads `contents` as the data file of a plot of curves x-y.
    void LoadXY(std::string_view contents, int type = GraphType::Normal) {
        plot.SetGraphType(type);
        plot.SetDataFile(WriteFile("data.txt", contents).c_str());
        plot.AddCurve(Curve("x", "y"));
        ASSERT_TRUE(plot.LoadData());
    }
};
