#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "one_port_fixture.h"
#include "recording_drawing_context.h"
#include "shunt.h"
#include "variable_bank.h"

namespace {

class ShuntTest : public ::testing::Test, protected OnePortFixture {
protected:
    // A shunt of 5 MW and 10 Mvar, a 20 Mvar capacitor and a 10 Mvar
    // reactor, all at 1 p.u., on the bus at 0.9 p.u.
    ShuntTest()
        : shunt(PlaceOnePort<Shunt>(*model, {105, 105})),
          capacitor(PlaceOnePort<Capacitor>(*model, {105, 115})),
          reactor(PlaceOnePort<Reactor>(*model, {105, 125})) {
        shunt.GetValues()[Shunt::kP] = 5;
        shunt.GetValues()[Shunt::kQ] = 10;
        capacitor.GetValues()[Shunt::kQ] = 20;
        reactor.GetValues()[Shunt::kQ] = -10;
        SetBusVoltage(0.9);
        shunt.UpdateResultLabel(nullptr);
    }

    Shunt& shunt;
    Capacitor& capacitor;
    Reactor& reactor;
};

TEST_F(ShuntTest, NewShuntsHangBelowTheirBusWithTheLabelOfTheirKind) {
    Shunt& fresh = PlaceOnePort<Shunt>(*model, {100, 120});
    EXPECT_EQ(fresh.GetConnectionPoint(1), (Point{100, 130}));
    EXPECT_EQ(fresh.GetBoundingRect(), (Rect{93, 137, 107, 167}));
    EXPECT_EQ(LabelAt(fresh, 0), (Point{112, 144}));
    EXPECT_EQ(fresh.GetLabel(0)->GetText(), "0/0");
    EXPECT_EQ(PlaceOnePort<Capacitor>(*model, {100, 120}).GetLabel(0)->GetText(), "Qc=0.00");
    EXPECT_EQ(PlaceOnePort<Reactor>(*model, {100, 120}).GetLabel(0)->GetText(), "Ql=0.00");
    VariableBank& bank = PlaceOnePort<VariableBank>(*model, {100, 120});
    EXPECT_EQ(bank.GetLabel(0)->GetText(), "");
    EXPECT_EQ(bank.GetSteps().size(), 1u);

    Point nearest;
    EXPECT_EQ(fresh.HitTestBody({103, 150}, nearest), 9);
    EXPECT_EQ(nearest, (Point{100, 150}));
    EXPECT_EQ(fresh.HitTestBody({100, 130}, nearest), 49);  // the body starts 7 below end 1
}

TEST_F(ShuntTest, PresentValuesAreTheSquareOfTheBusVoltageTimesTheValuesAtOnePerUnit) {
    ShuntRecord record;
    ASSERT_TRUE(shunt.FillSolverRecord(&record, 1));
    EXPECT_DOUBLE_EQ(record.susceptance, 0.1);
    EXPECT_DOUBLE_EQ(record.conductance, 0.05);
    EXPECT_DOUBLE_EQ(record.presentQ, 8.1);
    EXPECT_DOUBLE_EQ(record.presentP, 4.05);
    EXPECT_DOUBLE_EQ(shunt.GetValues()[Shunt::kPresentQ], 8.1);
    EXPECT_EQ(shunt.GetLabel(0)->GetText(), "Ssh=4.05/8.10");
    EXPECT_EQ(capacitor.GetLabel(0)->GetText(), "Qc=16.20");  // refreshed by the bus
    EXPECT_EQ(reactor.GetLabel(0)->GetText(), "Ql=-8.10");

    // Out of service: the per-unit values still go out, nothing at the bus.
    shunt.SetOn(false);
    ShuntRecord off;
    EXPECT_FALSE(shunt.FillSolverRecord(&off, 1));
    EXPECT_DOUBLE_EQ(off.susceptance, 0.1);
    EXPECT_EQ(off.presentQ, 0.0);
    EXPECT_EQ(shunt.GetLabel(0)->GetText(), "Ssh=0.00/0.00");
    double p = 1, q = 1;
    bool pending = true;
    EXPECT_TRUE(shunt.GetFlowAtEnd(bus.GetKey(), p, q, pending));
    EXPECT_EQ((std::pair{p, q}), (std::pair{0.0, 0.0}));

    model->SetRemote(true);
    for (Shunt* kind : {&shunt, static_cast<Shunt*>(&capacitor), static_cast<Shunt*>(&reactor)}) {
        kind->UpdateResultLabel(nullptr);
        EXPECT_EQ(kind->GetLabel(0)->GetText(), "");
    }
}

TEST_F(ShuntTest, EveryKindReportsItsReactivePowerCapacitivePositive) {
    struct Case {
        Shunt* element;
        double p, q;
    };
    for (const Case& c : {Case{&shunt, -4.05, 8.1}, Case{&capacitor, 0, 16.2}, Case{&reactor, 0, -8.1}}) {
        double p = 1, q = 1;
        bool pending = true;
        EXPECT_TRUE(c.element->GetFlowAtEnd(bus.GetKey(), p, q, pending));
        EXPECT_DOUBLE_EQ(p, c.p);
        EXPECT_DOUBLE_EQ(q, c.q);
        EXPECT_FALSE(pending);
        EXPECT_FALSE(c.element->GetFlowAtEnd(c.element->GetKey(), p, q, pending));
    }
}

TEST_F(ShuntTest, TheBusAddsEveryKindAsStoredToItsShuntAdmittance) {
    BusRecord record;
    ASSERT_TRUE(bus.FillSolverRecord(&record, 0));
    EXPECT_DOUBLE_EQ(record.shuntG, 0.05);
    EXPECT_DOUBLE_EQ(record.shuntB, (10 + 20 - 10) / 100.0);
}

TEST_F(ShuntTest, ChangeCommandsOfTheKinds) {
    VariableReactorBank& bank = PlaceOnePort<VariableReactorBank>(*model, {105, 135});
    bank.GetValues()[Shunt::kQ] = -30;
    model->SetRemote(true);
    for (Shunt* kind : {&shunt, static_cast<Shunt*>(&capacitor), static_cast<Shunt*>(&reactor),
                        static_cast<Shunt*>(&bank)}) {
        kind->SendChangeCommand();
    }
    EXPECT_EQ(Sent(), (std::vector<std::string>{"CHANGE SHUNT=B1 G= 5 B= 10", "CHANGE CAPACITOR=B1 B= 20",
                                                "CHANGE REACTOR=B1 B= -10", "CHANGE CAPACITOR=B1 B= -30"}));
}

TEST_F(ShuntTest, SymbolsBelowEndOne) {
    // Every kind on a free end 1 at (200, 100): body 193..207 x 107..137.
    auto drawn = [](Shunt& element) {
        element.SetConnectionPoint({200, 80}, false);
        element.SetConnectionPoint({200, 100}, true);
        auto dc = std::make_unique<RecordingDrawingContext>();
        element.DrawSymbol(*dc);
        return dc;
    };
    using Op = RecordingDrawingContext::Op;
    using Points = std::vector<Point>;
    auto box = drawn(shunt);
    auto lines = box->Of(Op::Line);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1].points, (Points{{200, 100}, {200, 107}}));
    EXPECT_EQ(box->Of(Op::Polyline)[0].points, (Points{{193, 107}, {207, 107}, {207, 137}, {193, 137}, {193, 107}}));
    EXPECT_EQ(lines[2].points, (Points{{200, 137}, {200, 140}}));
    EXPECT_EQ(lines[3].points, (Points{{193, 140}, {207, 140}}));  // the shunt's earth is wider
    EXPECT_EQ(lines[4].points, (Points{{197, 143}, {203, 143}}));

    auto plates = drawn(capacitor);
    lines = plates->Of(Op::Line);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[2].points, (Points{{194, 120}, {206, 120}}));
    EXPECT_EQ(lines[3].points, (Points{{194, 124}, {206, 124}}));
    EXPECT_EQ(lines[4].points, (Points{{200, 124}, {200, 137}}));
    EXPECT_EQ(lines[6].points, (Points{{194, 140}, {206, 140}}));

    auto coil = drawn(reactor);
    auto arcs = coil->Of(Op::Arc);
    ASSERT_EQ(arcs.size(), 3u);
    EXPECT_EQ(arcs[0].rect, (Rect{194, 106, 206, 112}));
    EXPECT_EQ(arcs[2].rect, (Rect{194, 118, 206, 124}));
    EXPECT_EQ(arcs[0].points, (Points{{200, 112}, {200, 106}}));
    lines = coil->Of(Op::Line);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2].points, (Points{{200, 124}, {200, 140}}));
    EXPECT_EQ(lines[3].points, (Points{{194, 140}, {206, 140}}));

    VariableBank& bank = PlaceOnePort<VariableBank>(*model, {105, 135});
    bank.SetSelected(true);
    auto adjustable = drawn(bank);
    EXPECT_EQ(adjustable->Of(Op::Rectangle).size(), 2u);
    lines = adjustable->Of(Op::Line);
    EXPECT_EQ(lines.back().points, (Points{{193, 129}, {207, 115}}));
    auto head = adjustable->Of(Op::Polygon);
    ASSERT_EQ(head.size(), 1u);
    EXPECT_EQ(head[0].points, (Points{{205, 115}, {209, 113}, {207, 117}}));
    VariableReactorBank& reactorBank = PlaceOnePort<VariableReactorBank>(*model, {105, 135});
    auto adjustableCoil = drawn(reactorBank);
    EXPECT_EQ(adjustableCoil->Of(Op::Arc).size(), 3u);
    EXPECT_EQ(adjustableCoil->Of(Op::Polygon).size(), 1u);
}

}  // namespace
