// The linear sensitivity factors of one bus: GetSensitivities on the IEEE
// 118-bus case (the dense Jacobian built, inverted and read), and the dense
// inversion alone on Jacobian-like matrices of growing order (two unknowns
// a bus, a lattice network with the sparse meshing of transmission grids),
// which costs m^3 and sets the size up to which the operation stays
// interactive.

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "cdf_host_records.h"
#include "dense_matrix.h"
#include "memory_record_cursor.h"
#include "network_jacobian.h"
#include "solver.h"

namespace {

void GetSensitivitiesCase118(benchmark::State& state) {
    MemoryRecordCursor records;
    HostNetwork network = LoadCdfAsHostRecords(TAVRIN_TEST_DATA "/case118.cdf");
    for (const BusRecord& bus : network.buses) {
        records.buses.push_back(bus);
        records.SetName(records.buses.back(), bus.name);
    }
    records.branches = network.branches;
    auto* solver = static_cast<Solver*>(createPSSolver());
    if (solver->Attach(&records, nullptr, 0) != 1) {
        state.SkipWithError("the 118-bus case did not solve");
        solver->Release();
        return;
    }
    const int key = (118 << 8) | 1;  // a load bus
    std::vector<double> angles, voltages;
    std::vector<int> angleKeys, voltageKeys;
    for (auto _ : state) {
        angles.clear();
        voltages.clear();
        angleKeys.clear();
        voltageKeys.clear();
        if (!solver->GetSensitivities(key, angles, angleKeys, voltages, voltageKeys)) {
            state.SkipWithError("no sensitivity factors");
            break;
        }
    }
    state.counters["buses"] = static_cast<double>(solver->GetNetwork()->buses.size());
    state.counters["unknowns"] = solver->BusVariableCount();
    solver->Release();
}

void Invert(benchmark::State& state, int width, int height) {
    const NetworkJacobian jacobian = MakeGridJacobian(width, height, 0.3, 2024);
    Matrix matrix(jacobian.unknowns, jacobian.unknowns);
    for (const auto& t : jacobian.triplets) matrix[t.row - 1][t.column - 1] += t.value;
    for (auto _ : state) {
        state.PauseTiming();
        Matrix inverse = matrix;
        state.ResumeTiming();
        if (inverse.Invert() != 0) {
            state.SkipWithError("singular");
            break;
        }
    }
    state.counters["buses"] = width * height;
    state.counters["unknowns"] = jacobian.unknowns;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("GetSensitivities/case118", GetSensitivitiesCase118)->Unit(benchmark::kMillisecond);
    for (const auto& [width, height] : {std::pair{10, 12}, {20, 25}, {25, 30}, {30, 30}, {25, 40}})
        benchmark::RegisterBenchmark(("Invert/network/" + std::to_string(2 * width * height)).c_str(), Invert, width,
                                     height)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
