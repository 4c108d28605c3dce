#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cdf_host_records.h"
#include "host_read.h"
#include "memory_record_cursor.h"
#include "number_text.h"
#include "power_flow_networks.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

// Slack at 1.0 p.u. feeding a 50 MW load over a reactance of 0.5 p.u.
void AddTwoBus(MemoryRecordCursor& records, double loadMw) {
    BusRecord& slack = records.AddBus(1, 0, "Slack");
    slack.maxQ = 1000.0;
    slack.minQ = -1000.0;
    BusRecord& load = records.AddBus(2, 1, "Load");
    load.loadP = loadMw;
    load.direction[0] = loadMw;
    records.AddBranch(BranchRecord::Line, 1, 2, 0.0, 0.5);
}

const BusRecord& ResultOf(const MemoryRecordCursor& results, int key) {
    for (const BusRecord& bus : results.buses)
        if (bus.key == key) return bus;
    throw std::runtime_error("no result for key " + std::to_string(key));
}

TEST(NewtonPowerFlow, TwoBusCase) {
    MemoryRecordCursor records;
    AddTwoBus(records, 50.0);
    SolverHandle solver;
    ASSERT_EQ(solver->Attach(&records, nullptr, 0), 1);
    EXPECT_TRUE(records.groupBuses);
    MemoryRecordCursor results;
    results.CopyFrom(*solver->GetResultCursor());
    const BusRecord& load = ResultOf(results, records.buses[1].key);
    EXPECT_NEAR(load.voltage, 0.96593, 1e-5);  // cos 15 degrees
    EXPECT_NEAR(load.angle, -15.0, 1e-5 / (3.141592654 / 180.0));
    const BusRecord& slack = ResultOf(results, records.buses[0].key);
    EXPECT_NEAR(slack.generationP, 50.0, 1e-2);
    EXPECT_NEAR(slack.voltage, 1.0, 1e-12);

    // The host changes the load and solves again from there.
    NetBus& bus = *solver->FindBus(2);
    bus.loadP = bus.loadPolynomial[0] = 0.3;
    const int iterations = solver->RunPowerFlow();
    EXPECT_GT(iterations, 1);
    EXPECT_NEAR(std::sin(-bus.angle) * bus.voltage, 0.15, 1e-4);
    EXPECT_NEAR(bus.voltage, std::cos(bus.angle), 1e-4);
}

struct Reference {
    double voltage;
    double angle;  // degrees
};

std::map<int, Reference> ReadReference(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);  // header
    std::map<int, Reference> buses;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        fields.imbue(std::locale::classic());
        std::vector<std::string> columns;
        for (std::string field; std::getline(fields, field, ',');) columns.push_back(field);
        if (columns.size() < 5) continue;
        buses[std::stoi(columns[0])] = {std::stod(columns[3]), std::stod(columns[4])};
    }
    return buses;
}

void AddCase14(MemoryRecordCursor& records, bool flatStart) {
    CdfConversion conversion;
    conversion.flatStart = flatStart;
    HostNetwork network = LoadCdfAsHostRecords(TEST_DATA_DIR "/case14.cdf", conversion);
    for (const BusRecord& bus : network.buses) {
        records.buses.push_back(bus);
        records.SetName(records.buses.back(), bus.name);
    }
    records.branches = network.branches;
}

TEST(NewtonPowerFlow, Ieee14BusCaseMatchesTheReference) {
    const auto reference = ReadReference(TEST_DATA_DIR "/case14-noqlim-bus.csv");
    ASSERT_EQ(reference.size(), 14u);
    for (bool flatStart : {false, true}) {
        SCOPED_TRACE(flatStart ? "flat start" : "the file's start");
        MemoryRecordCursor records;
        AddCase14(records, flatStart);
        SolverHandle solver;
        ASSERT_EQ(solver->Attach(&records, nullptr, 0), 1);
        MemoryRecordCursor results;
        results.CopyFrom(*solver->GetResultCursor());
        ASSERT_EQ(results.buses.size(), 14u);
        for (const BusRecord& bus : results.buses) {
            const int number = bus.key >> 8;
            SCOPED_TRACE(number);
            EXPECT_NEAR(bus.voltage, reference.at(number).voltage, 1e-4);
            EXPECT_NEAR(bus.angle, reference.at(number).angle, 0.01);
        }
    }
}

// Newton's method one iteration at a time from a flat start, as a quiet run
// with an iteration limit of 1 answers after each iteration.
TEST(NewtonPowerFlow, ConvergesQuadratically) {
    MemoryRecordCursor records;
    AddCase14(records, true);
    SolverHandle solver;
    ASSERT_EQ(solver->Attach(&records, nullptr, 0), 1);
    for (const auto& bus : solver->GetNetwork()->buses) {
        if (!CodeHas(bus->code, "S")) bus->angle = 0.0;
        bus->slackPower = 0.0;
        bus->generationP = bus->scheduledP;
        bus->generationQ = 0.0;
        if (bus->voltageFree) bus->voltage = 1.0;
    }
    solver->SetIterationLimit(1);
    solver->SetTolerance(1e-10);
    solver->SetQuietRun(Quiet::Yes, LimitChecks::Due);
    solver->NumberVariables();
    int where = 0;
    int status = 0;
    solver->AcEquations(status, Evaluate::Mismatch, Loads::Polynomial);
    std::vector<double> norms = {Solver::MaxAbs(solver->Mismatch(), solver->MatrixOrder(), where)};
    for (int step = 0; step < 10; ++step) {
        const int result = solver->SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial);
        norms.push_back(Solver::MaxAbs(solver->Mismatch(), solver->MatrixOrder(), where));
        if (result > 0) break;
        ASSERT_EQ(result, -2);
    }
    std::string log;
    for (double norm : norms) log += FormatInCLocale("%.3g ", norm);
    RecordProperty("mismatch_norms", log);

    ASSERT_GE(norms.size(), 4u);
    ASSERT_LE(norms.size(), 7u);
    EXPECT_LE(norms.back(), 1e-10);
    // Each iteration about squares the mismatch (until rounding is reached).
    for (std::size_t k = 1; k < norms.size(); ++k) {
        if (norms[k] > 1e-13) {
            EXPECT_LT(norms[k], norms[k - 1] * norms[k - 1]) << k;
        }
    }
}

TEST(NewtonPowerFlow, StartPointWithinToleranceAnswersTheFirstIterationWithoutFactorising) {
    MemoryRecordCursor records;
    AddTwoBus(records, 50.0);
    SolverHandle solver;
    ASSERT_EQ(solver->Attach(&records, nullptr, 0), 1);
    EXPECT_EQ(solver->RunPowerFlow(), 1);
    EXPECT_EQ(solver->Matrix().EntryCount(), 0);

    // With no iteration allowed, a start within the tolerance still
    // answers; one above it fails the run.
    solver->SetIterationLimit(0);
    EXPECT_EQ(solver->RunPowerFlow(), 1);
    solver->FindBus(2)->voltage += 0.01;
    EXPECT_EQ(solver->RunPowerFlow(), 0);
}

TEST(NewtonPowerFlow, NotANumberNeverPassesForConvergence) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> vector = {0.0, 1e-9, nan, 2e-9};
    int where = 0;
    EXPECT_TRUE(std::isnan(Solver::MaxAbs(vector, 3, where)));
    EXPECT_EQ(where, 2);
    where = 7;
    EXPECT_EQ(Solver::MaxAbs(vector, 0, where), -0.1);
    EXPECT_EQ(where, 7);

    for (int limit : {100, 0}) {
        SCOPED_TRACE(limit);
        MemoryRecordCursor records;
        AddTwoBus(records, 50.0);
        SolverHandle solver;
        ASSERT_EQ(solver->Attach(&records, nullptr, 0), 1);
        solver->FindBus(2)->loadPolynomial[3] = nan;
        solver->SetIterationLimit(limit);
        solver->NumberVariables();
        EXPECT_THROW(solver->SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial), SolverAbort);
        solver->SetQuietRun(Quiet::Yes, LimitChecks::Due);
        EXPECT_LT(solver->SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial), 0);
    }
}

TEST(NewtonPowerFlow, NoShareOfTheSlackPowerFailsTheRun) {
    MemoryRecordCursor records;
    AddRegulatedNetwork(records);
    SolverHandle solver;
    ASSERT_TRUE(ReadHostRecords(*solver, records));
    solver->NumberVariables();
    solver->FindBus(1)->shareInUse = 0.0;
    EXPECT_THROW(solver->SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial), SolverAbort);
    // A quiet run answers minus its first iteration.
    solver->SetQuietRun(Quiet::Yes, LimitChecks::Due);
    EXPECT_EQ(solver->SolvePowerFlow(3, Reorder::No, Refresh::EveryIteration, Loads::Polynomial), -3);
}

TEST(NewtonPowerFlow, NoProgressWithoutALimitToSwitchFailsTheRun) {
    // Far more load than the line can carry: there is no solution.
    MemoryRecordCursor records;
    AddTwoBus(records, 300.0);
    SolverHandle solver;
    EXPECT_EQ(solver->Attach(&records, nullptr, 0), 0);

    solver->SetQuietRun(Quiet::Yes, LimitChecks::Due);
    solver->NumberVariables();
    const int result = solver->SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial);
    EXPECT_LT(result, -1);
    // The quiet run tried the limit checks once; the next stall answers at once.
    solver->SetQuietRun(Quiet::Yes, LimitChecks::Done);
    EXPECT_LT(solver->SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial), -1);
}

}  // namespace
