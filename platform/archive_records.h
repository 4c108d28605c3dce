#pragma once

#include "archive.h"
#include "drawing_records.h"

// The font, pen and brush records as documents store them.

// int32 height, width, escapement, orientation, weight; one byte each for
// italic, underline, strike-out, character set, output precision, clip
// precision, quality, pitch and family; the face name as a counted string.
void WriteLogFont(Archive& archive, const LogFont& font);
// A stored face name longer than the record holds is cut to its first
// LogFont::kMaxFaceLength characters; a height or width beyond
// LogFont::kMaxSize is read as that size, with its sign.
LogFont ReadLogFont(Archive& archive);

// int32 colour, style, width x, width y.
void WriteLogPen(Archive& archive, const LogPen& pen);
LogPen ReadLogPen(Archive& archive);

// int32 colour, hatch, style.
void WriteLogBrush(Archive& archive, const LogBrush& brush);
LogBrush ReadLogBrush(Archive& archive);
