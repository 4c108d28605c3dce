#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geometry.h"

// A picture laid under the diagram (a layer): an enhanced metafile stretched
// into its rectangle, drawn only while shown.
struct BackgroundPicture {
    bool shown = true;
    Rect rect;  // logical diagram units
    std::string name;
    std::vector<std::uint8_t> metafile;  // the metafile's bytes as stored
};

using BackgroundPictures = std::vector<BackgroundPicture>;

// The rectangle of a layer whose picture has no bounds of its own.
inline constexpr Rect kDefaultLayerRect{0, 0, 100, 100};

// A shown layer of that name holding the picture, in the bounds its header
// gives (kDefaultLayerRect when asked for, or when the bounds hold no area).
// Nothing when the bytes fail the checks of enhanced metafiles.
std::optional<BackgroundPicture> LayerOfMetafile(std::vector<std::uint8_t> metafile, std::string name,
                                                 bool useDefaultRect);
