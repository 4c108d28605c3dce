// Saving and reading ".pf" documents of a network of 2,000 buses.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "bus.h"
#include "document_model.h"
#include "element_key.h"

namespace {

constexpr int kBuses = 2000;

// Buses on a grid 100 units apart, forty to a row, each with its values
// and a load, and a line to the bus before it in its row; every fifth bus
// has a generator as well.
void BuildNetwork(PowerSystem& model) {
    for (int i = 0; i < kBuses; ++i) {
        Point at{100 + 100 * (i % 40), 100 + 150 * (i / 40)};
        auto bus = std::make_unique<Bus>(&model, model.NewKey(Category::Bus, false), at, true);
        double values[Bus::kValueCount] = {110.0, 1.0 - 0.00001 * i, -0.01 * i, 1.0, 1.0, 0.95, 1.1, 0, 0, 0};
        bus->UpdateResultLabel(values);
        model.AddElement(bus.release());
        Place(model, ElementType::Load, {at.x, at.y + 10});
        if (i % 5 == 0) Place(model, ElementType::Generator, {at.x, at.y + 30});
        if (i % 40 != 0) Join(model, ElementType::PowerLine, {at.x - 100, at.y + 20}, {at.x, at.y + 20});
    }
}

void BM_SaveDocument(benchmark::State& state) {
    DocumentModel model;
    BuildNetwork(*model);
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
        BuildNetwork(*model);
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
