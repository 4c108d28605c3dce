#include <gtest/gtest.h>

#include "popup_navigation.h"

namespace {

constexpr int kAbsent = 99;  // the row starts on a box that this popup lacks

TEST(PopupNavigation, ArrowKeysStepThroughCellsAndBoxes) {
    struct Case {
        PopupMove move;
        int from;
        int none, defaultOnly, customOnly, both;  // what each set of boxes leads to
    };
    const Case cases[] = {
        {PopupMove::Left, 5, 4, 4, 4, 4},
        {PopupMove::Left, 8, 7, 7, 7, 7},  // column 0: the last cell of the row above
        {PopupMove::Left, 0, 39, kDefaultBox, kCustomBox, kDefaultBox},
        {PopupMove::Left, kNoItem, 39, kDefaultBox, kCustomBox, kDefaultBox},
        {PopupMove::Left, kDefaultBox, kAbsent, 39, kAbsent, kCustomBox},
        {PopupMove::Left, kCustomBox, kAbsent, kAbsent, 39, 39},

        {PopupMove::Up, 12, 4, 4, 4, 4},
        {PopupMove::Up, 3, 39, kDefaultBox, kCustomBox, kDefaultBox},
        {PopupMove::Up, kNoItem, 39, kDefaultBox, kCustomBox, kDefaultBox},
        {PopupMove::Up, kDefaultBox, kAbsent, 39, kAbsent, kCustomBox},
        {PopupMove::Up, kCustomBox, kAbsent, kAbsent, 39, 39},

        {PopupMove::Right, 5, 6, 6, 6, 6},
        {PopupMove::Right, 7, 8, 8, 8, 8},  // the last column: column 0 of the next row
        {PopupMove::Right, 39, 0, kDefaultBox, kCustomBox, kCustomBox},
        {PopupMove::Right, kNoItem, 0, kDefaultBox, kCustomBox, kCustomBox},
        {PopupMove::Right, kDefaultBox, kAbsent, 0, kAbsent, 0},
        {PopupMove::Right, kCustomBox, kAbsent, kAbsent, 0, kDefaultBox},

        {PopupMove::Down, 5, 13, 13, 13, 13},
        {PopupMove::Down, 33, 0, kDefaultBox, kCustomBox, kCustomBox},
        {PopupMove::Down, kNoItem, 0, kDefaultBox, kCustomBox, kCustomBox},
        {PopupMove::Down, kDefaultBox, kAbsent, 0, kAbsent, 0},
        {PopupMove::Down, kCustomBox, kAbsent, kAbsent, 0, kDefaultBox},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "move " << static_cast<int>(c.move) << " from " << c.from);
        const struct {
            PopupBoxes boxes;
            int expected;
        } variants[] = {
            {{false, false}, c.none},
            {{true, false}, c.defaultOnly},
            {{false, true}, c.customOnly},
            {{true, true}, c.both},
        };
        for (const auto& variant : variants) {
            if (variant.expected == kAbsent) continue;
            EXPECT_EQ(NextPopupItem(c.from, c.move, variant.boxes), variant.expected)
                << "default box " << variant.boxes.hasDefault << ", custom box " << variant.boxes.hasCustom;
        }
    }
}

}  // namespace
