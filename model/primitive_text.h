#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "archive.h"
#include "color.h"
#include "drawing_context.h"
#include "drawing_records.h"
#include "geometry.h"

class ITextMeasurer;
class IView;

// One positioned string with its own font and colours: the name and result
// labels of the elements and the body of the free texts. Its rectangle is
// anchored at its top-left corner, or top-right when right-aligned, and
// takes the text's measured extent. A change is measured with the text
// measurer (when it has one) as soon as the rectangle is asked for, and
// again, for real, on the surface of its next drawing. The measurer's extent
// is kept until the text, the font or the measurer changes: opening a
// document sets every label, and painting asks for the rectangle of every
// label it passes. Logical diagram units.
class PrimitiveText {
public:
    // The anchor 10 units above `at`; the measurer is borrowed and may be
    // null (the text is then measured when it is first drawn).
    explicit PrimitiveText(Point at, ITextMeasurer* measurer = nullptr);

    void SetMeasurer(ITextMeasurer* measurer);

    void SetText(std::string_view text);
    const std::string& GetText() const { return text_; }
    void SetFont(const LogFont& font);
    const LogFont& GetFont() const { return font_; }
    // Moves the anchor: the top edge, and the left edge (the right one when
    // right-aligned). Measured on the next drawing.
    void SetPosition(Point p);
    void SetRect(const Rect& rect);
    // Measures first.
    const Rect& GetRect();
    void SetColor(ColorRef color);
    ColorRef GetColor() const { return color_; }
    ColorRef GetHighlightColor() const { return highlightColor_; }
    void SetRightAligned(bool rightAligned) { rightAligned_ = rightAligned; }
    bool IsRightAligned() const { return rightAligned_; }
    void SetHighlight(bool highlighted) { highlighted_ = highlighted; }
    bool IsHighlighted() const { return highlighted_; }
    bool IsChanged() const { return changed_; }

    // The point lies in the rectangle (right and bottom edges outside); the
    // answer also becomes the highlight.
    bool HitTest(Point p);
    // Offsets the rectangle; with a view, the old and the new place are
    // marked for repainting there.
    void Move(int dx, int dy, IView* view);
    // On the drawing surface when given (the text is then up to date), else
    // with the measurer.
    void Measure(DrawingContext* dc);
    // At the top-left corner in the highlight or the normal colour, with the
    // caller's background mode; the context's font and text colour are put
    // back afterwards.
    void Draw(DrawingContext& dc);
    // The same in the colour given instead of its own.
    void DrawInColor(DrawingContext& dc, ColorRef color);

    // Flags, rectangle, colours and font; not the text, which its element
    // stores or rebuilds. A loaded text is measured again.
    void Serialize(Archive& archive);

private:
    void ApplyExtent(Size extent);
    // Takes the measurer's extent when the text or font changed since the
    // rectangle was last measured or set.
    void MeasureIfPending();

    bool rightAligned_ = false;
    bool highlighted_ = false;
    bool changed_ = true;
    bool extentPending_ = false;
    ColorRef highlightColor_ = kBlue;
    ColorRef color_ = kBlack;
    LogFont font_;
    Rect rect_;
    std::string text_;
    ITextMeasurer* measurer_;
    // The measurer's extent of the text in the font, once asked.
    std::optional<Size> measuredExtent_;
};
