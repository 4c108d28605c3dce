// The selection, the elements marked during one move, and the current
// element.

#include "element_interface.h"
#include "element_key.h"
#include "element_type.h"
#include "power_system.h"
#include "view.h"

namespace {

// One-ports and banks move with the bus they hang on even when they are
// selected themselves.
bool FollowsItsBus(int category) {
    return (category >= Category::Load && category <= Category::Capacitor) ||
           category == Category::CapacitorBank || category == Category::ReactorBank;
}

// A line, transformer or free line.
bool HasPath(int classType) {
    return classType >= ElementType::PowerLine && classType <= ElementType::FreeLine;
}

}  // namespace

void PowerSystem::AddToSelection(IElement* element) { selection_.Add(element->GetKey(), element); }

bool PowerSystem::AddToMarked(IElement* element) {
    int key = element->GetKey();
    if (marked_.Contains(key)) return false;
    if (selection_.Contains(key) && !FollowsItsBus(element->GetType(false))) return false;
    marked_.Add(key, element);
    return true;
}

bool PowerSystem::HasSelection() const {
    if (editMode_) return !selection_.IsEmpty();
    return current_ && current_->IsAnySelected();
}

bool PowerSystem::GetNodeEditElement(IElement*& element) const {
    if (!current_ || !current_->HasFreeEnd() || !current_->IsAnySelected()) return false;
    element = current_;
    return true;
}

bool PowerSystem::GlueSelection() {
    if (!editMode_) return false;
    bool connected = false;
    for (const auto& [key, element] : selection_.Entries()) connected |= element->AutoConnect();
    if (connected && view_) {
        view_->InvalidateAll();
        view_->Update();
    }
    return connected;
}

void PowerSystem::ClearSelection() {
    bool hadSelection = !selection_.IsEmpty();
    for (const auto& [key, element] : selection_.Entries()) element->SetSelected(false);
    selection_.DeleteAll();
    toolState_ = kNothingUnderWork;
    // A line left with one node or none was never finished.
    if (current_ && HasPath(current_->GetType(true)) && current_->GetNodeCount() <= 1) {
        DeleteElement(current_);
    }
    current_ = nullptr;
    toolState_ = kIdle;
    if (hadSelection && view_) {
        view_->InvalidateAll();
        view_->Update();
    }
}

// --- Picking ---

namespace {

// The lists tried by a click, first hit wins: buses before the lines that
// end on them, the one-ports, the annotations last.
constexpr int kPickOrder[] = {
    Category::Bus,       Category::Line,      Category::Connector,     Category::Generator, Category::SyncCompensator,
    Category::VarCompensator, Category::Load, Category::Shunt,         Category::Capacitor, Category::CapacitorBank,
    Category::Reactor,   Category::FreeLine,  Category::FreeText,      Category::Polygon,   Category::SystemInfo,
};

// Redraw margin around the old and the new current element of a click.
constexpr int kPickMargin = 10;
// Redraw margin around a band selection.
constexpr int kBandMargin = 2;

}  // namespace

bool PowerSystem::HitTestList(Point point, int category, IElement*& element) {
    ElementList* list = GetElementList(category);
    if (!list) return false;
    for (const auto& [key, candidate] : list->Entries()) {
        if (candidate->HitTest(point)) {
            element = candidate;
            return true;
        }
    }
    return false;
}

bool PowerSystem::SelectAtPoint(Point point, bool add) {
    const Size margin{kPickMargin, kPickMargin};
    if (current_) {
        Rect area = current_->CalcBoundingRect();
        InvalidateArea(&area, &margin);
    }
    IElement* hit = nullptr;
    for (int category : kPickOrder) {
        if (HitTestList(point, category, hit)) break;
    }
    // Deselecting others shows beyond the two areas: redraw all then.
    bool othersChanged = false;
    if (hit) {
        current_ = hit;
        toolState_ = kPicked;
        dragPoint_ = point;
        SnapPoint(dragPoint_);
        const int key = hit->GetKey();
        const bool wasSelected = selection_.Find(key) == hit;
        if (!add && !wasSelected) {
            othersChanged = !selection_.IsEmpty();
            DeselectAll();
            AddToSelection(hit);
        } else if (add && wasSelected) {
            selection_.Remove(key);
            hit->SetSelected(false);
        } else if (add) {
            AddToSelection(hit);
        }
        ReassertSelection(hit);
        Rect area = hit->CalcBoundingRect();
        InvalidateArea(&area, &margin);
    } else {
        // Nothing picked: a drag that follows moves nothing.
        if (toolState_ == kPicked || toolState_ == kMovingSelection) toolState_ = kIdle;
        if (add) {
            ReassertSelection(nullptr);
        } else {
            othersChanged = !selection_.IsEmpty();
            DeselectAll();
        }
    }
    if (othersChanged) {
        RedrawView();
    } else {
        InvalidateArea(nullptr);
    }
    return hit != nullptr;
}

void PowerSystem::SelectInRect(const Rect& rect) {
    bool hadSelection = !selection_.IsEmpty();
    DeselectAll();
    for (const auto& list : lists_) SelectListInRect(list, rect);
    if (hadSelection) {
        RedrawView();
        return;
    }
    Rect area = rect;
    Size margin{kBandMargin, kBandMargin};
    InvalidateArea(&area, &margin);
    InvalidateArea(nullptr);
}

void PowerSystem::SelectListInRect(const ElementList& list, const Rect& rect) {
    for (const auto& [key, element] : list.Entries()) {
        if (!element->SelectInRect(rect)) continue;
        AddToSelection(element);
        current_ = element;
        toolState_ = kPicked;
    }
}

void PowerSystem::DeselectAll() {
    for (const auto& [key, element] : selection_.Entries()) element->SetSelected(false);
    selection_.DeleteAll();
}

void PowerSystem::ReassertSelection(const IElement* except) {
    // A hit test deselects every element it walks past; one that kept its
    // body or a label selected is left as it is.
    for (const auto& [key, element] : selection_.Entries()) {
        if (element != except && !element->IsAnySelected()) element->SetSelected(true);
    }
}
