#include <gtest/gtest.h>

#include "generator.h"
#include "load.h"
#include "one_port_fixture.h"
#include "shunt.h"
#include "variable_bank.h"

namespace {

class OnePortTest : public ::testing::Test, protected OnePortFixture {};

TEST_F(OnePortTest, MovingABusDragsItsUnselectedOnePortsAlong) {
    Generator& generator = PlaceOnePort<Generator>(*model, {105, 120}, 0);  // ends (100, 120), (80, 120)
    Load& load = PlaceOnePort<Load>(*model, {105, 130});                     // ends (100, 130), (70, 130)
    Rect generatorBody = generator.GetBoundingRect();
    model->AddToSelection(&load);
    model->AddToSelection(&bus);

    bus.Move(10, 5, true);
    EXPECT_EQ(generator.GetConnectionPoint(0), (Point{110, 125}));
    EXPECT_EQ(generator.GetConnectionPoint(1), (Point{90, 125}));
    generatorBody.Offset(10, 5);
    EXPECT_EQ(generator.GetBoundingRect(), generatorBody);
    // A selected one-port is moved by the selection itself: only its bus end
    // goes with the bus here.
    EXPECT_EQ(load.GetConnectionPoint(0), (Point{110, 135}));
    EXPECT_EQ(load.GetConnectionPoint(1), (Point{70, 130}));
}

TEST_F(OnePortTest, MovingAOnePortLeavesAConnectedBusEndToItsBus) {
    Generator& generator = PlaceOnePort<Generator>(*model, {105, 120}, 0);
    const Point label{35, 128};  // the label's top-left corner
    generator.Move(5, 10, true);
    EXPECT_EQ(generator.GetConnectionPoint(0), (Point{100, 120}));
    EXPECT_EQ(generator.GetConnectionPoint(1), (Point{85, 130}));
    EXPECT_EQ(generator.GetBoundingRect(), (Rect{70, 135, 100, 165}));  // now hanging below end 1
    EXPECT_EQ(generator.GetLabel(0)->GetRect().left, label.x + 5);
    EXPECT_EQ(generator.GetLabel(0)->GetRect().top, label.y + 10);

    generator.Move(5, 0, false);
    EXPECT_EQ(generator.GetConnectionPoint(0), (Point{105, 120}));

    // With its label selected only the label moves.
    ASSERT_TRUE(generator.HitTest({50, 140}));
    ASSERT_EQ(generator.GetSelectedLabel(), 0);
    generator.Move(0, 20, true);
    EXPECT_EQ(generator.GetConnectionPoint(1), (Point{90, 130}));
    EXPECT_EQ(generator.GetLabel(0)->GetRect().top, label.y + 30);
}

TEST_F(OnePortTest, HitTestAndBoundsOfTheBody) {
    Generator& generator = PlaceOnePort<Generator>(*model, {105, 120}, 0);  // body 45..75 x 105..135
    Point nearest;
    EXPECT_EQ(generator.HitTestBody({75, 135}, nearest), 0);  // edges count
    EXPECT_EQ(generator.HitTestBody({80, 123}, nearest), 20 * 20 + 3 * 3);
    EXPECT_EQ(nearest, (Point{60, 120}));
    // The body, the label below it and the bus end, grown by 30.
    Rect bounds = generator.CalcBoundingRect();
    EXPECT_EQ(bounds.left, 35 - 30);
    EXPECT_EQ(bounds.top, 105 - 30);
    EXPECT_EQ(bounds.right, 100 + 30);
}

TEST_F(OnePortTest, VoltageIndexAndBaseVoltageAreThoseOfTheBusWhileOn) {
    Load& load = PlaceOnePort<Load>(*model, {105, 120});
    Load& alone = PlaceOnePort<Load>(*model, {400, 120});
    bus.GetValues()[Bus::kVoltage] = 1.25;
    EXPECT_DOUBLE_EQ(load.GetVoltageIndex(), 0.8);
    EXPECT_EQ(load.GetBaseVoltage(), 110.0);
    EXPECT_EQ(alone.GetVoltageIndex(), 0.0);
    EXPECT_EQ(alone.GetBaseVoltage(), 0.0);
    load.SetOn(false);
    EXPECT_EQ(load.GetVoltageIndex(), 0.0);
    EXPECT_EQ(load.GetBaseVoltage(), 0.0);
}

TEST_F(OnePortTest, ACopyConnectsToNothingAndKeepsValuesFlagAndSteps) {
    // A bus at the origin, where copies are made before they move.
    Bus& origin = AddBus<Bus>(*model, Point{0, 0}, true);
    model->SetDuplicationSteps(2, 1, 10);
    Generator& generator = PlaceOnePort<Generator>(*model, {105, 120}, 0);
    generator.GetValues()[Generator::kP] = 42;
    generator.SetOn(false);

    std::unique_ptr<IElement> copy = generator.Duplicate(false);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetElementType(), ElementType::Generator);
    EXPECT_EQ(KeyCategory(copy->GetKey()), Category::Generator);
    EXPECT_NE(copy->GetKey(), generator.GetKey());
    EXPECT_EQ(copy->GetEndKeys(), (std::array<int, 2>{0, -1}));
    EXPECT_TRUE(origin.GetKeyList().empty());
    EXPECT_EQ(copy->GetConnectionPoint(0), (Point{120, 130}));
    EXPECT_EQ(copy->GetConnectionPoint(1), (Point{100, 130}));
    EXPECT_EQ(copy->GetBoundingRect(), (Rect{65, 115, 95, 145}));
    EXPECT_EQ(copy->GetValues()[Generator::kP], 42.0);
    EXPECT_FALSE(copy->IsOn());
    EXPECT_EQ(static_cast<Generator&>(*copy).GetLabel(0)->GetText(), "Sg=42.00/0.00");

    VariableBank& bank = PlaceOnePort<VariableBank>(*model, {105, 130});
    bank.Steps() = {{1, 2.0}, {3, 4.0}};
    std::unique_ptr<IElement> bankCopy = bank.Duplicate(true);
    ASSERT_NE(bankCopy, nullptr);
    EXPECT_EQ(bankCopy->GetElementType(), ElementType::VariableBank);
    EXPECT_EQ(static_cast<VariableBank&>(*bankCopy).GetSteps().size(), 2u);
    EXPECT_EQ(static_cast<VariableBank&>(*bankCopy).GetSteps()[1].mvar, 4.0);
}

TEST_F(OnePortTest, DeletingAOnePortOrItsBusUndoesTheConnection) {
    Shunt& shunt = PlaceOnePort<Shunt>(*model, {105, 120});
    Load& load = PlaceOnePort<Load>(*model, {105, 130});
    EXPECT_EQ(bus.GetKeyList(), (std::vector<int>{shunt.GetKey(), load.GetKey()}));
    model->DeleteElement(&shunt);
    EXPECT_EQ(bus.GetKeyList(), (std::vector<int>{load.GetKey()}));
    model->DeleteElement(&bus);
    EXPECT_EQ(load.GetEndKeys(), (std::array<int, 2>{0, -1}));
    EXPECT_TRUE(load.HasFreeEnd());
}

}  // namespace
