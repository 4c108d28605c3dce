#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "solver.h"

// The file road of the solver on the 2000-bus public case: reading it, and
// the whole run of the command-line driver (read, solve from a flat start,
// write the listing).

namespace {

const std::string kCase = std::string(BENCH_DATA_DIR) + "/case_ACTIVSg2000.cdf";

class SolverReference {
public:
    SolverReference() : solver_(static_cast<Solver*>(createPSSolver())) {}
    ~SolverReference() { solver_->Release(); }
    SolverReference(const SolverReference&) = delete;
    SolverReference& operator=(const SolverReference&) = delete;
    Solver* operator->() const { return solver_; }

private:
    Solver* solver_;
};

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

void SolveCase2000(benchmark::State& state) {
    const char* items[] = {"ostrand", "-I", kCase.c_str(), "/dev/null", "-V", "-q"};
    for (auto _ : state) {
        SolverReference solver;
        if (solver->Main(6, items, 0) != 1) {
            state.SkipWithError("the run failed");
            break;
        }
    }
}
BENCHMARK(SolveCase2000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
