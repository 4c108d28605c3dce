// Exporting the diagram of a network of 2,000 buses as an enhanced metafile
// and as a bitmap file, as the picture export command writes them.

#include <benchmark/benchmark.h>

#include <filesystem>

#include <QDir>
#include <QFileInfo>

#include "diagram_pictures.h"
#include "grid_network.h"
#include "qt_picture_rasteriser.h"
#include "qt_text_measurer.h"
#include "recording_view.h"

namespace {

void ExportDiagram(benchmark::State& state, PictureFormat format, const char* name) {
    DocumentModel model;
    BuildGridNetwork(*model);
    // The model draws only for a view.
    RecordingView view;
    model->SetView(&view);
    QtTextMeasurer measurer;
    QtPictureRasteriser rasteriser;
    const PictureFile file{QDir::temp().filePath(name), format};
    for (auto _ : state) WriteDiagramPicture(*model, file, measurer, rasteriser);
    const Rect extent = DiagramExtent(*model, kPrintMargin);
    state.counters["width"] = extent.right;
    state.counters["height"] = extent.bottom;
    state.counters["file_bytes"] = static_cast<double>(QFileInfo(file.path).size());
    std::filesystem::remove(file.path.toStdString());
}

void BM_ExportMetafile(benchmark::State& state) {
    ExportDiagram(state, PictureFormat::Metafile, "tavrin_diagram_bench.emf");
}
BENCHMARK(BM_ExportMetafile)->Unit(benchmark::kMillisecond);

void BM_ExportBitmap(benchmark::State& state) { ExportDiagram(state, PictureFormat::Bitmap, "tavrin_diagram_bench.bmp"); }
BENCHMARK(BM_ExportBitmap)->Unit(benchmark::kMillisecond);

}  // namespace
