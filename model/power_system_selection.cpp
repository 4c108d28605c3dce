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
    toolState_ = 0;
    // A line left with one node or none was never finished.
    if (current_ && HasPath(current_->GetType(true)) && current_->GetNodeCount() <= 1) {
        DeleteElement(current_);
    }
    current_ = nullptr;
    toolState_ = 1;
    if (hadSelection && view_) {
        view_->InvalidateAll();
        view_->Update();
    }
}
