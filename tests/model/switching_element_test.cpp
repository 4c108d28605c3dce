#include <gtest/gtest.h>

#include <string>

#include "recording_drawing_context.h"
#include "switching_element.h"
#include "two_port_fixture.h"

namespace {

namespace SD = SwitchData;
using Op = RecordingDrawingContext::Op;

// Closed or open, with a flow P + jQ from end 0 to end 1.
template <typename Kind>
Kind& Switch(TwoPortModel& m, bool closed, double p, double q) {
    Kind& made = m.Draw<Kind>();
    made.SetOn(closed);
    double values[SD::kCount] = {closed ? 1.0 : 0.0, 0, 0, 0, p, q};
    made.UpdateResultLabel(values);
    return made;
}

TEST(SwitchConstruction, SwitchesStartOpenAConnectorClosedEachWithAHiddenLabel) {
    TwoPortModel m;
    Connector& connector = m.Draw<Connector>();
    Disconnector& disconnector = m.Draw<Disconnector>({100, 125}, {{300, 125}});
    CircuitBreaker& breaker = m.Draw<CircuitBreaker>({100, 130}, {{300, 130}});
    Fuse& fuse = m.Draw<Fuse>({100, 135}, {{300, 135}});
    EXPECT_TRUE(connector.IsOn());
    EXPECT_EQ(connector.GetValues()[SD::kState], 1.0);
    for (Connector* s : std::initializer_list<Connector*>{&disconnector, &breaker, &fuse}) {
        SCOPED_TRACE(s->GetElementType());
        EXPECT_FALSE(s->IsOn());
        EXPECT_EQ(s->GetValues()[SD::kState], 0.0);
        EXPECT_EQ(s->GetType(false), Category::Connector);
        EXPECT_EQ(KeyCategory(s->GetKey()), Category::Connector);
    }
    for (Connector* s : std::initializer_list<Connector*>{&connector, &disconnector, &breaker, &fuse}) {
        EXPECT_EQ(s->GetLabelCount(), 1);
        EXPECT_FALSE(s->IsLabelShown(0));
        EXPECT_EQ(s->GetEndKeys(), (std::array<int, 2>{m.from->GetKey(), m.to->GetKey()}));
    }
    EXPECT_EQ(breaker.GetElementType(), ElementType::CircuitBreaker);
    EXPECT_EQ(fuse.GetElementType(), ElementType::Fuse);
}

TEST(SwitchLabels, TheMagnitudeOfTheFlowOrNothingWhenOpen) {
    struct Case {
        const char* name;
        bool closed;
        bool remote;
        const char* text;
    };
    const Case cases[] = {{"closed", true, false, "S=12.50/-3.00"},
                          {"open", false, false, "S=0/0"},
                          {"open, remote copy", false, true, "0.00/0.00"},
                          {"closed, remote copy", true, true, "12.50/-3.00"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TwoPortModel m;
        m.model->SetRemote(c.remote);
        CircuitBreaker& breaker = Switch<CircuitBreaker>(m, c.closed, -12.5, 3.0);
        EXPECT_EQ(breaker.GetLabel(0)->GetText(), c.text);
    }
}

TEST(SwitchFlows, UnknownUntilSetOpenMeansNoneAndTheDirectionFollowsTheEnd) {
    TwoPortModel m;
    Disconnector& disconnector = m.Draw<Disconnector>();
    double p = 1, q = 1;
    bool pending = false;
    EXPECT_FALSE(disconnector.GetFlowAtEnd(m.from->GetKey(), p, q, pending));
    EXPECT_TRUE(pending);

    disconnector.SetFlowKnown(false);  // open: known, carrying nothing
    EXPECT_TRUE(disconnector.GetFlowAtEnd(m.from->GetKey(), p, q, pending));
    EXPECT_EQ(p, 0.0);
    disconnector.SetFlow(m.to->GetKey(), 10, 2);  // open: ignored
    EXPECT_EQ(disconnector.GetValues()[SD::kP], 0.0);

    disconnector.SetOn(true);
    disconnector.SetFlowKnown(false);
    EXPECT_FALSE(disconnector.IsFlowKnown());
    disconnector.SetFlow(m.to->GetKey(), 10, 2);
    EXPECT_EQ(disconnector.GetValues()[SD::kP], -10.0);
    EXPECT_EQ(disconnector.GetValues()[SD::kQ], -2.0);
    ASSERT_TRUE(disconnector.GetFlowAtEnd(m.from->GetKey(), p, q, pending));
    EXPECT_EQ(p, 10.0);
    EXPECT_EQ(q, 2.0);
    ASSERT_TRUE(disconnector.GetFlowAtEnd(m.to->GetKey(), p, q, pending));
    EXPECT_EQ(p, -10.0);
    EXPECT_FALSE(disconnector.GetFlowAtEnd(0x901, p, q, pending));

    disconnector.SetOn(false);
    EXPECT_EQ(disconnector.GetValues()[SD::kP], 0.0);
    EXPECT_EQ(disconnector.GetLabel(0)->GetText(), "S=0/0");
}

TEST(SwitchFlows, ABusGroupBalancesTheOneUnknownSwitch) {
    TwoPortModel m;
    Connector& connector = m.Draw<Connector>();
    AttachedElement& load = Attach(*m.model, *m.from, ElementType::Load, Category::Load, {100, 135});
    load.flowP = -30;  // into the bus
    load.flowQ = -6;
    m.from->ResetSwitchFlows(false);
    EXPECT_TRUE(m.from->BalanceSwitchFlow());
    EXPECT_TRUE(connector.IsFlowKnown());
    EXPECT_EQ(connector.GetValues()[SD::kP], -30.0);
    EXPECT_EQ(connector.GetLabel(0)->GetText(), "S=30.00/6.00");
}

TEST(SwitchRecord, AClosedSwitchFillsTheConnectorTableAnOpenOneNothing) {
    TwoPortModel m;
    CircuitBreaker& breaker = Switch<CircuitBreaker>(m, true, 100.0, 0.0);
    breaker.SetName("CB1");
    BranchRecord record;
    ASSERT_TRUE(breaker.FillSolverRecord(&record, 1));
    EXPECT_EQ(record.recordTag, 2);
    EXPECT_EQ(record.kind, ElementType::CircuitBreaker);
    EXPECT_STREQ(record.name, "CB1");
    EXPECT_STREQ(record.fromName, "BUS_A");
    EXPECT_STREQ(record.toName, "BUS_B");
    EXPECT_EQ(record.pFrom, 100.0);
    EXPECT_EQ(record.pTo, -100.0);
    EXPECT_NEAR(record.currentFrom, 524.86, 0.005);
    EXPECT_EQ(record.key, breaker.GetKey());
    EXPECT_EQ(record.fromBus, 1);
    EXPECT_EQ(record.toBus, 2);
    EXPECT_EQ(record.fromBaseKv, 110.0);

    breaker.SetOn(false);
    EXPECT_FALSE(breaker.FillSolverRecord(&record, 1));
    breaker.SetOn(true);
    breaker.SetEndKey(1, MakeKey(77, Category::Bus));
    EXPECT_FALSE(breaker.FillSolverRecord(&record, 1));
}

TEST(SwitchRecord, NoCardAndNoChangeCommand) {
    TwoPortModel m;
    m.model->SetRemote(true);
    Connector& connector = m.Draw<Connector>();
    std::string card;
    EXPECT_FALSE(connector.WriteCDFCard(card, nullptr));
    connector.SendChangeCommand();
    EXPECT_TRUE(m.view.Messages().empty());
    std::string text;
    EXPECT_FALSE(connector.CheckLimits(text));
    connector.GetValues()[SD::kRatedCurrent] = 200;
    connector.GetValues()[SD::kCurrent] = 50;
    EXPECT_EQ(connector.GetLoadingIndex(), 0.25);
}

TEST(SwitchDrawing, ABreakerShowsItsBladeAndTheFlowArrow) {
    struct Case {
        const char* name;
        bool closed;
        double p;
        Point bladeEnd;
        std::vector<Point> arrow;
    };
    const Case cases[] = {
        {"closed, toward end 1", true, 10, {207, 120}, {{190, 134}, {205, 134}, {205, 137}, {210, 134}, {205, 131}, {205, 134}}},
        {"closed, toward end 0", true, -10, {207, 120}, {{210, 134}, {195, 134}, {195, 137}, {190, 134}, {195, 131}, {195, 134}}},
        {"open", false, 0, {208, 115}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TwoPortModel m;
        CircuitBreaker& breaker = Switch<CircuitBreaker>(m, c.closed, c.p, 1.0);
        RecordingDrawingContext dc;
        breaker.Draw(dc);
        auto lines = dc.Of(Op::Line);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0].points, (std::vector<Point>{{100, 120}, {193, 120}}));
        EXPECT_EQ(lines[1].points, (std::vector<Point>{{207, 120}, {300, 120}}));
        EXPECT_EQ(lines[2].points, (std::vector<Point>{{193, 120}, c.bladeEnd}));
        auto polylines = dc.Of(Op::Polyline);
        ASSERT_EQ(polylines.size(), c.arrow.empty() ? 1u : 2u);
        EXPECT_EQ(polylines[0].points, (std::vector<Point>{{188, 113}, {188, 127}, {212, 127}, {212, 113}, {188, 113}}));
        if (!c.arrow.empty()) {
            EXPECT_EQ(polylines[1].points, c.arrow);
        }
        EXPECT_EQ(dc.Of(Op::Rectangle).size(), 2u);  // the contacts
    }
}

TEST(SwitchDrawing, ShortSegmentsAndIdleConnectorsArePlainLines) {
    TwoPortModel m;
    // A symbol segment of 3: no room for the breaker.
    CircuitBreaker& breaker = m.Draw<CircuitBreaker>({100, 120}, {{103, 120}});
    breaker.DragHandle(3, 0, {103, 120});
    RecordingDrawingContext dc;
    breaker.Draw(dc);
    EXPECT_TRUE(dc.Of(Op::Polyline).empty());
    EXPECT_TRUE(dc.Of(Op::Rectangle).empty());

    Connector& idle = m.Draw<Connector>({100, 130}, {{300, 130}});
    RecordingDrawingContext plain;
    idle.Draw(plain);
    EXPECT_TRUE(plain.Of(Op::Polyline).empty());
    ASSERT_EQ(plain.Of(Op::Line).size(), 1u);

    Connector& flowing = Switch<Connector>(m, true, 5.0, 0.0);
    RecordingDrawingContext triangle;
    flowing.Draw(triangle);
    auto polylines = triangle.Of(Op::Polyline);
    ASSERT_EQ(polylines.size(), 1u);
    EXPECT_EQ(polylines[0].points, (std::vector<Point>{{200, 116}, {209, 120}, {200, 124}, {200, 116}}));
}

TEST(SwitchDuplicate, TheCopyKeepsItsClassStateAndFlow) {
    TwoPortModel m;
    Fuse& fuse = Switch<Fuse>(m, true, 7.0, 1.0);
    std::unique_ptr<IElement> copy = fuse.Duplicate(false);
    ASSERT_EQ(copy->GetElementType(), ElementType::Fuse);
    EXPECT_EQ(KeyCategory(copy->GetKey()), Category::Connector);
    EXPECT_TRUE(copy->IsOn());
    EXPECT_EQ(copy->GetValues()[SD::kP], 7.0);
    EXPECT_EQ(copy->GetEndKeys(), (std::array<int, 2>{0, 0}));
}

}  // namespace
