#include "bmp_file.h"

#include <stdexcept>

#include "replacement_file.h"

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint16_t kBitsPerPixel = 24;

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(value & 0xFF);
    out.push_back(value >> 8);
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back((value >> shift) & 0xFF);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp24(int width, int height, std::span<const ColorRef> pixels) {
    if (width < 0 || height < 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        throw std::invalid_argument("bitmap pixels do not match its size");
    }
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
    const std::uint32_t imageSize = rowBytes * static_cast<std::uint32_t>(height);
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    std::vector<std::uint8_t> out;
    out.reserve(offset + imageSize);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, offset + imageSize);
    PutU32(out, 0);  // two reserved words
    PutU32(out, offset);

    PutU32(out, kInfoHeaderSize);
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(height));  // positive: rows from the bottom up
    PutU16(out, 1);
    PutU16(out, kBitsPerPixel);
    PutU32(out, 0);  // no compression
    PutU32(out, imageSize);
    PutU32(out, 0);  // pixels per metre, both ways: unknown
    PutU32(out, 0);
    PutU32(out, 0);  // colours used and important: no table
    PutU32(out, 0);

    // The rows are written in place; the padding stays zero.
    out.resize(offset + static_cast<std::size_t>(imageSize));
    std::uint8_t* at = out.data() + offset;
    for (int row = height - 1; row >= 0; --row, at += rowBytes) {
        const ColorRef* line = pixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
        for (int column = 0; column < width; ++column) {
            at[3 * column] = BlueOf(line[column]);
            at[3 * column + 1] = GreenOf(line[column]);
            at[3 * column + 2] = RedOf(line[column]);
        }
    }
    return out;
}

void WriteBmpFile(const std::filesystem::path& path, int width, int height, std::span<const ColorRef> pixels) {
    std::vector<std::uint8_t> bytes = EncodeBmp24(width, height, pixels);
    WriteFileReplacing(path, bytes);
}
