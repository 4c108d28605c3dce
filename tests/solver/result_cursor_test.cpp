#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "solver.h"
#include "solver_handle.h"

namespace {

constexpr double kDegrees = 3.141592654 / 180.0;

// Two buses and a line, built without a reader.
struct TwoBus {
    NetBus* first;
    NetBus* second;
};

TwoBus Build(Solver& solver) {
    solver.NewNetwork();
    TwoBus n;
    n.first = solver.FindOrAddBus(1, "ONE", 110.0, Search::Yes);
    n.second = solver.FindOrAddBus(2, "TWO", 110.0, Search::Yes);
    n.first->number = 1;
    n.second->number = 2;
    n.first->voltage = n.second->voltage = 1.0;
    n.first->angle = n.second->angle = 0.0;
    NetBranch* line = solver.FindOrAddBranch(n.first, n.second, Search::No, "", '1');
    line->key = 77;
    line->b = -10.0;
    return n;
}

TEST(ResultCursor, WalksOneTableAtATimeAndLeavesTheBufferAtTheEnd) {
    SolverHandle solver;
    IRecordCursor& cursor = *solver->GetResultCursor();
    BusRecord bus;
    bus.key = -5;
    EXPECT_FALSE(cursor.Next(bus));  // no network
    EXPECT_EQ(bus.key, -5);

    Build(*solver);
    EXPECT_FALSE(cursor.Next(bus));  // before MoveFirst
    cursor.SetTable(IRecordCursor::BusTable, 0);
    cursor.MoveFirst();
    BranchRecord branch;
    branch.key = -6;
    EXPECT_FALSE(cursor.Next(branch));  // the bus table holds no branches
    EXPECT_EQ(branch.key, -6);
    ASSERT_TRUE(cursor.Next(bus));
    EXPECT_STREQ(bus.name, "ONE");
    ASSERT_TRUE(cursor.Next(bus));
    EXPECT_STREQ(bus.name, "TWO");
    bus.key = -7;
    EXPECT_FALSE(cursor.Next(bus));
    EXPECT_EQ(bus.key, -7);
    EXPECT_STREQ(bus.name, "TWO");

    cursor.SetTable(IRecordCursor::BranchTable, 0);
    cursor.MoveFirst();
    EXPECT_FALSE(cursor.Next(bus));
    ASSERT_TRUE(cursor.Next(branch));
    EXPECT_EQ(branch.key, 77);
    EXPECT_EQ(branch.fromBus, 1);
    EXPECT_EQ(branch.toBus, 2);
    EXPECT_FALSE(cursor.Next(branch));
    EXPECT_EQ(branch.key, 77);

    EXPECT_EQ(cursor.GetSetCount(), 0);
    EXPECT_FALSE(cursor.SelectSet(0));
}

TEST(ResultCursor, AnglesAreHandedBackWithinHalfATurn) {
    struct Case {
        double radians;
        double wrapped;
    };
    const Case cases[] = {
        {7.0, 7.0 - 6.283185308},
        {-4.0, -4.0 + 6.283185308},
        {20.0, 20.0 - 3.0 * 6.283185308},
        {-20.0, -20.0 + 3.0 * 6.283185308},
        {4.0, 4.0 - 6.283185308},
        {13.0, 13.0 - 2.0 * 6.283185308},
        {10.0, 10.0 - 2.0 * 6.283185308},  // a whole turn, then one more
        {3.0, 3.0},
        {-0.5, -0.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radians);
        SolverHandle solver;
        TwoBus n = Build(*solver);
        n.first->angle = c.radians;
        BusRecord record;
        solver->WriteBusResult(*n.first, record);
        EXPECT_NEAR(record.angle, c.wrapped / kDegrees, 1e-9);
        EXPECT_NEAR(n.first->angle, c.wrapped, 1e-12);  // stored back
    }
}

TEST(ResultCursor, LoadAtTheSolvedVoltageAndLoadParameter) {
    SolverHandle solver;
    TwoBus n = Build(*solver);
    NetBus& bus = *n.second;
    bus.voltage = 0.9;
    bus.loadModelP = {1.5, 0.2, 0.4, 0.1, 0.3};  // exponent, impedance, base and their directions
    bus.loadModelQ = {2.0, 0.0, 0.1, 0.0, 0.0};
    bus.generationP = 0.3;
    bus.generationQ = -0.1;
    bus.shuntB = 0.2;
    BusRecord record;
    solver->WriteBusResult(bus, record);
    // Load parameter 0: the base parts only.
    EXPECT_NEAR(record.loadP, (std::pow(0.9, 1.5) * 0.4 + 0.81 * 0.2) * 100.0, 1e-12);
    EXPECT_NEAR(record.loadQ, 0.81 * 0.1 * 100.0, 1e-12);
    EXPECT_NEAR(record.generationP, 30.0, 1e-12);
    EXPECT_NEAR(record.generationQ, -10.0, 1e-12);
    EXPECT_NEAR(record.shuntQ, 0.81 * 0.2 * 100.0, 1e-12);
    EXPECT_EQ(record.number, 2);
}

TEST(ResultCursor, BankStepOnlyInsideTheStepTable) {
    struct Case {
        int steps;
        int step;
        int handedBack;
    };
    const Case cases[] = {{3, 1, 1}, {3, 2, 2}, {3, 3, 0}, {3, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.steps << " steps, step " << c.step);
        SolverHandle solver;
        TwoBus n = Build(*solver);
        n.first->EditExtras().bankSteps.assign(static_cast<std::size_t>(c.steps), 0.1);
        n.first->EditExtras().bankStep = c.step;
        BusRecord record;
        record.bankStep = 99;  // a writer clears the record first
        solver->WriteBusResult(*n.first, record);
        EXPECT_EQ(record.bankStep, c.handedBack);
    }
}

TEST(ResultCursor, RatioOfTransformersOnly) {
    struct Case {
        const char* code;
        double tap;
        double fromKv, toKv;
        double ratio;
    };
    const Case cases[] = {
        {"T", 1.05, 110.0, 33.0, 110.0 / (33.0 * 1.05)},
        {"RP", 0.0, 110.0, 33.0, 1.0},
        {"TR", 0.8, 0.0, 33.0, 1.25},
        {"L", 1.05, 110.0, 33.0, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        SolverHandle solver;
        TwoBus n = Build(*solver);
        NetBranch& branch = *solver->GetNetwork()->branches.front();
        branch.code = c.code;
        branch.tap = c.tap;
        branch.shift = 0.1;
        n.first->baseKv = c.fromKv;
        n.second->baseKv = c.toKv;
        BranchRecord record;
        solver->WriteBranchResult(branch, record);
        EXPECT_DOUBLE_EQ(record.tapRatio, c.ratio);
        EXPECT_DOUBLE_EQ(record.phaseShift, std::strcmp(c.code, "L") == 0 ? 0.0 : 0.1 / kDegrees);
        if (c.fromKv == 0.0) {
            EXPECT_EQ(record.currentFrom, 0.0);
        }
    }
}

}  // namespace
