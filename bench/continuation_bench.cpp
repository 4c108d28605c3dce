// A whole continuation study as the program's voltage-profile command runs
// it: the network handed over as host records, every load raised in
// proportion to its base value and every generator in proportion to its
// output (shares 100 %), reactive limits open, from 10 % above the base
// load through the nose and down the lower branch to 0.8 of the largest
// load parameter. The 2000-bus case's nose lies 2.4 % above its base load,
// below where a host run starts: that run says so and traces the curve
// from the base case. Counters: "points" (rows of the table) and "nose_mw"
// (the largest total load).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "cdf_host_records.h"
#include "memory_record_cursor.h"
#include "solver.h"
#include "table_load.h"

namespace {

void BM_HostContinuation(benchmark::State& state, const char* caseName) {
    HostNetwork network = LoadCdfAsHostRecords(std::string(BENCH_DATA_DIR) + "/" + caseName + ".cdf");
    MemoryRecordCursor records;
    for (BusRecord bus : network.buses) {
        bus.pLoadShare = 1.0;
        bus.qLoadShare = 1.0;
        bus.generationShare = 1.0;
        records.buses.push_back(bus);
        records.SetName(records.buses.back(), bus.name);
    }
    records.branches = network.branches;
    const std::string table =
        (std::filesystem::temp_directory_path() / (std::string("continuation_bench_") + caseName + ".txt")).string();

    int points = 0;
    for (auto _ : state) {
        Solver* solver = static_cast<Solver*>(createPSSolver());
        solver->SetTotalsColumns(false, false, true, false);
        if (solver->AttachAndRun(&records, nullptr, table.c_str(), 0) != 1) state.SkipWithError("the study failed");
        points = solver->GetPointCount();
        solver->Release();
    }
    state.counters["points"] = points;
    state.counters["nose_mw"] = LargestTableLoadMw(table);
    std::filesystem::remove(table);
}

BENCHMARK_CAPTURE(BM_HostContinuation, case118, "case118")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HostContinuation, ACTIVSg2000, "case_ACTIVSg2000")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
