// Reading the host's records into the solver's network and preparing it,
// without a solve: a chain of n buses (a slack, then load buses) joined by
// n - 1 lines. The time per bus should not grow with n.

#include <benchmark/benchmark.h>

#include "host_read.h"
#include "memory_record_cursor.h"
#include "solver.h"

namespace {

void ReadHostChain(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    MemoryRecordCursor records;
    BusRecord& slack = records.AddBus(1, 0, "Slack");
    slack.maxQ = 1000.0;
    slack.minQ = -1000.0;
    for (int number = 2; number <= n; ++number) records.AddBus(number, 1, "Load").loadP = 1.0;
    for (int number = 2; number <= n; ++number) records.AddBranch(BranchRecord::Line, number - 1, number, 0.001, 0.01);
    for (auto _ : state) {
        Solver* solver = static_cast<Solver*>(createPSSolver());
        if (!ReadHostRecords(*solver, records)) state.SkipWithError("the records were refused");
        solver->Release();
    }
    state.counters["buses_per_second"] = benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(ReadHostChain)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
