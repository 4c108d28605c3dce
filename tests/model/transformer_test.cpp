#include <gtest/gtest.h>

#include <string>

#include "color_map.h"
#include "recording_drawing_context.h"
#include "transformer.h"
#include "two_port_fixture.h"

namespace {

namespace BD = BranchData;
using Op = RecordingDrawingContext::Op;

TEST(TransformerConstruction, FiledWithTheLinesUnderItsOwnClassType) {
    TwoPortModel m;
    Transformer& fixed = m.Draw<Transformer>();
    RegulatedTransformer& regulating = m.Draw<RegulatedTransformer>({100, 130}, {{300, 130}});
    EXPECT_EQ(fixed.GetType(false), Category::Line);
    EXPECT_EQ(fixed.GetType(true), ElementType::Transformer);
    EXPECT_EQ(regulating.GetType(false), Category::Line);
    EXPECT_EQ(regulating.GetType(true), ElementType::RegulatedTransformer);
    EXPECT_EQ(fixed.GetBranchKind(), 1);
    EXPECT_EQ(regulating.GetBranchKind(), 2);
    EXPECT_EQ(fixed.GetLabelCount(), 5);
    EXPECT_EQ(fixed.GetValues()[BD::kRating], 1000.0);
    EXPECT_EQ(KeyCategory(regulating.GetKey()), Category::Line);
}

TEST(TransformerLabels, TheRatioReadsLeftToRight) {
    TwoPortModel m;
    Transformer& right = m.Draw<Transformer>();
    Transformer& left = m.Draw<Transformer>({300, 130}, {{100, 130}});
    for (Transformer* t : {&right, &left}) {
        t->GetValues()[BD::kFromTapKv] = 110.0;
        t->GetValues()[BD::kToTapKv] = 20.0;
        t->UpdateResultLabel(nullptr);
    }
    EXPECT_EQ(right.GetLabel(PowerLine::kRatioLabel)->GetText(), "n=110/20");
    EXPECT_EQ(left.GetLabel(PowerLine::kRatioLabel)->GetText(), "n=20/110");
}

TEST(TransformerGeometry, TheCirclesFollowThePathBeforeAnyDrawingAndPlaceTheRatioLabel) {
    TwoPortModel m;
    Transformer& transformer = m.Draw<Transformer>();
    EXPECT_EQ(transformer.GetFirstCircleCentre(), (Point{130, 120}));
    EXPECT_EQ(transformer.GetSecondCircleCentre(), (Point{140, 120}));
    // Beside the symbol, not near the origin.
    const Rect& ratio = transformer.GetLabel(PowerLine::kRatioLabel)->GetRect();
    EXPECT_EQ(ratio.left, 141);
    EXPECT_EQ(ratio.top, 109);
    // A path lying flat still gets a rectangle of 22 across.
    EXPECT_EQ(transformer.GetBoundingRect(), (Rect{100, 109, 300, 131}));
}

TEST(TransformerDrawing, TwoCirclesOnTheFirstSegmentAndTheRegulationArrow) {
    TwoPortModel m;
    Transformer& fixed = m.Draw<Transformer>();
    RecordingDrawingContext dc;
    fixed.Draw(dc);
    auto lines = dc.Of(Op::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{100, 120}, {120, 120}}));
    EXPECT_EQ(lines[1].points, (std::vector<Point>{{150, 120}, {300, 120}}));
    auto circles = dc.Of(Op::Ellipse);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0].rect, (Rect{120, 110, 140, 130}));
    EXPECT_EQ(circles[1].rect, (Rect{130, 110, 150, 130}));
    EXPECT_TRUE(dc.Of(Op::Polygon).empty());

    RegulatedTransformer& regulating = m.Draw<RegulatedTransformer>({100, 130}, {{300, 130}});
    RecordingDrawingContext arrow;
    regulating.Draw(arrow);
    auto strokes = arrow.Of(Op::Line);
    ASSERT_EQ(strokes.size(), 3u);
    EXPECT_EQ(strokes[2].points, (std::vector<Point>{{122, 143}, {148, 117}}));
    auto heads = arrow.Of(Op::Polygon);
    ASSERT_EQ(heads.size(), 1u);
    EXPECT_EQ(heads[0].points, (std::vector<Point>{{145, 117}, {148, 117}, {148, 120}}));
}

TEST(TransformerDrawing, AFirstSegmentTooShortForTheSymbolIsAPlainPath) {
    TwoPortModel m;
    // 20 across and 10 down: a squared length of 500, below 1400.
    Transformer& transformer = m.Draw<Transformer>({100, 120}, {{120, 130}, {300, 130}});
    RecordingDrawingContext dc;
    transformer.Draw(dc);
    EXPECT_TRUE(dc.Of(Op::Ellipse).empty());
    EXPECT_EQ(dc.Of(Op::Line).size(), 2u);
}

TEST(TransformerDrawing, InTheNominalVoltageMapTheToWindingTakesTheToSidesColour) {
    TwoPortModel m;
    m.SetBus(*m.to, 20.0, 1.0);
    ColorMap nominal, loading, voltage;
    nominal.Add(50.0f, 0x00FF00);
    nominal.Add(200.0f, 0x0000FF);
    m.model->SetColorMaps(&nominal, &loading, &voltage);
    m.model->SetColorMapMode(kNominalVoltageColors);
    Transformer& transformer = m.Draw<Transformer>();
    RecordingDrawingContext dc;
    transformer.Draw(dc);
    auto circles = dc.Of(Op::Ellipse);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0].state.pen.color, 0x0000FFu);
    EXPECT_EQ(circles[1].state.pen.color, 0x00FF00u);
    EXPECT_EQ(dc.State().pen, LogPen{});  // every pen given back

    // Attached to one bus only: both windings in the element's colour.
    Transformer& hanging = m.Draw<Transformer>({100, 130}, {{300, 250}});
    RecordingDrawingContext single;
    hanging.Draw(single);
    auto both = single.Of(Op::Ellipse);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0].state.pen.color, both[1].state.pen.color);
}

TEST(TransformerLimits, ApparentPowerAgainstTheRatingAndTheNotificationLimit) {
    struct Case {
        double p, q;
        const char* suffix;
        double loading;
    };
    // Rating 40 MVA, notification 35 MVA.
    const Case cases[] = {{30, 0, nullptr, 0.75},
                          {36, 0, "over notification transfer limits!", 0.9},
                          {40, 0, "over notification transfer limits!", 1.0},
                          {30, 40, "over MAXIMUM rated transfer limits!", 1.25}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.p);
        TwoPortModel m;
        Transformer& transformer = m.Draw<Transformer>();
        double* v = transformer.GetValues();
        v[BD::kRating] = 40;
        v[BD::kNotification] = 35;
        v[BD::kPTo] = -c.p;  // the larger end
        v[BD::kQTo] = -c.q;
        v[BD::kPFrom] = c.p * 0.9;
        std::string text;
        ASSERT_EQ(transformer.CheckLimits(text), c.suffix != nullptr);
        if (c.suffix) {
            EXPECT_EQ(text, std::string("Transformer between buses 'BUS_A' and 'BUS_B' ") + c.suffix);
        }
        EXPECT_DOUBLE_EQ(transformer.GetLoadingIndex(), c.loading);
        EXPECT_EQ(transformer.IsOverLimit(), c.suffix != nullptr);
    }
}

TEST(TransformerLabels, LoadingFromTheLargerEndOverTheRating) {
    TwoPortModel m;
    Transformer& transformer = m.Draw<Transformer>();
    std::span<double> values;
    std::vector<std::uint8_t>* flags = nullptr;
    transformer.GetValuesAndFlags(values, flags);
    (*flags)[PowerLine::kLossLabel] = PowerLine::kShowLoading;
    values[BD::kRating] = 50;
    values[BD::kPFrom] = 30;
    values[BD::kQFrom] = 40;
    transformer.UpdateResultLabel(nullptr);
    EXPECT_EQ(transformer.GetLabel(PowerLine::kLossLabel)->GetText(), "100.0%");
    values[BD::kRating] = 0;
    transformer.UpdateResultLabel(nullptr);
    EXPECT_EQ(transformer.GetLabel(PowerLine::kLossLabel)->GetText(), "0.0%");
}

}  // namespace
