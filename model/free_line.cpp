// Free lines and polygons: construction, the label, the path's geometry,
// drawing and the archive block.

#include "free_line.h"

#include <cmath>
#include <vector>

#include "power_system.h"

namespace {

// The body is hit within this squared distance of the path.
constexpr int kPathHitDistance = 29;
// Drag kinds of the drawing tools and node handles (upper 16 bits set).
constexpr int kDragAddNode = 0;
constexpr int kDragFinish = 3;
constexpr int kDragMove = 4;
constexpr unsigned kNodeHandleMarker = 0xFFFF;
// The arrowhead's wings reach this far back along the line and aside.
constexpr float kArrowBack = 8.0f;
constexpr float kArrowSide = 4.0f;

// To the nearest integer, an exact half going down.
int RoundHalfDown(float value) {
    float floor = std::floor(value);
    return static_cast<int>(floor) + (value - floor > 0.5f ? 1 : 0);
}

Rect Normalized(Rect r) {
    r.Normalize();
    return r;
}

}  // namespace

FreeLine::FreeLine(PowerSystem* owner, int key, Point point, int style, int category)
    : EEElement(owner, key, point, point, category), style_(style) {
    path_.RecreatePen();
    endKeys_ = {0, -1};  // end 1 is being drawn
}

FreeLine::FreeLine(PowerSystem* owner, int key, Point point, int style)
    : FreeLine(owner, key, point, style, Category::FreeLine) {
    CreateLabels(point);
    path_.SetNode(point, 0);
    path_.Reopen();
}

FreeLine::FreeLine() {
    category_ = Category::FreeLine;
    CreateLabels({});
}

void FreeLine::CreateLabels(Point anchor) {
    labels_.clear();
    labelFlags_.clear();
    selectedLabel_ = -1;
    AddLabel(anchor, style_ == kDashedStyle);
}

void FreeLine::UpdateResultLabel(const double*) {
    // Only the dashed style shows it, but every style keeps the name in its
    // label as SetName leaves it, so a read line measures as it was saved.
    labels_[0]->SetText(name_);
}

void FreeLine::SetName(std::string_view name) {
    EEElement::SetName(name);
    labels_[0]->SetText(name_);
}

std::unique_ptr<IElement> FreeLine::Duplicate(bool forClipboard) {
    if (!owner_) return nullptr;
    int key = owner_->NewKey(category_, forClipboard);
    std::unique_ptr<IElement> made = CreateNew(owner_, key, {}, style_);
    auto& copy = static_cast<FreeLine&>(*made);
    CopyAttributesTo(&copy);
    copy.SetName(name_);
    copy.SetOn(on_);
    copy.endKeys_ = {0, 0};
    path_.CopyNodesTo(copy.path_);
    copy.SyncEndsFromPath();
    MoveByDuplicationStep(copy);
    return made;
}

std::unique_ptr<IElement> FreeLine::CreateNew(PowerSystem* owner, int key, Point point, int style) {
    return std::make_unique<FreeLine>(owner, key, point, style);
}

// --- The path between two ends ---

bool FreeLine::HasFreeEnd() const {
    if (!path_.IsFinished()) return false;
    if (path_.GetNodeCount() < 3 && IsAttachedKey(endKeys_[0])) return IsEndFree(1);
    return true;
}

int FreeLine::SnapToEnd(Point point, Point& snapped) {
    if (!HasFreeEnd()) return -1;
    return path_.FindNode(point, snapped, IsEndFree(0), IsEndFree(1));
}

void FreeLine::SetConnectionPoint(Point point, bool end1) {
    SyncEndsFromPath();
    if (path_.GetNodeCount() > 0) path_.SetNode(point, end1 ? -1 : 0);
    EEElement::SetConnectionPoint(point, end1);
}

void FreeLine::SyncEndsFromPath() {
    if (path_.GetNodeCount() == 0) return;
    ends_[0] = path_.GetNode(0);
    ends_[1] = path_.GetNode(-1);
}

void FreeLine::RecalcGeometry() {
    if (path_.GetNodeCount() > 0) rect_ = path_.GetBoundingRect();
}

Rect FreeLine::CalcBoundingRect() {
    RecalcGeometry();
    Rect bounds = UnionRect(Normalized(rect_), Normalized(path_.GetBoundingRect()));
    bounds.Inflate(10, 30);
    return bounds;
}

bool FreeLine::HitTest(Point point) {
    if (PrimitiveText* label = GetLabel(selectedLabel_)) label->SetHighlight(false);
    selectedLabel_ = -1;
    selected_ = false;
    Point nearest;
    if (path_.DistanceToPath(point, nearest) <= kPathHitDistance) {
        selected_ = true;
        return true;
    }
    for (int i = 0; i < GetLabelCount(); ++i) {
        if (labels_[static_cast<std::size_t>(i)]->HitTest(point)) {
            selectedLabel_ = i;
            return true;
        }
    }
    return false;
}

int FreeLine::HitTestBody(Point point, Point& nearest) { return path_.DistanceToPath(point, nearest); }

void FreeLine::Move(int dx, int dy, bool withConnected) {
    IView* view = owner_ ? owner_->GetView() : nullptr;
    if (PrimitiveText* label = GetLabel(selectedLabel_); label && withConnected) {
        label->Move(dx, dy, view);
        RecalcGeometry();
        return;
    }
    if (path_.GetNodeCount() > 0) InvalidateGrown(path_.GetBoundingRect(), 3);
    for (Point& end : ends_) end = {end.x + dx, end.y + dy};
    for (int i = 0; i < path_.GetNodeCount(); ++i) path_.MoveNode(i, {dx, dy});
    if (path_.GetNodeCount() > 0) InvalidateGrown(path_.GetBoundingRect(), 3);
    for (auto& label : labels_) label->Move(dx, dy, view);
    RecalcGeometry();
}

bool FreeLine::DragHandle(int kind, int handle, Point point) {
    auto bits = static_cast<unsigned>(handle);
    Rect invalid;
    switch (kind) {
        case kDragAddNode:
            if (path_.IsFinished()) return false;
            path_.AddNode(point);
            ends_[1] = point;
            RecalcGeometry();
            if (owner_) owner_->InvalidateArea(nullptr);
            return false;
        case kDragFinish:
            if (path_.IsFinished()) return false;
            ends_[1] = point;
            path_.Finish(true);
            RecalcGeometry();
            path_.MoveFloatingPoint(point, invalid);
            InvalidateGrown(invalid, 20);
            if (owner_) owner_->InvalidateArea(nullptr);
            return true;
        case kDragMove:
            if (path_.IsFinished() && (bits >> 16) == kNodeHandleMarker) {
                int node = static_cast<int>(bits & 0xFFFF);
                if (node >= path_.GetNodeCount()) return false;
                Rect before = CalcBoundingRect();
                path_.MoveNode(node, point);
                SyncEndsFromPath();
                InvalidateGrown(UnionRect(before, CalcBoundingRect()), 20);
            }
            path_.MoveFloatingPoint(point, invalid);
            InvalidateGrown(invalid, 20);
            RecalcGeometry();
            if (owner_) owner_->InvalidateArea(nullptr);
            return false;
        default:
            return false;
    }
}

// --- Drawing ---

void FreeLine::DrawSymbol(DrawingContext& dc) {
    if (style_ == kDashedStyle) {
        LogPen dashed = pen_;
        dashed.style = PenStyle::Dash;
        if (selected_) dashed.color = kBlue;
        LogPen previous = dc.SelectPen(dashed);
        path_.Draw(dc, selected_);
        dc.SelectPen(previous);
        return;
    }
    path_.Draw(dc, selected_);
    if (ends_[0] == ends_[1]) return;
    // Along the straight line between the ends, whatever the last segment.
    float dx = static_cast<float>(ends_[1].x) - static_cast<float>(ends_[0].x);
    float dy = static_cast<float>(ends_[1].y) - static_cast<float>(ends_[0].y);
    float length = std::sqrt(dx * dx + dy * dy);
    float ux = dx / length;
    float uy = dy / length;
    Point tip = ends_[1];
    auto wing = [&](float side) {
        return Point{RoundHalfDown(static_cast<float>(tip.x) - kArrowBack * ux + side * uy),
                     RoundHalfDown(static_cast<float>(tip.y) - kArrowBack * uy - side * ux)};
    };
    dc.MoveTo(wing(kArrowSide));
    dc.LineTo(tip);
    dc.LineTo(wing(-kArrowSide));
}

// --- Archive ---

void FreeLine::Serialize(Archive& archive) {
    if (archive.IsLoading()) CreateLabels({});
    EEElement::Serialize(archive);
    path_.Serialize(archive);
    labels_[0]->Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteInt32(style_);
    } else {
        style_ = archive.ReadInt32();
    }
}

// --- Polygon ---

PolygonElement::PolygonElement(PowerSystem* owner, int key, Point point)
    : FreeLine(owner, key, point, kArrowedStyle, Category::Polygon) {
    CreateLabels(point);
    path_.SetNode(point, 0);
    path_.Reopen();
}

PolygonElement::PolygonElement() { category_ = Category::Polygon; }

std::unique_ptr<IElement> PolygonElement::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<PolygonElement>(owner, key, point);
}

void PolygonElement::CreateLabels(Point anchor) {
    labels_.clear();
    labelFlags_.clear();
    selectedLabel_ = -1;
    AddLabel(anchor, false);
}

void PolygonElement::DrawSymbol(DrawingContext& dc) {
    int count = path_.GetNodeCount();
    if (path_.IsFinished() && count > 2 && path_.GetNode(0) == path_.GetNode(-1)) {
        std::vector<Point> corners;
        for (int i = 0; i + 1 < count; ++i) corners.push_back(path_.GetNode(i));
        dc.Polygon(corners);
    }
    path_.Draw(dc, selected_);
}
