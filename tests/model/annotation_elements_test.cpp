#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document_model.h"
#include "free_line.h"
#include "free_text.h"
#include "recording_drawing_context.h"
#include "test_model.h"

namespace {

using Op = RecordingDrawingContext::Op;

std::vector<std::vector<Point>> LinesDrawn(IElement& element) {
    RecordingDrawingContext dc;
    element.Draw(dc);
    std::vector<std::vector<Point>> lines;
    for (const auto& call : dc.Of(Op::Line)) lines.push_back(call.points);
    return lines;
}

TEST(FreeLineDrawing, TheArrowheadFollowsTheStraightLineBetweenTheEnds) {
    struct Case {
        const char* what;
        std::vector<Point> nodes;
        std::vector<std::vector<Point>> arrow;  // the two strokes after the path
    };
    const Case cases[] = {
        {"straight", {{0, 0}, {100, 0}}, {{{92, -4}, {100, 0}}, {{100, 0}, {92, 4}}}},
        // Bent at a right angle: the head points along (0, 0)-(100, 100);
        // 91.51 rounds up, 97.17 down.
        {"bent", {{0, 0}, {100, 0}, {100, 100}}, {{{97, 92}, {100, 100}}, {{100, 100}, {92, 97}}}},
        {"ends together", {{0, 0}, {50, 50}, {0, 0}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentModel model;
        FreeLine& line = DrawPath<FreeLine>(*model, Category::FreeLine, c.nodes, FreeLine::kArrowedStyle);
        std::vector<std::vector<Point>> lines = LinesDrawn(line);
        std::size_t pathLines = c.nodes.size() - 1;
        ASSERT_EQ(lines.size(), pathLines + c.arrow.size());
        EXPECT_EQ(std::vector(lines.begin() + static_cast<std::ptrdiff_t>(pathLines), lines.end()), c.arrow);
    }
}

TEST(FreeLineDrawing, TheDashedStyleDrawsDashedWithItsNameAndBlueWhenSelected) {
    DocumentModel model;
    FreeLine& line = DrawPath<FreeLine>(*model, Category::FreeLine, {{0, 0}, {60, 0}}, FreeLine::kDashedStyle);
    line.SetColor(0x123456);
    RecordingDrawingContext dc;
    line.Draw(dc);
    ASSERT_EQ(dc.Of(Op::Line).size(), 1u);  // no arrowhead
    EXPECT_EQ(dc.Of(Op::Line)[0].state.pen.style, PenStyle::Dash);
    EXPECT_EQ(dc.Of(Op::Line)[0].state.pen.color, 0x123456u);
    ASSERT_EQ(dc.Of(Op::Text).size(), 1u);
    EXPECT_EQ(dc.Of(Op::Text)[0].text, "Free Line 1");
    EXPECT_EQ(dc.State().pen, LogPen{});  // put back

    line.SetSelected(true);
    RecordingDrawingContext selected;
    line.Draw(selected);
    EXPECT_EQ(selected.Of(Op::Line)[0].state.pen.color, kBlue);
    EXPECT_EQ(selected.Of(Op::Rectangle).size(), 2u);  // the node marks

    // The arrowed style hides its label.
    FreeLine& arrowed = DrawPath<FreeLine>(*model, Category::FreeLine, {{0, 50}, {60, 50}}, FreeLine::kArrowedStyle);
    RecordingDrawingContext plain;
    arrowed.Draw(plain);
    EXPECT_TRUE(plain.Of(Op::Text).empty());
}

TEST(PolygonDrawing, OnlyAFinishedClosedPathIsFilled) {
    DocumentModel model;
    PolygonElement& closed =
        DrawPath<PolygonElement>(*model, Category::Polygon, {{0, 0}, {100, 0}, {50, 80}, {0, 0}});
    RecordingDrawingContext dc;
    closed.Draw(dc);
    ASSERT_EQ(dc.Of(Op::Polygon).size(), 1u);
    EXPECT_EQ(dc.Of(Op::Polygon)[0].points, (std::vector<Point>{{0, 0}, {100, 0}, {50, 80}}));
    EXPECT_EQ(dc.Of(Op::Line).size(), 3u);  // the outline over it
    EXPECT_TRUE(dc.Of(Op::Text).empty());

    // The last node dragged off the first: only the outline.
    EXPECT_FALSE(closed.DragHandle(4, static_cast<int>(0xFFFF0003u), {5, 5}));
    EXPECT_EQ(closed.GetPath().GetNode(-1), (Point{5, 5}));
    RecordingDrawingContext open;
    closed.Draw(open);
    EXPECT_TRUE(open.Of(Op::Polygon).empty());
    EXPECT_EQ(open.Of(Op::Line).size(), 3u);

    // Still being drawn, with its last node on its first.
    PolygonElement& drawing = AddAnnotation<PolygonElement>(*model, Category::Polygon, Point{0, 0});
    for (Point p : {Point{100, 0}, Point{50, 80}, Point{0, 0}}) drawing.DragHandle(0, 0, p);
    RecordingDrawingContext unfinished;
    drawing.Draw(unfinished);
    EXPECT_TRUE(unfinished.Of(Op::Polygon).empty());
}

TEST(FreeLineGeometry, ThePathIsTheBodyAndMovesWithItsEnds) {
    DocumentModel model;
    model->SetDuplicationSteps(2, 1, 10);
    FreeLine& line = DrawPath<FreeLine>(*model, Category::FreeLine, {{0, 0}, {100, 0}, {100, 100}}, 0);
    EXPECT_EQ(line.GetNodeCount(), 3);
    EXPECT_EQ(line.GetConnectionPoint(1), (Point{100, 100}));
    EXPECT_EQ(line.GetBoundingRect(), (Rect{0, 0, 100, 100}));
    EXPECT_TRUE(line.HitTest({50, 5}));
    EXPECT_FALSE(line.HitTest({50, 50}));
    EXPECT_FALSE(line.AutoConnect());
    EXPECT_FALSE(line.IsNetworkElement());

    // A copy: a new key, the same style and nodes one duplication step
    // away, attached to nothing.
    std::unique_ptr<IElement> made = line.Duplicate(false);
    auto& copy = static_cast<FreeLine&>(*made);
    EXPECT_NE(copy.GetKey(), line.GetKey());
    EXPECT_EQ(KeyCategory(copy.GetKey()), Category::FreeLine);
    EXPECT_EQ(copy.GetStyle(), 0);
    EXPECT_EQ(copy.GetPath().GetNode(0), (Point{20, 10}));
    EXPECT_EQ(copy.GetPath().GetNode(-1), (Point{120, 110}));
    EXPECT_EQ(copy.GetConnectionPoint(0), (Point{20, 10}));
    EXPECT_EQ(copy.GetEndKeys(), (std::array<int, 2>{0, 0}));
    EXPECT_TRUE(copy.GetPath().IsFinished());

    line.Move(5, -5, false);
    EXPECT_EQ(line.GetPath().GetNode(1), (Point{105, -5}));
    EXPECT_EQ(line.GetConnectionPoint(0), (Point{5, -5}));
}

TEST(FreeLineKinds, BothStylesAreTypeThirteenAndTheArrowToolCodeMakesAFreeLine) {
    std::unique_ptr<IElement> fromTool = StandardElementFactory().Make(ElementType::ArrowedFreeLine);
    ASSERT_NE(fromTool, nullptr);
    EXPECT_EQ(fromTool->GetElementType(), ElementType::FreeLine);
    EXPECT_EQ(fromTool->GetType(false), Category::FreeLine);
    DocumentModel model;
    for (int style : {0, 1, 2}) {
        EXPECT_EQ(AddAnnotation<FreeLine>(*model, Category::FreeLine, Point{}, style).GetElementType(), 13);
    }
    EXPECT_EQ(StandardElementFactory().Make(ElementType::PolygonElement)->GetType(false), Category::Polygon);
}

TEST(FreeText, TheTextIsTheNameAndTheElementIsItsLabel) {
    DocumentModel model;
    FreeText& text = AddAnnotation<FreeText>(*model, Category::FreeText, Point{100, 100});
    EXPECT_EQ(text.GetName(), "");  // texts get no default name
    text.SetName("Substation A");
    EXPECT_EQ(text.GetLabel(0)->GetText(), "Substation A");
    // Twelve characters six units wide, eleven high, 10 above the anchor.
    EXPECT_EQ(text.GetBoundingRect(), (Rect{100, 90, 172, 101}));
    Rect common;
    EXPECT_TRUE(text.IntersectsRect(common, {150, 0, 300, 95}, false));
    EXPECT_EQ(common, (Rect{150, 90, 172, 95}));
    EXPECT_FALSE(text.IntersectsRect(common, {0, 0, 50, 50}, true));
    EXPECT_FALSE(text.IsNetworkElement());

    RecordingDrawingContext plain;
    text.Draw(plain);
    ASSERT_EQ(plain.calls.size(), 1u);  // the label alone
    EXPECT_EQ(plain.calls[0].state.textColor, kBlack);

    EXPECT_FALSE(text.SetSelected(true));
    EXPECT_TRUE(text.GetLabel(0)->IsHighlighted());
    RecordingDrawingContext selected;
    text.Draw(selected);
    EXPECT_EQ(selected.Of(Op::Text)[0].state.textColor, kBlue);
    EXPECT_TRUE(text.SetSelected(false));
    EXPECT_FALSE(text.GetLabel(0)->IsHighlighted());

    std::unique_ptr<IElement> copy = text.Duplicate(false);
    EXPECT_EQ(copy->GetName(), "Substation A");
    EXPECT_EQ(copy->GetBoundingRect(), (Rect{110, 100, 182, 111}));
}

TEST(SystemInfo, ShowsTheChosenTotalWithOrWithoutItsCaption) {
    TestModel model;
    model.Add(ElementType::Generator).values = {123.456, 7.0};
    model->ComputeSystemTotals();
    struct Case {
        double item;
        const char* text;
    };
    const Case cases[] = {
        {5, "Gen P    123.46"},  // total 2 with its caption
        {4, "123.46"},           // total 2 alone
        {6, "7.00"},             // total 3
        {20, "8888.88"},         // no such total
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        SystemInfo box(&*model, model->NewKey(Category::SystemInfo, false), {300, 100});
        box.SetName("Gen P");
        box.UpdateResultLabel(&c.item);
        EXPECT_EQ(box.GetLabel(0)->GetText(), c.text);
        EXPECT_EQ(*box.GetValues(), c.item);
        // Right-aligned: the text grows to the left of the anchor.
        EXPECT_EQ(box.GetLabel(0)->GetRect().right, 300);
    }
}

TEST(SystemInfo, TheModelRefreshesItsBoxesAndACopyShowsTheSameTotal) {
    TestModel model;
    FakeElement& load = model.Add(ElementType::Load);
    load.values = {10.0, 2.0};
    auto* made = new SystemInfo(&*model, model->NewKey(Category::SystemInfo, false), {300, 100});
    ASSERT_TRUE(model->AddElement(made));
    double item = 0;  // load P
    made->UpdateResultLabel(&item);
    EXPECT_EQ(made->GetLabel(0)->GetText(), "0.00");
    model->ComputeSystemTotals();
    EXPECT_EQ(made->GetLabel(0)->GetText(), "10.00");

    item = 2;  // load Q
    made->UpdateResultLabel(&item);
    std::unique_ptr<IElement> copy = made->Duplicate(false);
    EXPECT_EQ(static_cast<SystemInfo&>(*copy).GetItem(), 2);
    EXPECT_EQ(static_cast<SystemInfo&>(*copy).GetLabel(0)->GetText(), "2.00");
}

}  // namespace
