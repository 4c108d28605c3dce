#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>

#include "host_read.h"
#include "memory_record_cursor.h"
#include "power_flow_networks.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

constexpr double kDegrees = 3.141592654 / 180.0;

// The regulated network, read and numbered, with a correction vector that
// the tests fill before each step.
class StepLimits : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }

    void Reset() {
        solver_ = std::make_unique<SolverHandle>();
        records_ = std::make_unique<MemoryRecordCursor>();
        AddRegulatedNetwork(*records_);
        ASSERT_TRUE(ReadHostRecords(Engine(), *records_));
        Engine().NumberVariables();
    }

    Solver& Engine() { return **solver_; }
    NetBus& Bus(int number) { return *Engine().FindBus(number); }
    NetBranch& Branch(const char* code) {
        for (const auto& branch : Engine().GetNetwork()->branches)
            if (branch->code == code) return *branch;
        throw std::runtime_error(code);
    }
    // A correction of `value` at one unknown only.
    void Correct(int variable, double value) {
        auto& correction = Engine().Correction();
        std::fill(correction.begin(), correction.end(), 0.0);
        correction[variable] = value;
    }
    // Newton's first trial (the correction subtracted), then the halving
    // trials that take back half of what is left.
    void Trial(int number) {
        Engine().UpdateBuses(number == 0 ? -1.0 : std::ldexp(1.0, -number),
                             number > 0 ? ::Trial::Retrial : ::Trial::First, Clamping::On, RecoveryHold::On);
    }

    std::unique_ptr<MemoryRecordCursor> records_;
    std::unique_ptr<SolverHandle> solver_;
};

TEST_F(StepLimits, ClampedQuantitiesWalkBackAlongTheirShadow) {
    struct Case {
        const char* name;
        std::function<int()> variable;
        double correction;
        std::function<double()> value;
        double afterFirst;   // after the full step
        double afterSecond;  // after the step is halved
    };
    const double low = 1.0 / 1.1;  // reciprocal of the maximum tap 121/110
    const Case cases[] = {
        {"PQ bus voltage never at or below 0", [&] { return Bus(2).firstVariable + 1; }, 1.5,
         [&] { return Bus(2).voltage; }, 0.00001, 0.25},
        {"generator Q at its limit", [&] { return Bus(3).firstVariable + 1; }, -5.0,
         [&] { return Bus(3).generationQ; }, 3.0, 2.5},
        {"scheduled-Q bus voltage within its limits", [&] { return Bus(4).firstVariable + 1; }, -0.15,
         [&] { return Bus(4).voltage; }, 1.1, 1.075},
        // An "R" transformer's ratio, in the voltage column of the bus it
        // holds, ends within 0.00001 of a limit: it is set to the limit.
        {"ratio at a tap limit", [&] { return Bus(8).firstVariable + 1; }, 1.0 - (low + 0.000005),
         [&] { return Branch("R").tap; }, low, 1.0 - (1.0 - (low + 0.000005)) / 2.0},
        {"phase shift at its limit", [&] { return Branch("RP").variable; }, -40.0 * kDegrees,
         [&] { return Branch("RP").shift; }, 30.0 * kDegrees, 20.0 * kDegrees},
        {"reactive flow ratio", [&] { return Branch("RQ").variable; }, -0.2,
         [&] { return Branch("RQ").tap; }, 1.0 / 0.9, 1.1},
        {"flow band", [&] { return Branch("RM").variable; }, 0.3,
         [&] { return Branch("RM").regulation().controlTarget; }, -0.2, -0.15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        Correct(c.variable(), c.correction);
        Trial(0);
        EXPECT_NEAR(c.value(), c.afterFirst, 1e-12);
        Trial(1);
        EXPECT_NEAR(c.value(), c.afterSecond, 1e-12);
    }
}

TEST_F(StepLimits, AnglesMoveExceptAtTheSlackWhoseColumnHoldsItsPower) {
    Bus(3).generationDirection = 0.4;
    Bus(3).maxP = 0.55;
    auto& correction = Engine().Correction();
    std::fill(correction.begin(), correction.end(), 0.0);
    correction[Bus(1).firstVariable] = -0.5;
    correction[Bus(2).firstVariable] = 0.1;
    Trial(0);
    EXPECT_DOUBLE_EQ(Bus(1).angle, 0.0);
    EXPECT_DOUBLE_EQ(Bus(2).angle, -0.1);
    EXPECT_DOUBLE_EQ(Bus(1).slackPower, 0.5);
    EXPECT_DOUBLE_EQ(Bus(1).generationP, 0.5);  // a slack schedules nothing
    // Bus 3 would take 0.4 + 0.4 x 0.5: its limit holds it, and it drops
    // out of the shares.
    EXPECT_DOUBLE_EQ(Bus(3).generationP, 0.55);
    EXPECT_EQ(Bus(3).shareInUse, 0.0);
    EXPECT_EQ(Bus(3).generatorLimitIndex, 1);
    Trial(1);
    EXPECT_DOUBLE_EQ(Bus(3).generationP, 0.5);
    EXPECT_EQ(Bus(3).shareInUse, 0.4);
    EXPECT_EQ(Bus(3).generatorLimitIndex, 0);
}

TEST_F(StepLimits, RemoteGeneratorsShareTheirRegulatedBusReactiveUnknown) {
    Bus(7).EditExtras().participationNegative = 0.3;
    const int column = Bus(6).firstVariable + 1;
    Correct(column, -1.0);
    Trial(0);
    EXPECT_DOUBLE_EQ(Bus(6).extras().regulatedGenerationQ, 1.0);
    EXPECT_DOUBLE_EQ(Bus(5).generationQ, 0.6);
    EXPECT_DOUBLE_EQ(Bus(7).generationQ, 0.4);
    EXPECT_DOUBLE_EQ(Bus(6).voltage, 1.01);  // held by the generators

    Correct(column, 2.0);
    Trial(0);
    EXPECT_DOUBLE_EQ(Bus(6).extras().regulatedGenerationQ, -1.0);
    EXPECT_DOUBLE_EQ(Bus(5).generationQ, -0.6);
    EXPECT_DOUBLE_EQ(Bus(7).generationQ, -0.3);  // its share for negative Q
}

// A step finds the remotely regulating generators by their codes: one that
// holds its own voltage once the buses are classified anew no longer takes
// a share of the regulated bus's reactive unknown.
TEST_F(StepLimits, AGeneratorThatStopsRegulatingRemotelyKeepsItsReactivePower) {
    const int column = Bus(6).firstVariable + 1;
    Correct(column, -1.0);
    Trial(0);
    ASSERT_DOUBLE_EQ(Bus(5).generationQ, 0.6);

    Bus(5).code = "BQ";
    Engine().ClassifyBuses();
    Correct(column, 2.0);
    Trial(0);
    EXPECT_DOUBLE_EQ(Bus(6).extras().regulatedGenerationQ, -1.0);
    EXPECT_DOUBLE_EQ(Bus(5).generationQ, 0.6);
    EXPECT_DOUBLE_EQ(Bus(7).generationQ, -0.4);
}

TEST_F(StepLimits, FlowAtAShiftLimitMovesFreely) {
    NetBranch& shifter = Branch("RP");
    shifter.code = "TP";
    shifter.EditRegulation().controlTarget = 0.1;
    Correct(shifter.variable, 5.0);
    Trial(0);
    EXPECT_DOUBLE_EQ(shifter.regulation().controlTarget, -4.9);
    EXPECT_DOUBLE_EQ(shifter.shift, 0.0);
}

}  // namespace
