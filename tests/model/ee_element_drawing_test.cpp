#include <gtest/gtest.h>

#include "color_map.h"
#include "element_key.h"
#include "recording_drawing_context.h"
#include "recording_message_sink.h"
#include "recording_view.h"
#include "segment_element.h"
#include "test_model.h"

namespace {

using Op = RecordingDrawingContext::Op;

constexpr ColorRef kOwnColor = 0x00123456;
constexpr ColorRef kGreen = Rgb(0, 255, 0);

// A model with the three colour maps, and elements drawn in their own colour.
class ElementDrawing : public ::testing::Test {
protected:
    ElementDrawing() {
        nominal.Add(110.0f, 0x000001);
        nominal.Add(220.0f, 0x000002);
        nominal.Add(400.0f, 0x000003);
        loading.Add(50.0f, 0x000011);   // percent
        loading.Add(100.0f, 0x000012);
        loading.Add(200.0f, 0x000013);
        voltage.Add(0.95f, 0x000021);   // p.u.
        voltage.Add(1.05f, 0x000022);
        voltage.Add(2.0f, 0x000023);
        model->SetColorMaps(&nominal, &loading, &voltage);
        model->SetLineColor(kOwnColor);
        model->SetBackgroundColor(kWhite);
    }

    // The pen and brush in force while the symbol (the one line) was drawn.
    static DrawingState SymbolState(const RecordingDrawingContext& dc) {
        auto lines = dc.Of(Op::Line);
        EXPECT_EQ(lines.size(), 1u);
        return lines.empty() ? DrawingState{} : lines[0].state;
    }

    TestModel model;
    ColorMap nominal, loading, voltage;
};

TEST_F(ElementDrawing, ColourBySelectionColourMapAndLimit) {
    struct Case {
        int category;
        int mode;
        bool selected, overLimit, network;
        ColorRef pen;
        ColorRef brush;  // kBlack: the brush the context held
        bool byMap;
    };
    const Case cases[] = {
        {Category::Generator, kNormalColors, false, false, true, kOwnColor, kWhite, false},
        {Category::Bus, kNormalColors, false, false, true, kOwnColor, kOwnColor, false},
        {Category::Generator, kNormalColors, true, false, true, kBlue, kBlack, false},
        {Category::Bus, kNormalColors, true, false, true, kBlue, kBlue, false},
        // Nominal voltage 220 kV lies at the second threshold: the third colour.
        {Category::Line, kNominalVoltageColors, false, false, true, 0x000003, kBlack, true},
        {Category::Bus, kNominalVoltageColors, false, false, true, 0x000003, 0x000003, true},
        // A loading of 0.75 is 75 %.
        {Category::Line, kLoadingColors, false, false, true, 0x000012, kBlack, true},
        {Category::Bus, kBusVoltageColors, false, false, true, 0x000022, 0x000022, true},
        // Selection wins over the map and the limit.
        {Category::Line, kLoadingColors, true, true, true, kBlue, kBlack, true},
        {Category::Line, kNormalColors, false, true, true, kRed, kWhite, false},
        {Category::Line, kLoadingColors, false, true, true, kRed, kBlack, true},
        // Annotations take no colour map.
        {Category::FreeLine, kLoadingColors, false, false, false, kOwnColor, kWhite, false},
    };
    for (const Case& c : cases) {
        SegmentElement element(&*model, MakeKey(1, c.category), {0, 0}, {10, 5}, c.category);
        element.baseVoltage = 220.0;
        element.loading = 0.75;
        element.voltage = 1.0;
        element.overLimit = c.overLimit;
        element.networkElement = c.network;
        element.SetSelected(c.selected);
        model->SetColorMapMode(c.mode);

        RecordingDrawingContext dc;
        dc.SelectBrush(LogBrush{BrushStyle::Solid, kBlack, 0});
        element.Draw(dc);
        DrawingState state = SymbolState(dc);
        SCOPED_TRACE(testing::Message() << "category " << c.category << " mode " << c.mode << " selected "
                                        << c.selected << " over " << c.overLimit);
        EXPECT_EQ(state.pen.color, c.pen);
        EXPECT_EQ(state.pen.width, element.GetPen().width);
        EXPECT_EQ(state.brush.color, c.brush);
        EXPECT_EQ(element.IsDrawnByColorMap(), c.byMap);
        // Whatever was selected is put back.
        EXPECT_EQ(dc.State().pen, DrawingState{}.pen);
        EXPECT_EQ(dc.State().brush, (LogBrush{BrushStyle::Solid, kBlack, 0}));
    }
}

TEST_F(ElementDrawing, AMissingOrEmptyMapDrawsInTheOwnColour) {
    ColorMap empty;
    model->SetColorMaps(nullptr, &empty, nullptr);
    for (int mode : {int{kNominalVoltageColors}, int{kLoadingColors}, 7}) {
        model->SetColorMapMode(mode);
        SegmentElement element(&*model, 257, {0, 0}, {10, 5}, Category::Line);
        RecordingDrawingContext dc;
        element.Draw(dc);
        EXPECT_EQ(SymbolState(dc).pen.color, kOwnColor) << mode;
    }
}

TEST_F(ElementDrawing, SymbolThenTheShownLabelsThenHandlesOnRequest) {
    SegmentElement element(&*model, 257, {3, 4}, {30, 40}, Category::Load);
    element.SetRect({0, 0, 20, 10});
    element.AddLabel({0, 50}, true).SetText("shown");
    element.AddLabel({0, 70}, false).SetText("hidden");
    element.AddLabel({0, 90}, true).SetText("also shown");

    RecordingDrawingContext dc;
    element.Draw(dc);
    ASSERT_EQ(dc.calls.size(), 3u);
    EXPECT_EQ(dc.calls[0].op, Op::Line);
    EXPECT_EQ(dc.calls[0].points, (std::vector<Point>{{3, 4}, {30, 40}}));
    EXPECT_EQ(dc.calls[1].text, "shown");
    EXPECT_EQ(dc.calls[1].points[0], (Point{0, 40}));
    EXPECT_EQ(dc.calls[2].text, "also shown");

    RecordingDrawingContext handles;
    element.DrawSelectionHandles(handles);
    std::vector<Rect> squares;
    for (const auto& call : handles.Of(Op::Rectangle)) squares.push_back(call.rect);
    EXPECT_EQ(squares, (std::vector<Rect>{{-1, -1, 1, 1}, {-1, 9, 1, 11}, {19, -1, 21, 1}, {19, 9, 21, 11}}));
}

TEST_F(ElementDrawing, FilledHeadsTakeThePenColour) {
    RecordingDrawingContext dc;
    dc.SelectPen(LogPen{PenStyle::Solid, {0, 0}, kGreen});
    dc.SelectBrush(LogBrush{BrushStyle::Solid, kWhite, 0});
    const Point head[] = {{0, 0}, {9, 4}, {0, 8}};
    SegmentElement::FillInPenColor(dc, head);
    auto polygons = dc.Of(Op::Polygon);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].points, (std::vector<Point>{{0, 0}, {9, 4}, {0, 8}}));
    EXPECT_EQ(polygons[0].state.brush, (LogBrush{BrushStyle::Solid, kGreen, 0}));
    EXPECT_EQ(dc.State().brush.color, kWhite);
}

TEST_F(ElementDrawing, AMissingNeighbourIsToldOncePerDrawingAndNeverPrompted) {
    RecordingMessageSink sink;
    RecordingView view;
    model->SetMessageSink(&sink);
    model->SetView(&view);
    SegmentElement& line = AddSegment(*model, Category::Line, {0, 0}, {10, 0});
    SegmentElement& bus = AddSegment(*model, Category::Bus, {0, 0}, {0, 10});
    const int gone = MakeKey(77, Category::Bus);

    RecordingDrawingContext dc;
    for (int drawing = 1; drawing <= 2; ++drawing) {
        model->Draw(dc, nullptr);
        EXPECT_EQ(line.FindNeighbourForDrawing(bus.GetKey()), &bus);
        EXPECT_EQ(line.FindNeighbourForDrawing(gone), nullptr);
        EXPECT_EQ(line.FindNeighbourForDrawing(gone), nullptr);
        EXPECT_EQ(line.FindNeighbourForDrawing(0), nullptr);
        ASSERT_EQ(sink.messages.size(), static_cast<std::size_t>(drawing));
    }
    EXPECT_EQ(sink.messages[0].level, IMessageSink::Warning);
    EXPECT_EQ(sink.messages[0].text,
              "Element \"Line1\" is attached to element 19713, which is not in the network; that connection is "
              "not drawn.");
}

}  // namespace
