// The report window's work per page: the page pictured by the report and
// played onto a screen-sized image, as the window paints it. The report is
// the size of the 2000-bus case's power-flow report, measured with the
// screen's fonts as the program measures it.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "large_report.h"
#include "qt_drawing_context.h"
#include "qt_text_measurer.h"
#include "report_interface.h"

namespace {

// Pictures the page and paints it as the window does, one unit a pixel.
void ShowPage(IDBReport& report, int page, QImage& screen) {
    auto picture = report.GetPageMetafile(page);
    QPainter painter(&screen);
    painter.fillRect(screen.rect(), Qt::white);
    QtDrawingContext dc(painter);
    Size size = report.GetPageSize();
    picture->Play(dc, {0, 0, size.cx, size.cy});
}

void BM_ShowOnePage(benchmark::State& state) {
    QtTextMeasurer display;
    IDBReport* report = LargeReport(display);
    QImage screen(1180, 865, QImage::Format_RGB32);
    for (auto _ : state) ShowPage(*report, 2, screen);
    report->Release();
}
BENCHMARK(BM_ShowOnePage)->Unit(benchmark::kMillisecond);

void BM_PageThroughTheReport(benchmark::State& state) {
    QtTextMeasurer display;
    IDBReport* report = LargeReport(display);
    QImage screen(1180, 865, QImage::Format_RGB32);
    for (auto _ : state) {
        for (int page = 1; page <= report->GetPageCount(); ++page) ShowPage(*report, page, screen);
    }
    state.counters["pages"] = report->GetPageCount();
    state.counters["per page"] = benchmark::Counter(static_cast<double>(state.iterations() * report->GetPageCount()),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    report->Release();
}
BENCHMARK(BM_PageThroughTheReport)->Unit(benchmark::kMillisecond);

}  // namespace
