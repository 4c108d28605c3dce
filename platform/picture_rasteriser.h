#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Turns a stored picture (the bytes of an enhanced metafile) into pixels, for
// a surface that cannot carry one picture inside another.
class IPictureRasteriser {
public:
    // The picture stretched over width x height pixels, rows from the top,
    // each pixel 0xAARRGGBB with its colour premultiplied by its alpha; what
    // the picture leaves uncovered is transparent. Empty when the bytes are
    // no picture that can be drawn.
    virtual std::vector<std::uint32_t> Rasterise(std::span<const std::uint8_t> metafile, int width, int height) = 0;

protected:
    ~IPictureRasteriser() = default;
};
