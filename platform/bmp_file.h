#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "color.h"

// A picture as 24-bit device-independent bitmap file bytes: the 14-byte file
// header ("BM", file size, offset 54 to the pixels), the 40-byte info header
// (one plane, 24 bits per pixel, no compression, no colour table), then the
// rows from the bottom up, three bytes blue, green, red per pixel, each row
// padded with zeros to a multiple of four bytes. `pixels` holds width x
// height colours row by row from the top; an empty picture has no rows.
std::vector<std::uint8_t> EncodeBmp24(int width, int height, std::span<const ColorRef> pixels);

// Writes EncodeBmp24's bytes as the whole file, through the safe replacement
// of files: on failure FileWriteError, with nothing left behind.
void WriteBmpFile(const std::filesystem::path& path, int width, int height, std::span<const ColorRef> pixels);
