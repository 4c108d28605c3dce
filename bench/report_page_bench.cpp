// The report window's work per page: the page pictured by the report and
// played onto a screen-sized image, as the window paints it. The report is
// the size of the 2000-bus case's power-flow report (4,000 landscape lines of
// 154 columns with bold and double-width runs), measured with the screen's
// fonts as the program measures it.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "qt_drawing_context.h"
#include "qt_text_measurer.h"
#include "report_interface.h"

namespace {

constexpr int kLines = 4000;

IDBReport* WrittenReport(ITextMeasurer& display) {
    IDBReport* report = createReport(display);
    report->SetPageType(2);
    report->SetSection(2);
    for (int i = 0; i < kLines; ++i) {
        if (i % 50 == 0) {
            *report << fmtHighStart << "BUS " << fmtBoldStart << "NAME" << fmtBoldEnd << fmtHighEnd << NL;
            report->Rule('-', 154, true);
        }
        report->LeftJustify("BUS-NAME", 12);
        for (int column = 0; column < 11; ++column) report->Number(1234.5678 + i + column, 12, 3);
        *report << NL;
    }
    report->SetAlignment(2);
    report->SetTitle("Power flow");
    return report;
}

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
    IDBReport* report = WrittenReport(display);
    QImage screen(1180, 865, QImage::Format_RGB32);
    for (auto _ : state) ShowPage(*report, 2, screen);
    report->Release();
}
BENCHMARK(BM_ShowOnePage)->Unit(benchmark::kMillisecond);

void BM_PageThroughTheReport(benchmark::State& state) {
    QtTextMeasurer display;
    IDBReport* report = WrittenReport(display);
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
