#pragma once

#include <memory>
#include <string>

#include "ee_element.h"
#include "element_key.h"
#include "element_type.h"

// A text placed on the diagram that belongs to no network. Its one label,
// always shown, holds the element's name, which is the text the user typed;
// the element's rectangle is the label's measured rectangle and both its
// end points are the anchor it was placed at.
class FreeText : public EEElement {
public:
    FreeText(PowerSystem* owner, int key, Point point);
    // An empty text that an archive fills.
    FreeText();

    int GetElementType() const override { return ElementType::FreeText; }
    bool IsNetworkElement() const override { return false; }
    // The label shows the name again.
    void UpdateResultLabel(const double* values) override;
    void SetName(std::string_view name) override;

    std::unique_ptr<IElement> Duplicate(bool forClipboard) override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    // One shown label at the point.
    void CreateLabels(Point anchor) override;

    // The common part of the area and the text; `labels` is not needed, the
    // text is its label.
    bool IntersectsRect(Rect& out, const Rect& area, bool labels) override;
    // The label is highlighted while the text is selected.
    bool SetSelected(bool selected) override;
    void RecalcGeometry() override;
    void Draw(DrawingContext& dc) override;
    // The element block, then the label.
    void Serialize(Archive& archive) override;

protected:
    FreeText(PowerSystem* owner, int key, Point point, int category);
    // The label shows the text and the element takes its rectangle.
    void ShowText(const std::string& text);
};

// A box that shows one of the model's system totals, with the element's
// name as a caption when asked. Its label is right-aligned, so the box grows
// to the left of its anchor.
class SystemInfo : public FreeText {
public:
    // The item: bit 0 asks for the caption, the rest (item >> 1) is the
    // index of the total, 0-9.
    static constexpr int kCaptionBit = 1;

    SystemInfo(PowerSystem* owner, int key, Point point);
    SystemInfo();

    int GetElementType() const override { return ElementType::SystemInfo; }
    // With values, the first is the new item. Then the label shows the
    // total: "%s%10.2f" after the caption, else "%.2f".
    void UpdateResultLabel(const double* values) override;
    // The item, for the properties dialog to edit in place.
    double* GetValues() override { return &item_; }
    void GetValuesAndFlags(std::span<double>& values, std::vector<std::uint8_t>*& flags) override;
    int GetItem() const;

    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    // The text's block, then the item as int32.
    void Serialize(Archive& archive) override;

private:
    // Held as a double so that the dialogs reach it as every kind's values.
    double item_ = 0.0;
};
