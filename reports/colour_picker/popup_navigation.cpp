#include "popup_navigation.h"

#include "colour_table.h"

namespace {

constexpr int kLastCell = kPickerColourCount - 1;

int BeforeFirstCell(PopupBoxes boxes) {
    if (boxes.hasDefault) return kDefaultBox;
    if (boxes.hasCustom) return kCustomBox;
    return kLastCell;
}

int BeforeDefaultBox(PopupBoxes boxes) { return boxes.hasCustom ? kCustomBox : kLastCell; }

int AfterLastCell(PopupBoxes boxes) {
    if (boxes.hasCustom) return kCustomBox;
    if (boxes.hasDefault) return kDefaultBox;
    return 0;
}

int AfterCustomBox(PopupBoxes boxes) { return boxes.hasDefault ? kDefaultBox : 0; }

}  // namespace

int NextPopupItem(int current, PopupMove move, PopupBoxes boxes) {
    const bool backward = move == PopupMove::Left || move == PopupMove::Up;
    if (current == kDefaultBox) return backward ? BeforeDefaultBox(boxes) : 0;
    if (current == kCustomBox) return backward ? kLastCell : AfterCustomBox(boxes);
    switch (move) {
        case PopupMove::Left:
            return current <= 0 ? BeforeFirstCell(boxes) : current - 1;
        case PopupMove::Up:
            return current < kPickerColumns ? BeforeFirstCell(boxes) : current - kPickerColumns;
        case PopupMove::Right:
            return current == kNoItem || current == kLastCell ? AfterLastCell(boxes) : current + 1;
        case PopupMove::Down:
            if (current == kNoItem || current + kPickerColumns > kLastCell) return AfterLastCell(boxes);
            return current + kPickerColumns;
    }
    return current;
}
