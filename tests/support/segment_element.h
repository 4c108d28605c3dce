#pragma once

#include <memory>
#include <span>
#include <stdexcept>
#include <utility>

#include "ee_element.h"
#include "power_system.h"

// The element base as a kind of its own: a segment between its two ends
// with a rectangle the test sets, and the results that drawing reads set by
// hand. Everything else is the base's behaviour.
class SegmentElement : public EEElement {
public:
    static constexpr int kClassType = 31;

    using EEElement::EEElement;
    using EEElement::AddLabel;
    using EEElement::FillInPenColor;
    using EEElement::FindNeighbourForDrawing;
    using EEElement::SerializeLabels;

    int GetElementType() const override { return kClassType; }
    bool IsNetworkElement() const override { return networkElement; }
    bool IsOverLimit() const override { return overLimit; }
    double GetBaseVoltage() const override { return baseVoltage; }
    double GetLoadingIndex() const override { return loading; }
    double GetVoltageIndex() const override { return voltage; }
    void RecalcGeometry() override { ++recalculations; }

    void SetRect(const Rect& rect) { rect_ = rect; }
    void SetArchivedLabelCount(int count) { archivedLabelCount_ = count; }
    void SetEndKeys(int end0, int end1) { endKeys_ = {end0, end1}; }
    Point End(int end) const { return ends_[end]; }
    void SetSelectedLabelIndex(int index) { selectedLabel_ = index; }

    bool networkElement = true;
    bool overLimit = false;
    double baseVoltage = 0.0;  // kV
    double loading = 0.0;      // fraction of the rating
    double voltage = 0.0;      // p.u.
    int recalculations = 0;
};

// Makes a segment element of the category in the model under a new key,
// with the rectangle, and files it; the model owns it afterwards.
inline SegmentElement& AddSegment(PowerSystem& model, int category, Point p0, Point p1, Rect rect = {}) {
    auto element = std::make_unique<SegmentElement>(&model, model.NewKey(category, false), p0, p1, category);
    element->SetRect(rect);
    if (!model.AddElement(element.get())) throw std::logic_error("the segment element was not filed");
    return *element.release();
}
