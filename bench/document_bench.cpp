// Saving and reading ".pf" documents of a network of 2,000 buses.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "grid_network.h"

namespace {

void BM_SaveDocument(benchmark::State& state) {
    DocumentModel model;
    BuildGridNetwork(*model);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::vector<std::uint8_t> saved = model.Save();
        bytes = saved.size();
        benchmark::DoNotOptimize(saved.data());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
    int elements = 0;
    for (int id = 0; id < PowerSystem::kListCount; ++id) elements += model->List(PowerSystem::ListId(id)).GetCount();
    state.counters["elements"] = elements;
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond);

void BM_LoadDocument(benchmark::State& state) {
    std::vector<std::uint8_t> saved;
    {
        DocumentModel model;
        BuildGridNetwork(*model);
        saved = model.Save();
    }
    for (auto _ : state) {
        DocumentModel model;
        model.Load(saved);
        benchmark::DoNotOptimize(model->List(PowerSystem::kBuses).GetCount());
    }
    state.counters["file_bytes"] = static_cast<double>(saved.size());
}
BENCHMARK(BM_LoadDocument)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
