#include <gtest/gtest.h>

#include <vector>

#include "memory_record_cursor.h"
#include "solver.h"
#include "solver_handle.h"
#include "three_bus_network.h"

namespace {

constexpr double kRadiansPerDegree = 3.141592654 / 180.0;

// Every bus of `solved` has the voltage and angle of the same bus in
// `expected`, and the same load and generation.
void ExpectSameState(const MemoryRecordCursor& solved, const MemoryRecordCursor& expected) {
    ASSERT_EQ(solved.buses.size(), expected.buses.size());
    for (const BusRecord& bus : expected.buses) {
        SCOPED_TRACE(bus.key >> 8);
        const BusRecord& other = RecordOf(solved, bus.key);
        EXPECT_NEAR(other.voltage, bus.voltage, 1e-9);
        EXPECT_NEAR(other.angle, bus.angle, 1e-7);
        EXPECT_NEAR(other.loadP, bus.loadP, 1e-9);
        EXPECT_NEAR(other.loadQ, bus.loadQ, 1e-9);
        EXPECT_NEAR(other.generationP, bus.generationP, 1e-7);
    }
}

// The three-bus network with more generation at bus 2 and as much more
// load at bus 3, solved from scratch.
void SolveWithTransfer(MemoryRecordCursor& results, double mw) {
    MemoryRecordCursor records;
    AddThreeBusNetwork(records);
    records.buses[1].generationP += mw;
    records.buses[2].loadP += mw;
    records.buses[2].direction[0] += mw;
    SolverHandle solver;
    ASSERT_TRUE(SolveTightly(*solver, records));
    results.CopyFrom(*solver->GetResultCursor());
}

TEST(StudyOperations, TransferMovesGenerationAndLoadThatTheSolveUses) {
    MemoryRecordCursor records;
    AddThreeBusNetwork(records);
    SolverHandle solver;
    ASSERT_TRUE(SolveTightly(*solver, records));
    ASSERT_EQ(solver->SelectTransferBuses(BusKey(2), BusKey(3)), 1);
    solver->Transfer(10.0);
    ASSERT_GT(solver->RunPowerFlow(), 0);
    MemoryRecordCursor solved;
    solved.CopyFrom(*solver->GetResultCursor());
    EXPECT_NEAR(RecordOf(solved, BusKey(2)).generationP, 50.0, 1e-9);
    EXPECT_NEAR(RecordOf(solved, BusKey(3)).loadP, 70.0, 1e-9);

    MemoryRecordCursor expected;
    SolveWithTransfer(expected, 10.0);
    ExpectSameState(solved, expected);
}

// A selection that misses a bus leaves no end selected: a transfer then
// changes nothing, whatever was selected before.
TEST(StudyOperations, TransferNeedsBothBusesSelected) {
    struct Case {
        const char* what;
        int source;
        int sink;
    };
    const Case cases[] = {{"no source", 9, 3}, {"no sink", 2, 9}, {"neither", 8, 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryRecordCursor records;
        AddThreeBusNetwork(records);
        SolverHandle solver;
        ASSERT_EQ(solver->Attach(&records, nullptr, 0), 1);
        ASSERT_EQ(solver->SelectTransferBuses(BusKey(2), BusKey(3)), 1);
        EXPECT_EQ(solver->SelectTransferBuses(BusKey(c.source), BusKey(c.sink)), 0);
        solver->Transfer(10.0);
        EXPECT_DOUBLE_EQ(solver->FindBus(2)->scheduledP, 0.4);
        EXPECT_DOUBLE_EQ(solver->FindBus(3)->loadP, 0.6);
        EXPECT_DOUBLE_EQ(solver->FindBus(3)->loadPolynomial[0], 0.6);
    }
}

// The transfer study's path after a step that does not converge: the last
// accepted state is read back, and the next, smaller step starts from it.
TEST(StudyOperations, BusStateUndoesAFailedTransferStep) {
    MemoryRecordCursor records;
    AddThreeBusNetwork(records);
    SolverHandle solver;
    ASSERT_EQ(solver->Attach(&records, nullptr, 0), 1);
    solver->SetIterationLimit(50);
    solver->SetTolerance(1e-11);
    ASSERT_EQ(solver->SelectTransferBuses(BusKey(2), BusKey(3)), 1);
    solver->Transfer(10.0);
    ASSERT_GT(solver->RunPowerFlow(), 0);
    MemoryRecordCursor accepted;
    accepted.CopyFrom(*solver->GetResultCursor());

    solver->Transfer(1000.0);
    ASSERT_EQ(solver->RunPowerFlow(), 0);
    EXPECT_TRUE(solver->ReadBusState(&accepted));
    solver->Transfer(5.0);
    ASSERT_GT(solver->RunPowerFlow(), 0);
    MemoryRecordCursor solved;
    solved.CopyFrom(*solver->GetResultCursor());
    EXPECT_NEAR(RecordOf(solved, BusKey(3)).loadP, 75.0, 1e-9);
    EXPECT_NEAR(RecordOf(solved, BusKey(2)).generationP, 55.0, 1e-9);

    MemoryRecordCursor expected;
    SolveWithTransfer(expected, 15.0);
    ExpectSameState(solved, expected);
}

TEST(StudyOperations, LoadDirectionMovesTheSolvedState) {
    MemoryRecordCursor records;
    AddThreeBusNetwork(records);
    SolverHandle solver;
    ASSERT_TRUE(SolveTightly(*solver, records));
    MemoryRecordCursor before;
    before.CopyFrom(*solver->GetResultCursor());

    // The angle of bus 3 moves as its sensitivity factors predict: a load
    // step is a negative injection at every bus.
    std::vector<double> angles, voltages;
    std::vector<int> angleKeys, voltageKeys;
    ASSERT_TRUE(solver->GetSensitivities(BusKey(3), angles, angleKeys, voltages, voltageKeys));
    double predicted = 0.0;
    for (double factor : angles) predicted += factor;
    const double step = 1e-4;
    solver->AddLoadDirection(step, 0.0);
    ASSERT_GT(solver->RunPowerFlow(), 0);
    MemoryRecordCursor after;
    after.CopyFrom(*solver->GetResultCursor());
    const double change = (RecordOf(after, BusKey(3)).angle - RecordOf(before, BusKey(3)).angle) * kRadiansPerDegree;
    EXPECT_NEAR(change / step, predicted, 1e-5);

    // Active and reactive steps together: the state of a case whose loads
    // were that much larger from the start.
    solver->AddLoadDirection(0.05 - step, 0.02);
    ASSERT_GT(solver->RunPowerFlow(), 0);
    after.CopyFrom(*solver->GetResultCursor());
    MemoryRecordCursor larger;
    AddThreeBusNetwork(larger);
    for (BusRecord& bus : larger.buses) {
        bus.loadP = bus.direction[0] += 5.0;
        bus.loadQ = bus.direction[3] += 2.0;
    }
    SolverHandle reference;
    ASSERT_TRUE(SolveTightly(*reference, larger));
    MemoryRecordCursor expected;
    expected.CopyFrom(*reference->GetResultCursor());
    ExpectSameState(after, expected);
}

TEST(StudyOperations, VoltageStepAtTheBusWithTheKey) {
    MemoryRecordCursor records;
    AddThreeBusNetwork(records);
    SolverHandle solver;
    ASSERT_TRUE(SolveTightly(*solver, records));
    std::vector<double> voltages;
    for (const auto& bus : solver->GetNetwork()->buses) voltages.push_back(bus->voltage);
    solver->AddToBusVoltage(BusKey(9), 0.01);
    std::size_t i = 0;
    for (const auto& bus : solver->GetNetwork()->buses) EXPECT_EQ(bus->voltage, voltages[i++]);

    solver->AddToBusVoltage(BusKey(2), 0.01);
    ASSERT_GT(solver->RunPowerFlow(), 0);
    MemoryRecordCursor solved;
    solved.CopyFrom(*solver->GetResultCursor());
    EXPECT_DOUBLE_EQ(RecordOf(solved, BusKey(2)).voltage, 1.02);
}

}  // namespace
