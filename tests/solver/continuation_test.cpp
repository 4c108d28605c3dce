#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "case_file_run.h"
#include "cdf_host_records.h"
#include "host_read.h"
#include "ieee_case_text.h"
#include "jacobian_check.h"
#include "memory_record_cursor.h"
#include "number_text.h"
#include "power_flow_networks.h"
#include "recording_message_sink.h"
#include "solver.h"
#include "solver_handle.h"
#include "table_load.h"

namespace {

constexpr double kPi = 3.141592654;

std::size_t IndexOfLargest(const std::vector<double>& values) {
    return static_cast<std::size_t>(std::max_element(values.begin(), values.end()) - values.begin());
}

// How often a sequence turns from rising to falling or back.
int Turns(const std::vector<double>& values) {
    int turns = 0;
    int direction = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        const int step = values[i] > values[i - 1] ? 1 : -1;
        if (direction != 0 && step != direction) ++turns;
        direction = step;
    }
    return turns;
}

// A continuation of the file road over case.cdf and dir.k in its own
// folder, with the table of option c and its load total (and generation
// total when asked for).
class ContinuationFileRun {
public:
    ContinuationFileRun(const char* folder, bool generationTotal)
        : folder_(folder), generationTotal_(generationTotal) {}

    // Main over the case, the K file and the options, with the table of
    // option c unless `table` is false; its answer.
    int Run(std::vector<std::string> options, bool table = true) {
        std::vector<std::string> items = {"-I", Path("case.cdf"), Path("out.txt"), "-K" + Path("dir.k")};
        if (table) items.push_back("-c" + Path("pv.txt"));
        items.insert(items.end(), options.begin(), options.end());
        arguments_ = std::make_unique<RunArguments>(items);
        solver_ = std::make_unique<SolverHandle>();
        (*solver_)->SetTotalsColumns(generationTotal_, false, true, false);
        return (*solver_)->Main(arguments_->Count(), arguments_->Items(), 0);
    }

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    std::string Text() const { return FileText(folder_ / "pv.txt"); }
    Solver& operator*() const { return **solver_; }
    Solver* operator->() const { return &**solver_; }

protected:
    ScratchFolder folder_;

private:
    bool generationTotal_;
    std::unique_ptr<RunArguments> arguments_;
    std::unique_ptr<SolverHandle> solver_;
};

// The two-bus case of the file road: slack 1 at 1.0 p.u. and 0 degrees,
// bus 2 without load, a lossless line of X = 0.5 p.u.; the K file raises
// bus 2's load by 1 p.u. (and dQ/dP times that) per unit of lambda.
class TwoBusFileRun : public ContinuationFileRun {
public:
    explicit TwoBusFileRun(double reactivePerActive = 0.0, double activeDirection = 1.0)
        : ContinuationFileRun("continuation_two_bus", false) {
        CaseText c;
        c.buses = {BusCard(1, 3).At(85, "1.0000"), BusCard(2, 0)};
        c.branches = {BranchCard(1, 2, 0).At(30, "  0.500000")};
        WriteFileText(folder_ / "case.cdf", c.Text());
        WriteFileText(folder_ / "dir.k", FormatInCLocale("C bus, name, dispatch, dP, dQ, Pmax\n2 B2 0 %g %g 0\n",
                                                         activeDirection, reactivePerActive));
    }
};

TEST(Continuation, TwoBusCurvePassesItsNose) {
    struct Case {
        double reactivePerActive;
        double noseLoad;     // p.u.
        double noseVoltage;  // p.u.
    };
    for (const Case& c : {Case{0.0, 1.0, 0.70711}, Case{0.5, 0.61803, 0.58779}}) {
        SCOPED_TRACE(c.reactivePerActive);
        TwoBusFileRun run(c.reactivePerActive);
        ASSERT_EQ(run.Run({"-k0.02", "-S0.8"}), 1);
        const std::string text = run.Text();
        const ContinuationTable table = ReadTable(text);
        ASSERT_EQ(table.names, (std::vector<std::string>{"V_B2_________", "V_B1_________", "PLoad_Total"}));
        EXPECT_EQ(static_cast<int>(table.rows.size()), run->GetPointCount());
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), run->GetPointCount() + 1);
        EXPECT_EQ(text.back(), '\n');

        // The base load is 0, so the load total is lambda.
        const std::vector<double> load = table.Column(2);
        const std::size_t nose = IndexOfLargest(load);
        EXPECT_NEAR(load[nose], c.noseLoad, 0.01 * c.noseLoad);
        EXPECT_NEAR(table.rows[nose][0], c.noseVoltage, 0.01 * c.noseVoltage);
        // Up to the nose, then down the lower branch to 0.8 of it: the
        // factor sign turned the step once.
        EXPECT_EQ(Turns(load), 1);
        EXPECT_LE(load.back(), 0.8 * load[nose]);
        EXPECT_GT(load[load.size() - 2], 0.8 * load[nose]);
        EXPECT_LT(table.rows.back()[0], c.noseVoltage);
    }
}

// Slack "Slack" and bus 2 "Load" with 50 MW whose load grows in proportion
// to itself (share 100 %) over a lossless line of 0.5 p.u.: the nose lies
// at 100 MW.
void AddTwoBusHost(MemoryRecordCursor& records, double share = 1.0) {
    BusRecord& slack = records.AddBus(1, 0, "Slack");
    slack.maxQ = 1000.0;
    slack.minQ = -1000.0;
    BusRecord& load = records.AddBus(2, 1, "Load");
    load.loadP = 50.0;
    load.direction[0] = 50.0;
    load.pLoadShare = share;
    records.AddBranch(BranchRecord::Line, 1, 2, 0.0, 0.5);
}

// Bus 2 on the curve lambda = -sin 2 theta, V = cos theta.
void PlaceOnCurve(Solver& solver, double angleDegrees) {
    NetBus& bus = *solver.FindBus(2);
    bus.angle = angleDegrees * kPi / 180.0;
    bus.voltage = std::cos(bus.angle);
    solver.SetLoadParameter(-std::sin(2.0 * bus.angle));
}

// The two-bus host network set for a continuation whose load grows from
// nothing, its unknowns numbered.
void StartTwoBusContinuation(Solver& solver) {
    MemoryRecordCursor records;
    AddTwoBusHost(records);
    ASSERT_TRUE(ReadHostRecords(solver, records));
    NetBus& load = *solver.FindBus(2);
    load.loadModelP.base = 0.0;
    load.loadModelP.baseDirection = 1.0;
    solver.SetContinuation(Continuation::On);
    solver.NumberVariables();
}

TEST(Continuation, TangentTurnsAndItsSignFlipsAtTheNose) {
    SolverHandle solver;
    ASSERT_NO_FATAL_FAILURE(StartTwoBusContinuation(*solver));
    NetBus& load = *solver->FindBus(2);
    const int angle = load.firstVariable;
    const int slack = solver->FindBus(1)->firstVariable;
    std::vector<double>& t = solver->Tangent();

    // Both points at lambda = sin 60 degrees: dtheta/dlambda = -1 / (2 cos
    // 2 theta), dV/dlambda = sin theta / (2 cos 2 theta); the slack takes
    // up the whole load.
    PlaceOnCurve(*solver, -30.0);
    ASSERT_EQ(solver->TangentVector(t, Reorder::Yes), 0);
    EXPECT_NEAR(t[angle], -1.0, 1e-9);
    EXPECT_NEAR(t[angle + 1], -0.5, 1e-9);
    EXPECT_NEAR(t[slack], 1.0, 1e-9);
    const int upper = solver->FactorSign();

    PlaceOnCurve(*solver, -60.0);
    ASSERT_EQ(solver->TangentVector(t, Reorder::No), 0);
    EXPECT_NEAR(t[angle], 1.0, 1e-9);
    EXPECT_NEAR(t[angle + 1], std::sqrt(3.0) / 2.0, 1e-9);
    EXPECT_EQ(solver->FactorSign(), -upper);
}

TEST(Continuation, HostRunStopsOnTheLowerBranch) {
    ScratchFolder folder("continuation_host");
    const std::string path = (folder / "pv.txt").string();
    MemoryRecordCursor records;
    AddTwoBusHost(records);
    SolverHandle solver;
    solver->SetTotalsColumns(false, false, true, false);
    ASSERT_EQ(solver->AttachAndRun(&records, nullptr, path.c_str(), 0), 1);

    const std::string text = FileText(path);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "V_Slack\tV_Load\tPLoad_Total\t\t\n");
    const ContinuationTable table = ReadTable(text);
    ASSERT_GE(table.rows.size(), 3u);
    EXPECT_EQ(static_cast<int>(table.rows.size()), solver->GetPointCount());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), solver->GetPointCount() + 1);
    EXPECT_EQ(table.rows[0], (std::vector<double>{1.0, 0.96593, 0.5}));

    // A host run starts 10 % up the curve, which becomes lambda's base:
    // lambda = (load - 0.55) / 0.5.
    std::vector<double> lambda;
    for (const auto& row : table.rows) lambda.push_back((row[2] - 0.55) / 0.5);
    const std::size_t nose = IndexOfLargest(lambda);
    EXPECT_EQ(Turns(lambda), 1);
    EXPECT_LE(lambda.back(), 0.8 * lambda[nose] + 1e-4);
    EXPECT_GT(lambda[lambda.size() - 2], 0.8 * lambda[nose]);
    EXPECT_LT(table.rows.back()[1], 0.70711);
    solver->ClearTotalsColumns();
}

TEST(Continuation, HostRunStopsAtTheMaximumLoad) {
    ScratchFolder folder("continuation_max_load");
    const std::string path = (folder / "pv.txt").string();
    MemoryRecordCursor records;
    AddTwoBusHost(records);
    SolverHandle solver;
    solver->SetTotalsColumns(false, false, true, false);
    solver->SetMaxLoad(80.0);  // MW
    ASSERT_EQ(solver->AttachAndRun(&records, nullptr, path.c_str(), 0), 1);

    const std::vector<double> load = ReadTable(FileText(path)).Column(2);
    ASSERT_GE(load.size(), 2u);
    EXPECT_GE(load.back(), 0.8);
    for (std::size_t i = 0; i + 1 < load.size(); ++i) EXPECT_LT(load[i], 0.8);
    // The host shows the state at that point.
    MemoryRecordCursor results;
    results.CopyFrom(*solver->GetResultCursor());
    const auto bus = std::find_if(results.buses.begin(), results.buses.end(),
                                  [&](const BusRecord& r) { return r.key == records.buses[1].key; });
    ASSERT_NE(bus, results.buses.end());
    EXPECT_NEAR(bus->loadP, 100.0 * load.back(), 1e-3);
}

// The passes of a curve keep the terms of the branches that nothing moves
// while it is traced; the regulating transformers' ratios and shifts move
// with every step, and the last point solves the network as they stand.
TEST(Continuation, TheLastPointSolvesWithTheRegulatingTransformersWhereTheyMoved) {
    ScratchFolder folder("continuation_regulated");
    const std::string path = (folder / "pv.txt").string();
    MemoryRecordCursor records;
    AddRegulatedNetwork(records);
    // The loads grow in proportion to their base values.
    for (BusRecord& bus : records.buses) {
        bus.pLoadShare = 20.0;
        bus.qLoadShare = 20.0;
    }
    SolverHandle solver;
    solver->SetTotalsColumns(false, false, true, false);
    ASSERT_EQ(solver->AttachAndRun(&records, nullptr, path.c_str(), 0), 1);
    ASSERT_GE(solver->GetPointCount(), 5);

    int moved = 0;
    for (const auto& bus : solver->GetNetwork()->buses)
        for (const AdjacencyNode& node : bus->regulatingBranches)
            if (node.branch->tap != 1.0 || node.branch->shift != 0.0) ++moved;
    EXPECT_GE(moved, 2);
    // Measured afresh at the state left, the mismatch meets the tolerance
    // before any iteration.
    EXPECT_EQ(solver->SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Models), 1);
}

TEST(Continuation, ZeroDirectionEndsAtTheBaseCase) {
    ScratchFolder folder("continuation_zero");
    const std::string path = (folder / "pv.txt").string();
    MemoryRecordCursor records;
    AddTwoBusHost(records, 0.0);
    SolverHandle solver;
    ASSERT_EQ(solver->AttachAndRun(&records, nullptr, path.c_str(), 0), 1);
    EXPECT_EQ(solver->GetPointCount(), 1);
    EXPECT_EQ(FileText(path), "V_Slack\tV_Load\t\n1.0000\t.96593\t\n");
}

TEST(Continuation, TableThatCannotBeOpenedFailsTheRun) {
    MemoryRecordCursor records;
    AddTwoBusHost(records);
    SolverHandle solver;
    testing::internal::CaptureStdout();
    EXPECT_EQ(solver->AttachAndRun(&records, nullptr, "/no/such/folder/pv.txt", 0), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(solver->Failed());
}

TEST(Continuation, OptionZLimitsThePoints) {
    for (const auto& [option, rows] : {std::pair{"-z1", 2}, std::pair{"-z3", 3}}) {
        SCOPED_TRACE(option);
        TwoBusFileRun run;
        ASSERT_EQ(run.Run({"-k0.1", option}), 1);
        EXPECT_EQ(ReadTable(run.Text()).rows.size(), static_cast<std::size_t>(rows));
        EXPECT_EQ(run->GetPointCount(), rows);
    }
}

// Option f: each row ends in the tangent's voltage entries at its point.
// Bus 2 is the only bus with a free voltage, so it ranks first with the
// largest entry, until the nose; past it the six values are 0. At the base
// case dtheta/dlambda = -0.5 and the slack takes dP = 1; with Q = 0.5 P,
// dV/dlambda = -0.25 and the slack also takes dQ = 0.5, while without
// reactive load the voltage does not move yet.
TEST(Continuation, OptionFRanksTheBusesOnTheAscendingSide) {
    struct Case {
        double reactivePerActive;
        std::vector<double> first;  // VSFone, VSFbus, VSFinf, SF, 1/TVI, rank
    };
    const Case cases[] = {{0.5, {0.25, 2, 0.25, 2.25, 4.0, 1}}, {0.0, {0, 0, 0, 1.5, 0, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reactivePerActive);
        TwoBusFileRun run(c.reactivePerActive);
        ASSERT_EQ(run.Run({"-k0.1", "-S0.8", "-f2"}), 1);
        const ContinuationTable table = ReadTable(run.Text());
        ASSERT_EQ(table.names.back(), "2_Rank");
        auto tangentValues = [&](std::size_t i) {
            return std::vector<double>(table.rows[i].end() - 6, table.rows[i].end());
        };
        EXPECT_EQ(tangentValues(0), c.first);
        const std::size_t nose = IndexOfLargest(table.Column(2));
        ASSERT_GT(nose, 1u);
        for (std::size_t i = 1; i < table.rows.size(); ++i) {
            SCOPED_TRACE(i);
            const std::vector<double> values = tangentValues(i);
            if (i < nose) {
                EXPECT_EQ(values[1], 2);
                EXPECT_NEAR(values[4], 1.0 / values[0], 1e-3 / values[0]);
                EXPECT_EQ(values[5], 1);
            } else if (i > nose) {
                EXPECT_EQ(values, std::vector<double>(6, 0.0));
            }
        }
    }
}

// A public network handed over as host records, every load with share
// 100 %, the generators with none (the slack takes up the increase).
void AddPublicCase(MemoryRecordCursor& records, const std::string& name) {
    HostNetwork network = LoadCdfAsHostRecords(TestDataPath(name + ".cdf"));
    for (BusRecord bus : network.buses) {
        bus.pLoadShare = 1.0;
        bus.qLoadShare = 1.0;
        records.buses.push_back(bus);
        records.SetName(records.buses.back(), bus.name);
    }
    records.branches = network.branches;
}

struct NoseReference {
    double loadMw;
    double minimumVoltage;
};

std::map<std::string, NoseReference> ReadNoseReference() {
    std::ifstream in(TestDataPath("cpf.csv"));
    std::string line;
    std::getline(in, line);
    std::map<std::string, NoseReference> cases;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream row(line);
        for (std::string field; std::getline(row, field, ',');) fields.push_back(field);
        cases[fields.at(0)] = {std::stod(fields.at(7)), std::stod(fields.at(8))};
    }
    return cases;
}

TEST(Continuation, HostRoadReachesTheReferenceNose) {
    const auto reference = ReadNoseReference();
    for (const std::string name : {"case9", "case30"}) {
        SCOPED_TRACE(name);
        ScratchFolder folder("continuation_public_host");
        const std::string path = (folder / "pv.txt").string();
        MemoryRecordCursor records;
        AddPublicCase(records, name);
        SolverHandle solver;
        solver->SetTotalsColumns(false, false, true, false);
        ASSERT_EQ(solver->AttachAndRun(&records, nullptr, path.c_str(), 0), 1);
        solver->ClearTotalsColumns();
        const ContinuationTable table = ReadTable(FileText(path));
        EXPECT_EQ(table.names.size(), records.buses.size() + 1);
        const std::vector<double> load = table.Column(table.names.size() - 1);
        const double noseMw = 100.0 * load[IndexOfLargest(load)];
        EXPECT_NEAR(noseMw, reference.at(name).loadMw, 0.01 * reference.at(name).loadMw);
    }
}

// The 2000-bus case, every load and every generator growing in proportion
// to its base value, started as a host run starts, at lambda 0.1: that lies
// beyond the nose (2.4 % above the base load), so both roads say so (a
// warning to the host's sink, a line of diagnostics in a file run) and
// trace the curve from the base case instead, to the same nose.
TEST(Continuation, AStartBeyondTheNoseTracesFromTheBaseCase) {
    const std::string casePath = TestDataPath("case_ACTIVSg2000.cdf");
    const std::string said =
        "The power flow has no solution at the start load parameter 0.1: the curve is traced from the base case";
    ScratchFolder folder("continuation_start_beyond");

    const HostNetwork network = LoadCdfAsHostRecords(casePath);
    MemoryRecordCursor records;
    std::string directions;
    for (BusRecord bus : network.buses) {
        bus.pLoadShare = bus.qLoadShare = bus.generationShare = 1.0;
        records.buses.push_back(bus);
        records.SetName(records.buses.back(), bus.name);
        if (bus.generationP != 0.0 || bus.loadP != 0.0 || bus.loadQ != 0.0)
            directions += FormatInCLocale("%d x %.17g %.17g %.17g 0\n", bus.number, bus.generationP / 100.0,
                                          bus.loadP / 100.0, bus.loadQ / 100.0);
    }
    records.branches = network.branches;
    const std::string hostTable = (folder / "host.txt").string();
    RecordingMessageSink sink;
    SolverHandle host;
    host->SetTotalsColumns(false, false, true, false);
    ASSERT_EQ(host->AttachAndRun(&records, &sink, hostTable.c_str(), 0), 1);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].level, IMessageSink::Warning);
    EXPECT_EQ(sink.messages[0].text, said);

    WriteFileText(folder / "dir.k", directions);
    const std::string fileTable = (folder / "file.txt").string();
    RunArguments arguments({"-I", casePath, "-c" + fileTable, "-K" + (folder / "dir.k").string(), "-q", "-L0.1",
                            "-S0.8", "-l" + (folder / "messages.txt").string()});
    SolverHandle file;
    file->SetTotalsColumns(false, false, true, false);
    ASSERT_EQ(file->Main(arguments.Count(), arguments.Items(), 0), 1);
    // After Newton's method's own word on the start.
    EXPECT_TRUE(FileText(folder / "messages.txt").ends_with("p.u.\n" + said + "\n"));

    const std::vector<double> hostLoads = TableLoads(hostTable);
    const std::vector<double> fileLoads = TableLoads(fileTable);
    const std::size_t nose = IndexOfLargest(hostLoads);
    ASSERT_GT(nose, 0u);
    ASSERT_LT(nose + 1, hostLoads.size());
    EXPECT_NEAR(hostLoads[nose] / hostLoads[0], 1.024, 0.001);
    EXPECT_NEAR(hostLoads[nose], fileLoads[IndexOfLargest(fileLoads)], 1e-4 * hostLoads[nose]);
}

// A corrector's last pass measures the Jacobian with the mismatch, and
// the tangent at the point found enters only its own parameter row into
// it: the tangent and its sign are exactly those of a whole new assembly.
TEST(Continuation, TangentAtTheCorrectedPointEqualsAFreshOne) {
    SolverHandle solver;
    ASSERT_NO_FATAL_FAILURE(StartTwoBusContinuation(*solver));
    NetBus& load = *solver->FindBus(2);
    PlaceOnCurve(*solver, -20.0);
    std::vector<double>& step = solver->Tangent();
    ASSERT_EQ(solver->TangentVector(step, Reorder::Yes), 0);
    for (double& item : step) item *= 0.2;
    solver->SetParameterStep(0.2);
    solver->TakePredictorStep();
    solver->SetQuietRun(Quiet::Yes, LimitChecks::Done);
    ASSERT_GT(solver->SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Models), 1);

    std::vector<double> reused;
    ASSERT_EQ(solver->TangentVector(reused, Reorder::No, true), 0);
    const int reusedSign = solver->FactorSign();
    std::vector<double> fresh;
    ASSERT_EQ(solver->TangentVector(fresh, Reorder::No), 0);
    EXPECT_EQ(reused, fresh);
    EXPECT_EQ(reusedSign, solver->FactorSign());
    EXPECT_NE(fresh[load.firstVariable], 0.0);
}

// The file road: the driver's arguments with a K file that raises every
// load in proportion to its base value, reactive limits off (option q) as
// in the reference. Without option S the lower branch is traced down
// towards the base load.
TEST(Continuation, FileRoadTracesPastTheNose) {
    const auto reference = ReadNoseReference();
    for (const std::string name : {"case9", "case30"}) {
        SCOPED_TRACE(name);
        ScratchFolder folder("continuation_public_file");
        std::string directions;
        for (const BusRecord& bus : LoadCdfAsHostRecords(TestDataPath(name + ".cdf")).buses)
            if (bus.loadP != 0.0 || bus.loadQ != 0.0)
                directions += FormatInCLocale("%d 0 0 %g %g 0\n", bus.number, bus.loadP / 100.0, bus.loadQ / 100.0);
        WriteFileText(folder / "dir.k", directions);
        const std::string table = (folder / "pv.txt").string();
        RunArguments arguments({"-I", TestDataPath(name + ".cdf"), (folder / "out.txt").string(), "-c" + table,
                                "-K" + (folder / "dir.k").string(), "-q"});
        SolverHandle solver;
        ASSERT_EQ(solver->Main(arguments.Count(), arguments.Items(), 0), 1);

        const ContinuationTable rows = ReadTable(FileText(table));
        EXPECT_EQ(static_cast<int>(rows.rows.size()), solver->GetPointCount());
        double lowest = 2.0;
        for (const auto& row : rows.rows) lowest = std::min(lowest, *std::min_element(row.begin(), row.end()));
        EXPECT_LE(lowest, 1.01 * reference.at(name).minimumVoltage);
        // A continuation writes its table and no listing.
        EXPECT_FALSE(std::filesystem::exists(folder / "out.txt"));
    }
}

// Row n + 1 against central differences of its residual, each unknown
// moved by the bus step application: so the state the residual reads is
// the one the Newton step moves, for every kind of bus and transformer.
// With a parameter bus, the AC equations put lambda in its voltage column
// and its voltage in column n + 1.
TEST(Continuation, ArcLengthRowMatchesItsDifferences) {
    std::mt19937 random(20260212);
    std::uniform_real_distribution<double> entry(-0.5, 0.5);
    for (const bool parameterBus : {false, true}) {
        SCOPED_TRACE(parameterBus ? "voltage of bus 9" : "lambda");
        MemoryRecordCursor records;
        AddRegulatedNetwork(records);
        SolverHandle solver;
        ASSERT_TRUE(ReadHostRecords(*solver, records));
        for (const auto& bus : solver->GetNetwork()->buses) {
            bus->loadModelP.baseDirection = 0.2;
            bus->loadModelQ.baseDirection = 0.1;
        }
        NetBus& nine = *solver->FindBus(9);
        if (parameterBus) {
            nine.code = "BL";
            nine.voltageFree = false;
        }
        solver->SetContinuation(Continuation::On, parameterBus ? &nine : nullptr);
        solver->SetLoadParameter(0.3);
        solver->NumberVariables();
        const int n = solver->VariableCount();

        // The base point, then a step to check the row at.
        solver->Tangent().assign(n + 2, 0.0);
        solver->SaveStepBase();
        std::vector<double>& t = solver->Tangent();
        for (int i = 1; i <= n; ++i) t[i] = entry(random);
        solver->SetParameterStep(entry(random));
        std::vector<double>& correction = solver->Correction();
        for (int i = 1; i <= n + 1; ++i) correction[i] = 0.3 * entry(random);
        solver->UpdateBuses(1.0, Trial::First, Clamping::Off, RecoveryHold::Off);

        const auto differences = CheckJacobian(*solver, false);
        EXPECT_TRUE(differences.empty()) << differences.size() << " AC entries differ";
        solver->ClearMatrix();
        ASSERT_EQ(solver->ParameterEquation(Evaluate::Jacobian, nullptr, t), 0);
        auto residual = [&] {
            solver->ParameterEquation(Evaluate::Mismatch, nullptr, t);
            return solver->Mismatch()[n + 1];
        };
        const double step = 1e-6;
        for (int column = 1; column <= n + 1; ++column) {
            SCOPED_TRACE(column);
            std::fill(correction.begin(), correction.end(), 0.0);
            correction[column] = 1.0;
            solver->UpdateBuses(step, Trial::First, Clamping::Off, RecoveryHold::Off);
            const double up = residual();
            solver->UpdateBuses(-2.0 * step, Trial::First, Clamping::Off, RecoveryHold::Off);
            const double down = residual();
            solver->UpdateBuses(step, Trial::First, Clamping::Off, RecoveryHold::Off);
            const MatrixEntry* assembled = solver->Matrix().Find(n + 1, column);
            ASSERT_NE(assembled, nullptr);
            EXPECT_NEAR(assembled->value, (up - down) / (2.0 * step), 1e-6);
        }
    }
}

// The two-bus host case read for a continuation, bus 2 at 0.8 p.u. and
// lambda 0.5 at the base point.
void PrepareStep(Solver& solver, MemoryRecordCursor& records) {
    AddTwoBusHost(records);
    ASSERT_TRUE(ReadHostRecords(solver, records, nullptr, "pv.txt"));
    solver.SetContinuation(Continuation::On);
    solver.NumberVariables();
    solver.FindBus(2)->voltage = 0.8;
    solver.SetLoadParameter(0.5);
    solver.Tangent().assign(solver.VariableCount() + 2, 0.0);
    solver.SaveStepBase();
}

TEST(Continuation, StepStopsAtLimitsAndAnswersTheOvershoot) {
    struct Case {
        const char* name;
        double parameterStep;
        double voltageStep;
        double overshoot;  // largest fraction of a step beyond its limit
        int clamped;
        double lambda;
        double voltage;
    };
    const Case cases[] = {
        {"within limits", 0.1, -0.2, 0.0, 0, 0.6, 0.6},
        {"lambda stops at the base load", -1.0, 0.0, 0.5, 1, 0.0, 0.8},
        {"the voltage stops above 0", 0.1, -1.6, (0.8 + 0.00001) / 1.6, 1, 0.6, 0.00001},
        {"both", -2.0, -1.6, 0.75, 2, 0.0, 0.00001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryRecordCursor records;
        SolverHandle solver;
        PrepareStep(*solver, records);
        NetBus& load = *solver->FindBus(2);
        solver->Tangent()[load.firstVariable + 1] = c.voltageStep;
        solver->SetParameterStep(c.parameterStep);
        EXPECT_NEAR(solver->ApplyPredictor(StepAnswer::Overshoot), c.overshoot, 1e-12);
        EXPECT_EQ(solver->LoadParameter(), c.lambda);
        EXPECT_NEAR(load.voltage, c.voltage, 1e-15);
        // Applied again from the base point, not from where the step ended;
        // the count of clamped quantities without the fixing flag.
        EXPECT_EQ(solver->ApplyPredictor(StepAnswer::ClampedCount), c.clamped);
        EXPECT_NEAR(load.voltage, c.voltage, 1e-15);
    }
}

// In a lambda step from lambda 0.5 with dV = -0.3 at V = 0.8, the voltage
// of bus 2 moves by 37.5 % while lambda moves by 20 % (dp 0.1): its
// elasticity is 1.875, and the parameter goes over to its voltage. With
// dp 0.2 it stays below 1.
TEST(Continuation, ParameterGoesToTheFastestVoltageAndBack) {
    for (const double step : {0.1, 0.2}) {
        SCOPED_TRACE(step);
        MemoryRecordCursor records;
        SolverHandle solver;
        PrepareStep(*solver, records);
        NetBus& load = *solver->FindBus(2);
        solver->Tangent()[load.firstVariable + 1] = -0.3;
        solver->SetParameterStep(step);
        solver->TakePredictorStep();
        EXPECT_NEAR(solver->Elasticity(), 0.1875 / step, 1e-12);
        if (step == 0.2) {
            EXPECT_EQ(solver->SwitchParameter(), 0);
            continue;
        }
        ASSERT_EQ(solver->SwitchParameter(), 1);
        EXPECT_EQ(load.code, "BL");
        EXPECT_EQ(solver->ParameterBus(), &load);
        EXPECT_FALSE(load.voltageFree);
        // Back at the base point, with no step.
        EXPECT_EQ(load.voltage, 0.8);
        EXPECT_EQ(solver->LoadParameter(), 0.5);
        EXPECT_EQ(solver->Tangent()[load.firstVariable + 1], 0.0);

        ASSERT_EQ(solver->SwitchParameter(), 1);
        EXPECT_EQ(load.code, "B");
        EXPECT_EQ(solver->ParameterBus(), nullptr);
        EXPECT_TRUE(load.voltageFree);
    }
}

// Option H lets the voltage of bus 2 take over near the nose; the curve
// still rises once and falls once.
TEST(Continuation, VoltageParameterCarriesThePointsOverTheNose) {
    TwoBusFileRun run(0.5);
    ASSERT_EQ(run.Run({"-H" + run.Path("pv.txt"), "-k0.3", "-S0.8"}, false), 1);
    const std::vector<double> load = ReadTable(run.Text()).Column(2);
    ASSERT_GE(load.size(), 3u);
    EXPECT_EQ(Turns(load), 1);
    EXPECT_EQ((*run).FindBus(2)->code, "B");
}

// Option u holds unknowns whose step is small against their value, but
// only on the lower branch: from its fifth point on, every U points.
TEST(Continuation, OptionUFixesUnknownsOnTheLowerBranch) {
    for (const bool lowerBranch : {true, false}) {
        SCOPED_TRACE(lowerBranch ? "down to the base load" : "to 0.8 of the nose");
        TwoBusFileRun run(0.5);
        std::vector<std::string> options = {"-k0.1", "-u", "-U2"};
        if (!lowerBranch) options.push_back("-S0.8");
        ASSERT_EQ(run.Run(options), 1);
        const IndexVector& fixed = run->FixedVariables();
        ASSERT_EQ(fixed.count, run->VariableCount() + 1);
        EXPECT_EQ(std::count(fixed.items.begin(), fixed.items.end(), 1) > 0, lowerBranch);
        const std::vector<double> load = ReadTable(run.Text()).Column(2);
        EXPECT_NEAR(load[IndexOfLargest(load)], 0.61803, 0.01 * 0.61803);
    }
}

// Options L and v without a table: one power flow at a load parameter, or
// the load parameter at which bus 2 has the voltage of option v. On the
// curve, with Q = q P: 2 V sin theta = -lambda, 2 V^2 - 2 V cos theta =
// -q lambda.
TEST(Continuation, LoadParameterAndHeldVoltageRuns) {
    struct Case {
        std::vector<std::string> options;
        double reactivePerActive;
        double lambda;
        double voltage;
        bool listing;
    };
    // V = 0.8, q = 0.5: lambda^2 / 2.56 + (0.8 + 0.3125 lambda)^2 = 1.
    const double a = 1.0 / 2.56 + 0.3125 * 0.3125, b = 0.5, c = 0.64 - 1.0;
    const Case cases[] = {
        {{"-L0.5"}, 0.0, 0.5, std::cos(kPi / 12.0), true},
        {{"-L0.5", "-b"}, 0.0, 0.5, std::cos(kPi / 12.0), true},
        // The held-voltage run answers through its load parameter alone.
        {{"-v0.8"}, 0.5, (-b + std::sqrt(b * b - 4.0 * a * c)) / (2.0 * a), 0.8, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.back());
        TwoBusFileRun run(c.reactivePerActive);
        ASSERT_EQ(run.Run(c.options, false), 1);
        EXPECT_NEAR(run->LoadParameter(), c.lambda, 1e-4);
        EXPECT_NEAR(run->FindBus(2)->voltage, c.voltage, 1e-4);
        EXPECT_EQ(std::filesystem::exists(run.Path("out.txt")), c.listing);
    }
}

// A tracing that stalls once it has passed the nose (a step tolerance of
// 0.1 leaves lambda standing on the lower branch) has traced the curve: it
// ends as a success with the points found, its last row complete, and a
// warning. Before the nose the same kind of end fails the run.
TEST(Continuation, AStallPastTheNoseEndsTheCurve) {
    TwoBusFileRun run;
    ASSERT_EQ(run.Run({"-o0.1", "-l" + run.Path("messages.txt")}), 1);
    const std::string text = run.Text();
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), run->GetPointCount() + 1);
    EXPECT_EQ(FileText(run.Path("messages.txt")).rfind("The continuation stalls at load parameter ", 0), 0u);
    EXPECT_NE(FileText(run.Path("messages.txt")).find("; the curve ends there, past its nose\n"), std::string::npos);

    TwoBusFileRun early;
    EXPECT_EQ(early.Run({"-M0"}), 0);
    EXPECT_EQ(early.Text().back(), '\n');
}

// Along a direction that gives reactive power the curve has no nose: the
// tracing stops at its most points and fails, its table complete.
TEST(Continuation, ACurveWithoutANoseEndsAtTheMostPoints) {
    TwoBusFileRun run(-1.0, 0.0);
    EXPECT_EQ(run.Run({"-l" + run.Path("messages.txt")}), 0);
    EXPECT_EQ(FileText(run.Path("messages.txt")), "The continuation stops after 10000 points\n");
    const std::string text = run.Text();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10001);
}

// Slack 1 and generators 2 (30 MW) and 3 (20 MW) feed load bus 4 (60 MW)
// over lines of R = 0.02, X = 0.1 p.u.; the K file raises bus 4's load by
// 1 p.u. per unit of lambda and gives the generators 2 and 3 the dispatch
// factors asked for.
class GeneratorShareRun : public ContinuationFileRun {
public:
    GeneratorShareRun(double share2, double share3) : ContinuationFileRun("continuation_generator_shares", true) {
        CaseText c;
        c.buses = {BusCard(1, 3), BusCard(2, 0).At(59, "    30.00"), BusCard(3, 0).At(59, "    20.00"),
                   BusCard(4, 0).At(41, "    60.00")};
        for (int from : {1, 2, 3}) c.branches.push_back(BranchCard(from, 4, 0).At(20, "  0.020000"));
        WriteFileText(folder_ / "case.cdf", c.Text());
        WriteFileText(folder_ / "dir.k", FormatInCLocale("2 B2 %g 0 0 0\n3 B3 %g 0 0 0\n4 B4 0 1 0 0\n", share2,
                                                         share3));
    }

    // Active generation of bus `number` (p.u.).
    double Generation(int number) const { return (**this).FindBus(number)->generationP; }
};

// Where the direction gives generators shares, each of them takes its
// (normalised) share x lambda of the increase and the slack bus the rest
// with the losses; without shares the generators stay at their schedules
// and the slack takes it all. Checked at points before and after the nose.
TEST(Continuation, GeneratorsWithSharesFollowTheLoadParameter) {
    struct Case {
        double share2, share3;
    };
    for (const Case& c : {Case{2.0, 1.0}, Case{0.0, 0.0}}) {
        const double norm = std::hypot(c.share2, c.share3);
        const double b2 = norm > 0.0 ? c.share2 / norm : 0.0;
        const double b3 = norm > 0.0 ? c.share3 / norm : 0.0;
        for (const int points : {4, 200}) {
            SCOPED_TRACE(FormatInCLocale("shares %g:%g, %d points", c.share2, c.share3, points));
            GeneratorShareRun run(c.share2, c.share3);
            ASSERT_EQ(run.Run({"-k0.05", "-z" + std::to_string(points), "-S0.5"}), 1);
            EXPECT_EQ(run->Switches().generationIncrease, norm > 0.0);
            const double lambda = run->LoadParameter();
            ASSERT_GT(lambda, 0.1);
            EXPECT_NEAR(run.Generation(2), 0.3 + b2 * lambda, 1e-9);
            EXPECT_NEAR(run.Generation(3), 0.2 + b3 * lambda, 1e-9);

            // The table's last row: the slack's generation covers the load
            // left over and the losses of the lossy lines.
            const ContinuationTable table = ReadTable(run.Text());
            ASSERT_EQ(table.names.size(), 6u);
            ASSERT_EQ(table.names[4], "PLoad_Total");
            const std::vector<double>& last = table.rows.back();
            const double load = last[4], generation = last[5];
            EXPECT_NEAR(load, 0.6 + lambda, 1e-4);
            EXPECT_NEAR(generation, run.Generation(1) + run.Generation(2) + run.Generation(3), 1e-4);
            EXPECT_GT(generation - load, 0.0);
            if (points > 4) {
                EXPECT_EQ(Turns(table.Column(4)), 1);
            }
        }
    }
}

// A start further up the curve (option L) that the network carries: the
// generators with shares take theirs of the start load before Newton's
// method measures its first mismatch, so the start solves and the curve
// goes on from it, with or without shares.
TEST(Continuation, AStartWithGeneratorSharesSolvesAndTheCurveGoesOnFromIt) {
    // Generator 2 alone follows lambda: it takes as much as bus 4's load
    // grows, more than the slack's correction could leave unbalanced.
    for (const double share : {1.0, 0.0}) {
        SCOPED_TRACE(FormatInCLocale("share %g", share));
        GeneratorShareRun run(share, 0.0);
        ASSERT_EQ(run.Run({"-k0.05", "-z4", "-L0.1", "-l" + run.Path("messages.txt")}), 1);
        EXPECT_EQ(FileText(run.Path("messages.txt")), "");
        const double lambda = run->LoadParameter() + 0.1;
        EXPECT_NEAR(run.Generation(2), 0.3 + share * lambda, 1e-9);
        EXPECT_NEAR(run.Generation(3), 0.2, 1e-9);
        EXPECT_NEAR(ReadTable(run.Text()).rows.back()[4], 0.6 + lambda, 1e-4);
    }
}

// On the 14-bus case the generators meet their reactive limits one after
// another near the nose, and the slack (held between 0 and 10 Mvar) meets
// its lower one. Where a control that has just switched meets its limit
// again at once, the curve turns there: the tracing goes on the other way
// instead of switching the control back and forth until it stalls. So the
// curve turns at the nose that bus 8's limit makes, folds back up where
// the slack takes its voltage again, and after the nose of that part goes
// down to the host's stop level, with and without generators that share
// the increase.
TEST(Continuation, ControlsThatSwitchAtANoseTurnTheCurve) {
    for (const bool generatorsShare : {false, true}) {
        SCOPED_TRACE(generatorsShare ? "generators 1 and 2 share" : "the slack alone");
        ScratchFolder folder("continuation_limit_turns");
        std::string directions;
        for (const BusRecord& bus : LoadCdfAsHostRecords(TestDataPath("case14.cdf")).buses) {
            const double share = generatorsShare && bus.number <= 2 ? bus.generationP / 100.0 : 0.0;
            if (share != 0.0 || bus.loadP != 0.0 || bus.loadQ != 0.0)
                directions += FormatInCLocale("%d x %.17g %.17g %.17g 0\n", bus.number, share, bus.loadP / 100.0,
                                              bus.loadQ / 100.0);
        }
        WriteFileText(folder / "dir.k", directions);
        const std::string table = (folder / "pv.txt").string();
        RunArguments arguments({"-I", TestDataPath("case14.cdf"), "-c" + table, "-K" + (folder / "dir.k").string(),
                                "-L0.1", "-S0.8", "-l" + (folder / "messages.txt").string()});
        SolverHandle solver;
        solver->SetTotalsColumns(false, false, true, false);
        ASSERT_EQ(solver->Main(arguments.Count(), arguments.Items(), 0), 1);
        EXPECT_EQ(FileText(folder / "messages.txt"), "");

        const std::vector<double> loads = TableLoads(table);
        std::size_t firstNose = 1;
        while (firstNose + 1 < loads.size() && loads[firstNose + 1] >= loads[firstNose]) ++firstNose;
        ASSERT_LT(firstNose + 1, loads.size());
        const std::size_t nose = IndexOfLargest(loads);
        EXPECT_GT(nose, firstNose);
        EXPECT_GT(loads[nose], loads[firstNose] + 0.05);
        EXPECT_LT(loads.back(), loads[firstNose] - 0.2);
    }
}

// In the generation-increase mode the equations give the generators' rows
// their shares in lambda's column and the slack's row its power column,
// as the step application moves them; also once lambda has taken the
// voltage column of load bus 4.
TEST(Continuation, GenerationIncreaseJacobianMatchesItsDifferences) {
    for (const bool parameterBus : {false, true}) {
        SCOPED_TRACE(parameterBus ? "voltage of bus 4" : "lambda");
        GeneratorShareRun run(2.0, 1.0);
        ASSERT_EQ(run.Run({"-k0.05", "-z6"}), 1);
        ASSERT_TRUE(run->Switches().generationIncrease);
        NetBus& four = *run->FindBus(4);
        if (parameterBus) {
            four.code = "BL";
            four.voltageFree = false;
        }
        run->SetContinuation(Continuation::On, parameterBus ? &four : nullptr);
        run->NumberVariables();
        const int n = run->VariableCount();
        run->Tangent().assign(n + 2, 0.0);
        run->SaveStepBase();
        std::fill(run->Correction().begin(), run->Correction().end(), 0.0);
        run->UpdateBuses(1.0, Trial::First, Clamping::Off, RecoveryHold::Off);
        const auto differences = CheckJacobian(*run, false);
        EXPECT_TRUE(differences.empty()) << differences.size() << " entries differ, the first at "
                                         << (differences.empty() ? 0 : differences[0].row) << ", "
                                         << (differences.empty() ? 0 : differences[0].column);
    }
}

}  // namespace
