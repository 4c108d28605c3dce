#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "solver.h"
#include "solver_reference.h"

// The file road of the solver on the 2000-bus public case: reading it,
// writing its listing, and the whole run of the command-line driver (read, solve from a flat start,
// write the listing), without and with the generators' reactive limits.

namespace {

const std::string kCase = std::string(BENCH_DATA_DIR) + "/case_ACTIVSg2000.cdf";

void ReadCase2000(benchmark::State& state) {
    const char* items[] = {"ostrand", "-I", "-V"};
    for (auto _ : state) {
        SolverReference solver;
        solver->SetArguments(3, items);
        try {
            solver->ReadNetwork(kCase.c_str());
            solver->ReadAuxiliaryFiles();
        } catch (const SolverAbort&) {
            state.SkipWithError("the case could not be read");
            break;
        }
        benchmark::DoNotOptimize(solver->GetNetwork());
    }
}
BENCHMARK(ReadCase2000)->Unit(benchmark::kMillisecond);

// The listing of the solved case (flat start, no reactive limits),
// formatted and written to /dev/null.
void WriteListing2000(benchmark::State& state) {
    SolverReference solver;
    const char* items[] = {"ostrand", "-I", kCase.c_str(), "/dev/null", "-V", "-q"};
    if (solver->Main(6, items, 0) != 1) {
        state.SkipWithError("the run failed");
        return;
    }
    for (auto _ : state) solver->WriteSolution("/dev/null");
}
BENCHMARK(WriteListing2000)->Unit(benchmark::kMillisecond);

// A whole run with the given options after the case and the listing.
void RunCase2000(benchmark::State& state, std::vector<const char*> options) {
    std::vector<const char*> items = {"ostrand", "-I", kCase.c_str(), "/dev/null"};
    items.insert(items.end(), options.begin(), options.end());
    for (auto _ : state) {
        SolverReference solver;
        if (solver->Main(static_cast<int>(items.size()), items.data(), 0) != 1) {
            state.SkipWithError("the run failed");
            break;
        }
    }
}

void SolveCase2000(benchmark::State& state) {
    RunCase2000(state, {"-V", "-q"});
}
BENCHMARK(SolveCase2000)->Unit(benchmark::kMillisecond);

// With the generators' reactive limits: 164 of them end at a limit, each
// switch costing the iterations to settle again.
void SolveCase2000WithLimits(benchmark::State& state) {
    RunCase2000(state, {"-V"});
}
BENCHMARK(SolveCase2000WithLimits)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
