// The transfer-capability study: its loop rules driven by a scripted solver,
// and real searches on a hand-made 3-bus case and the IEEE 14-bus case.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "branch_ratings.h"
#include "cdf_model.h"
#include "generator.h"
#include "graph_rows.h"
#include "load.h"
#include "memory_record_cursor.h"
#include "recording_message_sink.h"
#include "scratch_folder.h"
#include "sensitivity_file.h"
#include "solver_double.h"
#include "transfer_capability_result.h"

namespace {

struct ResultRelease {
    void operator()(TransferCapabilityResult* result) const { result->Release(); }
};
using ResultHandle = std::unique_ptr<TransferCapabilityResult, ResultRelease>;

// Two buses and the line between them: the line's current is 1 A per MW
// moved, and the flow fails to converge beyond `divergesAbove` MW. The
// moved power is read back from the source's generation in a restored state.
class TransferDouble final : public SolverDouble {
public:
    int sourceKey = 0;
    int lineKey = 0;
    double divergesAbove = std::numeric_limits<double>::infinity();
    std::vector<double> transfers;  // every Transfer, MW
    int solves = 0;
    int selectAnswer = 1;
    int attachAnswer = 1;

    void Build(int destinationKey) {
        results.buses.clear();
        results.branches.clear();
        results.AddBus(1, 0, "Source").key = sourceKey;
        results.AddBus(2, 1, "Destination").key = destinationKey;
        results.AddBranch(BranchRecord::Line, 1, 2, 0.0, 0.1).key = lineKey;
        Fill();
    }
    int Attach(IRecordCursor* source, IMessageSink* sink, int reserved) override {
        SolverDouble::Attach(source, sink, reserved);
        return attachAnswer;
    }
    IRecordCursor* GetResultCursor() override { return &results; }
    int SelectTransferBuses(int, int) override { return selectAnswer; }
    void Transfer(double mw) override {
        transfers.push_back(mw);
        moved_ += mw;
    }
    int RunPowerFlow() override {
        ++solves;
        if (moved_ > divergesAbove) return 0;
        Fill();
        return 1;
    }
    bool ReadBusState(IRecordCursor* state) override {
        state->SetTable(IRecordCursor::BusTable, 0);
        state->MoveFirst();
        BusRecord source;
        if (!state->Next(source)) return false;
        moved_ = source.generationP - kBaseGeneration;
        return true;
    }

private:
    static constexpr double kBaseGeneration = 100.0;
    void Fill() {
        results.buses[0].generationP = kBaseGeneration + moved_;
        results.branches[0].currentFrom = results.branches[0].currentTo = moved_;
    }
    MemoryRecordCursor results;
    double moved_ = 0.0;
};

TransferDouble* scripted = nullptr;
ISolver* MakeScripted() { return scripted; }

struct ScriptedStudy {
    explicit ScriptedStudy(double rating = 0.0) {
        scripted = &solver;
        source = &net.AddBus("Source");
        destination = &net.AddBus("Destination");
        line = &net.Join<PowerLine>(*source, *destination);
        line->GetValues()[BranchData::kRating] = rating;
        solver.sourceKey = source->GetKey();
        solver.lineKey = line->GetKey();
        solver.Build(destination->GetKey());
        net.model().SetSolverFactory(&MakeScripted);
        net.model().SetMessageSink(&sink);
    }
    ~ScriptedStudy() { scripted = nullptr; }
    ResultHandle Run(double step, double maximum) {
        TransferCapabilityRequest request;
        request.sourceKey = source->GetKey();
        request.destinationKey = destination->GetKey();
        request.stepMw = step;
        request.maximumTransferMw = maximum;
        return ResultHandle(net.model().TransferCapability(request));
    }

    TransferDouble solver;
    RecordingMessageSink sink;
    DrawnNetwork net;
    Bus* source;
    Bus* destination;
    PowerLine* line;
};

TEST(TransferCapability, StepsUpToTheMaximumTransfer) {
    ScriptedStudy study;
    ResultHandle result = study.Run(20.0, 50.0);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->GetTransferred(), 50.0);
    EXPECT_EQ(study.solver.solves, 3);
    EXPECT_EQ(study.solver.transfers, (std::vector<double>{20.0, 20.0, 10.0}));
    EXPECT_EQ(study.solver.releases, 1);
    EXPECT_FALSE(study.net.model().IsGroupingBuses());

    ScriptedStudy small;
    result = small.Run(20.0, 5.0);
    ASSERT_TRUE(result);
    EXPECT_EQ(small.solver.transfers.front(), 5.0);
    EXPECT_EQ(result->GetTransferred(), 5.0);
    EXPECT_EQ(small.solver.solves, 1);
}

TEST(TransferCapability, AFailedStepIsUndoneAndHalved) {
    struct Case {
        const char* what;
        double rating;         // A; the line carries 1 A per MW
        double divergesAbove;  // MW
        double transferred;
        int solves;
    } cases[] = {
        // 20, 40, (60), (50), 45, (50), (47.5), (46.25), (45.625), (45.3125), (45.156)
        {"rating", 45.0, std::numeric_limits<double>::infinity(), 45.0, 11},
        // 20, (40), 30, (40), (35), (32.5), (31.25), (30.625), (30.3125), (30.156)
        {"divergence", 0.0, 30.0, 30.0, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedStudy study(c.rating);
        study.solver.divergesAbove = c.divergesAbove;
        ResultHandle result = study.Run(20.0, 0.0);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->GetTransferred(), c.transferred);
        EXPECT_EQ(study.solver.solves, c.solves);
        EXPECT_LE(study.solver.transfers.back(), 0.1);
        // Set 1 holds the last accepted case.
        EXPECT_EQ(result->Branches(1)[0].currentFrom, c.transferred);
        EXPECT_EQ(result->Branches(0)[0].currentFrom, 0.0);
    }
}

TEST(TransferCapability, TheSearchIsBounded) {
    ScriptedStudy study;
    ResultHandle result = study.Run(20.0, 0.0);
    ASSERT_TRUE(result);
    EXPECT_EQ(study.solver.solves, 1000);
    EXPECT_EQ(result->GetTransferred(), 20000.0);
}

TEST(TransferCapability, RefusedRequestsAndUnknownBuses) {
    ScriptedStudy study;
    TransferCapabilityRequest request;
    request.sourceKey = request.destinationKey = study.source->GetKey();
    request.stepMw = 10.0;
    EXPECT_EQ(study.net.model().TransferCapability(request), nullptr);
    request.destinationKey = study.destination->GetKey();
    for (double step : {0.0, -5.0, std::nan("")}) {
        request.stepMw = step;
        EXPECT_EQ(study.net.model().TransferCapability(request), nullptr);
    }
    ASSERT_EQ(study.sink.messages.size(), 4u);
    for (const auto& message : study.sink.messages) EXPECT_EQ(message.level, IMessageSink::Failure);
    EXPECT_EQ(study.solver.releases, 0);

    study.solver.selectAnswer = 0;
    EXPECT_FALSE(study.Run(10.0, 0.0));
    study.solver.selectAnswer = 1;
    study.solver.attachAnswer = 0;
    EXPECT_FALSE(study.Run(10.0, 0.0));
    EXPECT_EQ(study.solver.releases, 2);
    EXPECT_FALSE(study.net.model().IsGroupingBuses());
}

TEST(TransferCapability, AChangeFileThatCannotBeWrittenFailsTheStudy) {
    ScratchFolder folder("transfer_unwritable");
    ScriptedStudy study(45.0);
    const std::string good = (folder / "TCV").string();
    const std::string bad = (folder / "missing" / "TCLF").string();
    TransferCapabilityRequest request;
    request.sourceKey = study.source->GetKey();
    request.destinationKey = study.destination->GetKey();
    request.stepMw = 20.0;
    request.voltageFile = good.c_str();
    request.loadingFile = bad.c_str();
    EXPECT_EQ(study.net.model().TransferCapability(request), nullptr);
    ASSERT_FALSE(study.sink.messages.empty());
    EXPECT_EQ(study.sink.messages.back().level, IMessageSink::Failure);
}

// Slack S -line- source G -line- sink L, both G and L holding 1.0 p.u. by
// generators: G makes 20 MW, L's generator 0 MW under a 40 MW load, so the
// G-L line carries the load and every MW moved. That line (R 0, X 0.05
// p.u., 110 kV) is rated 500 A: the step is refused beyond 500.5 A, that is
// 95.357 MVA at 1.0 p.u. Its reactive loss (1 - cos d) / X, d = asin(P X),
// is shared by both ends: 95.357 MVA holds P = 95.331 MW, so 55.331 MW can
// move.
TEST(TransferCapability, AHandMadeCaseReachesTheLinesRating) {
    DrawnNetwork net;
    auto generatorBus = [&net](const char* name, double mw, int kind) -> Bus& {
        Bus& bus = net.AddBus(name, 110.0, 1.0);
        double* g = net.Hang<Generator>(bus, 10).GetValues();
        g[Generator::kP] = mw;
        g[Generator::kQMin] = -9999.0;
        g[Generator::kQMax] = 9999.0;
        bus.GetValues()[Bus::kKind] = kind;
        return bus;
    };
    Bus& slack = generatorBus("S", 0.0, Bus::kSwingKind);
    Bus& source = generatorBus("G", 20.0, 5);
    Bus& sink = generatorBus("L", 0.0, 5);
    double* load = net.Hang<Load>(sink, 20).GetValues();
    load[Load::kP] = load[Load::kPConstantPower] = 40.0;
    auto line = [&net](Bus& from, Bus& to, double x, double rating) -> PowerLine& {
        PowerLine& l = net.Join<PowerLine>(from, to);
        double* d = l.GetValues();
        d[BranchData::kLength] = 1.0;
        d[BranchData::kResistance] = 0.0;
        d[BranchData::kReactance] = x;
        d[BranchData::kSusceptance] = 0.0;
        d[BranchData::kRating] = rating;
        return l;
    };
    line(slack, source, 0.1, 0.0);
    PowerLine& limiting = line(source, sink, 0.05, 500.0);

    TransferCapabilityRequest request;
    request.sourceKey = source.GetKey();
    request.destinationKey = sink.GetKey();
    request.stepMw = 20.0;
    ResultHandle result(net.model().TransferCapability(request));
    ASSERT_TRUE(result);
    EXPECT_NEAR(result->GetTransferred(), 55.331, 0.1);
    EXPECT_LE(result->GetTransferred(), 55.331);
    EXPECT_EQ(result->GetCriticalKey(), limiting.GetKey());
    EXPECT_NEAR(result->GetMaximumLoading(), 100.0, 0.2);
}

// Every branch rated 40 % above its base-case flow (A for lines, MVA for
// transformers), 50 at least: power moves from generator bus 2 to load bus 14 until the
// first branch reaches its rating.
TEST(TransferCapability, TheIeee14BusCaseStopsAtTheFirstLimit) {
    ScratchFolder folder("transfer_case14");
    CdfModel drawn(TEST_DATA_DIR "/case14.cdf");
    ASSERT_EQ(drawn.model().RunSolver(nullptr, nullptr, nullptr), 1);
    RateBranchesAboveTheirFlows(drawn, 1.4, 50.0);
    const std::string voltageFile = (folder / "TCV").string();
    const std::string loadingFile = (folder / "TCLF").string();
    TransferCapabilityRequest request;
    request.sourceKey = drawn.BusNumbered(2).GetKey();
    request.destinationKey = drawn.BusNumbered(14).GetKey();
    request.stepMw = 10.0;
    request.voltageFile = voltageFile.c_str();
    request.loadingFile = loadingFile.c_str();
    ResultHandle result(drawn.model().TransferCapability(request));
    ASSERT_TRUE(result);
    EXPECT_GT(result->GetTransferred(), 1.0);
    ASSERT_NE(result->GetCriticalKey(), 0);
    EXPECT_GT(result->GetMaximumLoading(), 99.0);
    EXPECT_LE(result->GetMaximumLoading(), 100.1);
    // The critical branch is the most loaded, and none is over its rating.
    for (const auto& row : result->Branches(1)) {
        EXPECT_LE(TransferCapabilityResult::Loading(row), result->GetMaximumLoading());
    }
    EXPECT_EQ(result->Buses(1).size(), 14u);

    const GraphRows loading = ReadGraphRows(loadingFile);
    ASSERT_EQ(loading.rows.size(), 20u);
    EXPECT_EQ(loading.closing.x, 21);
    EXPECT_TRUE(loading.crLf);
    EXPECT_TRUE(loading.Find(SensitivityFile::RowName(*drawn.model().GetNameOfKey(result->GetCriticalKey()))));
    EXPECT_EQ(ReadGraphRows(voltageFile).rows.size(), 14u);
}

}  // namespace
