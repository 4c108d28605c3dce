#include <gtest/gtest.h>

#include "dialog_element.h"
#include "element_arrays.h"

namespace {

TEST(ElementArrays, ReadAndWriteTheElementsOwnArraysInPlace) {
    DialogElement element(ElementType::Generator, 4, {1, 2, 3}, {0, 1});
    ElementArrays arrays(element);
    EXPECT_EQ(arrays.ValueCount(), 3u);
    EXPECT_EQ(arrays.Value(2), 3);
    EXPECT_EQ(arrays.Flag(1), 1);
    arrays.SetValue(0, 7);
    arrays.SetFlag(0, 1);
    EXPECT_EQ(element.values, (std::vector<double>{7, 2, 3}));
    EXPECT_EQ(element.labelFlags, (std::vector<std::uint8_t>{1, 1}));
}

// A value index past a short array is a programming error: a debug build
// stops on it, any other build reads 0 and never writes past the end.
TEST(ElementArraysDeathTest, AValueIndexPastAShortArrayIsNeverWritten) {
    DialogElement element(ElementType::Generator, 4, {1, 2}, {1});
    ElementArrays arrays(element);
    EXPECT_DEBUG_DEATH(arrays.SetValue(2, 9), "past its element's value array");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(arrays.Value(-1), 0.0), "past its element's value array");
    EXPECT_EQ(element.values, (std::vector<double>{1, 2}));
}

// A document may hold fewer flags than labels.
TEST(ElementArrays, AMissingFlagReadsHiddenAndIsAddedOnlyToShowIt) {
    DialogElement element(ElementType::Bus, 1, {110}, {});
    ElementArrays arrays(element);
    EXPECT_EQ(arrays.Flag(1), 0);
    arrays.SetFlag(1, 0);
    EXPECT_TRUE(element.labelFlags.empty());
    arrays.SetFlag(1, 1);
    EXPECT_EQ(element.labelFlags, (std::vector<std::uint8_t>{0, 1}));
}

}  // namespace
