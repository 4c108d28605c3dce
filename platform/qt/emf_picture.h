#pragma once

#include <cstdint>
#include <span>

#include <QRectF>

class QPainter;

// Plays the bytes of an enhanced metafile stretched into `where`. False,
// with nothing drawn, when the bytes are not a picture that can be shown.
bool PlayEnhancedMetafile(QPainter& painter, std::span<const std::uint8_t> metafile, const QRectF& where);
