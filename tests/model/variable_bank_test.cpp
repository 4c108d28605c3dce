#include <gtest/gtest.h>

#include <string>

#include "one_port_fixture.h"
#include "variable_bank.h"

namespace {

// Position 4 with 5 Mvar at position 0, then 3 steps of 10 and 2 of 20.
const std::vector<BankBlock> kSteps = {{4, 5.0}, {3, 10.0}, {2, 20.0}};

TEST(VariableBankSteps, TotalsAtEachPositionAndPositionsBeyondTheSteps) {
    struct Case {
        std::vector<BankBlock> steps;
        int position;
        double total;
        int positionAfter;  // entry 0's count afterwards
    };
    const Case cases[] = {
        {kSteps, 4, 55.0, 4},  // the last group taken only up to the position
        {kSteps, 5, 75.0, 4},
        {kSteps, 0, 5.0, 4},
        {kSteps, 3, 35.0, 4},
        {kSteps, 6, 5.0, 0},   // beyond the steps: back to position 0
        {kSteps, -1, 5.0, 0},  // below 0 likewise
        {{{0, 7.0}}, 0, 7.0, 0},
        {{{2, 7.0}}, 2, 7.0, 0},
    };
    for (const Case& c : cases) {
        VariableBank bank;
        bank.Steps() = c.steps;
        EXPECT_DOUBLE_EQ(bank.GetTotalAtPosition(c.position), c.total) << c.position;
        EXPECT_EQ(bank.GetSteps()[0].count, c.positionAfter) << c.position;
    }
    VariableBank empty;
    EXPECT_EQ(empty.GetTotalAtPosition(3), 0.0);
}

class VariableBankTest : public ::testing::Test, protected OnePortFixture {
protected:
    VariableBankTest() : bank(PlaceOnePort<VariableBank>(*model, {105, 120})) {
        bank.Steps() = kSteps;
        bank.GetValues()[Shunt::kQ] = 30;
        SetBusVoltage(0.9);
    }

    VariableBank& bank;
};

TEST_F(VariableBankTest, TheBankRecordAndTheLabelAtThePresentPositionAndVoltage) {
    EXPECT_EQ(bus.GetValues()[Bus::kKind], Bus::kBankKind);
    BankRecord record;
    ASSERT_TRUE(bank.FillSolverRecord(&record, 1));
    EXPECT_TRUE(record.capacitorBank);
    EXPECT_EQ(record.position, 4);
    EXPECT_DOUBLE_EQ(record.susceptance, 0.3);
    EXPECT_DOUBLE_EQ(record.presentQ, 0.81 * 55);
    EXPECT_EQ(record.valueAtZero, 5.0);
    EXPECT_EQ(record.steps, &bank.GetSteps());

    bank.UpdateResultLabel(nullptr);
    EXPECT_EQ(bank.GetLabel(0)->GetText(), "Q=44.55");
    EXPECT_EQ(bank.GetValues()[Shunt::kPresentP], 5.0);
    EXPECT_DOUBLE_EQ(bank.GetValues()[Shunt::kPresentQ], 44.55);
    double p = 1, q = 0;
    bool pending = true;
    EXPECT_TRUE(bank.GetFlowAtEnd(bus.GetKey(), p, q, pending));
    EXPECT_EQ(p, 0.0);
    EXPECT_DOUBLE_EQ(q, 44.55);

    model->SetRemote(true);
    bank.UpdateResultLabel(nullptr);
    EXPECT_EQ(bank.GetLabel(0)->GetText(), "");

    bank.SetOn(false);
    EXPECT_FALSE(bank.FillSolverRecord(&record, 1));
    EXPECT_EQ(record.presentQ, 0.0);
    EXPECT_EQ(record.position, 4);

    VariableReactorBank& reactorBank = PlaceOnePort<VariableReactorBank>(*model, {105, 130});
    EXPECT_TRUE(reactorBank.FillSolverRecord(&record, 1));
    EXPECT_FALSE(record.capacitorBank);
    EXPECT_EQ(record.position, 0);
    reactorBank.Steps().clear();
    reactorBank.FillSolverRecord(&record, 1);
    EXPECT_EQ(record.position, 0);
    EXPECT_EQ(record.valueAtZero, 0.0);
}

TEST_F(VariableBankTest, APositionBeyondTheStepsGoesToTheSolverAsZero) {
    bank.Steps()[0].count = 9;
    BankRecord record;
    ASSERT_TRUE(bank.FillSolverRecord(&record, 1));
    EXPECT_EQ(record.position, 0);
    EXPECT_DOUBLE_EQ(record.presentQ, 0.81 * 5);
}

TEST_F(VariableBankTest, TheBusCopiesTheBankBlockWithTheStepList) {
    Attach(*model, bus, ElementType::PowerLine, Category::Line, {100, 101});
    BusRecord record;
    ASSERT_TRUE(bus.FillSolverRecord(&record, 1));
    EXPECT_EQ(record.kind, Bus::kBankKind);
    EXPECT_EQ(record.bankTag, 1);
    EXPECT_EQ(record.bankStep, 4);
    EXPECT_DOUBLE_EQ(record.bankReserved[0], 0.3);
    EXPECT_DOUBLE_EQ(record.bankReserved[1], 0.81 * 55);
    EXPECT_EQ(record.firstBankBlock, 5.0);
    EXPECT_EQ(record.bankBlocks, bank.GetSteps().data());
    EXPECT_EQ(record.bankBlockCount, 3);
}

}  // namespace
