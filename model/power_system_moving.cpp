// Moving on the diagram: the selection, a list, the whole diagram, the
// diagram's growth past its edges, and dragging an end of the current
// element with the node mover.

#include <climits>

#include "element_interface.h"
#include "power_system.h"
#include "view.h"

namespace {

// The diagram grows by this much (logical units) past an edge.
constexpr int kDiagramGrowth = 500;
// What the node mover asks of DragHandle: move the handle by the offset.
constexpr int kDragMove = 4;
// A drag handle carries the end or node in its lower 16 bits under this
// marker.
constexpr unsigned kHandleMarker = 0xFFFF0000u;
// The cursor codes told to the view while the node mover hovers.
constexpr int kCursorOverEnd = 3;
constexpr int kCursorElsewhere = 4;

}  // namespace

bool PowerSystem::MoveSelection(int dx, int dy, bool noRedraw) {
    if (selection_.IsEmpty()) return false;
    marked_.DeleteAll();
    MoveList(selection_, dx, dy, true);
    if (noRedraw) return false;
    GrowAndRedraw(&selection_);
    return true;
}

void PowerSystem::MoveList(const ElementList& list, int dx, int dy, bool withConnected) {
    for (const auto& [key, element] : list.Entries()) element->Move(dx, dy, withConnected);
}

void PowerSystem::MoveAll(int dx, int dy) {
    // An element with a selected label would move only that label.
    DeselectAll();
    for (auto& list : lists_) MoveList(list, dx, dy, false);
    GrowAndRedraw(nullptr);
}

bool PowerSystem::GrowDiagram(const ElementList* list) {
    Rect bounds;
    if (list) {
        bounds = list->GetExtent();
    } else {
        GetBoundingRect(bounds);
    }
    Size size = diagramSize_;
    if (bounds.right > size.cx && size.cx <= INT_MAX - kDiagramGrowth) size.cx += kDiagramGrowth;
    if (bounds.bottom > size.cy && size.cy <= INT_MAX - kDiagramGrowth) size.cy += kDiagramGrowth;
    if (size == diagramSize_) return false;
    diagramSize_ = size;
    if (view_) view_->SetScrollSizes(size);
    return true;
}

bool PowerSystem::BeginHandleDrag(Point point) {
    IElement* element = nullptr;
    if (!editMode_ || !GetNodeEditElement(element)) return false;
    Point end;
    int handle = element->SnapToEnd(point, end);
    if (handle < 0) return false;
    dragHandle_ = handle;
    dragPoint_ = end;
    toolState_ = kDraggingHandle;
    return true;
}

bool PowerSystem::DragHandleEvent(int tool, int flags, Point point) {
    if (tool != EditTool::MoveNodes || !editMode_) return false;
    if (!current_ || !current_->IsAnySelected()) return true;
    if ((flags & MouseFlag::LeftButton) != 0 && toolState_ == kDraggingHandle && dragHandle_ >= 0) {
        const int handle = static_cast<int>(kHandleMarker | static_cast<unsigned>(dragHandle_));
        current_->DragHandle(kDragMove, handle, {point.x - dragPoint_.x, point.y - dragPoint_.y});
        dragPoint_ = point;
        return true;
    }
    Point end;
    const bool overEnd = current_->SnapToEnd(point, end) >= 0;
    if (view_) view_->ToolStateChanged(flags, overEnd ? kCursorOverEnd : kCursorElsewhere);
    toolState_ = kIdle;
    return true;
}
