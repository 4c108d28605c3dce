#pragma once

#include <QFont>
#include <QString>

#include "drawing_records.h"

// The installed family that stands in for a face of the original platform:
// the metric-compatible Liberation fonts for the faces that documents name,
// the face itself for any other.
QString SubstituteFace(std::string_view face);

// The font a LOGFONT describes, by value. A negative height is the character
// height in pixels, a positive one the cell height (ascent plus descent), 0
// the default cell of 16 pixels; a non-zero width stretches the average
// character to it; weight 0 reads as 400. The escapement is not a property
// of a QFont: whoever draws the text turns it.
QFont ToQFont(const LogFont& font);

// Writes what a font chooser can change (face, cut to the record's length,
// pixel height as a negative height, weight, italic, underline, strike-out)
// into `font`; its other fields are kept.
void ApplyQFont(const QFont& chosen, LogFont& font);
