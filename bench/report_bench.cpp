// A power-flow report the size of the 2000-bus case's: 4,000 landscape lines
// of 154 columns with bold and double-width runs, then every page pictured
// and the printer file saved. Lines are measured once, as they are closed.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "fixed_metric_measurer.h"
#include "report_interface.h"

namespace {

constexpr int kLines = 4000;

IDBReport* WrittenReport(ITextMeasurer& display) {
    IDBReport* report = createReport(display);
    report->SetPageType(2);
    report->SetSection(2);
    for (int i = 0; i < kLines; ++i) {
        if (i % 50 == 0) {
            *report << fmtHighStart << "BUS " << fmtBoldStart << "NAME" << fmtBoldEnd << NL;
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

void BM_WriteLines(benchmark::State& state) {
    FixedMetricMeasurer display;
    for (auto _ : state) {
        IDBReport* report = WrittenReport(display);
        benchmark::DoNotOptimize(report->GetPageCount());
        report->Release();
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_WriteLines)->Unit(benchmark::kMillisecond);

void BM_PictureEveryPage(benchmark::State& state) {
    FixedMetricMeasurer display;
    IDBReport* report = WrittenReport(display);
    for (auto _ : state) {
        for (int page = 1; page <= report->GetPageCount(); ++page) {
            benchmark::DoNotOptimize(report->GetPageMetafile(page));
        }
    }
    state.counters["pages"] = report->GetPageCount();
    report->Release();
}
BENCHMARK(BM_PictureEveryPage)->Unit(benchmark::kMillisecond);

void BM_SaveAs(benchmark::State& state) {
    FixedMetricMeasurer display;
    IDBReport* report = WrittenReport(display);
    auto path = std::filesystem::temp_directory_path() / ("tavrin_report_bench_" + std::to_string(::getpid()));
    for (auto _ : state) benchmark::DoNotOptimize(report->SaveAs(path.c_str(), true));
    std::filesystem::remove(path);
    report->Release();
}
BENCHMARK(BM_SaveAs)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
