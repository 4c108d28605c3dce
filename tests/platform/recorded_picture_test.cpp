#include <gtest/gtest.h>

#include <vector>

#include "fixed_metric_measurer.h"
#include "recorded_picture.h"
#include "recording_drawing_context.h"

namespace {

using Op = RecordingDrawingContext::Op;

// A picture on a 200 x 100 frame with one call of each kind that scales.
RecordedPicture SamplePicture(FixedMetricMeasurer& measurer) {
    PictureRecorder recorder(measurer, {200, 100});
    LogFont font;
    font.height = -12;
    recorder.SelectFont(font);
    recorder.SelectPen({PenStyle::Solid, {4, 0}, kRed});
    recorder.SetTextAlign(TextAlign::Right | TextAlign::Bottom);
    EXPECT_EQ(recorder.GetTextExtent("abc"), (Size{18, 12}));  // measured by the measurer
    recorder.Rectangle({0, 0, 200, 100});
    recorder.TextOut({100, 50}, "abc");
    recorder.MoveTo({10, 10});
    recorder.LineTo({190, 90});
    recorder.SetClipRect(Rect{0, 0, 100, 100});
    recorder.Arc({0, 0, 40, 20}, {40, 10}, {0, 10});
    return recorder.Finish();
}

TEST(RecordedPicture, PlaysScaledIntoARectangle) {
    FixedMetricMeasurer measurer;
    RecordedPicture picture = SamplePicture(measurer);
    EXPECT_EQ(picture.Frame(), (Size{200, 100}));
    ASSERT_EQ(picture.Calls().size(), 4u);

    RecordingDrawingContext dc;
    picture.Play(dc, {10, 20, 110, 70});  // half the size, moved by (10, 20)
    ASSERT_EQ(dc.calls.size(), 4u);

    EXPECT_EQ(dc.calls[0].op, Op::Rectangle);
    EXPECT_EQ(dc.calls[0].rect, (Rect{10, 20, 110, 70}));
    EXPECT_EQ(dc.calls[0].state.pen, (LogPen{PenStyle::Solid, {2, 0}, kRed}));
    EXPECT_EQ(dc.calls[0].state.clip, (Rect{10, 20, 110, 70}));

    EXPECT_EQ(dc.calls[1].op, Op::Text);
    EXPECT_EQ(dc.calls[1].points, (std::vector<Point>{{60, 45}}));
    EXPECT_EQ(dc.calls[1].text, "abc");
    EXPECT_EQ(dc.calls[1].state.font.height, -6);
    EXPECT_EQ(dc.calls[1].state.textAlign, TextAlign::Right | TextAlign::Bottom);

    EXPECT_EQ(dc.calls[2].op, Op::Line);
    EXPECT_EQ(dc.calls[2].points, (std::vector<Point>{{15, 25}, {105, 65}}));

    // A clip of the picture's own is kept within the rectangle.
    EXPECT_EQ(dc.calls[3].op, Op::Arc);
    EXPECT_EQ(dc.calls[3].rect, (Rect{10, 20, 30, 30}));
    EXPECT_EQ(dc.calls[3].points, (std::vector<Point>{{30, 25}, {10, 25}}));
    EXPECT_EQ(dc.calls[3].state.clip, (Rect{10, 20, 60, 70}));
}

TEST(RecordedPicture, PlayingLeavesTheContextAsItWas) {
    FixedMetricMeasurer measurer;
    RecordedPicture picture = SamplePicture(measurer);
    RecordingDrawingContext dc;
    dc.MoveTo({3, 4});
    dc.SetClipRect(Rect{0, 0, 50, 50});
    const DrawingState before = dc.State();

    picture.Play(dc, {0, 0, 400, 200});
    // The clip in force bounds what the picture shows.
    EXPECT_EQ(dc.calls[0].state.clip, (Rect{0, 0, 50, 50}));
    EXPECT_EQ(dc.calls[0].state.pen.width.x, 8);

    const DrawingState& after = dc.State();
    EXPECT_EQ(after.pen, before.pen);
    EXPECT_EQ(after.font, before.font);
    EXPECT_EQ(after.textAlign, before.textAlign);
    EXPECT_EQ(after.backgroundMode, before.backgroundMode);
    EXPECT_EQ(after.position, before.position);
    EXPECT_EQ(after.clip, before.clip);
}

TEST(RecordedPicture, NothingIsPlayedOutsideItsRoom) {
    FixedMetricMeasurer measurer;
    RecordedPicture picture = SamplePicture(measurer);
    RecordingDrawingContext dc;
    dc.SetClipRect(Rect{0, 0, 10, 10});
    picture.Play(dc, {20, 20, 60, 60});  // entirely outside the clip
    EXPECT_TRUE(dc.calls.empty());

    RecordedPicture empty({0, 100});
    empty.Play(dc, {0, 0, 10, 10});
    EXPECT_TRUE(dc.calls.empty());

    // A finished recorder starts over.
    PictureRecorder recorder(measurer, {10, 10});
    recorder.Rectangle({0, 0, 1, 1});
    EXPECT_EQ(recorder.Finish().Calls().size(), 1u);
    EXPECT_TRUE(recorder.Finish().Calls().empty());
}

}  // namespace
