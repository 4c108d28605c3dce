#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "emf_drawing_context.h"
#include "fixed_metric_measurer.h"

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

// The record types in order, walking the records by their sizes.
std::vector<std::uint32_t> RecordTypes(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint32_t> types;
    for (std::size_t at = 0; at + 8 <= bytes.size();) {
        types.push_back(U32(bytes, at));
        std::uint32_t size = U32(bytes, at + 4);
        if (size < 8) break;
        at += size;
    }
    return types;
}

TEST(EmfDrawingContextTest, RecordsStateOnlyWhenItChangesAndAgainAfterAClip) {
    FixedMetricMeasurer measurer;
    EmfDrawingContext emf(measurer, {100, 50});
    emf.SelectPen({PenStyle::Solid, {0, 0}, kRed});
    emf.MoveTo({0, 0});
    emf.LineTo({10, 10});
    emf.LineTo({20, 20});
    emf.SetClipRect(Rect{10, 10, 20, 20});
    emf.Rectangle({12, 12, 18, 18});
    emf.SetClipRect(std::nullopt);
    emf.LineTo({30, 30});
    std::vector<std::uint8_t> bytes = emf.Finish();

    enum : std::uint32_t {
        Header = 1, Eof = 14, MoveTo = 27, IntersectClip = 30, SaveDc = 33, RestoreDc = 34,
        Select = 37, CreatePen = 38, CreateBrush = 39, Delete = 40, Rectangle = 43, LineTo = 54,
    };
    const std::vector<std::uint32_t> expected{
        Header,  CreatePen, Select, MoveTo,    LineTo, MoveTo, LineTo, SaveDc, IntersectClip,
        CreateBrush, Select, Rectangle, RestoreDc, CreatePen, Select, Delete, MoveTo, LineTo, Eof};
    EXPECT_EQ(RecordTypes(bytes), expected);
    EXPECT_EQ(U32(bytes, 40), 0x464D4520u);  // " EMF"
    EXPECT_EQ(U32(bytes, 48), bytes.size());
    EXPECT_EQ(U32(bytes, 52), expected.size());
    EXPECT_TRUE(emf.Finish().empty());
}

TEST(EmfDrawingContextTest, TheHeaderGivesTheFrameInHundredthsOfAMillimetreForAnyWidth) {
    FixedMetricMeasurer measurer;
    struct Case {
        Size frame;
        std::uint32_t right;
        std::uint32_t bottom;
    };
    // 96 pixels to the inch.
    const Case cases[] = {
        {{960, 96}, 25400, 2540},
        {{400000, 150}, 10583333, 3968},
        {{2147483647, 1}, 2147483647, 26},
    };
    for (const Case& c : cases) {
        EmfDrawingContext emf(measurer, c.frame);
        const std::vector<std::uint8_t> bytes = emf.Finish();
        EXPECT_EQ(U32(bytes, 16), static_cast<std::uint32_t>(c.frame.cx - 1)) << c.frame.cx;
        EXPECT_EQ(U32(bytes, 32), c.right) << c.frame.cx;
        EXPECT_EQ(U32(bytes, 36), c.bottom) << c.frame.cx;
    }
}

}  // namespace
