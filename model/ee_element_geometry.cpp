// The element base on the diagram: its ends and the keys attached there,
// hit testing, selection, moving and dragging.

#include <algorithm>

#include "ee_element.h"
#include "power_system.h"
#include "segment_distance.h"

namespace {

// A point closer than this (squared distance 60 or less) snaps to an end.
constexpr int kEndSnapDistance = 61;
// A free end closer than this (squared) to a side of a box lies on the box.
constexpr int kEndOnBoxDistance = 50;
// Drag handles: the upper 16 bits set, the end in the lower bits.
constexpr unsigned kEndHandleMarker = 0xFFFF;
constexpr int kDragKindMove = 4;

Rect Normalized(Rect r) {
    r.Normalize();
    return r;
}

// Edges inclusive.
bool ContainsInclusive(const Rect& area, Point p) {
    return area.left <= p.x && p.x <= area.right && area.top <= p.y && p.y <= area.bottom;
}

}  // namespace

// --- Ends and keys ---

Point EEElement::GetConnectionPoint(int endOrKey) {
    if (endOrKey == 0) return ends_[0];
    if (endOrKey == 1 || endOrKey == -1) return ends_[1];
    if (endOrKey == endKeys_[0]) return ends_[0];
    if (endOrKey == endKeys_[1]) return ends_[1];
    ShowMessage("EEElement::GetConnectionPoint, .. nesto ne valja!");
    return ends_[0];
}

void EEElement::SetConnectionPoint(Point point, bool end1) {
    ends_[end1 ? 1 : 0] = point;
    RecalcGeometry();
}

bool EEElement::IsEndFree(int end) const { return endKeys_[end == 0 ? 0 : 1] == 0; }

bool EEElement::HasFreeEnd() const { return !(endKeys_[0] != 0 && endKeys_[1] != 0 && endKeys_[1] != -1); }

bool EEElement::ConnectAtPoint(int key, const Point* point) {
    if (!point) return false;
    for (int end : {0, 1}) {
        if (*point == ends_[end]) {
            endKeys_[end] = key;
            return true;
        }
    }
    return false;
}

void EEElement::RemoveConnection(int key) {
    for (int& endKey : endKeys_) {
        if (endKey == key) endKey = 0;
    }
}

void EEElement::MoveEndAttachedTo(int key, Point delta) {
    for (int end : {0, 1}) {
        if (endKeys_[end] != key) continue;
        ends_[end].x += delta.x;
        ends_[end].y += delta.y;
    }
    RecalcGeometry();
}

void EEElement::DisconnectAll() {
    for (int& endKey : endKeys_) {
        if (!IsAttachedKey(endKey)) continue;
        if (IElement* neighbour = FindElement(endKey)) neighbour->RemoveConnection(key_);
        endKey = 0;
    }
}

void EEElement::DetachFromNeighbours() {
    DisconnectAll();
    endKeys_ = {0, 0};
}

const std::string* EEElement::GetEndName(int end) const {
    if (end != 0 && end != 1) return nullptr;
    if (!owner_ || !IsAttachedKey(endKeys_[end])) return nullptr;
    const IElement* neighbour = owner_->FindByKey(endKeys_[end]);
    return neighbour ? &neighbour->GetName() : nullptr;
}

void EEElement::GetConnectedElements(std::vector<IElement*>& out) {
    for (int endKey : endKeys_) {
        if (!IsAttachedKey(endKey)) continue;
        if (IElement* neighbour = FindElement(endKey)) out.push_back(neighbour);
    }
}

void EEElement::RemapConnections(const IElement& source, const std::map<int, int>& newKeys) {
    for (int end : {0, 1}) {
        int sourceKey = source.GetEndKeys()[end];
        if (sourceKey == kBaseType || sourceKey == -1) continue;
        auto mapped = newKeys.find(sourceKey);
        if (mapped != newKeys.end()) endKeys_[end] = mapped->second;
    }
}

void EEElement::SetKey(int key) {
    key_ = key;
    if (!IsAttachedKey(endKeys_[0])) return;
    if (IElement* neighbour = FindElement(endKeys_[0])) neighbour->ConnectAtPoint(key, &ends_[0]);
}

int EEElement::SnapToEnd(Point point, Point& snapped) {
    if (!HasFreeEnd()) return -1;
    if (endKeys_[0] == 0 && SquaredDistance(point, ends_[0]) < kEndSnapDistance) {
        snapped = ends_[0];
        return 0;
    }
    if (endKeys_[1] != -1) return -1;
    if (SquaredDistance(point, ends_[1]) >= kEndSnapDistance) return -1;
    snapped = ends_[1];
    return 1;
}

bool EEElement::HitTestEnd(const Rect& box, int& end) {
    SyncEndsFromPath();
    int best = 99999;
    Point nearest;
    for (int which : {0, 1}) {
        if (!IsEndFree(which)) continue;
        for (int side : {box.left, box.right}) {
            int distance = DistanceToSegment({side, box.bottom}, {side, box.top}, ends_[which], nearest);
            if (distance < best) {
                best = distance;
                end = which == 0 ? 0 : -1;
            }
        }
    }
    return best < kEndOnBoxDistance;
}

// --- Hit testing and selection ---

int EEElement::HitTestBody(Point point, Point& nearest) {
    return DistanceToSegment(ends_[0], ends_[1], point, nearest);
}

bool EEElement::HitTest(Point point) {
    if (PrimitiveText* label = GetLabel(selectedLabel_)) label->SetHighlight(false);
    selectedLabel_ = -1;
    Rect body = Normalized(rect_);
    body.Inflate(1, 1);
    if (body.Contains(point)) {
        selected_ = true;
        return true;
    }
    selected_ = false;
    // A hidden label keeps its place but cannot be picked: the user cannot
    // see it.
    for (int i = 0; i < GetLabelCount(); ++i) {
        if (IsLabelShown(i) && labels_[static_cast<std::size_t>(i)]->HitTest(point)) {
            selectedLabel_ = i;
            return true;
        }
    }
    return false;
}

bool EEElement::SelectInRect(const Rect& area) {
    Rect body = Normalized(rect_);
    Rect within = Normalized(area);
    if (!ContainsInclusive(within, {body.left, body.top}) || !ContainsInclusive(within, {body.right, body.bottom})) {
        return false;
    }
    SetSelected(true);
    return true;
}

bool EEElement::SetSelected(bool selected) {
    bool previous = selected_;
    selected_ = selected;
    if (PrimitiveText* label = GetLabel(selectedLabel_)) label->SetHighlight(false);
    selectedLabel_ = -1;
    return previous;
}

bool EEElement::ClearLabelSelection() {
    if (selectedLabel_ < 0) return true;
    if (PrimitiveText* label = GetLabel(selectedLabel_)) {
        if (static_cast<std::size_t>(selectedLabel_) < labelFlags_.size()) {
            labelFlags_[static_cast<std::size_t>(selectedLabel_)] = 0;
        }
        label->SetHighlight(false);
    }
    selected_ = false;
    return false;
}

bool EEElement::IntersectsRect(Rect& out, const Rect& area, bool labels) {
    Rect body = Normalized(rect_);
    Rect within = Normalized(area);
    for (Point corner : {Point{body.left, body.top}, Point{body.left, body.bottom}, Point{body.right, body.top},
                         Point{body.right, body.bottom}}) {
        if (ContainsInclusive(within, corner)) return true;
    }
    if (IntersectRect(body, within, out)) return true;
    if (!labels) return false;
    Rect common;
    for (int i = 0; i < GetLabelCount(); ++i) {
        if (IsLabelShown(i) && IntersectRect(labels_[static_cast<std::size_t>(i)]->GetRect(), within, common)) {
            return true;
        }
    }
    return false;
}

Rect EEElement::CalcBoundingRect() {
    RecalcGeometry();
    Rect bounds = Normalized(rect_);
    for (int i = 0; i < GetLabelCount(); ++i) {
        if (IsLabelShown(i)) bounds = UnionRect(bounds, Normalized(labels_[static_cast<std::size_t>(i)]->GetRect()));
    }
    return bounds;
}

// --- Moving ---

void EEElement::Move(int dx, int dy, bool withConnected) {
    if (PrimitiveText* label = GetLabel(selectedLabel_)) {
        label->Move(dx, dy, owner_ ? owner_->GetView() : nullptr);
        RecalcGeometry();
        return;
    }
    InvalidateGrown(rect_, 10);
    rect_.Offset(dx, dy);
    InvalidateGrown(rect_, 10);
    if (withConnected) MoveConnectedElements(dx, dy);
    for (auto& label : labels_) label->Move(dx, dy, owner_ ? owner_->GetView() : nullptr);
    RecalcGeometry();
}

void EEElement::MoveConnectedElements(int dx, int dy) {
    static constexpr const char* kMissing[] = {"NEsto ne stima u EEElement::MoveConnectedElements 0",
                                               "NEsto ne stima u EEElement::MoveConnectedElements 1"};
    for (int end : {0, 1}) {
        if (!owner_ || !IsAttachedKey(endKeys_[end])) continue;
        IElement* neighbour = owner_->FindByKey(endKeys_[end]);
        if (!neighbour) {
            ShowMessage(kMissing[end]);
            continue;
        }
        if (owner_->AddToMarked(neighbour)) neighbour->Move(dx, dy, true);
    }
    RecalcGeometry();
}

bool EEElement::DragHandle(int kind, int handle, Point delta) {
    auto bits = static_cast<unsigned>(handle);
    unsigned end = bits & 0xFFFF;
    if (kind != kDragKindMove || (bits >> 16) != kEndHandleMarker || end > 1) return false;
    Rect before = CalcBoundingRect();
    ends_[end].x += delta.x;
    ends_[end].y += delta.y;
    Rect changed = UnionRect(before, CalcBoundingRect());
    InvalidateGrown(changed, 20);
    if (owner_) owner_->InvalidateArea(nullptr);
    return true;
}
