#include "text_in_rect.h"

namespace {

// Escapement, in tenths of a degree, of text that reads upwards.
constexpr int kUpwards = 900;

int Placed(int start, int end, int length, TextPlace place) {
    switch (place) {
        case TextPlace::Start: return start;
        case TextPlace::Center: return start + (end - start - length) / 2;
        case TextPlace::End: return end - length;
    }
    return start;
}

}  // namespace

void DrawTextInRect(DrawingContext& dc, const Rect& box, std::string_view text, TextPlace across, TextPlace down) {
    Size extent = dc.GetTextExtent(text);
    bool upwards = dc.State().font.escapement == kUpwards;
    int runWidth = upwards ? extent.cy : extent.cx;
    int runHeight = upwards ? extent.cx : extent.cy;
    int left = Placed(box.left, box.right, runWidth, across);
    int top = Placed(box.top, box.bottom, runHeight, down);
    // Text turned upwards starts at the bottom of its run, its top to the left.
    Point at = upwards ? Point{left, top + runHeight} : Point{left, top};
    unsigned previous = dc.SetTextAlign(TextAlign::Left | TextAlign::Top);
    dc.TextOut(at, text);
    dc.SetTextAlign(previous);
}
