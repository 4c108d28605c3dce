#pragma once

#include <string_view>

#include "drawing_context.h"
#include "geometry.h"

// Where a line of text sits along one side of a rectangle.
enum class TextPlace { Start, Center, End };

// Draws one line of text inside `box` with the selected font: `across` places
// it from the box's left to right, `down` from its top to bottom. A font
// turned by 90 degrees (escapement 900) runs upwards, so its run is as tall
// as the text is wide and as wide as the text is high; every other font is
// placed unturned. The text may stick out of a box too small for it. The
// context's text alignment is left as it was.
void DrawTextInRect(DrawingContext& dc, const Rect& box, std::string_view text, TextPlace across, TextPlace down);
