#include <gtest/gtest.h>

#include "byte_text.h"
#include "fixed_metric_measurer.h"
#include "primitive_text.h"
#include "recording_drawing_context.h"
#include "recording_view.h"

namespace {

// Right-aligned, anchored at (100, 40), red, the default label font, not
// measured yet.
const char* const kStoredText =
    "01 00 01 "                                          // right-aligned, highlighted, changed
    "64 00 00 00 28 00 00 00 64 00 00 00 28 00 00 00 "   // rectangle
    "FF 00 00 00 "                                       // colour
    "00 00 FF 00 "                                       // highlight colour
    "F5 FF FF FF 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "  // height -11, width, ..., weight
    "00 00 00 00 00 00 00 00 "                           // the byte fields
    "05 41 72 69 61 6C";                                 // "Arial"

TEST(PrimitiveTextArchive, StoresTheBlockAndReadsItBack) {
    PrimitiveText text({100, 50});
    text.SetRightAligned(true);
    text.SetColor(kRed);
    Archive out = Archive::ForStoring();
    text.Serialize(out);
    EXPECT_EQ(HexOf(out.Bytes()), kStoredText);

    PrimitiveText loaded({0, 0});
    Archive in = Archive::ForLoading(BytesFromHex(kStoredText));
    loaded.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_TRUE(loaded.IsRightAligned());
    EXPECT_EQ(loaded.GetColor(), kRed);
    Archive again = Archive::ForStoring();
    loaded.Serialize(again);
    EXPECT_EQ(HexOf(again.Bytes()), kStoredText);
}

TEST(PrimitiveTextArchive, FlagsCountOnlyForTheByte1AndTheTextIsMeasuredAgain) {
    struct Case {
        const char* flags;
        bool rightAligned, highlighted;
    };
    FixedMetricMeasurer measurer;
    for (const Case& c : {Case{"01 01 00", true, true}, Case{"02 02 00", false, false}, Case{"00 01 01", false, true}}) {
        std::string bytes = std::string(c.flags) + std::string(kStoredText).substr(8);
        PrimitiveText loaded({0, 0}, &measurer);
        loaded.SetText("abc");
        Archive in = Archive::ForLoading(BytesFromHex(bytes));
        loaded.Serialize(in);
        EXPECT_EQ(loaded.IsRightAligned(), c.rightAligned) << c.flags;
        EXPECT_EQ(loaded.IsHighlighted(), c.highlighted) << c.flags;
        EXPECT_TRUE(loaded.IsChanged());
        // Measured at once: 3 cells of 6 x 11 from the anchor.
        Rect expected = c.rightAligned ? Rect{100 - 18, 40, 100, 51} : Rect{100, 40, 118, 51};
        EXPECT_EQ(loaded.GetRect(), expected) << c.flags;
    }
}

TEST(PrimitiveTextArchive, AFaceNameLongerThan31CharactersIsCut) {
    const std::string face(40, 'F');
    std::string bytes = std::string(kStoredText).substr(0, std::string(kStoredText).size() - 17) + "28";
    for (int i = 0; i < 40; ++i) bytes += " 46";
    PrimitiveText loaded({0, 0});
    Archive in = Archive::ForLoading(BytesFromHex(bytes));
    loaded.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(loaded.GetFont().FaceName(), face.substr(0, 31));
    Archive out = Archive::ForStoring();
    loaded.Serialize(out);
    EXPECT_EQ(out.Bytes().size(), BytesFromHex(kStoredText).size() - 5 + 31);
}

TEST(PrimitiveTextMeasure, TheAnchorEdgeStaysWhenTheTextGrows) {
    FixedMetricMeasurer measurer;
    PrimitiveText left({10, 30}, &measurer);
    PrimitiveText right({10, 30}, &measurer);
    right.SetRightAligned(true);
    for (const char* text : {"ab", "abcdef"}) {
        left.SetText(text);
        right.SetText(text);
    }
    EXPECT_EQ(left.GetRect(), (Rect{10, 20, 46, 31}));
    EXPECT_EQ(right.GetRect(), (Rect{-26, 20, 10, 31}));

    right.SetPosition({50, 60});
    EXPECT_TRUE(right.IsChanged());
    EXPECT_EQ(right.GetRect(), (Rect{14, 60, 50, 71}));

    // Without a measurer the text waits for its drawing surface.
    PrimitiveText unmeasured({10, 30});
    unmeasured.SetText("abc");
    EXPECT_EQ(unmeasured.GetRect(), (Rect{10, 20, 10, 20}));
}

// Counts what the labels ask of it.
class CountingMeasurer final : public ITextMeasurer {
public:
    Size TextExtent(const LogFont& font, std::string_view text) override {
        ++asked;
        return FixedMetricMeasurer::Extent(font, text);
    }
    int asked = 0;
};

TEST(PrimitiveTextMeasure, TheExtentIsAskedOnceUntilTheTextTheFontOrTheMeasurerChanges) {
    CountingMeasurer measurer;
    PrimitiveText text({10, 30}, &measurer);
    text.SetText("abc");
    EXPECT_EQ(measurer.asked, 0);
    // The first look at the rectangle measures, whichever it is.
    EXPECT_TRUE(text.HitTest({27, 25}));
    EXPECT_FALSE(text.HitTest({28, 25}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(text.GetRect(), (Rect{10, 20, 28, 31}));
    text.SetText("abc");
    text.Move(5, 0, nullptr);
    EXPECT_EQ(text.GetRect(), (Rect{15, 20, 33, 31}));
    EXPECT_EQ(measurer.asked, 1);

    text.SetText("abcd");
    EXPECT_EQ(text.GetRect(), (Rect{15, 20, 39, 31}));
    LogFont big = text.GetFont();
    big.height = -20;
    text.SetFont(big);
    EXPECT_EQ(text.GetRect(), (Rect{15, 20, 55, 40}));
    EXPECT_EQ(measurer.asked, 3);

    CountingMeasurer other;
    text.SetMeasurer(&other);
    EXPECT_EQ(text.GetRect(), (Rect{15, 20, 55, 40}));
    EXPECT_EQ(other.asked, 1);

    // A rectangle set outright stands until the text changes.
    text.SetText("a");
    text.SetRect({0, 0, 100, 100});
    EXPECT_TRUE(text.HitTest({99, 99}));
}

TEST(PrimitiveTextDraw, MeasuresOnTheSurfaceAndRestoresItsFontAndColour) {
    PrimitiveText text({10, 30});
    LogFont big;
    big.height = -20;
    big.SetFaceName("Courier New");
    text.SetFont(big);
    text.SetText("xyz");
    text.SetColor(kRed);

    RecordingDrawingContext dc;
    dc.SetTextColor(0x00ABCDEF);
    text.Draw(dc);
    EXPECT_FALSE(text.IsChanged());
    EXPECT_EQ(text.GetRect(), (Rect{10, 20, 40, 40}));
    auto drawn = dc.Of(RecordingDrawingContext::Op::Text);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, "xyz");
    EXPECT_EQ(drawn[0].points[0], (Point{10, 20}));
    EXPECT_EQ(drawn[0].state.font, big);
    EXPECT_EQ(drawn[0].state.textColor, kRed);
    EXPECT_EQ(dc.State().textColor, 0x00ABCDEFu);
    EXPECT_EQ(dc.State().font, LogFont{});

    // The last hit test decides the highlight; right and bottom edges are
    // outside.
    EXPECT_TRUE(text.HitTest({10, 20}));
    text.Draw(dc);
    EXPECT_EQ(dc.Of(RecordingDrawingContext::Op::Text).back().state.textColor, kBlue);
    EXPECT_FALSE(text.HitTest({40, 25}));
    EXPECT_FALSE(text.HitTest({20, 40}));
    EXPECT_FALSE(text.IsHighlighted());
}

TEST(PrimitiveTextMove, RepaintsTheOldAndTheNewPlaceInWindowCoordinates) {
    FixedMetricMeasurer measurer;
    PrimitiveText text({10, 30}, &measurer);
    text.SetText("ab");
    RecordingView view;
    view.scrollPosition = {5, 10};
    text.Move(100, 200, &view);
    ASSERT_EQ(view.calls.size(), 2u);
    EXPECT_EQ(view.calls[0].rect, (Rect{5, 10, 17, 21}));
    EXPECT_EQ(view.calls[1].rect, (Rect{105, 210, 117, 221}));
    EXPECT_EQ(text.GetRect(), (Rect{110, 220, 122, 231}));
    text.Move(1, 1, nullptr);
    EXPECT_EQ(text.GetRect(), (Rect{111, 221, 123, 232}));
}

}  // namespace
