#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "color_map.h"

namespace {

constexpr ColorRef kGreen = Rgb(0, 255, 0);
constexpr ColorRef kFallback = Rgb(1, 2, 3);

TEST(ColorMap, ColourOfTheFirstThresholdAboveTheValue) {
    ColorMap map;
    map.Add(220.0f, kBlue);
    map.Add(110.0f, kGreen);
    map.Add(400.0f, kRed);
    map.Add(220.0f, kBlack);  // a second colour for a threshold is ignored

    struct Case {
        float value;
        ColorRef color;
    } cases[] = {
        {50.0f, kGreen},   {109.9f, kGreen}, {110.0f, kBlue},  // equal takes the next threshold
        {219.0f, kBlue},   {220.0f, kRed},   {399.0f, kRed},
        {400.0f, kRed},    {500.0f, kRed},   {-1e9f, kGreen},  // above every threshold: the last
    };
    for (const auto& c : cases) EXPECT_EQ(map.GetColor(c.value, kFallback), c.color) << c.value;
    EXPECT_EQ(map.GetCount(), 3);
}

TEST(ColorMap, EmptyMapAnswersTheCallersFallback) {
    ColorMap map;
    EXPECT_EQ(map.GetColor(1.0f, kFallback), kFallback);
    map.MoveFirst();
    EXPECT_TRUE(map.IsAtEnd());
    EXPECT_EQ(map.GetCurrentLimit(), 0.0);
    EXPECT_EQ(map.GetCurrentColor(), kBlack);
}

TEST(ColorMap, LegendWalkListsTheEntriesInAscendingOrder) {
    ColorMap map;
    map.Add(1.05f, kRed);
    map.Add(0.95f, kGreen);
    map.Add(1.0f, kBlue);

    std::vector<std::pair<double, ColorRef>> walked;
    for (map.MoveFirst(); !map.IsAtEnd(); map.MoveNext()) {
        walked.emplace_back(map.GetCurrentLimit(), map.GetCurrentColor());
    }
    ASSERT_EQ(walked.size(), 3u);
    EXPECT_FLOAT_EQ(static_cast<float>(walked[0].first), 0.95f);
    EXPECT_EQ(walked[0].second, kGreen);
    EXPECT_FLOAT_EQ(static_cast<float>(walked[2].first), 1.05f);
    EXPECT_EQ(walked[2].second, kRed);

    // A look-up leaves the cursor on the entry that answered.
    map.GetColor(0.99f, kFallback);
    EXPECT_FLOAT_EQ(static_cast<float>(map.GetCurrentLimit()), 1.0f);
    map.MoveNext();
    map.MoveNext();
    EXPECT_TRUE(map.IsAtEnd());
}

}  // namespace
