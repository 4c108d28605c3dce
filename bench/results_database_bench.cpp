// Saving the 2000-bus public case, solved and drawn as a model, into a
// results database made from the schema script, and comparing two of its
// stored cases into a report measured as the screen measures it.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "ado_database.h"
#include "cdf_model.h"
#include "qt_text_measurer.h"
#include "report_interface.h"
#include "results_cases.h"
#include "results_comparison.h"
#include "results_database_file.h"

namespace {

const std::string kCase = BENCH_DATA_DIR "/case_ACTIVSg2000.cdf";

// The solved model and an empty results database in a folder of its own.
class SavedCases {
public:
    SavedCases() : drawn_(kCase) {
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        std::string error;
        ready_ = drawn_.model().RunSolver(nullptr, nullptr, nullptr) == 1 &&
                 CreateResultsDatabase(folder_ / "Results.db", error) &&
                 database_.Open((folder_ / "Results.db").string());
    }
    ~SavedCases() {
        database_.Close();
        std::filesystem::remove_all(folder_);
    }

    bool Ready() const { return ready_; }
    bool Save(const std::string& title) {
        return !SaveResultCase(database_, title, "benchmark", *drawn_.model().GetRecordCursor());
    }
    CADODataBase& Database() { return database_; }
    int Buses() const { return static_cast<int>(drawn_.Buses().size()); }

private:
    std::filesystem::path folder_ = std::filesystem::temp_directory_path() / "results_database_bench";
    CdfModel drawn_;
    CADODataBase database_;
    bool ready_ = false;
};

// A new system each time: its Buses and Branches rows and its first case.
void FirstSaveOfAModel(benchmark::State& state) {
    SavedCases cases;
    if (!cases.Ready()) state.SkipWithError("no solved model or no database");
    int saved = 0;
    for (auto _ : state) {
        if (!cases.Save("model" + std::to_string(++saved) + ".pf")) state.SkipWithError("not saved");
    }
    state.counters["buses"] = cases.Buses();
}
BENCHMARK(FirstSaveOfAModel)->Unit(benchmark::kMillisecond);

// Another case of a stored system: its result rows only.
void LaterSaveOfAModel(benchmark::State& state) {
    SavedCases cases;
    if (!cases.Ready() || !cases.Save("model.pf")) state.SkipWithError("no stored system");
    for (auto _ : state) {
        if (!cases.Save("model.pf")) state.SkipWithError("not saved");
    }
}
BENCHMARK(LaterSaveOfAModel)->Unit(benchmark::kMillisecond);

void CompareTwoCases(benchmark::State& state) {
    SavedCases cases;
    if (!cases.Ready() || !cases.Save("model.pf") || !cases.Save("model.pf"))
        state.SkipWithError("no stored cases");
    QtTextMeasurer display;
    int pages = 0;
    for (auto _ : state) {
        std::string failure;
        IDBReport* report = CompareResultCases(cases.Database(), {1, 1, "first"}, {1, 2, "second"},
                                               [&] { return createReport(display); }, failure);
        if (!report) {
            state.SkipWithError(failure.c_str());
            break;
        }
        pages = report->GetPageCount();
        report->Release();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(CompareTwoCases)->Unit(benchmark::kMillisecond);

}  // namespace
