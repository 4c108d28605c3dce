#pragma once

#include "color.h"
#include "drawing_records.h"

// The font and colour of one kind of label text. The fill-and-font dialog
// edits lists of them, one per label of an element; the application keeps
// one list per kind of element as the kind's defaults.
class FontSetting {
public:
    // "MS Sans Serif", height -12, weight 400, black.
    FontSetting();

    LogFont font;
    ColorRef color = kBlack;
};
