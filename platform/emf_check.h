#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "geometry.h"

// The checks every enhanced metafile from outside passes before it is kept
// or played: a header record first with the signature, a header size that
// holds the fixed part and whose texts lie inside it, records that each lie
// within the bytes and hold what their own counts and offsets say, an end
// record, and a total size in the header equal to the bytes up to the end
// of that record. Bytes after the end record are not part of the picture.
// The header's bounds (device pixels, right and bottom included) when every
// check passes; nothing otherwise.
std::optional<Rect> CheckEnhancedMetafile(std::span<const std::uint8_t> metafile);

// Where the fields of the header record lie, by byte offset.
namespace EmfHeader {
inline constexpr std::size_t kBoundsAt = 8;
inline constexpr std::size_t kSignatureAt = 40;
inline constexpr std::size_t kTotalBytesAt = 48;
inline constexpr std::size_t kDescriptionLengthAt = 60;
inline constexpr std::size_t kDescriptionOffsetAt = 64;
inline constexpr std::size_t kPixelFormatSizeAt = 88;
inline constexpr std::size_t kPixelFormatOffsetAt = 92;
// Up to the device sizes in every file; the pixel-format fields follow in
// newer ones.
inline constexpr std::size_t kFixedSize = 88;
inline constexpr std::size_t kWithPixelFormatSize = 100;
}  // namespace EmfHeader

// The little-endian 32-bit value at the offset, which the caller has
// checked to lie within the bytes.
std::uint32_t EmfUInt32At(std::span<const std::uint8_t> bytes, std::size_t offset);
