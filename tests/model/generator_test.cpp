#include <gtest/gtest.h>

#include <string>

#include "generator.h"
#include "one_port_fixture.h"
#include "recording_drawing_context.h"

namespace {

class GeneratorTest : public ::testing::Test, protected OnePortFixture {
protected:
    void SetBus(int kind, double v, double setPoint) {
        double* b = bus.GetValues();
        b[Bus::kKind] = kind;
        b[Bus::kVoltage] = v;
        b[Bus::kDesiredVoltage] = setPoint;
    }
};

TEST_F(GeneratorTest, ANewGeneratorConnectsAndStandsOffTheBusOnTheSideOfItsKind) {
    Generator& right = PlaceOnePort<Generator>(*model, {105, 120}, 0);
    EXPECT_EQ(right.GetEndKeys(), (std::array<int, 2>{bus.GetKey(), -1}));
    EXPECT_EQ(right.GetConnectionPoint(0), (Point{100, 120}));
    EXPECT_EQ(right.GetConnectionPoint(1), (Point{80, 120}));
    EXPECT_TRUE(right.FacesLeft());
    EXPECT_EQ(right.GetBoundingRect(), (Rect{45, 105, 75, 135}));
    EXPECT_EQ(LabelAt(right, 0), (Point{35, 138}));
    EXPECT_EQ(right.GetLabel(0)->GetText(), "Sg=1.0/0.0");
    EXPECT_EQ(right.GetValues()[Generator::kP], 1.0);
    EXPECT_EQ(right.GetValues()[Generator::kQMax], 9999.0);
    EXPECT_EQ(right.GetValues()[Generator::kGenerationShare], 1.0);
    EXPECT_EQ(right.GetFillColor(), model->GetBackgroundColor());
    EXPECT_EQ(bus.GetValues()[Bus::kKind], Bus::kGeneratorKind);
    EXPECT_EQ(bus.GetKeyList(), (std::vector<int>{right.GetKey()}));

    Generator& left = PlaceOnePort<Generator>(*model, {95, 110}, 0);
    EXPECT_EQ(left.GetConnectionPoint(1), (Point{110, 110}));
    EXPECT_FALSE(left.FacesLeft());
    EXPECT_EQ(left.GetBoundingRect(), (Rect{115, 95, 145, 125}));

    Generator& below = PlaceOnePort<Generator>(*model, {100, 130}, 0);
    EXPECT_EQ(below.GetConnectionPoint(1), (Point{100, 140}));
    EXPECT_EQ(below.GetBoundingRect(), (Rect{85, 145, 115, 175}));

    Generator& alone = PlaceOnePort<Generator>(*model, {300, 300}, 0);
    EXPECT_EQ(alone.GetEndKeys()[0], 0);
    EXPECT_EQ(alone.GetConnectionPoint(1), (Point{300, 310}));
}

TEST_F(GeneratorTest, CompensatorsStartAtNoOutputAndLabelTheirReactivePowerOnly) {
    SyncCompensator& condenser = PlaceOnePort<SyncCompensator>(*model, {105, 110}, 0);
    VarCompensator& svc = PlaceOnePort<VarCompensator>(*model, {105, 130}, 0);
    for (Generator* kind : {static_cast<Generator*>(&condenser), static_cast<Generator*>(&svc)}) {
        EXPECT_EQ(kind->GetValues()[Generator::kP], 0.0);
        EXPECT_EQ(kind->GetLabel(0)->GetText(), "Q=0.00");
        double values[Generator::kValueCount] = {40, -12.345, -50, 50, 0, 100, 0, 0, 0, 0, 0, 0, 0, 1};
        kind->UpdateResultLabel(values);
        EXPECT_EQ(kind->GetValues()[Generator::kP], 0.0);
        EXPECT_EQ(kind->GetLabel(0)->GetText(), "Q=-12.35");
    }
    EXPECT_EQ(condenser.GetType(false), Category::SyncCompensator);
    EXPECT_EQ(svc.GetType(false), Category::VarCompensator);

    model->SetRemote(true);
    svc.UpdateResultLabel(nullptr);
    EXPECT_EQ(svc.GetLabel(0)->GetText(), "-12.345");
    Generator& generator = PlaceOnePort<Generator>(*model, {105, 120}, 0);
    generator.UpdateResultLabel(nullptr);
    EXPECT_EQ(generator.GetLabel(0)->GetText(), "1.000/0.000");
}

TEST_F(GeneratorTest, LimitTextsInTheirOrderWithTheBusVoltageControl) {
    Generator& generator = PlaceOnePort<Generator>(*model, {105, 120}, 0);
    generator.SetName("G7");
    const std::string maxQ = "Generator connected to bus 'B1' is on or over maximum reactive generation limit!";
    const std::string minQ = "Generator connected to bus 'B1' is on or bellow minimum reactive generation limit!";
    const std::string lost = " Connected bus has lost voltage control (PV) possibility!";
    struct Case {
        double p, q;
        int busKind;
        double setPoint;  // the solved voltage is 1.0 p.u.
        std::string text;  // empty: within every limit
    };
    const Case cases[] = {
        {50, 50, 4, 1.004, maxQ},          // on the limit counts; the set point is held
        {50, 60, 4, 1.006, maxQ + lost},   // the set point is no longer held
        {50, 60, 1, 1.100, maxQ},          // only a generator bus loses control
        {50, -30, 4, 0.990, minQ + lost},
        {50, -31, 4, 0.996, minQ},
        {120, 0, 4, 1.0, "Generator 'G7' connected to bus 'B1' is on or over maximum active generation limit!"},
        {10, 0, 4, 1.0, "Generator 'G7' connected to bus 'B1' is on or bellow minimum active generation limit!"},
        {50, 0, 4, 1.0, ""},
    };
    for (const Case& c : cases) {
        double values[Generator::kValueCount] = {c.p, c.q, -30, 50, 10, 120, 0, 0, 0, 0, 0, 0, 0, 1};
        generator.UpdateResultLabel(values);
        SetBus(c.busKind, 1.0, c.setPoint);
        std::string text = "unchanged";
        EXPECT_EQ(generator.CheckLimits(text), !c.text.empty()) << c.p << " " << c.q;
        EXPECT_EQ(text, c.text.empty() ? "unchanged" : c.text) << c.p << " " << c.q;
    }
}

TEST_F(GeneratorTest, LimitTextsHoldNamesOfAnyLength) {
    Generator& generator = PlaceOnePort<Generator>(*model, {105, 120}, 0);
    const std::string busName(300, 'b');
    const std::string name(400, 'g');
    bus.SetName(busName);
    generator.SetName(name);
    generator.GetValues()[Generator::kP] = generator.GetValues()[Generator::kPMax];
    std::string text;
    ASSERT_TRUE(generator.CheckLimits(text));
    EXPECT_EQ(text, "Generator '" + name + "' connected to bus '" + busName +
                        "' is on or over maximum active generation limit!");
    model->SetRemote(true);
    generator.SendChangeCommand();
    EXPECT_EQ(Sent(), (std::vector<std::string>{"CHANGE GENERATOR=" + busName + " PG= 9999"}));
}

TEST_F(GeneratorTest, CompensatorsCheckTheirReactiveLimitsOnly) {
    SyncCompensator& condenser = PlaceOnePort<SyncCompensator>(*model, {105, 110}, 0);
    VarCompensator& svc = PlaceOnePort<VarCompensator>(*model, {105, 130}, 0);
    double values[Generator::kValueCount] = {0, 20, -20, 20, 0, 9999, 0, 0, 0, 0, 0, 0, 0, 1};
    condenser.UpdateResultLabel(values);
    SetBus(4, 1.0, 1.02);
    std::string text;
    ASSERT_TRUE(condenser.CheckLimits(text));
    EXPECT_EQ(text,
              "Synch. compensator connected to bus 'B1' is on or over maximum reactive generation limit!  Connected "
              "bus has lost voltage control (PV) possibility!");
    values[1] = -20;
    condenser.UpdateResultLabel(values);
    SetBus(4, 1.0, 1.0);
    ASSERT_TRUE(condenser.CheckLimits(text));
    EXPECT_EQ(text, "Synch. compensator connected to bus 'B1' is on or bellow minimum reactive generation limit!");

    // Pg = 0 and Pmin = 0 would be "on the minimum active limit" for a
    // generator; a var compensator has no active output to check.
    values[1] = 5;
    svc.UpdateResultLabel(values);
    text.clear();
    EXPECT_FALSE(svc.CheckLimits(text));
    EXPECT_TRUE(text.empty());
    values[1] = 20;
    svc.UpdateResultLabel(values);
    ASSERT_TRUE(svc.CheckLimits(text));
    EXPECT_EQ(text, "Generator connected to bus 'B1' is on or over maximum reactive generation limit!");
}

TEST_F(GeneratorTest, LoadingIndexIsWhereQLiesInItsBand) {
    Generator& generator = PlaceOnePort<Generator>(*model, {105, 120}, 0);
    struct Case {
        double q, qMin, qMax, index;
    };
    for (const Case& c : {Case{0, -50, 50, 0.5}, Case{50, -50, 50, 1.0}, Case{-50, -50, 50, 1.0},
                          Case{25, -50, 50, 0.75}, Case{10, 20, 20, 0.0}}) {
        double* v = generator.GetValues();
        v[Generator::kQ] = c.q;
        v[Generator::kQMin] = c.qMin;
        v[Generator::kQMax] = c.qMax;
        EXPECT_DOUBLE_EQ(generator.GetLoadingIndex(), c.index) << c.q;
    }
}

TEST_F(GeneratorTest, ChangeCommandsGoToTheRemoteSolverOnlyFromARemoteCopy) {
    Generator& generator = PlaceOnePort<Generator>(*model, {105, 110}, 0);
    SyncCompensator& condenser = PlaceOnePort<SyncCompensator>(*model, {105, 120}, 0);
    VarCompensator& svc = PlaceOnePort<VarCompensator>(*model, {105, 130}, 0);
    generator.SendChangeCommand();
    EXPECT_TRUE(Sent().empty());

    model->SetRemote(true);
    generator.SendChangeCommand();
    generator.GetValues()[Generator::kP] = 123.456789;
    generator.SendChangeCommand();
    condenser.GetValues()[Generator::kQ] = -5.5;
    condenser.SendChangeCommand();
    svc.SendChangeCommand();
    EXPECT_EQ(Sent(), (std::vector<std::string>{"CHANGE GENERATOR=B1 PG= 1", "CHANGE GENERATOR=B1 PG= 123.5",
                                                "CHANGE SYNCHCOMP=B1 QCOMP= -5.5"}));
}

TEST_F(GeneratorTest, FlowIntoTheBusAndTheSolvedGenerationWrittenBack) {
    Generator& generator = PlaceOnePort<Generator>(*model, {105, 110}, 0);
    SyncCompensator& condenser = PlaceOnePort<SyncCompensator>(*model, {105, 120}, 0);
    ASSERT_TRUE(bus.SetConnectedGeneration(80, 15));
    EXPECT_EQ(generator.GetLabel(0)->GetText(), "Sg=80.00/15.00");
    condenser.GetValues()[Generator::kQ] = 7;

    double p = -1, q = -1;
    bool pending = true;
    EXPECT_TRUE(generator.GetFlowAtEnd(bus.GetKey(), p, q, pending));
    EXPECT_EQ((std::pair{p, q}), (std::pair{80.0, 15.0}));
    EXPECT_FALSE(pending);
    EXPECT_TRUE(condenser.GetFlowAtEnd(bus.GetKey(), p, q, pending));
    EXPECT_EQ((std::pair{p, q}), (std::pair{0.0, 7.0}));
    EXPECT_FALSE(generator.GetFlowAtEnd(generator.GetKey(), p, q, pending));

    // Out of service it injects nothing, whatever its last result.
    generator.SetOn(false);
    EXPECT_TRUE(generator.GetFlowAtEnd(bus.GetKey(), p, q, pending));
    EXPECT_EQ((std::pair{p, q}), (std::pair{0.0, 0.0}));
}

TEST_F(GeneratorTest, SymbolsWithTheirLettersAndTheSelectedColours) {
    Generator& generator = PlaceOnePort<Generator>(*model, {105, 120}, 0);  // body 45..75 x 105..135
    RecordingDrawingContext dc;
    generator.Draw(dc);
    auto lines = dc.Of(RecordingDrawingContext::Op::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{100, 120}, {80, 120}}));
    EXPECT_EQ(lines[1].points, (std::vector<Point>{{80, 120}, {74, 120}}));
    auto arcs = dc.Of(RecordingDrawingContext::Op::Arc);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_EQ(arcs[0].rect, (Rect{45, 105, 75, 135}));
    EXPECT_EQ(arcs[0].arc.sweepDegrees, 360.0);
    auto texts = dc.Of(RecordingDrawingContext::Op::Text);
    ASSERT_EQ(texts.size(), 2u);  // the letter, then the label
    EXPECT_EQ(texts[0].text, "G");
    EXPECT_EQ(texts[0].points[0], (Point{60, 113}));  // centred; the model's font is 14 high
    EXPECT_EQ(texts[0].state.textAlign, TextAlign::Center | TextAlign::Top);
    EXPECT_EQ(texts[0].state.textColor, generator.GetColor());
    EXPECT_TRUE(dc.Of(RecordingDrawingContext::Op::Rectangle).empty());
    EXPECT_EQ(dc.State().textAlign, TextAlign::Left | TextAlign::Top);

    VarCompensator& svc = PlaceOnePort<VarCompensator>(*model, {100, 130}, 0);  // body 85..115 x 145..175
    svc.SetSelected(true);
    RecordingDrawingContext selected;
    svc.Draw(selected);
    auto outline = selected.Of(RecordingDrawingContext::Op::Polyline);
    ASSERT_EQ(outline.size(), 1u);
    EXPECT_EQ(outline[0].points.front(), (Point{85, 145}));
    EXPECT_EQ(selected.Of(RecordingDrawingContext::Op::Line)[1].points[1], (Point{100, 146}));
    auto marks = selected.Of(RecordingDrawingContext::Op::Rectangle);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].rect, (Rect{98, 128, 102, 132}));
    EXPECT_EQ(marks[1].rect, (Rect{98, 138, 102, 142}));
    auto letters = selected.Of(RecordingDrawingContext::Op::Text);
    EXPECT_EQ(letters[0].text, "SVC");
    EXPECT_EQ(letters[0].state.textColor, kBlue);
    EXPECT_EQ(selected.State().textColor, kBlack);
}

}  // namespace
