#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "power_line.h"
#include "recording_drawing_context.h"
#include "two_port_fixture.h"

namespace {

namespace BD = BranchData;

TEST(PowerLineConstruction, DrawnBetweenTwoBusesWithTheLineDefaults) {
    TwoPortModel m;
    PowerLine& line = m.Draw<PowerLine>();
    EXPECT_EQ(line.GetEndKeys()[0], m.from->GetKey());
    EXPECT_EQ(line.GetEndKeys()[1], m.to->GetKey());
    EXPECT_TRUE(line.GetPath().IsFinished());
    EXPECT_EQ(line.GetPath().GetNodeCount(), 2);
    EXPECT_EQ(line.GetConnectionPoint(1), (Point{300, 120}));
    EXPECT_EQ(m.to->GetKeyList(), (std::vector<int>{line.GetKey()}));
    const double* v = line.GetValues();
    EXPECT_EQ(v[BD::kLength], 1.0);
    EXPECT_EQ(v[BD::kResistance], 0.1);
    EXPECT_EQ(v[BD::kReactance], 0.3);
    EXPECT_EQ(v[BD::kRating], 1000.0);
    EXPECT_EQ(v[BD::kNotification], 900.0);
    EXPECT_EQ(v[BD::kCircuits], 1.0);
    EXPECT_EQ(line.GetLabelCount(), 4);
    EXPECT_TRUE(line.GetLabel(PowerLine::kToLabel)->IsRightAligned());
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(line.IsLabelShown(i)) << i;
    // Labels 3 and 0 sit at the middle of the ends once an end connects.
    EXPECT_EQ(line.GetLabel(PowerLine::kLossLabel)->GetRect().left, 200);
}

TEST(PowerLineValues, TheTwentySixValuesRoundTrip) {
    TwoPortModel m;
    PowerLine& line = m.Draw<PowerLine>();
    double values[BD::kCount];
    for (int i = 0; i < BD::kCount; ++i) values[i] = 0.5 + i;
    line.UpdateResultLabel(values);
    std::span<double> stored;
    std::vector<std::uint8_t>* flags = nullptr;
    line.GetValuesAndFlags(stored, flags);
    ASSERT_EQ(stored.data(), line.GetValues());
    ASSERT_EQ(stored.size(), std::size_t{BD::kCount});
    for (int i = 0; i < BD::kCount; ++i) EXPECT_EQ(stored[i], values[i]) << i;
    EXPECT_EQ(flags->size(), 4u);
}

TEST(PowerLineRecord, ParametersPerKilometreAreScaledByAPositiveLength) {
    struct Case {
        double length;
        double r, x, b;
    };
    const Case cases[] = {{1.0, 0.1, 0.3, 0.001}, {20.0, 2.0, 6.0, 0.02}, {0.0, 0.1, 0.3, 0.001}, {-5.0, 0.1, 0.3, 0.001}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        TwoPortModel m;
        PowerLine& line = m.Draw<PowerLine>();
        line.GetValues()[BD::kLength] = c.length;
        line.GetValues()[BD::kSusceptance] = 0.001;
        BranchRecord record;
        ASSERT_TRUE(line.FillSolverRecord(&record, 1));
        EXPECT_DOUBLE_EQ(record.resistance, c.r);
        EXPECT_DOUBLE_EQ(record.reactance, c.x);
        EXPECT_DOUBLE_EQ(record.chargingB, c.b);
        EXPECT_EQ(record.tapSide, c.length);
    }
}

TEST(PowerLineRecord, CurrentAtEachEndFromTheBusVoltage) {
    TwoPortModel m;
    m.SetBus(*m.to, 0.0, 1.0);
    PowerLine& line = m.Draw<PowerLine>();
    line.GetValues()[BD::kPFrom] = 100.0;
    line.GetValues()[BD::kPTo] = -99.0;
    BranchRecord record;
    ASSERT_TRUE(line.FillSolverRecord(&record, 1));
    EXPECT_NEAR(record.currentFrom, 524.86, 0.005);
    EXPECT_EQ(record.currentTo, 0.0);  // a bus of 0 kV
    EXPECT_DOUBLE_EQ(record.pLoss, 1.0);
}

TEST(PowerLineRecord, AFreeEndOrAnEndNamingNoElementLeavesTheLineOut) {
    TwoPortModel m;
    PowerLine& free = m.Draw<PowerLine>({100, 120}, {{200, 250}});
    BranchRecord record;
    EXPECT_FALSE(free.FillSolverRecord(&record, 1));
    std::string card;
    EXPECT_FALSE(free.WriteCDFCard(card, nullptr));

    PowerLine& broken = m.Draw<PowerLine>();
    broken.SetEndKey(1, MakeKey(77, Category::Bus));
    EXPECT_FALSE(broken.FillSolverRecord(&record, 1));
    EXPECT_FALSE(broken.WriteCDFCard(card, nullptr));
}

TEST(PowerLineLabels, FlowsInTheDirectionOfTheActiveFlowLossAndLoading) {
    struct Case {
        const char* name;
        bool remote;
        bool on;
        std::uint8_t lossFlag;
        double rating;
        const char* from;
        const char* to;
        const char* loss;
    };
    const Case cases[] = {
        {"flow toward end 0", false, true, 1, 1000, "S=50.00/10.00", "S=52.00/8.00", "Sloss=2.00/-2.00"},
        {"remote copy", true, true, 1, 1000, "50.00/10.00", "52.00/8.00", "2.00/-2.00"},
        {"off", false, false, 1, 1000, "S=0/0", "S=0/0", "Sloss=0/0"},
        {"off, loading", false, false, 2, 1000, "S=0/0", "S=0/0", "0%"},
        {"loading", false, true, 2, 1000, "S=50.00/10.00", "S=52.00/8.00", "95.0%"},
        {"no rating", false, true, 2, 0, "S=50.00/10.00", "S=52.00/8.00", "Imax not defined"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TwoPortModel m;
        m.model->SetRemote(c.remote);
        PowerLine& line = m.Draw<PowerLine>();
        line.SetName("L1");
        std::span<double> values;
        std::vector<std::uint8_t>* shown = nullptr;
        line.GetValuesAndFlags(values, shown);
        (*shown)[PowerLine::kLossLabel] = c.lossFlag;
        double* v = line.GetValues();
        v[BD::kPFrom] = -50.0;
        v[BD::kQFrom] = -10.0;
        v[BD::kPTo] = 52.0;
        v[BD::kQTo] = 8.0;
        v[BD::kCurrent] = 950.0;
        v[BD::kRating] = c.rating;
        line.SetOn(c.on);
        EXPECT_EQ(line.GetLabel(PowerLine::kFromLabel)->GetText(), c.from);
        EXPECT_EQ(line.GetLabel(PowerLine::kToLabel)->GetText(), c.to);
        EXPECT_EQ(line.GetLabel(PowerLine::kLossLabel)->GetText(), c.loss);
        EXPECT_EQ(line.GetLabel(PowerLine::kNameLabel)->GetText(), "L1");
    }
}

TEST(PowerLineLimits, MaximumAboveTheRatingNotificationAboveItsLimit) {
    struct Case {
        double current;
        const char* suffix;  // nothing when no text
    };
    const Case cases[] = {{800, nullptr}, {950, "over given notification limit!"},
                          {1000, "over given notification limit!"}, {1000.5, "over MAXIMUM current limit!"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.current);
        TwoPortModel m;
        PowerLine& line = m.Draw<PowerLine>();
        line.SetName("L1");
        line.GetValues()[BD::kCurrent] = c.current;
        std::string text;
        ASSERT_EQ(line.CheckLimits(text), c.suffix != nullptr);
        if (c.suffix) {
            EXPECT_EQ(text, std::string("Line 'L1' between buses 'BUS_A' and 'BUS_B' ") + c.suffix);
        }
        EXPECT_EQ(line.IsOverLimit(), c.current > 900);
        EXPECT_DOUBLE_EQ(line.GetLoadingIndex(), c.current / 900.0);
    }
    // One connected element is not enough for a text.
    TwoPortModel m;
    PowerLine& hanging = m.Draw<PowerLine>({100, 120}, {{200, 250}});
    hanging.GetValues()[BD::kCurrent] = 5000.0;
    std::string text;
    EXPECT_FALSE(hanging.CheckLimits(text));
}

TEST(PowerLineColourValues, BaseVoltageOfTheFromBusAndTheMeanVoltageIndex) {
    TwoPortModel m;
    m.SetBus(*m.from, 110.0, 0.9);
    m.SetBus(*m.to, 20.0, 1.1);
    PowerLine& line = m.Draw<PowerLine>();
    EXPECT_EQ(line.GetBaseVoltage(), 110.0);
    EXPECT_DOUBLE_EQ(line.GetVoltageIndex(), (0.9 + 1.0 / 1.1) / 2.0);
    line.SetOn(false);
    EXPECT_EQ(line.GetBaseVoltage(), 0.0);
    EXPECT_EQ(line.GetVoltageIndex(), 0.0);
}

TEST(PowerLineFlows, FlowOutOfTheLineAtEachEnd) {
    TwoPortModel m;
    PowerLine& line = m.Draw<PowerLine>();
    line.GetValues()[BD::kPFrom] = 30.0;
    line.GetValues()[BD::kQFrom] = 5.0;
    line.GetValues()[BD::kPTo] = -29.0;
    line.GetValues()[BD::kQTo] = -4.0;
    double p = 0, q = 0;
    bool pending = true;
    ASSERT_TRUE(line.GetFlowAtEnd(m.from->GetKey(), p, q, pending));
    EXPECT_EQ(p, -30.0);
    EXPECT_EQ(q, -5.0);
    EXPECT_FALSE(pending);
    ASSERT_TRUE(line.GetFlowAtEnd(m.to->GetKey(), p, q, pending));
    EXPECT_EQ(p, 29.0);
    EXPECT_FALSE(line.GetFlowAtEnd(0x901, p, q, pending));
}

TEST(PowerLineRemote, TheTapChangeCommandGoesOutOnlyFromARemoteCopy) {
    TwoPortModel m;
    PowerLine& line = m.Draw<PowerLine>();
    line.SetName("Line 7");
    line.GetValues()[BD::kTapRatio] = 1.0375;
    line.SendChangeCommand();
    EXPECT_TRUE(m.view.Messages().empty());
    m.model->SetRemote(true);
    line.SendChangeCommand();
    auto sent = m.view.Messages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].message, kRemoteSendMessage);
    EXPECT_EQ(sent[0].text, "CHANGE LINENAME=Line 7 TAP= 1.038");
}

TEST(PowerLineDrawing, TheFlowArrowSitsOnTheLongestSegmentPointingAlongTheActiveFlow) {
    struct Case {
        const char* name;
        std::initializer_list<Point> clicks;
        double pFrom, pTo;
        std::vector<Point> arrow;  // empty: none
    };
    const Case cases[] = {
        {"toward end 1", {{300, 120}}, 10, -9, {{200, 116}, {209, 120}, {200, 124}}},
        {"toward end 0", {{300, 120}}, -10, 11, {{200, 124}, {191, 120}, {200, 116}}},
        {"no flow", {{300, 120}}, 5, 5, {}},
        {"bent: the long segment", {{140, 130}, {300, 130}}, 10, -9, {{220, 126}, {229, 130}, {220, 134}}},
        {"segment shorter than 75", {{170, 120}, {175, 120}}, 10, -9, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TwoPortModel m;
        PowerLine& line = m.Draw<PowerLine>({100, 120}, c.clicks);
        if (c.arrow.empty() && c.clicks.size() == 2) {
            line.DragHandle(3, 0, {175, 120});
        }
        line.GetValues()[BD::kPFrom] = c.pFrom;
        line.GetValues()[BD::kPTo] = c.pTo;
        RecordingDrawingContext dc;
        line.Draw(dc);
        auto polygons = dc.Of(RecordingDrawingContext::Op::Polygon);
        if (c.arrow.empty()) {
            EXPECT_TRUE(polygons.empty());
        } else {
            ASSERT_EQ(polygons.size(), 1u);
            EXPECT_EQ(polygons[0].points, c.arrow);
        }
    }
}

TEST(PowerLineEditing, MovingABusDragsTheLineEndAndItsLabels) {
    TwoPortModel m;
    PowerLine& line = m.Draw<PowerLine>();
    Rect fromLabel = line.GetLabel(PowerLine::kFromLabel)->GetRect();
    m.from->Move(0, 10, true);
    EXPECT_EQ(line.GetConnectionPoint(0), (Point{100, 130}));
    EXPECT_EQ(line.GetPath().GetNode(0), (Point{100, 130}));
    EXPECT_EQ(line.GetLabel(PowerLine::kFromLabel)->GetRect().top, fromLabel.top + 10);
    Point nearest;
    EXPECT_EQ(line.HitTestBody({200, 125}, nearest), 0);
    EXPECT_TRUE(line.HitTest({200, 130}));  // 5 from the path
    EXPECT_FALSE(line.HitTest({200, 132}));
}

TEST(PowerLineDuplicate, TheCopyIsFreeCarriesTheValuesAndMovesByTheStep) {
    TwoPortModel m;
    m.model->SetDuplicationSteps(2, 3, 10);
    PowerLine& line = m.Draw<PowerLine>();
    line.GetValues()[BD::kLength] = 12.0;
    std::unique_ptr<IElement> copy = line.Duplicate(false);
    auto& twin = dynamic_cast<PowerLine&>(*copy);
    EXPECT_EQ(KeyCategory(twin.GetKey()), Category::Line);
    EXPECT_NE(twin.GetKey(), line.GetKey());
    EXPECT_EQ(twin.GetEndKeys(), (std::array<int, 2>{0, 0}));
    EXPECT_EQ(twin.GetValues()[BD::kLength], 12.0);
    EXPECT_EQ(twin.GetPath().GetNode(0), (Point{120, 150}));
    EXPECT_EQ(twin.GetPath().GetNode(-1), (Point{320, 150}));
    EXPECT_EQ(m.from->GetKeyList(), (std::vector<int>{line.GetKey()}));
}

}  // namespace
