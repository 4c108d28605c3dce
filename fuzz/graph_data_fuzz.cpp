// Feeds arbitrary bytes to a plot as its data file: the graph window reads
// its header line for curves, and for every graph type a two-curve plot
// loads them, takes its automatic range, lays itself out and draws axes,
// curves, titles and legend on a recording. A crash, a hang, a leak or a
// large allocation is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "fixed_metric_measurer.h"
#include "graph_header.h"
#include "graph_plot.h"
#include "recording_drawing_context.h"
#include "recording_prompt.h"

namespace {

const std::string& DataFile() {
    static const std::string path = [] {
        char name[] = "/tmp/graph_data_fuzz_XXXXXX";
        int fd = ::mkstemp(name);
        if (fd < 0) std::abort();
        ::close(fd);
        return std::string(name);
    }();
    return path;
}

GraphCurve Curve(const char* x, const char* y, bool circles) {
    GraphCurve curve;
    curve.xName = x;
    curve.yName = y;
    curve.showCircles = circles;
    return curve;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(DataFile().c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);

    GraphHeader header = ReadGraphHeader(DataFile().c_str());
    if (header.status == GraphHeader::Status::Read) {
        for (const std::string& name : header.names) {
            if (name.empty() || name.find_first_of(" \t\r") != std::string::npos) std::abort();
        }
    }

    for (int type = GraphType::Normal; type <= GraphType::Categories; ++type) {
        RecordingPrompt prompt;
        FixedMetricMeasurer measurer;
        GraphPlot plot(prompt, measurer);
        plot.SetGraphType(type);
        plot.SetDataFile(DataFile().c_str());
        plot.AddCurve(Curve("x", "y", true));
        plot.AddCurve(Curve("x", "z", false));
        plot.SetClientSize({400, 300});
        RecordingDrawingContext dc;
        plot.PrepareDC(dc);
        plot.LoadData();
        plot.Layout(dc);
        plot.Render(dc);
        plot.DrawTitles(dc);
        plot.DrawLegend(dc);
    }
    return 0;
}
