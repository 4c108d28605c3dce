#pragma once

// The items of a colour picker's popup: the colour cells 0 .. 39 and these.
enum PopupItem : int {
    kNoItem = -1,
    kCustomBox = -2,   // "More Colours..."
    kDefaultBox = -3,  // "Automatic"
};

enum class PopupMove { Left, Up, Right, Down };

// Which of the two optional boxes the popup shows.
struct PopupBoxes {
    bool hasDefault = false;
    bool hasCustom = false;
};

// The item an arrow key makes hot: the cells run in reading order, and the
// boxes sit before the first cell ("Automatic") and after the last one
// ("More Colours..."), so that stepping past either end wraps round through
// whichever boxes are present.
int NextPopupItem(int current, PopupMove move, PopupBoxes boxes);
