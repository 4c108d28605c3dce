#pragma once

#include <cstdint>
#include <span>

#include <QSize>

// The formats a picture goes on the clipboard in: the enhanced metafile's
// own bytes, and beside them a PNG drawn from it for programs that take no
// metafile.
inline constexpr const char* kMetafileMimeType = "image/x-emf";
inline constexpr const char* kPngMimeType = "image/png";

// Puts the metafile on the clipboard with its PNG of `size` pixels. False,
// with the clipboard unchanged, when the bytes are no picture that can be
// drawn or the size is empty.
bool PutPictureOnClipboard(std::span<const std::uint8_t> metafile, QSize size);
