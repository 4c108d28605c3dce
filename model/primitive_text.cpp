#include "primitive_text.h"

#include "archive_records.h"
#include "diagram_archive.h"
#include "text_measurer.h"
#include "view.h"

namespace {

LogFont DefaultLabelFont() {
    LogFont font;
    font.height = -11;
    font.SetFaceName("Arial");
    return font;
}

void InvalidateInView(IView& view, Rect r) {
    Point scroll = view.GetScrollPosition();
    r.Offset(-scroll.x, -scroll.y);
    view.InvalidateRect(r);
}

}  // namespace

PrimitiveText::PrimitiveText(Point at, ITextMeasurer* measurer)
    : font_(DefaultLabelFont()), rect_{at.x, at.y - 10, at.x, at.y - 10}, measurer_(measurer) {}

void PrimitiveText::SetMeasurer(ITextMeasurer* measurer) {
    if (measurer != measurer_) measuredExtent_.reset();
    measurer_ = measurer;
}

void PrimitiveText::SetText(std::string_view text) {
    if (text != text_) measuredExtent_.reset();
    text_ = text;
    changed_ = true;
    extentPending_ = true;
}

void PrimitiveText::SetFont(const LogFont& font) {
    if (!(font == font_)) measuredExtent_.reset();
    font_ = font;
    changed_ = true;
    extentPending_ = true;
}

void PrimitiveText::SetPosition(Point p) {
    rect_.top = p.y;
    (rightAligned_ ? rect_.right : rect_.left) = p.x;
    changed_ = true;
}

const Rect& PrimitiveText::GetRect() {
    Measure(nullptr);
    return rect_;
}

void PrimitiveText::SetColor(ColorRef color) {
    color_ = color;
    changed_ = true;
}

void PrimitiveText::SetRect(const Rect& rect) {
    rect_ = rect;
    extentPending_ = false;
}

void PrimitiveText::MeasureIfPending() {
    if (extentPending_) Measure(nullptr);
}

bool PrimitiveText::HitTest(Point p) {
    MeasureIfPending();
    highlighted_ = rect_.Contains(p);
    return highlighted_;
}

void PrimitiveText::Move(int dx, int dy, IView* view) {
    MeasureIfPending();
    if (view) InvalidateInView(*view, rect_);
    rect_.Offset(dx, dy);
    if (view) InvalidateInView(*view, rect_);
    Measure(nullptr);
}

void PrimitiveText::ApplyExtent(Size extent) {
    if (rightAligned_) {
        rect_.left = rect_.right - extent.cx;
    } else {
        rect_.right = rect_.left + extent.cx;
    }
    rect_.bottom = rect_.top + extent.cy;
    rect_.Normalize();
}

void PrimitiveText::Measure(DrawingContext* dc) {
    if (!dc) {
        // A provisional extent; the flag stays for the real surface.
        if (!measurer_) return;
        if (!measuredExtent_) measuredExtent_ = measurer_->TextExtent(font_, text_);
        ApplyExtent(*measuredExtent_);
        extentPending_ = false;
        return;
    }
    LogFont previous = dc->SelectFont(font_);
    ApplyExtent(dc->GetTextExtent(text_));
    dc->SelectFont(previous);
    changed_ = false;
    extentPending_ = false;
}

void PrimitiveText::Draw(DrawingContext& dc) { DrawInColor(dc, highlighted_ ? highlightColor_ : color_); }

void PrimitiveText::DrawInColor(DrawingContext& dc, ColorRef color) {
    if (changed_) Measure(&dc);
    LogFont previousFont = dc.SelectFont(font_);
    ColorRef previousColor = dc.SetTextColor(color);
    dc.TextOut({rect_.left, rect_.top}, text_);
    dc.SetTextColor(previousColor);
    dc.SelectFont(previousFont);
}

void PrimitiveText::Serialize(Archive& archive) {
    if (archive.IsStoring()) {
        MeasureIfPending();
        archive.WriteByte(rightAligned_ ? 1 : 0);
        archive.WriteByte(highlighted_ ? 1 : 0);
        archive.WriteByte(changed_ ? 1 : 0);
        WriteRect(archive, rect_);
        archive.WriteUInt32(color_);
        archive.WriteUInt32(highlightColor_);
        WriteLogFont(archive, font_);
        return;
    }
    bool rightAligned = archive.ReadByte() == 1;
    bool highlighted = archive.ReadByte() == 1;
    archive.ReadByte();  // changed: a loaded text is measured again anyway
    Rect rect = ReadRect(archive);
    ColorRef color = archive.ReadUInt32();
    ColorRef highlightColor = archive.ReadUInt32();
    LogFont font = ReadLogFont(archive);
    rightAligned_ = rightAligned;
    highlighted_ = highlighted;
    rect_ = rect;
    color_ = color;
    highlightColor_ = highlightColor;
    SetFont(font);
}
