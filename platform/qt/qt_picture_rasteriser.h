#pragma once

#include "picture_rasteriser.h"

// Draws stored pictures with the player the screen uses.
class QtPictureRasteriser final : public IPictureRasteriser {
public:
    std::vector<std::uint32_t> Rasterise(std::span<const std::uint8_t> metafile, int width, int height) override;
};
