// Copies of elements: cut and copy into the application's clipboard, paste
// from it at a point, and duplicating the selection in place.

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "element_interface.h"
#include "power_system.h"

namespace {

// Whole grid steps from `from` to `to`, rounded down.
int StepsBetween(int from, int to, int step) {
    long long offset = static_cast<long long>(to) - from;
    long long steps = offset / step;
    if (offset % step != 0 && offset < 0) --steps;
    return static_cast<int>(steps);
}

}  // namespace

bool PowerSystem::PasteElements(const ElementList& source, bool selectCopies, ElementList* target,
                                bool fromClipboard) {
    if (fromClipboard) DeselectAll();
    // Taken first: the source may be the selection, which changes below.
    std::vector<IElement*> originals;
    for (const auto& [key, element] : source.Entries()) originals.push_back(element);

    std::map<int, int> newKeys;
    std::vector<std::pair<IElement*, IElement*>> copies;  // (original, copy)
    for (IElement* original : originals) {
        // A clipboard element has no owner but needs one to copy itself.
        if (fromClipboard) original->SetOwner(this);
        std::unique_ptr<IElement> copy = original->Duplicate(target != nullptr);
        if (fromClipboard) original->SetOwner(nullptr);
        if (!copy) continue;
        // A copy that is refused is deleted as it goes: it is attached to
        // nothing yet.
        if (target) {
            if (!target->Add(copy->GetKey(), copy.get())) continue;
        } else {
            original->SetSelected(false);
            if (!fromClipboard && selection_.Find(original->GetKey()) == original) {
                selection_.Remove(original->GetKey());
            }
            if (!AddElement(copy.get())) continue;
        }
        newKeys[original->GetKey()] = copy->GetKey();
        copies.emplace_back(original, copy.release());
    }
    for (auto& [original, copy] : copies) copy->RemapConnections(*original, newKeys);

    if (selectCopies) {
        DeselectAll();
        for (auto& [original, copy] : copies) {
            copy->SetSelected(true);
            AddToSelection(copy);
        }
    }
    return !copies.empty();
}

bool PowerSystem::CutOrCopy(bool cut) {
    if (!editMode_ || selection_.IsEmpty() || !clipboard_) return false;
    clipboard_->DeleteAll();
    PasteElements(selection_, false, clipboard_, false);
    for (const auto& [key, element] : clipboard_->Entries()) element->SetOwner(nullptr);
    if (!cut) return false;

    std::vector<IElement*> selected;
    for (const auto& [key, element] : selection_.Entries()) selected.push_back(element);
    for (IElement* element : selected) DeleteElement(element);
    DeselectAll();
    current_ = nullptr;
    toolState_ = kNothingUnderWork;
    RedrawView();
    return true;
}

bool PowerSystem::PasteAt(Point point) {
    if (!editMode_ || !clipboard_ || clipboard_->IsEmpty()) return false;
    // For this paste the duplication steps carry the group's top-left
    // corner to the point; without a grid, to the point exactly.
    struct SavedSteps {
        PowerSystem& model;
        int horizontal = model.duplicationHorizontal_;
        int vertical = model.duplicationVertical_;
        int gridStep = model.gridStep_;
        ~SavedSteps() {
            model.duplicationHorizontal_ = horizontal;
            model.duplicationVertical_ = vertical;
            model.gridStep_ = gridStep;
        }
    } saved{*this};
    if (gridStep_ <= 0) gridStep_ = 1;
    const Rect extent = clipboard_->GetExtent();
    duplicationHorizontal_ = StepsBetween(extent.left, point.x, gridStep_);
    duplicationVertical_ = StepsBetween(extent.top, point.y, gridStep_);
    if (!PasteElements(*clipboard_, true, nullptr, true)) return false;
    GrowAndRedraw(&selection_);
    return true;
}
