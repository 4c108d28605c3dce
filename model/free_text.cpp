// Free texts and system-information boxes.

#include "free_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "power_system.h"

namespace {

Rect Normalized(Rect r) {
    r.Normalize();
    return r;
}

}  // namespace

FreeText::FreeText(PowerSystem* owner, int key, Point point, int category)
    : EEElement(owner, key, point, point, category) {
    CreateLabels(point);
    RecalcGeometry();
}

FreeText::FreeText(PowerSystem* owner, int key, Point point) : FreeText(owner, key, point, Category::FreeText) {}

FreeText::FreeText() {
    category_ = Category::FreeText;
    AddLabel({}, true);
}

void FreeText::CreateLabels(Point anchor) {
    labels_.clear();
    labelFlags_.clear();
    selectedLabel_ = -1;
    AddLabel(anchor, true);
}

void FreeText::UpdateResultLabel(const double*) { ShowText(name_); }

void FreeText::SetName(std::string_view name) {
    EEElement::SetName(name);
    ShowText(name_);
}

void FreeText::ShowText(const std::string& text) {
    labels_[0]->SetText(text);
    RecalcGeometry();
}

std::unique_ptr<IElement> FreeText::Duplicate(bool forClipboard) {
    if (!owner_) return nullptr;
    int key = owner_->NewKey(category_, forClipboard);
    std::unique_ptr<IElement> copy = CreateNew(owner_, key, ends_[0], 0);
    CopyAttributesTo(copy.get());
    copy->SetName(name_);
    // A system-information box keeps the total it shows.
    if (double* values = GetValues()) copy->UpdateResultLabel(values);
    copy->SetOn(on_);
    MoveByDuplicationStep(*copy);
    return copy;
}

std::unique_ptr<IElement> FreeText::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<FreeText>(owner, key, point);
}

bool FreeText::IntersectsRect(Rect& out, const Rect& area, bool) {
    return IntersectRect(Normalized(area), Normalized(rect_), out);
}

bool FreeText::SetSelected(bool selected) {
    bool previous = selected_;
    selected_ = selected;
    labels_[0]->SetHighlight(selected);
    return previous;
}

void FreeText::RecalcGeometry() { rect_ = labels_[0]->GetRect(); }

void FreeText::Draw(DrawingContext& dc) {
    if (IsAnySelected()) {
        labels_[0]->SetHighlight(true);
        selected_ = true;
    }
    labels_[0]->Draw(dc);
}

void FreeText::Serialize(Archive& archive) {
    EEElement::Serialize(archive);
    labels_[0]->Serialize(archive);
}

// --- System-information box ---

SystemInfo::SystemInfo(PowerSystem* owner, int key, Point point)
    : FreeText(owner, key, point, Category::SystemInfo) {
    labels_[0]->SetRightAligned(true);
    UpdateResultLabel(nullptr);
}

SystemInfo::SystemInfo() {
    category_ = Category::SystemInfo;
    labels_[0]->SetRightAligned(true);
}

void SystemInfo::GetValuesAndFlags(std::span<double>& values, std::vector<std::uint8_t>*& flags) {
    values = std::span<double>(&item_, 1);
    flags = &labelFlags_;
}

int SystemInfo::GetItem() const {
    // The dialogs may leave any number here.
    if (std::isnan(item_)) return 0;
    return static_cast<int>(std::clamp(item_, static_cast<double>(std::numeric_limits<int>::min()),
                                       static_cast<double>(std::numeric_limits<int>::max())));
}

void SystemInfo::UpdateResultLabel(const double* values) {
    if (values) item_ = values[0];
    int item = GetItem();
    // An index outside the totals shows the model's mark for one.
    double value = owner_ ? owner_->GetSystemTotal(item >> 1) : 0.0;
    std::string text(name_.size() + 64, '\0');
    int length = (item & kCaptionBit) != 0
                     ? std::snprintf(text.data(), text.size(), "%s%10.2f", name_.c_str(), value)
                     : std::snprintf(text.data(), text.size(), "%.2f", value);
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    ShowText(text);
}

std::unique_ptr<IElement> SystemInfo::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<SystemInfo>(owner, key, point);
}

void SystemInfo::Serialize(Archive& archive) {
    FreeText::Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteInt32(GetItem());
    } else {
        item_ = archive.ReadInt32();
    }
}
