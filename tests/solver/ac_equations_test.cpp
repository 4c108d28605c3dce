#include <gtest/gtest.h>

#include <random>
#include <string>

#include "host_read.h"
#include "jacobian_check.h"
#include "memory_record_cursor.h"
#include "power_flow_networks.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

// A random operating point: every voltage, angle, ratio, shift, flow
// target and reactive or slack unknown moved off its start.
void Scramble(Solver& solver, std::mt19937& random) {
    std::uniform_real_distribution<double> around(-1.0, 1.0);
    for (const auto& bus : solver.GetNetwork()->buses) {
        bus->voltage = 1.0 + 0.06 * around(random);
        if (!CodeHas(bus->code, "S")) bus->angle = 0.2 * around(random);
        bus->generationQ = 0.3 * around(random);
        bus->slackPower = 0.5 + 0.3 * around(random);
        bus->areaPower = 0.3 * around(random);
        bus->EditExtras().regulatedGenerationQ = 0.4 * around(random);
    }
    for (const auto& branch : solver.GetNetwork()->branches) {
        if (branch->code != "L") branch->tap = 1.0 + 0.05 * around(random);
        if (branch->code != "L") branch->shift = 0.1 * around(random);
        branch->EditRegulation().controlTarget = 0.2 * around(random);
    }
}

// Voltage-dependent loads with load-parameter directions on three buses.
void SetExponentialLoads(Solver& solver) {
    const int numbers[] = {2, 9, 10};
    for (int i = 0; i < 3; ++i) {
        NetBus& bus = *solver.FindBus(numbers[i]);
        bus.loadModelP = {1.4 + 0.3 * i, 0.1, 0.3, 0.05 * i, 0.2};
        bus.loadModelQ = {2.2 - 0.5 * i, 0.05, 0.1, 0.02, 0.1 * i};
    }
}

TEST(AcEquations, JacobianMatchesCentralDifferences) {
    struct Case {
        const char* name;
        bool twoAreas;
        bool polynomialLoads;
        bool continuation;
    };
    const Case cases[] = {
        {"regulated network, polynomial loads", false, true, false},
        {"regulated network, exponential loads", false, false, false},
        {"regulated network, continuation", false, false, true},
        {"two areas with a tie line and a phase shifter", true, true, false},
    };
    std::mt19937 random(20240611);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryRecordCursor records;
        SolverHandle solver;
        if (c.twoAreas) {
            ASSERT_TRUE(BuildTwoAreaNetwork(*solver));
        } else {
            AddRegulatedNetwork(records);
            ASSERT_TRUE(ReadHostRecords(*solver, records));
            SetExponentialLoads(*solver);
            // A second generator shares the slack's power; the second
            // remote generator has its own share for negative remote Q.
            solver->FindBus(3)->generationDirection = 0.4;
            solver->FindBus(7)->EditExtras().participationNegative = 0.3;
        }
        solver->SetContinuation(c.continuation ? Continuation::On : Continuation::Off);
        solver->SetLoadParameter(c.continuation ? 0.3 : 0.0);
        solver->NumberVariables();
        for (int state = 0; state < 3; ++state) {
            SCOPED_TRACE("state " + std::to_string(state));
            Scramble(*solver, random);
            const auto differences = CheckJacobian(*solver, c.polynomialLoads);
            EXPECT_TRUE(differences.empty()) << Describe(differences);
        }
    }
}

TEST(AcEquations, HeldQuantitiesKeepTheirPlaceInThePattern) {
    MemoryRecordCursor records;
    AddRegulatedNetwork(records);
    SolverHandle solver;
    ASSERT_TRUE(ReadHostRecords(*solver, records));
    solver->NumberVariables();
    int status = 0;
    solver->AcEquations(status, Evaluate::MismatchAndJacobian, Loads::Polynomial);
    const int entries = solver->Matrix().EntryCount();

    // The "RM" transformer's column holds only its own row's 1 and zeros:
    // its flow target moves nothing else.
    const NetBranch* band = nullptr;
    for (const auto& branch : solver->GetNetwork()->branches)
        if (branch->code == "RM") band = branch.get();
    ASSERT_NE(band, nullptr);
    for (int row = 1; row <= solver->VariableCount(); ++row) {
        const MatrixEntry* entry = solver->Matrix().Find(row, band->variable);
        if (row == band->variable) {
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->value, 1.0);
        } else if (entry) {
            EXPECT_EQ(entry->value, 0.0) << row;
        }
    }

    // A generator's voltage column holds its Q whatever its mode: switching
    // the mode changes values only.
    solver->FindBus(3)->control = 'Q';
    solver->FindBus(3)->voltageFree = true;
    solver->ClearMatrix();
    solver->AcEquations(status, Evaluate::MismatchAndJacobian, Loads::Polynomial);
    EXPECT_EQ(solver->Matrix().EntryCount(), entries);
}

TEST(AcEquations, ZeroParticipationIsReported) {
    {
        SCOPED_TRACE("whole network");
        MemoryRecordCursor records;
        AddRegulatedNetwork(records);
        SolverHandle solver;
        ASSERT_TRUE(ReadHostRecords(*solver, records));
        solver->NumberVariables();
        int status = 0;
        EXPECT_EQ(solver->AcEquations(status, Evaluate::MismatchAndJacobian, Loads::Polynomial), nullptr);
        EXPECT_EQ(status, 0);
        solver->FindBus(1)->shareInUse = 0.0;
        EXPECT_EQ(solver->AcEquations(status, Evaluate::Mismatch, Loads::Polynomial), nullptr);
        EXPECT_EQ(status, -1);
    }
    {
        SCOPED_TRACE("an area");
        SolverHandle solver;
        ASSERT_TRUE(BuildTwoAreaNetwork(*solver));
        solver->NumberVariables();
        for (int number : {3, 4}) solver->FindBus(number)->shareInUse = 0.0;
        int status = 0;
        NetArea* area = solver->AcEquations(status, Evaluate::Mismatch, Loads::Polynomial);
        ASSERT_NE(area, nullptr);
        EXPECT_EQ(area->number, 2);
        EXPECT_EQ(status, -1);
    }
    {
        SCOPED_TRACE("option X skips the check");
        MemoryRecordCursor records;
        AddRegulatedNetwork(records);
        SolverHandle solver;
        ASSERT_TRUE(ReadHostRecords(*solver, records));
        const char* items[] = {"ostrand", "-X"};
        solver->SetArguments(2, items);
        solver->SetSwitchesFromOptions();
        solver->NumberVariables();
        solver->FindBus(1)->shareInUse = 0.0;
        int status = 0;
        solver->AcEquations(status, Evaluate::Mismatch, Loads::Polynomial);
        EXPECT_EQ(status, 0);
    }
}

}  // namespace
