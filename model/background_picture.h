#pragma once

#include <cstdint>
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
