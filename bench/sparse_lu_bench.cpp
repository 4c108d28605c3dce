// Ordering, refactorisation and solve of Jacobian-like matrices, two
// unknowns a node, under the default pivot threshold 0.01:
// - "network": a grid-shaped network, a random spanning tree of the lattice
//   plus 30% of the other lattice edges (the sparse meshing of
//   transmission networks);
// - "mesh": the same lattice with every edge;
// - "ACTIVSg2000": the branches of the 2000-bus synthetic grid.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "network_jacobian.h"
#include "sparse_lu.h"

namespace {

constexpr double kPivotThreshold = 0.01;

// Bus numbers in file order and the branches between them, with 1/x as
// susceptance, from an IEEE common format file.
NetworkJacobian ReadCommonFormatNetwork(const std::string& fileName) {
    std::ifstream file(fileName);
    if (!file) throw std::runtime_error("cannot open " + fileName);
    std::map<int, int> nodeOfBus;
    std::vector<NetworkBranch> branches;
    enum { kNone, kBuses, kBranches } section = kNone;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("BUS DATA", 0) == 0) {
            section = kBuses;
        } else if (line.rfind("BRANCH DATA", 0) == 0) {
            section = kBranches;
        } else if (line.rfind("-999", 0) == 0) {
            section = kNone;
        } else if (section == kBuses) {
            const int node = static_cast<int>(nodeOfBus.size()) + 1;
            nodeOfBus[std::stoi(line.substr(0, 5))] = node;
        } else if (section == kBranches) {
            std::istringstream fields(line);
            int from = 0, to = 0, skip = 0;
            double resistance = 0, reactance = 0;
            fields >> from >> to >> skip >> skip >> skip >> skip >> resistance >> reactance;
            branches.push_back({nodeOfBus.at(from), nodeOfBus.at(to), 1.0 / std::max(std::abs(reactance), 1e-4)});
        }
    }
    return MakeNetworkJacobian(static_cast<int>(nodeOfBus.size()), branches, 2024);
}

void Assemble(SparseMatrix& matrix, const NetworkJacobian& jacobian) {
    for (const auto& t : jacobian.triplets) matrix.AddElement(t.row, t.column, t.value);
}

// A matrix ordered and factorised once, with the Jacobian's values kept per
// entry to load them again before each refactorisation.
struct Ordered {
    SparseMatrix matrix;
    std::vector<double> values;
    int matrixEntries = 0;

    explicit Ordered(const NetworkJacobian& jacobian) : matrix(jacobian.unknowns, jacobian.unknowns) {
        Assemble(matrix, jacobian);
        matrixEntries = matrix.EntryCount();
        matrix.SortLists();
        matrix.OrderAndFactor(kPivotThreshold);
        matrix.ZeroValues();
        Assemble(matrix, jacobian);
        values.resize(matrix.EntryCount() + 1);
        for (int i = 1; i <= matrix.EntryCount(); ++i) values[i] = matrix.Entry(i).value;
    }

    void LoadValues() {
        for (int i = 1; i <= matrix.EntryCount(); ++i) matrix.Entry(i).value = values[i];
    }
};

void SetCounters(benchmark::State& state, const NetworkJacobian& jacobian, const Ordered& ordered) {
    state.counters["unknowns"] = jacobian.unknowns;
    state.counters["entries"] = ordered.matrixEntries;
}

void OrderAndFactor(benchmark::State& state, const NetworkJacobian& jacobian) {
    const int n = jacobian.unknowns;
    SparseMatrix matrix(n, n);
    for (auto _ : state) {
        state.PauseTiming();
        matrix.Clear();
        Assemble(matrix, jacobian);
        matrix.SortLists();
        state.ResumeTiming();
        benchmark::DoNotOptimize(matrix.OrderAndFactor(kPivotThreshold));
    }
    SetCounters(state, jacobian, Ordered(jacobian));
}

void Refactor(benchmark::State& state, const NetworkJacobian& jacobian) {
    Ordered ordered(jacobian);
    for (auto _ : state) {
        state.PauseTiming();
        ordered.LoadValues();
        state.ResumeTiming();
        benchmark::DoNotOptimize(ordered.matrix.Factor());
    }
    SetCounters(state, jacobian, ordered);
}

void Solve(benchmark::State& state, const NetworkJacobian& jacobian) {
    Ordered ordered(jacobian);
    ordered.matrix.Factor();
    std::vector<double> b(jacobian.unknowns + 1);
    for (auto _ : state) {
        std::fill(b.begin(), b.end(), 1.0);
        benchmark::DoNotOptimize(ordered.matrix.Solve(b));
    }
    SetCounters(state, jacobian, ordered);
}

// What every later Newton iteration pays for its linear system.
void RefactorAndSolve(benchmark::State& state, const NetworkJacobian& jacobian) {
    Ordered ordered(jacobian);
    std::vector<double> b(jacobian.unknowns + 1);
    for (auto _ : state) {
        state.PauseTiming();
        ordered.LoadValues();
        std::fill(b.begin(), b.end(), 1.0);
        state.ResumeTiming();
        ordered.matrix.Factor();
        benchmark::DoNotOptimize(ordered.matrix.Solve(b));
    }
    SetCounters(state, jacobian, ordered);
}

}  // namespace

int main(int argc, char** argv) {
    struct Case {
        std::string name;
        std::function<NetworkJacobian()> make;
    };
    std::vector<Case> cases;
    for (const auto& [width, height] : {std::pair{20, 25}, {50, 100}, {100, 100}, {125, 200}})
        cases.push_back({"network/" + std::to_string(2 * width * height),
                         [=] { return MakeGridJacobian(width, height, 0.3, 2024); }});
    for (const auto& [width, height] : {std::pair{20, 25}, {50, 100}})
        cases.push_back({"mesh/" + std::to_string(2 * width * height),
                         [=] { return MakeGridJacobian(width, height, 1.0, 2024); }});
    cases.push_back({"ACTIVSg2000/4000",
                     [] { return ReadCommonFormatNetwork(TAVRIN_TEST_DATA "/case_ACTIVSg2000.cdf"); }});

    std::vector<NetworkJacobian> jacobians;
    jacobians.reserve(cases.size());
    for (const auto& c : cases) jacobians.push_back(c.make());
    const std::pair<const char*, void (*)(benchmark::State&, const NetworkJacobian&)> operations[] = {
        {"OrderAndFactor", OrderAndFactor},
        {"Refactor", Refactor},
        {"Solve", Solve},
        {"RefactorAndSolve", RefactorAndSolve},
    };
    for (const auto& [operation, run] : operations)
        for (size_t i = 0; i < cases.size(); ++i)
            benchmark::RegisterBenchmark((std::string(operation) + "/" + cases[i].name).c_str(), run,
                                         std::cref(jacobians[i]))
                ->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
