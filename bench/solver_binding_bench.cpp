// The power flow's host road on the 2000-bus public case drawn as a model,
// from RunSolver to the results applied to the elements, next to the
// solver's own run over the same case file. Both start flat.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cdf_model.h"
#include "solver_interface.h"

namespace {

const std::string kCase = BENCH_DATA_DIR "/case_ACTIVSg2000.cdf";

void HostRoadOfTheDrawnModel(benchmark::State& state) {
    CdfModel drawn(kCase);
    for (auto _ : state) {
        state.PauseTiming();
        for (const auto& [number, bus] : drawn.Buses()) bus->GetValues()[Bus::kAngle] = 0.0;
        state.ResumeTiming();
        if (drawn.model().RunSolver(nullptr, nullptr, nullptr) != 1) state.SkipWithError("not solved");
    }
    state.counters["buses"] = static_cast<double>(drawn.Buses().size());
}
BENCHMARK(HostRoadOfTheDrawnModel)->Unit(benchmark::kMillisecond);

void SolversOwnFileRun(benchmark::State& state) {
    const std::string listing = (std::filesystem::temp_directory_path() / "solver_binding_bench.txt").string();
    const std::vector<const char*> items = {"ostrand", "-I", kCase.c_str(), listing.c_str(), "-V"};
    for (auto _ : state) {
        ISolver* solver = createPSSolver();
        const int solved = solver->Main(static_cast<int>(items.size()), items.data(), 0);
        solver->Release();
        if (solved != 1) state.SkipWithError("not solved");
    }
    std::filesystem::remove(listing);
}
BENCHMARK(SolversOwnFileRun)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
