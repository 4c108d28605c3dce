#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_drawing_context.h"
#include "recording_view.h"
#include "test_model.h"

namespace {

// The text of every element drawn, in order.
std::vector<std::string> DrawnNames(const RecordingDrawingContext& dc) {
    std::vector<std::string> names;
    for (const auto& call : dc.Of(RecordingDrawingContext::Op::Text)) names.push_back(call.text);
    return names;
}

TEST(DrawModel, ListsInLayerOrderElementsInKeyOrder) {
    TestModel model;
    RecordingView view;
    model->SetView(&view);
    // Filed in another order than they are drawn.
    for (int type : {ElementType::Bus, ElementType::Connector, ElementType::Reactor, ElementType::VariableBank,
                     ElementType::Capacitor, ElementType::Shunt, ElementType::Load, ElementType::VarCompensator,
                     ElementType::SyncCompensator, ElementType::Generator, ElementType::PowerLine,
                     ElementType::SystemInfo, ElementType::FreeText, ElementType::FreeLine,
                     ElementType::PolygonElement, ElementType::HorizontalBus}) {
        FakeElement& element = model.Add(type);
        element.name = "t" + std::to_string(type);
    }
    model->GetBackgroundPictures().push_back({true, {0, 0, 100, 50}, "shown", {1, 2, 3}});
    model->GetBackgroundPictures().push_back({false, {0, 0, 10, 10}, "hidden", {4}});

    RecordingDrawingContext dc;
    LogFont before;
    before.height = -30;
    dc.SelectFont(before);
    model->Draw(dc, nullptr);

    EXPECT_EQ(DrawnNames(dc), (std::vector<std::string>{"t27", "t13", "t15", "t28", "t10", "t4", "t5", "t6", "t3",
                                                        "t7", "t8", "t16", "t9", "t20", "t1", "t2"}));
    ASSERT_EQ(dc.calls.front().op, RecordingDrawingContext::Op::Picture);
    EXPECT_EQ(dc.Of(RecordingDrawingContext::Op::Picture).size(), 1u);
    EXPECT_EQ(dc.calls.front().rect, (Rect{0, 0, 100, 50}));
    EXPECT_EQ(dc.calls.front().picture, (std::vector<std::uint8_t>{1, 2, 3}));
    for (const auto& call : dc.calls) EXPECT_EQ(call.state.font, model->GetFont());
    EXPECT_EQ(dc.State().font, before);
}

TEST(DrawModel, OnlyWhatMeetsTheAreaAndNothingWithoutAView) {
    TestModel model;
    model.Add(ElementType::Bus, {0, 0, 10, 10}).name = "near";
    model.Add(ElementType::Bus, {200, 200, 220, 210}).name = "far";

    RecordingDrawingContext unseen;
    model->Draw(unseen, nullptr);
    EXPECT_TRUE(unseen.calls.empty());

    RecordingView view;
    model->SetView(&view);
    RecordingDrawingContext dc;
    Rect area{5, 5, 50, 50};
    model->Draw(dc, &area);
    EXPECT_EQ(DrawnNames(dc), (std::vector<std::string>{"near"}));
}

TEST(InvalidateArea, CollectsRectanglesAndRedrawsThemInWindowCoordinates) {
    TestModel model;
    RecordingView view;
    view.scrollPosition = {100, 50};
    model->SetView(&view);

    Rect insideOut{140, 90, 120, 70};
    model->InvalidateArea(&insideOut, nullptr);  // grown by 1
    Rect other{300, 60, 310, 80};
    Size byTen{10, 10};
    model->InvalidateArea(&other, &byTen);
    EXPECT_EQ(model->GetPendingArea(), (Rect{119, 50, 320, 91}));
    EXPECT_TRUE(view.calls.empty());

    model->InvalidateArea(nullptr, nullptr);
    ASSERT_EQ(view.calls.size(), 2u);
    EXPECT_EQ(view.calls[0].op, RecordingView::Op::InvalidateRect);
    EXPECT_EQ(view.calls[0].rect, (Rect{19, 0, 220, 41}));
    EXPECT_EQ(view.calls[1].op, RecordingView::Op::Update);
    EXPECT_EQ(model->GetPendingArea(), Rect{});

    model->InvalidateArea(nullptr, nullptr);  // nothing waiting: nothing to redraw
    EXPECT_EQ(view.calls.size(), 2u);
}

TEST(BoundingRect, UnitesEveryShownPictureAndEveryElement) {
    TestModel model;
    Rect rect{1, 2, 3, 4};
    model->GetBoundingRect(rect);
    EXPECT_EQ(rect, (Rect{1, 2, 3, 4}));  // nothing: the caller's rectangle stays

    model.Add(ElementType::VariableBank, {500, 600, 520, 640});
    model.Add(ElementType::Bus, {110, 90, 100, 80});  // stored inside out
    rect = {0, 0, 20, 20};
    model->GetBoundingRect(rect);
    EXPECT_EQ(rect, (Rect{0, 0, 520, 640}));

    auto& pictures = model->GetBackgroundPictures();
    pictures.push_back({true, {-50, -40, 0, 0}, "first", {}});
    pictures.push_back({true, {10, 10, 20, 20}, "second", {}});
    pictures.push_back({false, {-900, -900, 0, 0}, "hidden", {}});
    rect = {-1000, -1000, 0, 0};  // replaced by the pictures
    model->GetBoundingRect(rect);
    EXPECT_EQ(rect, (Rect{-50, -40, 520, 640}));
}

}  // namespace
