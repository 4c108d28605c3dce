// A power-flow report the size of the 2000-bus case's: 4,000 landscape lines
// of 154 columns with bold and double-width runs, then every page pictured
// and the printer file saved. Lines are measured once, as they are closed.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "fixed_metric_measurer.h"
#include "large_report.h"
#include "report_interface.h"

namespace {

void BM_WriteLines(benchmark::State& state) {
    FixedMetricMeasurer display;
    for (auto _ : state) {
        IDBReport* report = LargeReport(display);
        benchmark::DoNotOptimize(report->GetPageCount());
        report->Release();
    }
    state.SetItemsProcessed(state.iterations() * kLargeReportLines);
}
BENCHMARK(BM_WriteLines)->Unit(benchmark::kMillisecond);

void BM_PictureEveryPage(benchmark::State& state) {
    FixedMetricMeasurer display;
    IDBReport* report = LargeReport(display);
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
    IDBReport* report = LargeReport(display);
    auto path = std::filesystem::temp_directory_path() / ("tavrin_report_bench_" + std::to_string(::getpid()));
    for (auto _ : state) benchmark::DoNotOptimize(report->SaveAs(path.c_str(), true));
    std::filesystem::remove(path);
    report->Release();
}
BENCHMARK(BM_SaveAs)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
