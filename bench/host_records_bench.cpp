// Reading the host's records into the solver's network and preparing it,
// without a solve: a chain of n buses (a slack, then load buses) joined by
// n - 1 lines. The time per bus should not grow with n, beyond what the
// memory itself costs.
//
// That cost is the second benchmark: as many bytes as the network's bus and
// branch records take, written once and read twice, as the reading, its
// preparation and the end of the network pass over the records. Once they
// no longer fit in the processor's last cache, this floor grows faster than
// the network, and the reading with it.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "host_read.h"
#include "memory_record_cursor.h"
#include "network.h"
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

// One byte of every cache line of the records, so that each line is read.
std::uint64_t ReadEveryLine(const std::vector<unsigned char>& bytes) {
    std::uint64_t sum = 0;
    for (std::size_t at = 0; at < bytes.size(); at += 64) sum += bytes[at];
    return sum;
}

void StreamRecordBytes(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    // Kept from one network to the next, as the solver's blocks are.
    std::vector<unsigned char> buses(n * sizeof(NetBus));
    std::vector<unsigned char> branches(n * sizeof(NetBranch));
    unsigned char fill = 0;
    for (auto _ : state) {
        ++fill;
        std::memset(buses.data(), fill, buses.size());
        std::memset(branches.data(), fill, branches.size());
        for (int pass = 0; pass < 2; ++pass) {
            benchmark::DoNotOptimize(ReadEveryLine(buses));
            benchmark::DoNotOptimize(ReadEveryLine(branches));
        }
    }
    state.counters["buses_per_second"] = benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(StreamRecordBytes)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
