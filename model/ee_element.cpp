// The element base: construction and destruction, identity, attributes,
// labels, dialogs and the archive block.

#include "ee_element.h"

#include <algorithm>

#include "archive_records.h"
#include "diagram_archive.h"
#include "element_key.h"
#include "font_setting.h"
#include "power_system.h"
#include "prompt.h"
#include "segment_distance.h"
#include "view.h"

namespace {

// A selected label is archived as its index, none as 0xFF.
constexpr std::uint8_t kNoLabelByte = 0xFF;

}  // namespace

EEElement::EEElement(PowerSystem* owner, int key, Point p0, Point p1, int category)
    : center_{(p0.x + p1.x) / 2, (p0.y + p1.y) / 2},
      category_(category),
      owner_(owner),
      ends_{p0, p1},
      key_(key) {
    lineColor_ = owner ? owner->GetLineColor() : kBlack;
    pen_ = LogPen{PenStyle::Solid, {owner ? owner->GetLineWidth() : 0, 0}, lineColor_};
    brush_ = LogBrush{BrushStyle::Solid, lineColor_, 0};
    // Buses are filled with their line colour, everything else with the
    // diagram's background.
    if (category != Category::Bus) brush_.color = owner ? owner->GetBackgroundColor() : kWhite;
}

EEElement::EEElement() = default;

EEElement::~EEElement() {
    if (!owner_) return;
    for (int end : {0, 1}) {
        if (!IsAttachedKey(endKeys_[end])) continue;
        if (IElement* neighbour = owner_->FindByKey(endKeys_[end])) neighbour->RemoveConnection(key_);
    }
    endKeys_ = {0, 0};
}

int EEElement::DistanceToSegment(Point a, Point b, Point p, Point& nearest) {
    return SquaredDistanceToSegment(a, b, p, nearest, NearestRounding::HalfDown);
}

void EEElement::SetOwner(PowerSystem* owner) {
    owner_ = owner;
    if (!owner) return;
    for (auto& label : labels_) label->SetMeasurer(owner->GetTextMeasurer());
}

double EEElement::GetMvaBase() const { return owner_ ? owner_->GetMvaBase() : 100.0; }

bool EEElement::GetOwnerLabelMode() const { return owner_ && owner_->IsRemote(); }

IElement* EEElement::FindElement(int key) { return owner_ ? owner_->FindByKey(key) : nullptr; }

void EEElement::GetValuesAndFlags(std::span<double>& values, std::vector<std::uint8_t>*& flags) {
    values = {};
    flags = &labelFlags_;
}

bool EEElement::GetFlowAtEnd(int, double& p, double& q, bool& pending) {
    p = q = 0.0;
    pending = false;
    return false;
}

void EEElement::SetOn(bool on) {
    on_ = on;
    UpdateResultLabel(nullptr);
}

void EEElement::SetColor(ColorRef color) {
    lineColor_ = color;
    pen_.color = color;
    if (category_ == Category::Bus) brush_.color = color;
}

void EEElement::SetBrushColor(ColorRef color) {
    if (category_ != Category::Bus) SetFillColor(color);
}

int EEElement::GetPenWidth() const { return pen_.width.x == 0 ? 1 : pen_.width.x; }

void EEElement::SetPenWidth(int width) {
    // Width 0 draws one pixel wide on every surface, as width 1 means.
    pen_.width = {width == 1 ? 0 : width, 0};
}

PrimitiveText* EEElement::GetLabel(int index) {
    if (index < 0 || index >= GetLabelCount()) return nullptr;
    return labels_[static_cast<std::size_t>(index)].get();
}

bool EEElement::IsLabelShown(int index) const {
    if (index < 0 || index >= GetLabelCount() || static_cast<std::size_t>(index) >= labelFlags_.size()) {
        return false;
    }
    return labelFlags_[static_cast<std::size_t>(index)] != 0;
}

bool EEElement::HasSelectedLabel() const { return selectedLabel_ >= 0 && selectedLabel_ < GetLabelCount(); }

void EEElement::SetLabelColor(int index, ColorRef color) {
    if (PrimitiveText* label = GetLabel(index)) label->SetColor(color);
}

void EEElement::SetLabelFont(int index, const LogFont& font) {
    if (PrimitiveText* label = GetLabel(index)) label->SetFont(font);
}

PrimitiveText& EEElement::AddLabel(Point at, bool shown) {
    labels_.push_back(std::make_unique<PrimitiveText>(at, owner_ ? owner_->GetTextMeasurer() : nullptr));
    labelFlags_.resize(std::max(labelFlags_.size(), labels_.size()), 0);
    labelFlags_[labels_.size() - 1] = shown ? 1 : 0;
    return *labels_.back();
}

void EEElement::ApplyDefaultLabelFont() {
    if (!owner_) return;
    for (auto& label : labels_) {
        label->SetFont(owner_->GetDefaultFont());
        label->SetColor(owner_->GetFontColor());
    }
}

void EEElement::CopyAttributesTo(IElement* target) {
    if (!target) return;
    target->SetColor(lineColor_);
    target->SetFillColor(GetFillColor());
    target->SetPenWidth(GetPenWidth());
    auto* other = dynamic_cast<EEElement*>(target);
    if (!other) return;
    int common = std::min(GetLabelCount(), other->GetLabelCount());
    for (int i = 0; i < common; ++i) {
        PrimitiveText& from = *labels_[static_cast<std::size_t>(i)];
        PrimitiveText& to = *other->labels_[static_cast<std::size_t>(i)];
        to.SetFont(from.GetFont());
        to.SetColor(from.GetColor());
        to.SetRect(from.GetRect());
    }
    std::size_t flags = std::min(labelFlags_.size(), other->labelFlags_.size());
    std::copy_n(labelFlags_.begin(), flags, other->labelFlags_.begin());
}

bool EEElement::EditFillAndFont() {
    IView* view = owner_ ? owner_->GetView() : nullptr;
    if (!view) return false;
    std::vector<FontSetting> fonts(labels_.size());
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        fonts[i].font = labels_[i]->GetFont();
        fonts[i].color = labels_[i]->GetColor();
    }
    std::optional<ColorRef> color = view->EditFillAndFont(this, fonts);
    if (!color) return false;
    SetColor(*color);
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        labels_[i]->SetColor(fonts[i].color);
        labels_[i]->SetFont(fonts[i].font);
    }
    // A new font may make the labels much larger.
    InvalidateGrown(CalcBoundingRect(), 50);
    owner_->InvalidateArea(nullptr);
    return true;
}

bool EEElement::ShowProperties() {
    IView* view = owner_ ? owner_->GetView() : nullptr;
    return view && view->OpenProperties(this, 0);
}

void EEElement::MoveByDuplicationStep(IElement& copy) const {
    if (!owner_) return;
    int dx = 0;
    int dy = 0;
    int longMove = 0;
    owner_->GetDuplicationSteps(dx, dy, longMove);
    int step = owner_->GetGridStep();
    copy.Move(step * dx, step * dy, false);
}

void EEElement::ShowMessage(std::string_view text) const {
    IPrompt* prompt = owner_ ? owner_->GetPrompt() : nullptr;
    if (prompt) prompt->MessageBox(text, "", PromptIcon::Warning, PromptButtons::Ok);
}

void EEElement::InvalidateGrown(const Rect& rect, int margin) {
    if (!owner_) return;
    Size by{margin, margin};
    owner_->InvalidateArea(&rect, &by);
}

void EEElement::Serialize(Archive& archive) {
    if (archive.IsStoring()) {
        archive.WriteInt32(key_);
        WriteRect(archive, rect_);
        archive.WriteString(name_);
        for (bool flag : {on_, orientation_, selected_, highlighted_}) archive.WriteByte(flag ? 1 : 0);
        for (Point end : ends_) WritePoint(archive, end);
        archive.WriteInt32(endKeys_[0]);
        archive.WriteInt32(endKeys_[1]);
        archive.WriteByte(selectedLabel_ < 0 ? kNoLabelByte : static_cast<std::uint8_t>(selectedLabel_));
        archive.WriteUInt32(lineColor_);
        WriteLogBrush(archive, brush_);
        WriteLogPen(archive, pen_);
        archive.WriteCount(labelFlags_.size());
        for (std::uint8_t flag : labelFlags_) archive.WriteByte(flag);
        return;
    }
    // Read into locals first: a short block leaves the element as it was.
    int key = archive.ReadInt32();
    Rect rect = ReadRect(archive);
    std::string name = archive.ReadString();
    bool on = archive.ReadByte() != 0;
    // These three count as set only for the byte 1.
    bool orientation = archive.ReadByte() == 1;
    bool selected = archive.ReadByte() == 1;
    bool highlighted = archive.ReadByte() == 1;
    std::array<Point, 2> ends{ReadPoint(archive), {}};
    ends[1] = ReadPoint(archive);
    std::array<int, 2> endKeys{archive.ReadInt32(), 0};
    endKeys[1] = archive.ReadInt32();
    int selectedLabel = static_cast<std::int8_t>(archive.ReadByte());
    ColorRef lineColor = archive.ReadUInt32();
    LogBrush brush = ReadLogBrush(archive);
    LogPen pen = ReadLogPen(archive);
    std::vector<std::uint8_t> flags(archive.ReadCount(1));
    for (std::uint8_t& flag : flags) flag = archive.ReadByte();

    key_ = key;
    rect_ = rect;
    name_ = std::move(name);
    on_ = on;
    orientation_ = orientation;
    selected_ = selected;
    highlighted_ = highlighted;
    ends_ = ends;
    endKeys_ = endKeys;
    selectedLabel_ = selectedLabel < 0 ? -1 : selectedLabel;
    lineColor_ = lineColor;
    brush_ = brush;
    pen_ = pen;
    labelFlags_ = std::move(flags);
}

void EEElement::SerializeLabels(Archive& archive) {
    // The flags were read with the base block; labels made here leave them
    // as they are.
    ITextMeasurer* measurer = owner_ ? owner_->GetTextMeasurer() : nullptr;
    while (GetLabelCount() < archivedLabelCount_) {
        labels_.push_back(std::make_unique<PrimitiveText>(Point{}, measurer));
    }
    for (int i = 0; i < archivedLabelCount_; ++i) labels_[static_cast<std::size_t>(i)]->Serialize(archive);
}
