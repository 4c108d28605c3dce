#include <gtest/gtest.h>

#include <vector>

#include "drawing_context.h"
#include "recording_drawing_context.h"

namespace {

using Op = RecordingDrawingContext::Op;

TEST(DrawingContext, AFreshContextHoldsThePlatformDefaults) {
    RecordingDrawingContext dc;
    const DrawingState& s = dc.State();
    EXPECT_EQ(s.pen, (LogPen{PenStyle::Solid, {0, 0}, kBlack}));
    EXPECT_EQ(s.brush, (LogBrush{BrushStyle::Solid, kWhite, 0}));
    EXPECT_EQ(s.textColor, kBlack);
    EXPECT_EQ(s.backgroundColor, kWhite);
    EXPECT_EQ(s.backgroundMode, BackgroundMode::Opaque);
    EXPECT_EQ(s.textAlign, TextAlign::Left | TextAlign::Top);
    EXPECT_EQ(s.position, (Point{0, 0}));
}

TEST(DrawingContext, SelectionsAnswerWhatWasInForce) {
    RecordingDrawingContext dc;
    const LogPen blue{PenStyle::Dash, {2, 0}, kBlue};
    const LogBrush red{BrushStyle::Solid, kRed, 0};
    LogFont arial;
    arial.height = -11;
    arial.SetFaceName("Arial");

    const LogPen oldPen = dc.SelectPen(blue);
    const LogBrush oldBrush = dc.SelectBrush(red);
    const LogFont oldFont = dc.SelectFont(arial);
    const ColorRef oldText = dc.SetTextColor(kBlue);
    const unsigned oldAlign = dc.SetTextAlign(TextAlign::Center | TextAlign::Top);
    const BackgroundMode oldMode = dc.SetBackgroundMode(BackgroundMode::Transparent);
    dc.Rectangle({0, 0, 10, 10});

    EXPECT_EQ(dc.SelectPen(oldPen), blue);
    EXPECT_EQ(dc.SelectBrush(oldBrush), red);
    EXPECT_EQ(dc.SelectFont(oldFont), arial);
    EXPECT_EQ(dc.SetTextColor(oldText), kBlue);
    EXPECT_EQ(dc.SetTextAlign(oldAlign), TextAlign::Center);
    EXPECT_EQ(dc.SetBackgroundMode(oldMode), BackgroundMode::Transparent);
    dc.Rectangle({0, 0, 10, 10});

    // Each call keeps what was in force for it; the second finds the defaults
    // restored.
    ASSERT_EQ(dc.calls.size(), 2u);
    const DrawingState& first = dc.calls[0].state;
    EXPECT_EQ(first.pen, blue);
    EXPECT_EQ(first.brush, red);
    EXPECT_EQ(first.font, arial);
    EXPECT_EQ(first.textColor, kBlue);
    EXPECT_EQ(first.backgroundMode, BackgroundMode::Transparent);
    const DrawingState& second = dc.calls[1].state;
    EXPECT_EQ(second.pen, RecordingDrawingContext().State().pen);
    EXPECT_EQ(second.brush, RecordingDrawingContext().State().brush);
    EXPECT_EQ(second.font, LogFont{});
}

TEST(DrawingContext, LinesRunFromTheCurrentPosition) {
    RecordingDrawingContext dc;
    EXPECT_EQ(dc.MoveTo({5, 5}), (Point{0, 0}));
    dc.LineTo({10, 5});
    dc.LineTo({10, 20});
    const std::vector<Point> path{{1, 1}, {2, 2}, {3, 1}};
    dc.Polyline(path);  // neither starts from nor moves the current position
    dc.LineTo({0, 20});
    EXPECT_EQ(dc.MoveTo({7, 7}), (Point{0, 20}));

    ASSERT_EQ(dc.calls.size(), 4u);
    EXPECT_EQ(dc.calls[0].points, (std::vector<Point>{{5, 5}, {10, 5}}));
    EXPECT_EQ(dc.calls[1].points, (std::vector<Point>{{10, 5}, {10, 20}}));
    EXPECT_EQ(dc.calls[2].op, Op::Polyline);
    EXPECT_EQ(dc.calls[2].points, path);
    EXPECT_EQ(dc.calls[3].points, (std::vector<Point>{{10, 20}, {0, 20}}));
}

TEST(DrawingContext, ArcsRunCounterClockwiseOnTheScreen) {
    struct Case {
        const char* name;
        Rect box;
        Point start, end;
        double startDegrees, sweepDegrees;
    };
    // Screen y grows downwards: the top of a box is at 90 degrees.
    const Case cases[] = {
        {"bottom to top passes the right side", {0, 0, 12, 6}, {6, 6}, {6, 0}, 270, 180},
        {"top to bottom passes the left side", {0, 0, 12, 6}, {6, 0}, {6, 6}, 90, 180},
        {"right to top is a quarter", {0, 0, 20, 20}, {20, 10}, {10, 0}, 0, 90},
        {"top to right is three quarters", {0, 0, 20, 20}, {10, 0}, {20, 10}, 90, 270},
        {"equal points give the whole ellipse", {0, 0, 20, 20}, {20, 10}, {20, 10}, 0, 360},
        {"points on one ray give the whole ellipse", {0, 0, 20, 20}, {15, 10}, {40, 10}, 0, 360},
        {"points need not lie on the ellipse", {0, 0, 20, 20}, {-5, 10}, {10, 100}, 180, 90},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingDrawingContext dc;
        dc.Arc(c.box, c.start, c.end);
        ASSERT_EQ(dc.calls.size(), 1u);
        const auto& call = dc.calls[0];
        EXPECT_EQ(call.rect, c.box);
        EXPECT_EQ(call.points, (std::vector<Point>{c.start, c.end}));
        EXPECT_NEAR(call.arc.startDegrees, c.startDegrees, 1e-9);
        EXPECT_NEAR(call.arc.sweepDegrees, c.sweepDegrees, 1e-9);
    }
}

TEST(DrawingContext, TextIsMeasuredInTheSelectedFontAndPicturesPlayIntoTheirFrame) {
    RecordingDrawingContext dc;
    LogFont font;
    font.height = -11;
    EXPECT_EQ(dc.GetTextExtent("Bus1"), (Size{32, 16}));  // no font selected: 16-unit cells
    dc.SelectFont(font);
    EXPECT_EQ(dc.GetTextExtent("Bus1"), (Size{24, 11}));
    dc.TextOut({3, 4}, "Bus1");
    const std::vector<std::uint8_t> picture{1, 2, 3};
    dc.PlayPicture(picture, {0, 0, 100, 50});

    ASSERT_EQ(dc.calls.size(), 2u);
    EXPECT_EQ(dc.calls[0].text, "Bus1");
    EXPECT_EQ(dc.calls[0].state.font, font);
    EXPECT_EQ(dc.calls[1].picture, picture);
    EXPECT_EQ(dc.calls[1].rect, (Rect{0, 0, 100, 50}));
}

}  // namespace
