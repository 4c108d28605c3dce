// Writes the EMF target's seeds into the folder it is given: the tests'
// filled rectangle, and a picture of the program's own metafile writer
// with every kind of record it makes (pens, brushes, a font and text, a
// clip, lines, polylines, polygons, rectangles, ellipses and arcs). From
// these the fuzzer starts inside sound pictures, where the converter and
// the SVG renderer are reached.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "emf_drawing_context.h"
#include "emf_fixture.h"
#include "fixed_metric_measurer.h"

namespace {

std::vector<std::uint8_t> EveryRecordKind() {
    FixedMetricMeasurer measurer;
    EmfDrawingContext emf(measurer, {120, 80});
    emf.SelectPen({PenStyle::Solid, {2, 0}, Rgb(200, 0, 0)});
    emf.SelectBrush({BrushStyle::Solid, Rgb(0, 128, 0), 0});
    emf.MoveTo({2, 2});
    emf.LineTo({60, 40});
    const Point zigzag[] = {{5, 70}, {20, 50}, {35, 70}, {50, 50}};
    emf.Polyline(zigzag);
    const Point triangle[] = {{70, 10}, {110, 10}, {90, 40}};
    emf.Polygon(triangle);
    emf.SetClipRect(Rect{60, 40, 118, 78});
    emf.Rectangle({62, 42, 90, 60});
    emf.Ellipse({80, 50, 116, 76});
    emf.SetClipRect(std::nullopt);
    emf.SelectPen({PenStyle::Dash, {1, 0}, Rgb(0, 0, 255)});
    emf.Arc({10, 10, 50, 50}, {50, 30}, {30, 10});
    LogFont font;
    font.height = -12;
    font.weight = 700;
    font.SetFaceName("Arial");
    emf.SelectFont(font);
    emf.SetTextColor(Rgb(0, 0, 128));
    emf.SetBackgroundMode(BackgroundMode::Opaque);
    emf.TextOut({4, 4}, "Bus 1 230 kV");
    return emf.Finish();
}

bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return !bytes.empty() && out.good();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: emf_seed_writer <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool written = Write(folder + "/rectangle.emf", FilledRectangleMetafile(40, 30, 255, 160, 0)) &&
                         Write(folder + "/every_record_kind.emf", EveryRecordKind());
    return written ? 0 : 1;
}
