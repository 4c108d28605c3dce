// Opening the data sheet of the 2,000-bus public case drawn as a model and
// solved: the first page as the sheet opens, and all four pages as a user
// clicking through the tabs.

#include <benchmark/benchmark.h>

#include <QTabWidget>

#include "cdf_model.h"
#include "data_dlg.h"
#include "grid_list_ctrl.h"
#include "qt_prompt_service.h"

namespace {

void OpenDataSheet(benchmark::State& state, bool everyPage) {
    CdfModel drawn(BENCH_DATA_DIR "/case_ACTIVSg2000.cdf");
    PowerSystem& model = drawn.model();
    if (model.RunSolver(nullptr, nullptr, nullptr) != 1) state.SkipWithError("not solved");
    QtPromptService prompts;  // never asked: the sheet is not run
    int rows = 0;
    for (auto _ : state) {
        CDataDlg sheet(prompts, model.GetRecordCursor());
        sheet.SetUp();
        rows = sheet.Page(0).List().rowCount();
        if (everyPage) {
            for (int page = 1; page < CDataView::kPageCount; ++page) {
                sheet.Tabs().setCurrentIndex(page);
                rows += sheet.Page(page).List().rowCount();
            }
        }
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = rows;
}

void BM_OpenDataSheet(benchmark::State& state) { OpenDataSheet(state, false); }
BENCHMARK(BM_OpenDataSheet)->Unit(benchmark::kMillisecond);

void BM_DataSheetEveryPage(benchmark::State& state) { OpenDataSheet(state, true); }
BENCHMARK(BM_DataSheetEveryPage)->Unit(benchmark::kMillisecond);

}  // namespace
