#include <gtest/gtest.h>

#include <string>

#include "load.h"
#include "one_port_fixture.h"
#include "recording_drawing_context.h"

namespace {

// A load of 10 MW constant power and 10 MW at 1 p.u. constant impedance,
// 2 Mvar constant current and 3 Mvar constant impedance.
void SetCharacteristic(Load& load) {
    double* v = load.GetValues();
    v[Load::kPConstantPower] = 10;
    v[Load::kPConstantCurrent] = 0;
    v[Load::kPConstantImpedance] = 10;
    v[Load::kQConstantPower] = 0;
    v[Load::kQConstantCurrent] = 2;
    v[Load::kQConstantImpedance] = 3;
}

class LoadTest : public ::testing::Test, protected OnePortFixture {};

TEST_F(LoadTest, ANewLoadStandsThirtyOffItsBusWithItsArrowHeadFacingAway) {
    Load& left = PlaceOnePort<Load>(*model, {105, 120});
    EXPECT_EQ(left.GetEndKeys(), (std::array<int, 2>{bus.GetKey(), -1}));
    EXPECT_EQ(left.GetConnectionPoint(1), (Point{70, 120}));
    EXPECT_TRUE(left.FacesLeft());
    EXPECT_EQ(left.GetBoundingRect(), (Rect{55, 110, 70, 130}));
    EXPECT_EQ(left.GetArrowHead(), (std::array<Point, 3>{Point{65, 115}, Point{60, 120}, Point{65, 125}}));
    EXPECT_EQ(LabelAt(left, 0), (Point{45, 95}));
    EXPECT_EQ(left.GetLabel(0)->GetText(), "Sl=1.0/0.0");
    EXPECT_EQ(bus.GetValues()[Bus::kKind], Bus::kLoadKind);
    const double* v = left.GetValues();
    EXPECT_EQ((std::vector<double>(v, v + Load::kValueCount)),
              (std::vector<double>{1, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0}));

    Load& right = PlaceOnePort<Load>(*model, {95, 130});
    EXPECT_EQ(right.GetConnectionPoint(1), (Point{130, 130}));
    EXPECT_FALSE(right.FacesLeft());
    EXPECT_EQ(right.GetBoundingRect(), (Rect{130, 120, 145, 140}));
    EXPECT_EQ(right.GetArrowHead(), (std::array<Point, 3>{Point{135, 125}, Point{140, 130}, Point{135, 135}}));

    Point nearest;
    EXPECT_EQ(right.HitTestBody({137, 130}, nearest), 0);
    EXPECT_EQ(right.HitTestBody({115, 133}, nearest), 9);  // nearer the connection line than the body
    EXPECT_EQ(nearest, (Point{115, 130}));
}

TEST_F(LoadTest, PAndQFollowTheBusVoltageThroughTheCharacteristic) {
    Load& load = PlaceOnePort<Load>(*model, {105, 120});
    SetCharacteristic(load);
    SetBusVoltage(0.9);
    EXPECT_DOUBLE_EQ(load.GetValues()[Load::kP], 18.1);
    EXPECT_DOUBLE_EQ(load.GetValues()[Load::kQ], 1.8 + 2.43);
    EXPECT_EQ(load.GetLabel(0)->GetText(), "Sl=18.10/4.23");

    model->SetRemote(true);
    load.UpdateResultLabel(nullptr);
    EXPECT_EQ(load.GetLabel(0)->GetText(), "18.1/4.23");
    model->SetRemote(false);

    load.SetOn(false);
    EXPECT_EQ(load.GetLabel(0)->GetText(), "Sl=0.00/0.00");
    EXPECT_DOUBLE_EQ(load.GetValues()[Load::kP], 18.1);  // kept for when it is switched on again
    load.SetOn(true);

    SetBusVoltage(0.0);
    EXPECT_EQ(load.GetValues()[Load::kP], 0.0);
    EXPECT_EQ(load.GetValues()[Load::kQ], 0.0);
    EXPECT_EQ(load.GetLabel(0)->GetText(), "Sl=0.00/0.00");
}

TEST_F(LoadTest, TheBusSumsItsLoadsIntoTheSixPolynomialEntriesOfItsRecord) {
    Load& first = PlaceOnePort<Load>(*model, {105, 110});
    Load& second = PlaceOnePort<Load>(*model, {105, 130});
    Load& off = PlaceOnePort<Load>(*model, {105, 120});
    SetCharacteristic(first);
    double* s = second.GetValues();
    for (int i = 0; i < 6; ++i) s[Load::kPConstantPower + i] = i + 1;
    s[Load::kPShare] = 20;
    s[Load::kQShare] = 30;
    off.SetOn(false);
    SetBusVoltage(1.0);

    BusRecord record;
    ASSERT_TRUE(bus.FillSolverRecord(&record, 0));
    EXPECT_DOUBLE_EQ(record.loadP, 20.0 + 6.0);
    EXPECT_DOUBLE_EQ(record.loadQ, 5.0 + 15.0);
    const double direction[6] = {11, 2, 13, 4, 7, 9};
    for (int i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(record.direction[i], direction[i]) << i;
    EXPECT_DOUBLE_EQ(record.pLoadShare, 21.0);
    EXPECT_DOUBLE_EQ(record.qLoadShare, 31.0);
    EXPECT_TRUE(record.hasLoad);
}

TEST_F(LoadTest, CommandFlowAndSymbol) {
    Load& load = PlaceOnePort<Load>(*model, {95, 120});  // faces right: arrow 135..140
    double* v = load.GetValues();
    v[Load::kP] = 18.1;
    v[Load::kQ] = 4.23456;
    load.SendChangeCommand();
    EXPECT_TRUE(Sent().empty());
    model->SetRemote(true);
    load.SendChangeCommand();
    EXPECT_EQ(Sent(), (std::vector<std::string>{"CHANGE LOAD=B1 PLOAD= 18.1 QLOAD= 4.235"}));

    double p = 0, q = 0;
    bool pending = true;
    EXPECT_TRUE(load.GetFlowAtEnd(bus.GetKey(), p, q, pending));
    EXPECT_EQ((std::pair{p, q}), (std::pair{-18.1, -4.23456}));
    EXPECT_FALSE(pending);

    RecordingDrawingContext dc;
    load.Draw(dc);
    auto lines = dc.Of(RecordingDrawingContext::Op::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{100, 120}, {130, 120}}));
    EXPECT_EQ(lines[1].points, (std::vector<Point>{{130, 120}, {135, 120}}));
    auto head = dc.Of(RecordingDrawingContext::Op::Polygon);
    ASSERT_EQ(head.size(), 1u);
    EXPECT_EQ(head[0].points, (std::vector<Point>{{135, 115}, {140, 120}, {135, 125}}));
    EXPECT_EQ(head[0].state.brush.color, load.GetColor());
}

}  // namespace
