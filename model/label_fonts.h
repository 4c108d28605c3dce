#pragma once

#include <array>
#include <cstddef>

// The kinds of element for which the application keeps a list of label
// fonts (one font per label of that kind).
enum class LabelFontKind {
    Buses,
    Connectors,
    Lines,
    Transformers,
    Shunts,  // shunts, capacitors, reactors and reactor banks
    Loads,
    Generators,  // generators, compensators and capacitor banks
    Texts,       // free texts and system-information boxes
    FreeLines,
};
inline constexpr std::size_t kLabelFontKindCount = 9;

// How many labels of each kind take a font from the application's lists;
// indexed by LabelFontKind.
using LabelFontCounts = std::array<std::size_t, kLabelFontKindCount>;
