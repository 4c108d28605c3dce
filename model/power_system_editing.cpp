// The edit events of the view: placing elements, drawing lines node by node,
// picking, moving with the mouse and the arrow keys, deleting, switching and
// the dialogs of the current element. Selection, moving and copying have
// their own files.

#include <optional>

#include "element_interface.h"
#include "element_key.h"
#include "element_type.h"
#include "power_system.h"
#include "view.h"

namespace {

// What an element asks its DragHandle to do while it is drawn node by node.
constexpr int kDragAddNode = 0;
constexpr int kDragFinish = 3;
constexpr int kDragFollow = 4;

// Virtual key codes of the key event.
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyDelete = 46;
constexpr int kKeyEscape = 27;

// Margins around a current element whose properties are edited: the area
// marked before the dialog and the one redrawn after it.
constexpr int kPropertiesMargin = 10;
constexpr int kChangedPropertiesMargin = 30;

// How each tool that makes an element makes it: the category of its key,
// the flag handed to the kind's CreateNew (a vertical bar, a dashed free
// line), and whether it is placed at one click or drawn node by node.
enum class Placing { AtPoint, NodeByNode, ArrowedLine };

struct ToolKind {
    int tool;
    int category;
    int flag;
    Placing placing;
};

constexpr ToolKind kToolKinds[] = {
    {ElementType::Bus, Category::Bus, 1, Placing::AtPoint},
    {ElementType::HorizontalBus, Category::Bus, 0, Placing::AtPoint},
    {ElementType::NetworkEquivalent, Category::Bus, 0, Placing::AtPoint},
    {ElementType::ConnectionNode, Category::Bus, 0, Placing::AtPoint},
    {ElementType::Load, Category::Load, 0, Placing::AtPoint},
    {ElementType::Generator, Category::Generator, 0, Placing::AtPoint},
    {ElementType::SyncCompensator, Category::SyncCompensator, 0, Placing::AtPoint},
    {ElementType::VarCompensator, Category::VarCompensator, 0, Placing::AtPoint},
    {ElementType::Shunt, Category::Shunt, 0, Placing::AtPoint},
    {ElementType::Capacitor, Category::Capacitor, 0, Placing::AtPoint},
    {ElementType::Reactor, Category::Reactor, 0, Placing::AtPoint},
    {ElementType::FreeText, Category::FreeText, 0, Placing::AtPoint},
    {ElementType::VariableBank, Category::CapacitorBank, 0, Placing::AtPoint},
    {ElementType::VariableReactorBank, Category::ReactorBank, 0, Placing::AtPoint},
    {ElementType::SystemInfo, Category::SystemInfo, 0, Placing::AtPoint},
    {ElementType::PowerLine, Category::Line, 0, Placing::NodeByNode},
    {ElementType::Transformer, Category::Line, 0, Placing::NodeByNode},
    {ElementType::RegulatedTransformer, Category::Line, 0, Placing::NodeByNode},
    {ElementType::FreeLine, Category::FreeLine, 1, Placing::NodeByNode},
    {ElementType::Connector, Category::Connector, 0, Placing::NodeByNode},
    {ElementType::Disconnector, Category::Connector, 0, Placing::NodeByNode},
    {ElementType::CircuitBreaker, Category::Connector, 0, Placing::NodeByNode},
    {ElementType::Fuse, Category::Connector, 0, Placing::NodeByNode},
    {ElementType::PolygonElement, Category::Polygon, 0, Placing::NodeByNode},
    {ElementType::ArrowedFreeLine, Category::FreeLine, 0, Placing::ArrowedLine},
};

std::optional<ToolKind> KindOfTool(int tool) {
    for (const auto& kind : kToolKinds) {
        if (kind.tool == tool) return kind;
    }
    return std::nullopt;
}

}  // namespace

bool PowerSystem::HandleEditEvent(int event, int tool, int flags, const Point* point, IView* view,
                                  const Rect* band) {
    const bool changed = ApplyEditEvent(event, tool, flags, point, view, band);
    if (changed && ChangesWhatASolveGives(event, flags) && !resultsStale_) {
        resultsStale_ = true;
        RedrawView();
    }
    return changed;
}

// Switching, connecting, adding and removing network elements and editing
// their data; moving things about and annotations change nothing a solve
// would give.
bool PowerSystem::ChangesWhatASolveGives(int event, int flags) const {
    switch (event) {
        case EditEvent::ButtonDown: return current_ && current_->IsNetworkElement();  // placed with a tool
        case EditEvent::Key: return flags == kKeyDelete;
        case EditEvent::DoubleClick:  // the properties dialog
        case EditEvent::Switch:
        case EditEvent::Disconnect:
        case EditEvent::DeleteCurrent:
        case EditEvent::Properties:
        case EditEvent::Cut:
        case EditEvent::Paste:
        case EditEvent::Duplicate: return true;
        default: return false;
    }
}

bool PowerSystem::ApplyEditEvent(int event, int tool, int flags, const Point* point, IView* view,
                                 const Rect* band) {
    if (view) view_ = view;
    const Point at = point ? *point : Point{};
    switch (event) {
        case EditEvent::ButtonDown:
            if (tool == EditTool::Selection) {
                SelectAtPoint(at, (flags & MouseFlag::Shift) != 0 && editMode_);
                return false;
            }
            if (tool == EditTool::MoveAll) {
                toolState_ = kMovingAll;
                dragPoint_ = at;
                return false;
            }
            if (tool == EditTool::MoveNodes) {
                BeginHandleDrag(at);
                return false;
            }
            return PlaceElement(tool, at);
        case EditEvent::ButtonUp:
            if ((toolState_ == kMovingSelection || toolState_ == kDraggingHandle) && current_ &&
                current_->AutoConnect()) {
                Rect area = current_->CalcBoundingRect();
                InvalidateArea(&area);
                InvalidateArea(nullptr);
            }
            return false;
        case EditEvent::DoubleClick:
            if (toolState_ == kDrawingNodes) return EndNodeDrawing(at);
            if (!current_ || !SelectAtPoint(at, false)) return false;
            if (current_->OpenProperties()) RedrawView();
            return true;
        case EditEvent::MouseMove:
            if (DragHandleEvent(tool, flags, at)) return false;
            return MoveWithMouse(flags, at);
        case EditEvent::ClearSelection:
            ClearSelection();
            return false;
        case EditEvent::Key:
            return HandleKey(flags, point ? point->x : 0);
        case EditEvent::Switch:
            if (!current_) return false;
            current_->SetOn(!current_->IsOn());
            InvalidateBusGroups();
            RedrawView();
            if (remote_) SendSwitchCommand();
            return true;
        case EditEvent::Disconnect:
            if (!current_) return false;
            current_->DisconnectAll();
            InvalidateBusGroups();
            RedrawView();
            return true;
        case EditEvent::DeleteCurrent: return DeleteCurrent();
        case EditEvent::Properties: return OpenCurrentProperties();
        case EditEvent::FillAndFont:
            if (!current_ || !current_->EditFillAndFont()) return false;
            RedrawView();
            return true;
        case EditEvent::ContextMenu:
        case EditEvent::FillAndFontAtPoint:
            if (!current_ || tool != EditTool::Selection || !SelectAtPoint(at, false)) return false;
            if (event == EditEvent::FillAndFontAtPoint) {
                current_->EditFillAndFont();
            } else if (view_) {
                view_->OpenContextMenu(current_, remote_ || !editMode_);
            }
            return false;
        case EditEvent::Cut: return CutOrCopy(true);
        case EditEvent::Copy: return CutOrCopy(false);
        case EditEvent::Paste: return PasteAt(at);
        case EditEvent::Duplicate:
            if (!editMode_ || selection_.IsEmpty() || !PasteElements(selection_, true, nullptr, false)) return false;
            GrowAndRedraw(&selection_);
            return true;
        case EditEvent::SelectInRect:
            if (!band) return false;
            SelectInRect(*band);
            return true;
        default: return false;
    }
}

bool PowerSystem::PlaceElement(int tool, Point point) {
    std::optional<ToolKind> kind = KindOfTool(tool);
    if (!kind) return false;
    if (kind->placing != Placing::AtPoint) return DrawNodeByNode(tool, point);
    IElement* made = MakeAtPoint(tool, kind->category, kind->flag, point);
    if (!made) return false;
    toolState_ = kIdle;
    if (tool == ElementType::SystemInfo) {
        made->OpenProperties();
        Rect area = made->CalcBoundingRect();
        InvalidateArea(&area);
    }
    GrowAndRedraw(nullptr);
    return true;
}

bool PowerSystem::DrawNodeByNode(int tool, Point point) {
    const bool arrowed = tool == ElementType::ArrowedFreeLine;
    if (toolState_ == kDrawingNodes && current_) {
        if (arrowed) {
            // The second click of an arrowed line ends it.
            current_->DragHandle(kDragAddNode, 0, point);
            current_->DragHandle(kDragFinish, 0, point);
            toolState_ = kIdle;
            if (view_) view_->ReleaseMouse();
        } else if (current_->DragHandle(kDragAddNode, 0, point) && view_) {
            // The line ended on a bus.
            view_->NodeDrawingChanged(false);
        }
        GrowAndRedraw(nullptr);
        return true;
    }
    const ToolKind kind = *KindOfTool(tool);
    if (!MakeAtPoint(tool, kind.category, kind.flag, point)) return false;
    toolState_ = kDrawingNodes;
    if (view_) {
        view_->CaptureMouse();
        if (!arrowed) view_->NodeDrawingChanged(true);
    }
    GrowAndRedraw(nullptr);
    return true;
}

IElement* PowerSystem::MakeAtPoint(int classType, int category, int flag, Point point) {
    std::unique_ptr<IElement> prototype = CreateElement(classType);
    int key = prototype ? NewKey(category, false) : 0;
    if (key == 0) return nullptr;
    std::unique_ptr<IElement> made = prototype->CreateNew(this, key, point, flag);
    // A refused element is deleted here: it attached to nothing that keeps
    // it, its destructor lets go of the buses it found.
    if (!made || !AddElement(made.get())) return nullptr;
    current_ = made.release();
    return current_;
}

bool PowerSystem::EndNodeDrawing(Point point) {
    if (view_) view_->ReleaseMouse();
    if (current_) current_->DragHandle(kDragFinish, 0, point);
    if (view_) view_->NodeDrawingChanged(false);
    toolState_ = kIdle;
    return true;
}

// The element being drawn goes as if it had never been placed.
bool PowerSystem::CancelNodeDrawing() {
    if (view_) {
        view_->ReleaseMouse();
        view_->NodeDrawingChanged(false);
    }
    toolState_ = kIdle;
    if (current_) DeleteElement(current_);
    RedrawView();
    return true;
}

bool PowerSystem::MoveWithMouse(int flags, Point point) {
    if (toolState_ == kDrawingNodes) {
        if (current_) current_->DragHandle(kDragFollow, 0, point);
        return false;
    }
    if ((flags & MouseFlag::LeftButton) == 0) return false;
    const int dx = point.x - dragPoint_.x;
    const int dy = point.y - dragPoint_.y;
    if (toolState_ == kPicked || toolState_ == kMovingSelection) {
        marked_.DeleteAll();
        toolState_ = kMovingSelection;
        if (dx == 0 && dy == 0) return false;
        MoveList(selection_, dx, dy, true);
        GrowDiagram(&selection_);
        InvalidateArea(nullptr);
        dragPoint_ = point;
        return true;
    }
    if (toolState_ == kMovingAll) {
        MoveAll(dx, dy);
        dragPoint_ = point;
        return true;
    }
    return false;
}

bool PowerSystem::HandleKey(int key, int count) {
    if (toolState_ == kDrawingNodes) return key == kKeyEscape && CancelNodeDrawing();
    if (!editMode_ || !HasSelection()) return false;
    if (key == kKeyDelete) return DeleteSelected();
    const int step = gridStep_ > 0 ? gridStep_ : 1;
    int dx = 0;
    int dy = 0;
    switch (key) {
        case kKeyLeft: dx = -step * duplicationHorizontal_; break;
        case kKeyRight: dx = step * duplicationHorizontal_; break;
        case kKeyUp: dy = -step * duplicationVertical_; break;
        case kKeyDown: dy = step * duplicationVertical_; break;
        default: return false;
    }
    if (count >= 1) {
        // A held key moves in long strides; the view redraws once at the end.
        const int stride = (duplicationLongMove_ - 1) * count;
        MoveSelection(dx * stride, dy * stride, true);
    } else {
        MoveSelection(dx, dy, false);
    }
    return true;
}

bool PowerSystem::DeleteSelected() {
    std::vector<IElement*> selected;
    for (const auto& [key, element] : selection_.Entries()) selected.push_back(element);
    bool changed = false;
    for (IElement* element : selected) {
        // A selected label is hidden instead; the element stays.
        if (element->ClearLabelSelection()) DeleteElement(element);
        changed = true;
    }
    DeselectAll();
    current_ = nullptr;
    toolState_ = kNothingUnderWork;
    if (changed) RedrawView();
    return changed;
}

bool PowerSystem::DeleteCurrent() {
    if (!current_) return false;
    if (current_->ClearLabelSelection()) DeleteElement(current_);
    current_ = nullptr;
    ClearSelection();
    RedrawView();
    return true;
}

bool PowerSystem::OpenCurrentProperties() {
    if (!current_) return false;
    Rect before = current_->CalcBoundingRect();
    Size margin{kPropertiesMargin, kPropertiesMargin};
    InvalidateArea(&before, &margin);
    if (current_->OpenProperties()) {
        Rect after = current_->CalcBoundingRect();
        Size grown{kChangedPropertiesMargin, kChangedPropertiesMargin};
        InvalidateArea(&after, &grown);
        InvalidateArea(nullptr);
    }
    return true;
}

void PowerSystem::RedrawView() {
    pendingArea_ = Rect{};
    if (!view_) return;
    view_->InvalidateAll();
    view_->Update();
}

void PowerSystem::GrowAndRedraw(const ElementList* list) {
    GrowDiagram(list);
    RedrawView();
}
