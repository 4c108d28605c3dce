// The plot window's costs: loading a large data file, rendering a long
// curve on an image, and a repaint that only copies the off-screen surface.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include <QImage>
#include <QPainter>

#include "graph_wnd.h"
#include "qt_drawing_context.h"
#include "qt_prompt_service.h"
#include "qt_text_measurer.h"
#include "recording_prompt.h"

namespace {

constexpr int kRows = 100000;

// A file of kRows rows of ten columns c0..c9, written once.
const std::string& LargeFile() {
    static const std::string path = [] {
        std::string name = "/tmp/graph_bench_data.txt";
        std::ofstream out(name, std::ios::binary);
        for (int c = 0; c < 10; ++c) out << "c" << c << (c < 9 ? "\t" : "\r\n");
        char cell[32];
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < 10; ++c) {
                std::snprintf(cell, sizeof cell, "%.4f%s", r * 0.001 + std::sin(r * 0.01 * (c + 1)), c < 9 ? "\t" : "\r\n");
                out << cell;
            }
        }
        return name;
    }();
    return path;
}

GraphCurve Curve(int x, int y) {
    GraphCurve curve;
    curve.xName = {'c', static_cast<char>('0' + x)};
    curve.yName = {'c', static_cast<char>('0' + y)};
    curve.color = 0x0000FF;
    return curve;
}

void BM_LoadLargeFile(benchmark::State& state) {
    const std::string& path = LargeFile();
    RecordingPrompt prompt;
    QtTextMeasurer measurer;
    for (auto _ : state) {
        GraphPlot plot(prompt, measurer);
        plot.SetDataFile(path.c_str());
        for (int c = 1; c < 10; ++c) plot.AddCurve(Curve(0, c));
        benchmark::DoNotOptimize(plot.LoadData());
    }
}
BENCHMARK(BM_LoadLargeFile)->Unit(benchmark::kMillisecond);

void BM_RenderLongCurve(benchmark::State& state) {
    RecordingPrompt prompt;
    QtTextMeasurer measurer;
    GraphPlot plot(prompt, measurer);
    plot.SetDataFile(LargeFile().c_str());
    plot.AddCurve(Curve(0, 1));
    plot.LoadData();
    QImage image(800, 600, QImage::Format_RGB32);
    plot.SetClientSize({800, 600});
    for (auto _ : state) {
        QPainter painter(&image);
        QtDrawingContext dc(painter);
        plot.PrepareDC(dc);
        plot.Layout(dc);
        plot.SetBackgroundColor(kWhite);  // sets the redraw flag
        plot.Render(dc);
    }
}
BENCHMARK(BM_RenderLongCurve)->Unit(benchmark::kMillisecond);

void BM_RepaintWithoutRedraw(benchmark::State& state) {
    QtPromptService prompts;  // the file has every column: nothing is asked
    CGraphWnd wnd(prompts);
    wnd.resize(800, 600);
    wnd.SetDataFile(LargeFile().c_str());
    wnd.AddCurve(Curve(0, 1));
    wnd.AddCurve(Curve(0, 2));
    wnd.grab();
    for (auto _ : state) benchmark::DoNotOptimize(wnd.grab());
}
BENCHMARK(BM_RepaintWithoutRedraw)->Unit(benchmark::kMillisecond);

}  // namespace
