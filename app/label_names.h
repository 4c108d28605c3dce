#pragma once

#include <span>
#include <string_view>

#include "label_fonts.h"

// The names of the label kinds that the line, fill and font dialog offers,
// one list per element family, in the order of the elements' labels.
enum class LabelFamily {
    Bus,
    NetworkEquivalent,
    SwitchingDevice,
    PowerLine,
    Transformer,
    Shunt,
    Load,
    Generator,
    TextAndDrawing,
    FreeLine,
    Defaults,  // "All Fonts": the default visual properties
};

std::span<const std::string_view> LabelNames(LabelFamily family);

// How many label fonts each kind of element takes: the length of its
// family's list.
LabelFontCounts LabelFontCountsOfLists();
