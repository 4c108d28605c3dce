// The point of collapse against the continuation on the same direction:
// the file road with every load raised in proportion to its base value,
// the slack taking up the increase, reactive limits off (option q). The
// direct method solves for the nose (counters "iterations", the extended
// Newton's last iteration number, "lambda" and "nose_mw", and what its
// sparse store did: "orderings" searched, "given_orders" taken,
// "factorisations" with a new pivot choice, "refactorisations"); the
// continuation traces the curve to just past its nose (option S 0.99,
// counters "points" and "nose_mw", the largest total load of its table).
// Both start from the base load.

#include <benchmark/benchmark.h>

#include <string>

#include "case_file_run.h"
#include "cdf_host_records.h"
#include "number_text.h"
#include "solver.h"
#include "table_load.h"

namespace {

struct Study {
    std::string casePath;
    std::string direction;
    double baseMw = 0.0;
};

Study PrepareStudy(const ScratchFolder& folder, const char* caseName) {
    Study study;
    study.casePath = TestDataPath(std::string(caseName) + ".cdf");
    study.direction = (folder / "dir.k").string();
    std::string text;
    for (const BusRecord& bus : LoadCdfAsHostRecords(study.casePath).buses) {
        if (bus.loadP == 0.0 && bus.loadQ == 0.0) continue;
        text += FormatInCLocale("%d 0 0 %g %g 0\n", bus.number, bus.loadP / 100.0, bus.loadQ / 100.0);
        study.baseMw += bus.loadP;
    }
    WriteFileText(study.direction, text);
    return study;
}

void BM_PointOfCollapse(benchmark::State& state, const char* caseName) {
    ScratchFolder folder("poc_bench");
    const Study study = PrepareStudy(folder, caseName);
    RunArguments arguments({"-I", study.casePath, "-K" + study.direction, "-C", "-q"});
    int iterations = 0;
    double lambda = 0.0;
    SparseFactor::Counts done;
    for (auto _ : state) {
        Solver* solver = static_cast<Solver*>(createPSSolver());
        try {
            solver->PrepareRun(arguments.Count(), arguments.Items(), 0);
            solver->SetPointOfCollapse(true);
            solver->NumberVariables();
            iterations = solver->SolvePointOfCollapse();
            lambda = solver->LoadParameter();
            done = solver->Matrix().FactorCounts();
        } catch (const SolverAbort&) {
            state.SkipWithError("the point of collapse failed");
        }
        solver->Release();
    }
    state.counters["iterations"] = iterations;
    state.counters["lambda"] = lambda;
    state.counters["nose_mw"] = study.baseMw * (1.0 + lambda);
    state.counters["orderings"] = done.orderings;
    state.counters["given_orders"] = done.givenOrders;
    state.counters["factorisations"] = done.factorisations;
    state.counters["refactorisations"] = done.refactorisations;
}

void BM_ContinuationToNose(benchmark::State& state, const char* caseName) {
    ScratchFolder folder("poc_bench_continuation");
    const Study study = PrepareStudy(folder, caseName);
    const std::string table = (folder / "pv.txt").string();
    RunArguments arguments({"-I", study.casePath, "-K" + study.direction, "-c" + table, "-q", "-S0.99"});
    int points = 0;
    for (auto _ : state) {
        Solver* solver = static_cast<Solver*>(createPSSolver());
        solver->SetTotalsColumns(false, false, true, false);
        if (solver->Main(arguments.Count(), arguments.Items(), 0) != 1) state.SkipWithError("the study failed");
        points = solver->GetPointCount();
        solver->Release();
    }
    state.counters["points"] = points;
    state.counters["nose_mw"] = LargestTableLoadMw(table);
}

BENCHMARK_CAPTURE(BM_PointOfCollapse, case118, "case118")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ContinuationToNose, case118, "case118")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PointOfCollapse, ACTIVSg2000, "case_ACTIVSg2000")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ContinuationToNose, ACTIVSg2000, "case_ACTIVSg2000")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
