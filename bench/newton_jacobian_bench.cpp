// The linear systems of Newton's method on the large public cases: KLU
// called directly against the solver's sparse store on the same matrices
// (order and factor, refactor, solve), and the other parts of an iteration
// (Jacobian assembly, mismatch, update of the unknowns) beside them.
//
// Each case's matrix is its first Newton Jacobian: from a flat start, or
// from the voltages stored in the file where a flat start does not
// converge. The folder of the cases comes from --cases=DIR, else from the
// configuration (TAVRIN_CASE_DATA); a case missing there is skipped.
// Counters: unknowns, entries, the entries of KLU's L and U, and the
// backward error of the solve,
// |A x - b| / (|A| |x| + |b|) in the infinity norm.

#include <benchmark/benchmark.h>

#include <klu.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "solver.h"
#include "solver_handle.h"
#include "sparse_lu.h"

namespace {

// The pivot threshold the solver runs with unless told otherwise.
constexpr double kPivotThreshold = 0.01;

struct PublicCase {
    const char* name;
    bool flatStart;
};

constexpr PublicCase kCases[] = {
    {"case_ACTIVSg2000", true},
    {"case2383wp", true},
    {"case9241pegase", true},
    {"case_ACTIVSg10k", false},
};

// A case read and numbered, its first Jacobian assembled and kept in
// compressed columns (0-based) for KLU.
struct CaseJacobian {
    std::string name;
    SolverHandle solver;
    int n = 0;
    std::vector<int> columnStart;
    std::vector<int> rowIndex;
    std::vector<double> value;
    std::vector<double> rightHandSide;  // the first mismatch, 0-based

    bool Load(const std::string& file, bool flatStart) {
        std::vector<const char*> items = {"ostrand", "-I", file.c_str(), "-q"};
        if (flatStart) items.push_back("-V");
        try {
            solver->PrepareRun(static_cast<int>(items.size()), items.data(), 0);
            solver->NumberVariables();
            Assemble();
        } catch (const SolverAbort&) {
            return false;
        }
        SparseMatrix& matrix = solver->Matrix();
        matrix.SortLists();
        n = matrix.Rows();
        columnStart.assign(n + 1, 0);
        for (int t = 1; t <= matrix.EntryCount(); ++t) ++columnStart[matrix.Entry(t).column];
        for (int q = 1; q <= n; ++q) columnStart[q] += columnStart[q - 1];
        rowIndex.resize(matrix.EntryCount());
        value.resize(matrix.EntryCount());
        std::vector<int> next(columnStart.begin(), columnStart.end() - 1);
        for (int t = 1; t <= matrix.EntryCount(); ++t) {
            const MatrixEntry& entry = matrix.Entry(t);
            const int place = next[entry.column - 1]++;
            rowIndex[place] = entry.row - 1;
            value[place] = entry.value;
        }
        rightHandSide.assign(solver->Mismatch().begin() + 1, solver->Mismatch().begin() + 1 + n);
        return n > 0 && matrix.OrderAndFactor(kPivotThreshold);
    }

    // One assembly of the Jacobian and the mismatch, as an iteration makes it.
    void Assemble() {
        int status = 0;
        solver->Matrix().ZeroValues();
        solver->AcEquations(status, Evaluate::MismatchAndJacobian, Loads::Polynomial);
    }

    double BackwardError(const std::vector<double>& x) const {
        std::vector<double> residual(rightHandSide);
        std::vector<double> rowSum(n, 0.0);
        for (int q = 0; q < n; ++q)
            for (int p = columnStart[q]; p < columnStart[q + 1]; ++p) {
                residual[rowIndex[p]] -= value[p] * x[q];
                rowSum[rowIndex[p]] += std::fabs(value[p]);
            }
        auto largest = [](const std::vector<double>& v) {
            double m = 0.0;
            for (double item : v) m = std::max(m, std::fabs(item));
            return m;
        };
        return largest(residual) / (largest(rowSum) * largest(x) + largest(rightHandSide));
    }
};

void SetCounters(benchmark::State& state, const CaseJacobian& c) {
    state.counters["unknowns"] = c.n;
    state.counters["entries"] = static_cast<double>(c.value.size());
}

// KLU with the settings the store gives it.
struct DirectKlu {
    klu_common common{};
    klu_symbolic* symbolic = nullptr;
    klu_numeric* numeric = nullptr;

    DirectKlu() {
        klu_defaults(&common);
        common.tol = kPivotThreshold;
        common.halt_if_singular = 1;
        common.btf = 0;
    }
    ~DirectKlu() { Free(); }
    DirectKlu(const DirectKlu&) = delete;
    DirectKlu& operator=(const DirectKlu&) = delete;
    void Free() {
        if (numeric) klu_free_numeric(&numeric, &common);
        if (symbolic) klu_free_symbolic(&symbolic, &common);
    }
    bool OrderAndFactor(CaseJacobian& c) {
        Free();
        symbolic = klu_analyze(c.n, c.columnStart.data(), c.rowIndex.data(), &common);
        numeric = symbolic ? klu_factor(c.columnStart.data(), c.rowIndex.data(), c.value.data(), symbolic, &common)
                           : nullptr;
        return numeric != nullptr;
    }
};

void KluOrderAndFactor(benchmark::State& state, CaseJacobian* c) {
    DirectKlu klu;
    for (auto _ : state) benchmark::DoNotOptimize(klu.OrderAndFactor(*c));
    SetCounters(state, *c);
    state.counters["factor_entries"] = static_cast<double>(klu.numeric->lnz + klu.numeric->unz);
}

void StoreOrderAndFactor(benchmark::State& state, CaseJacobian* c) {
    SparseMatrix& matrix = c->solver->Matrix();
    for (auto _ : state) benchmark::DoNotOptimize(matrix.OrderAndFactor(kPivotThreshold));
    SetCounters(state, *c);
}

void KluRefactor(benchmark::State& state, CaseJacobian* c) {
    DirectKlu klu;
    klu.OrderAndFactor(*c);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            klu_refactor(c->columnStart.data(), c->rowIndex.data(), c->value.data(), klu.symbolic, klu.numeric,
                         &klu.common));
    SetCounters(state, *c);
}

void StoreRefactor(benchmark::State& state, CaseJacobian* c) {
    SparseMatrix& matrix = c->solver->Matrix();
    matrix.OrderAndFactor(kPivotThreshold);
    for (auto _ : state) benchmark::DoNotOptimize(matrix.Factor());
    SetCounters(state, *c);
}

void KluSolve(benchmark::State& state, CaseJacobian* c) {
    DirectKlu klu;
    klu.OrderAndFactor(*c);
    std::vector<double> x(c->n);
    for (auto _ : state) {
        std::copy(c->rightHandSide.begin(), c->rightHandSide.end(), x.begin());
        klu_solve(klu.symbolic, klu.numeric, c->n, 1, x.data(), &klu.common);
        benchmark::DoNotOptimize(x.data());
    }
    SetCounters(state, *c);
    state.counters["backward_error"] = c->BackwardError(x);
}

void StoreSolve(benchmark::State& state, CaseJacobian* c) {
    SparseMatrix& matrix = c->solver->Matrix();
    matrix.OrderAndFactor(kPivotThreshold);
    std::vector<double> x(c->n + 1);
    for (auto _ : state) {
        std::copy(c->rightHandSide.begin(), c->rightHandSide.end(), x.begin() + 1);
        benchmark::DoNotOptimize(matrix.Solve(x));
    }
    SetCounters(state, *c);
    state.counters["backward_error"] = c->BackwardError(std::vector<double>(x.begin() + 1, x.end()));
}

// The parts of an iteration other than the linear system.
void NewtonAssembly(benchmark::State& state, CaseJacobian* c) {
    for (auto _ : state) c->Assemble();
    SetCounters(state, *c);
}

void NewtonMismatch(benchmark::State& state, CaseJacobian* c) {
    for (auto _ : state) {
        int status = 0;
        c->solver->AcEquations(status, Evaluate::Mismatch, Loads::Polynomial);
    }
    SetCounters(state, *c);
}

// A step of length 0: every unknown visited and written back unchanged.
void NewtonUpdate(benchmark::State& state, CaseJacobian* c) {
    for (auto _ : state) c->solver->UpdateBuses(0.0, Trial::First, Clamping::On, RecoveryHold::On);
    SetCounters(state, *c);
}

std::string CaseFolder(int& argc, char** argv) {
    std::string folder = TAVRIN_CASE_DATA;
    constexpr std::string_view kOption = "--cases=";
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]).substr(0, kOption.size()) != kOption) continue;
        folder = argv[i] + kOption.size();
        std::copy(argv + i + 1, argv + argc, argv + i);
        --argc;
        break;
    }
    return folder;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = CaseFolder(argc, argv);
    std::vector<std::unique_ptr<CaseJacobian>> cases;
    for (const PublicCase& known : kCases) {
        const std::string file = folder + "/" + known.name + ".cdf";
        if (!std::filesystem::exists(file)) continue;
        auto c = std::make_unique<CaseJacobian>();
        c->name = known.name;
        if (c->Load(file, known.flatStart)) cases.push_back(std::move(c));
    }
    const std::pair<const char*, void (*)(benchmark::State&, CaseJacobian*)> operations[] = {
        {"Klu/OrderAndFactor", KluOrderAndFactor}, {"Store/OrderAndFactor", StoreOrderAndFactor},
        {"Klu/Refactor", KluRefactor},             {"Store/Refactor", StoreRefactor},
        {"Klu/Solve", KluSolve},                   {"Store/Solve", StoreSolve},
        {"Newton/Assembly", NewtonAssembly},       {"Newton/Mismatch", NewtonMismatch},
        {"Newton/Update", NewtonUpdate},
    };
    for (const auto& c : cases)
        for (const auto& [operation, run] : operations)
            benchmark::RegisterBenchmark((std::string(operation) + "/" + c->name).c_str(), run, c.get())
                ->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
