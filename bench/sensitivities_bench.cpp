// The linear sensitivity factors of one bus: GetSensitivities on the IEEE
// 118-bus and the 2000-bus cases (the Jacobian built and factorised, two
// transposed solves), and the dense
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

void GetSensitivities(benchmark::State& state, const char* fileName, int key) {
    MemoryRecordCursor records;
    HostNetwork network = LoadCdfAsHostRecords(fileName);
    for (const BusRecord& bus : network.buses) {
        records.buses.push_back(bus);
        records.SetName(records.buses.back(), bus.name);
    }
    records.branches = network.branches;
    auto* solver = static_cast<Solver*>(createPSSolver());
    if (solver->Attach(&records, nullptr, 0) != 1) {
        state.SkipWithError("the case did not solve");
        solver->Release();
        return;
    }
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
    // Load buses of the 118-bus case and of the 2000-bus synthetic grid.
    benchmark::RegisterBenchmark("GetSensitivities/case118", GetSensitivities, TAVRIN_TEST_DATA "/case118.cdf",
                                 (118 << 8) | 1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("GetSensitivities/case2000", GetSensitivities,
                                 TAVRIN_TEST_DATA "/case_ACTIVSg2000.cdf", (1003 << 8) | 1)
        ->Unit(benchmark::kMillisecond);
    for (const auto& [width, height] : {std::pair{10, 12}, {20, 25}, {25, 30}, {30, 30}, {25, 40}})
        benchmark::RegisterBenchmark(("Invert/network/" + std::to_string(2 * width * height)).c_str(), Invert, width,
                                     height)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
