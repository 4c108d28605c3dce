// The transfer-capability study on the IEEE 118-bus case drawn as a model:
// every branch rated 40 % above its base-case flow (50 A or 50 MVA at
// least), power moved in 20 MW steps from generator bus 10 to load bus 75.
// Counts the power flows each study solves.

#include <benchmark/benchmark.h>

#include <vector>

#include "branch_ratings.h"
#include "cdf_model.h"
#include "solver_interface.h"
#include "transfer_capability_result.h"

namespace {

// The library's solver, counting the re-solves a study asks of it.
class CountingSolver final : public ISolver {
public:
    static inline int solves = 0;
    static ISolver* Make() {
        ISolver* inner = createPSSolver();
        return inner ? new CountingSolver(inner) : nullptr;
    }

    int Attach(IRecordCursor* s, IMessageSink* m, int r) override { return inner_->Attach(s, m, r); }
    int Main(int c, const char* const* i, int m) override { return inner_->Main(c, i, m); }
    int AttachAndRun(IRecordCursor* s, IMessageSink* m, const char* t, int r) override {
        return inner_->AttachAndRun(s, m, t, r);
    }
    void AddRef() override { ++references_; }
    int Release() override {
        if (--references_ > 0) return references_;
        inner_->Release();
        delete this;
        return 0;
    }
    void SetTotalsColumns(bool a, bool b, bool c, bool d) override { inner_->SetTotalsColumns(a, b, c, d); }
    void ClearTotalsColumns() override { inner_->ClearTotalsColumns(); }
    IRecordCursor* GetResultCursor() override { return inner_->GetResultCursor(); }
    int WriteIeeeCdf(const char* f, int c) override { return inner_->WriteIeeeCdf(f, c); }
    int GetPointCount() override { return inner_->GetPointCount(); }
    void WriteReport(ILineWriter* w) override { inner_->WriteReport(w); }
    void SetMaxLoad(double l) override { inner_->SetMaxLoad(l); }
    void SetIterationLimit(int l) override { inner_->SetIterationLimit(l); }
    int GetIterationLimit() override { return inner_->GetIterationLimit(); }
    void SetTolerance(double t) override { inner_->SetTolerance(t); }
    double GetTolerance() override { return inner_->GetTolerance(); }
    int RunPowerFlow() override {
        ++solves;
        return inner_->RunPowerFlow();
    }
    void AddLoadDirection(double p, double q) override { inner_->AddLoadDirection(p, q); }
    void Hook(int l, double* v, double s) override { inner_->Hook(l, v, s); }
    void Transfer(double mw) override { inner_->Transfer(mw); }
    void AddToBusVoltage(int k, double d) override { inner_->AddToBusVoltage(k, d); }
    int SelectTransferBuses(int s, int d) override { return inner_->SelectTransferBuses(s, d); }
    bool ReadBusState(IRecordCursor* s) override { return inner_->ReadBusState(s); }
    bool GetSensitivities(int b, std::vector<double>& a, std::vector<int>& ak, std::vector<double>& v,
                          std::vector<int>& vk) override {
        return inner_->GetSensitivities(b, a, ak, v, vk);
    }

private:
    explicit CountingSolver(ISolver* inner) : inner_(inner) {}
    ~CountingSolver() override = default;
    ISolver* inner_;
    int references_ = 1;
};

void TransferCapabilityOf118Buses(benchmark::State& state) {
    CdfModel drawn(BENCH_DATA_DIR "/case118.cdf");
    if (drawn.model().RunSolver(nullptr, nullptr, nullptr) != 1) state.SkipWithError("base case not solved");
    RateBranchesAboveTheirFlows(drawn, 1.4, 50.0);
    drawn.model().SetSolverFactory(&CountingSolver::Make);
    TransferCapabilityRequest request;
    request.sourceKey = drawn.BusNumbered(10).GetKey();
    request.destinationKey = drawn.BusNumbered(75).GetKey();
    request.stepMw = 20.0;
    double transferred = 0.0;
    int studies = 0;
    CountingSolver::solves = 0;
    for (auto _ : state) {
        TransferCapabilityResult* result = drawn.model().TransferCapability(request);
        if (!result) {
            state.SkipWithError("no result");
            break;
        }
        transferred = result->GetTransferred();
        result->Release();
        ++studies;
    }
    state.counters["buses"] = static_cast<double>(drawn.Buses().size());
    state.counters["transferred_MW"] = transferred;
    state.counters["solves_per_study"] = studies ? static_cast<double>(CountingSolver::solves) / studies : 0.0;
}
BENCHMARK(TransferCapabilityOf118Buses)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
