// The line: construction, labels and result texts, copies, its ends and
// path on the diagram, and its archive block.

#include "power_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "archived_integer.h"
#include "element_key.h"
#include "power_system.h"
#include "view.h"

namespace BD = BranchData;

namespace {

// Labels of lines and transformers.
constexpr int kLineLabels = 4;
// A point this close (squared distance 29 or less) to the path hits it.
constexpr int kPathHitDistance = 29;
// Node handles of a path: the upper 16 bits set, the node in the lower bits.
constexpr unsigned kNodeHandleMarker = 0xFFFF;
// What DragHandle is asked to do while a line is drawn or edited.
constexpr int kDragClick = 0;
constexpr int kDragFinish = 3;
constexpr int kDragMove = 4;
// Redraw margin around a rubber band or a dragged node.
constexpr int kDragMargin = 20;
// Free lines make no labels and connect to nothing when made.
constexpr int kFreeLineCategory = Category::FreeLine;

Rect Normalized(Rect r) {
    r.Normalize();
    return r;
}

Point Midpoint(Point a, Point b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

std::string Format(const char* format, double first, double second) {
    char text[128];
    std::snprintf(text, sizeof text, format, first, second);
    return text;
}

}  // namespace

PowerLine::PowerLine() {
    category_ = Category::Line;
    archivedLabelCount_ = kLineLabels;
}

PowerLine::PowerLine(PowerSystem* owner, int key, Point at, int category)
    : EEElement(owner, key, at, at, category) {
    path_.SetColor(lineColor_);
    path_.RecreatePen();
    endKeys_ = {0, kFreeEndKey};
    archivedLabelCount_ = kLineLabels;
    if (category == Category::Connector || category == kFreeLineCategory) return;
    CreateLabels(at);
    if (!AutoConnect()) path_.SetNode(at, 0);
    endKeys_[1] = 0;
    path_.Reopen();
    ApplyDefaultLabelFont();
    data_[BD::kLength] = 1.0;
    data_[BD::kResistance] = 0.1;
    data_[BD::kReactance] = 0.3;
    data_[BD::kNotification] = 900.0;
    data_[BD::kRating] = 1000.0;
    data_[BD::kPFrom] = data_[BD::kQFrom] = data_[BD::kPTo] = data_[BD::kQTo] = 0.0;
}

bool PowerLine::IsSwitchingKind() const { return category_ == Category::Connector; }

double PowerLine::Value(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < data_.size() ? data_[static_cast<std::size_t>(index)] : 0.0;
}

int PowerLine::SetEndKey(int index, int key) {
    if (index == 0 || index == 1) endKeys_[static_cast<std::size_t>(index)] = key;
    return index;
}

void PowerLine::CreateLabels(Point anchor) {
    labels_.clear();
    labelFlags_.clear();
    for (int i = 0; i < kLineLabels; ++i) AddLabel(anchor, false);
    labels_[kToLabel]->SetRightAligned(true);
    labels_[kNameLabel]->SetText(name_);
    if (data_.empty()) data_.assign(BD::kCount, 0.0);
    data_[BD::kCircuits] = 1.0;
}

void PowerLine::GetValuesAndFlags(std::span<double>& values, std::vector<std::uint8_t>*& flags) {
    values = data_;
    flags = &labelFlags_;
}

void PowerLine::SetLabelText(int index, const std::string& text) {
    if (PrimitiveText* label = GetLabel(index)) label->SetText(text);
}

void PowerLine::UpdateResultLabel(const double* values) {
    if (data_.empty()) return;
    if (values) std::copy_n(values, BD::kCount, data_.begin());
    if (!on_) data_[BD::kPFrom] = data_[BD::kQFrom] = data_[BD::kPTo] = data_[BD::kQTo] = 0.0;
    double from[2] = {data_[BD::kPFrom], data_[BD::kQFrom]};
    double to[2] = {data_[BD::kPTo], data_[BD::kQTo]};
    const double loss[2] = {from[0] + to[0], from[1] + to[1]};
    // Both ends show the power in the direction of the active flow.
    double* reversed = from[0] < 0.0 ? from : to;
    reversed[0] = -reversed[0];
    reversed[1] = -reversed[1];

    const bool showLoading = IsLabelShown(kLossLabel) && labelFlags_[kLossLabel] == kShowLoading;
    if (GetOwnerLabelMode()) {
        SetLabelText(kFromLabel, Format("%.2f/%.2f", from[0], from[1]));
        SetLabelText(kToLabel, Format("%.2f/%.2f", to[0], to[1]));
        SetLabelText(kLossLabel, Format("%.2f/%.2f", loss[0], loss[1]));
    } else if (on_) {
        SetLabelText(kFromLabel, Format("S=%.2f/%.2f", from[0], from[1]));
        SetLabelText(kToLabel, Format("S=%.2f/%.2f", to[0], to[1]));
        if (!showLoading) {
            SetLabelText(kLossLabel, Format("Sloss=%.2f/%.2f", loss[0], loss[1]));
        } else if (GetBranchKind() == BD::kLine && data_[BD::kRating] <= 0.0) {
            SetLabelText(kLossLabel, "Imax not defined");
        } else {
            const double rating = data_[BD::kRating];
            const double carried = GetBranchKind() == BD::kLine ? data_[BD::kCurrent] : std::max(FromMva(), ToMva());
            SetLabelText(kLossLabel, Format("%.1f%%", rating > 0.0 ? carried / rating * 100.0 : 0.0, 0.0));
        }
    } else {
        SetLabelText(kFromLabel, "S=0/0");
        SetLabelText(kToLabel, "S=0/0");
        SetLabelText(kLossLabel, showLoading ? "0%" : "Sloss=0/0");
    }
    SetLabelText(kNameLabel, name_);
}

// --- Copies and dialogs ---

std::unique_ptr<IElement> PowerLine::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<PowerLine>(owner, key, point);
}

std::unique_ptr<IElement> PowerLine::Duplicate(bool forClipboard) {
    if (!owner_) return nullptr;
    // Lines and transformers take a key of the line list, every switching
    // kind one of the connector list.
    int key = owner_->NewKey(category_, forClipboard);
    // Made without an owner, so that it attaches to nothing lying at the
    // origin (a bus there would keep the copy's key after it moved away).
    std::unique_ptr<IElement> made = CreateNew(nullptr, key, {0, 0}, 0);
    auto* copy = dynamic_cast<PowerLine*>(made.get());
    if (!copy) return nullptr;
    copy->SetOwner(owner_);
    CopyAttributesTo(copy);
    // The state first: a switch that starts open would drop the flow.
    copy->SetOn(on_);
    copy->UpdateResultLabel(GetValues());
    copy->SetEndKey(0, 0);
    copy->SetEndKey(1, 0);
    path_.CopyNodesTo(copy->path_);
    copy->SyncEndsFromPath();
    int dx = 0, dy = 0, longMove = 0;
    owner_->GetDuplicationSteps(dx, dy, longMove);
    int step = owner_->GetGridStep();
    copy->Move(step * dx, step * dy, false);
    return made;
}

bool PowerLine::ShowProperties() {
    IView* view = owner_ ? owner_->GetView() : nullptr;
    return view && view->OpenProperties(this, GetBranchKind());
}

// --- Ends ---

bool PowerLine::HasFreeEnd() const {
    if (!path_.IsFinished()) return false;
    if (path_.GetNodeCount() < 3 && !IsEndFree(0)) return IsEndFree(1);
    return true;
}

void PowerLine::PlaceLabelsAtMidpoint() {
    Point m = Midpoint(ends_[0], ends_[1]);
    if (IsSwitchingKind()) {
        if (PrimitiveText* label = GetLabel(kNameLabel)) label->SetPosition(m);
        return;
    }
    if (PrimitiveText* label = GetLabel(kLossLabel)) label->SetPosition(m);
    if (PrimitiveText* label = GetLabel(kNameLabel)) label->SetPosition({m.x - 5, m.y + 25});
}

bool PowerLine::AutoConnect() {
    if (!owner_ || category_ == kFreeLineCategory) return false;
    bool connected = false;
    for (int end : {0, 1}) {
        if (endKeys_[static_cast<std::size_t>(end)] != 0) continue;
        Point nearest;
        int busKey = 0;
        if (!owner_->FindNearestInList(ends_[static_cast<std::size_t>(end)], Category::Bus, nearest, busKey)) continue;
        ends_[static_cast<std::size_t>(end)] = nearest;
        path_.SetNode(nearest, end == 0 ? 0 : -1);
        endKeys_[static_cast<std::size_t>(end)] = busKey;
        owner_->ConnectAtPoint(busKey, key_, &nearest);
        connected = true;
    }
    if (connected) PlaceLabelsAtMidpoint();
    return connected;
}

void PowerLine::MoveLabel(int index, Point delta) {
    if (PrimitiveText* label = GetLabel(index)) label->Move(delta.x, delta.y, owner_ ? owner_->GetView() : nullptr);
}

void PowerLine::MoveEndAttachedTo(int key, Point delta) {
    if (moving_) return;
    const Point oldMid = Midpoint(ends_[0], ends_[1]);
    for (int end : {0, 1}) {
        const int endKey = endKeys_[static_cast<std::size_t>(end)];
        const bool follows = endKey == key || (owner_ && IsAttachedKey(endKey) && owner_->IsSelected(endKey));
        if (!follows) continue;
        Point& at = ends_[static_cast<std::size_t>(end)];
        const int node = end == 0 ? 0 : -1;
        const bool hasSegment = path_.GetNodeCount() >= 2;
        Point neighbour = hasSegment ? path_.GetNode(end == 0 ? 1 : path_.GetNodeCount() - 2) : at;
        InvalidateGrown(Normalized({at.x, at.y, neighbour.x, neighbour.y}), 3);
        at.x += delta.x;
        at.y += delta.y;
        path_.SetNode(at, node);
        InvalidateGrown(Normalized({at.x, at.y, neighbour.x, neighbour.y}), 3);
        if (IsSwitchingKind()) continue;
        MoveLabel(end == 0 ? kFromLabel : kToLabel, delta);
        if (end == 0 && GetBranchKind() != BD::kLine) MoveLabel(kRatioLabel, delta);
    }
    const Point newMid = Midpoint(ends_[0], ends_[1]);
    const Point shift{newMid.x - oldMid.x, newMid.y - oldMid.y};
    if (!IsSwitchingKind()) MoveLabel(kLossLabel, shift);
    MoveLabel(kNameLabel, shift);
    RecalcGeometry();
}

void PowerLine::SetConnectionPoint(Point point, bool end1) {
    SyncEndsFromPath();
    if (!end1 && !IsSwitchingKind()) MoveLabel(kFromLabel, {point.x - ends_[0].x, point.y - ends_[0].y});
    path_.SetNode(point, end1 ? -1 : 0);
    EEElement::SetConnectionPoint(point, end1);
}

void PowerLine::SyncEndsFromPath() {
    if (path_.GetNodeCount() == 0) return;
    ends_[0] = path_.GetNode(0);
    ends_[1] = path_.GetNode(-1);
}

int PowerLine::SnapToEnd(Point point, Point& snapped) {
    if (!HasFreeEnd()) return -1;
    return path_.FindNode(point, snapped, IsEndFree(0), IsEndFree(1));
}

// --- Geometry and moving ---

void PowerLine::RecalcGeometry() {
    if (path_.GetNodeCount() > 0) rect_ = path_.GetBoundingRect();
}

Rect PowerLine::CalcBoundingRect() {
    RecalcGeometry();
    Rect bounds = UnionRect(Normalized(rect_), Normalized(path_.GetBoundingRect()));
    bounds.Inflate(10, 30);
    return bounds;
}

bool PowerLine::HitTest(Point point) {
    if (PrimitiveText* label = GetLabel(selectedLabel_)) label->SetHighlight(false);
    selectedLabel_ = -1;
    selected_ = false;
    Point nearest;
    if (path_.DistanceToPath(point, nearest) <= kPathHitDistance) {
        selected_ = true;
        return true;
    }
    for (int i = 0; i < GetLabelCount(); ++i) {
        if (IsLabelShown(i) && labels_[static_cast<std::size_t>(i)]->HitTest(point)) {
            selectedLabel_ = i;
            return true;
        }
    }
    return false;
}

int PowerLine::HitTestBody(Point point, Point& nearest) { return path_.DistanceToPath(point, nearest); }

void PowerLine::Move(int dx, int dy, bool withConnected) {
    moving_ = true;
    if (HasSelectedLabel() && withConnected) {
        MoveLabel(selectedLabel_, {dx, dy});
    } else {
        InvalidateGrown(path_.GetBoundingRect(), 3);
        for (int i = 0; i < path_.GetNodeCount(); ++i) path_.MoveNode(i, {dx, dy});
        SyncEndsFromPath();
        InvalidateGrown(path_.GetBoundingRect(), 3);
        for (int i = 0; i < GetLabelCount(); ++i) MoveLabel(i, {dx, dy});
        if (withConnected) MoveConnectedElements(dx, dy);
    }
    moving_ = false;
    RecalcGeometry();
}

bool PowerLine::DragHandle(int kind, int handle, Point delta) {
    IView* view = owner_ ? owner_->GetView() : nullptr;
    Rect area;
    switch (kind) {
        case kDragClick: {
            if (path_.IsFinished()) return false;
            path_.AddNode(delta);
            ends_[1] = delta;
            if (!AutoConnect()) {
                RecalcGeometry();
                if (owner_) owner_->InvalidateArea(nullptr);
                return false;
            }
            // The end connected to a bus: the last node already lies on it.
            path_.Finish(false);
            if (owner_) owner_->ClearSelection();
            if (view) view->ReleaseMouse();
            return true;
        }
        case kDragFinish: {
            if (path_.IsFinished()) return false;
            ends_[1] = delta;
            path_.Finish(true);
            RecalcGeometry();
            path_.MoveFloatingPoint(delta, area);
            InvalidateGrown(area, kDragMargin);
            if (owner_) owner_->InvalidateArea(nullptr);
            return true;
        }
        case kDragMove: {
            auto bits = static_cast<unsigned>(handle);
            const bool nodeHandle = (bits >> 16) == kNodeHandleMarker;
            if (nodeHandle) {
                const int node = static_cast<int>(bits & 0xFFFF);
                if (!path_.IsFinished() || node >= path_.GetNodeCount()) return false;
                Rect before = path_.GetBoundingRect();
                path_.MoveNode(node, delta);
                SyncEndsFromPath();
                InvalidateGrown(UnionRect(Normalized(before), Normalized(path_.GetBoundingRect())), kDragMargin);
            } else if (path_.IsFinished()) {
                return false;
            }
            path_.MoveFloatingPoint(delta, area);
            InvalidateGrown(area, kDragMargin);
            RecalcGeometry();
            return false;
        }
        default: return false;
    }
}

// --- Archive ---

void PowerLine::Serialize(Archive& archive) {
    if (archive.IsLoading()) CreateLabels({});
    EEElement::Serialize(archive);
    path_.Serialize(archive);
    if (category_ == Category::Connector || category_ == kFreeLineCategory || data_.empty()) return;
    const int kind = GetBranchKind();
    auto& v = data_;
    if (archive.IsStoring()) {
        archive.WriteUInt32(NarrowForArchive<std::uint32_t>(v[BD::kReserved0]));
        archive.WriteUInt32(NarrowForArchive<std::uint32_t>(v[BD::kReserved1]));
        archive.WriteByte(NarrowForArchive<std::uint8_t>(v[BD::kCircuits]));
        archive.WriteByte(NarrowForArchive<std::uint8_t>(v[BD::kControlType]));
        for (int i : {BD::kResistance, BD::kReactance, BD::kSusceptance, BD::kConductance, BD::kRating}) {
            archive.WriteDouble(v[i]);
        }
        archive.WriteByte(NarrowForArchive<std::uint8_t>(v[BD::kMeteredEnd]));
        for (int i : {BD::kPFrom, BD::kQFrom, BD::kPTo, BD::kQTo, BD::kNotification, BD::kCurrent}) {
            archive.WriteDouble(v[i]);
        }
        if (kind != BD::kFixedTransformer) archive.WriteDouble(v[BD::kLength]);
        if (kind == BD::kRegulatingTransformer) {
            archive.WriteUInt32(NarrowForArchive<std::uint32_t>(v[BD::kRegulatedEnd]));
        }
        if (kind != BD::kLine) {
            for (int i : {BD::kTapRatio, BD::kPhaseShift, BD::kFromTapKv, BD::kToTapKv}) archive.WriteDouble(v[i]);
        }
        if (kind == BD::kRegulatingTransformer) {
            for (int i : {BD::kLowerLimit, BD::kUpperLimit, BD::kBandMinimum, BD::kBandMaximum}) {
                archive.WriteDouble(v[i]);
            }
        }
    } else {
        // Read into a copy first: a short block leaves the line as it was.
        std::vector<double> read = v;
        read[BD::kReserved0] = archive.ReadUInt32();
        read[BD::kReserved1] = archive.ReadUInt32();
        read[BD::kCircuits] = archive.ReadByte();
        read[BD::kControlType] = archive.ReadByte();
        for (int i : {BD::kResistance, BD::kReactance, BD::kSusceptance, BD::kConductance, BD::kRating}) {
            read[static_cast<std::size_t>(i)] = archive.ReadDouble();
        }
        read[BD::kMeteredEnd] = archive.ReadByte();
        for (int i : {BD::kPFrom, BD::kQFrom, BD::kPTo, BD::kQTo, BD::kNotification, BD::kCurrent}) {
            read[static_cast<std::size_t>(i)] = archive.ReadDouble();
        }
        read[BD::kTapRatio] = read[BD::kPhaseShift] = read[BD::kFromTapKv] = read[BD::kToTapKv] = 0.0;
        read[BD::kLength] = 0.1;
        if (kind != BD::kFixedTransformer) read[BD::kLength] = archive.ReadDouble();
        // A fixed transformer's current has no meaning; a regulating one's
        // tap steps are user data, of which there is at least one.
        if (kind == BD::kFixedTransformer || (kind == BD::kRegulatingTransformer && !(read[BD::kTapSteps] >= 1.0))) {
            read[BD::kTapSteps] = 1.0;
        }
        if (kind == BD::kRegulatingTransformer) read[BD::kRegulatedEnd] = archive.ReadUInt32();
        if (kind != BD::kLine) {
            for (int i : {BD::kTapRatio, BD::kPhaseShift, BD::kFromTapKv, BD::kToTapKv}) {
                read[static_cast<std::size_t>(i)] = archive.ReadDouble();
            }
        }
        if (kind == BD::kRegulatingTransformer) {
            for (int i : {BD::kLowerLimit, BD::kUpperLimit, BD::kBandMinimum, BD::kBandMaximum}) {
                read[static_cast<std::size_t>(i)] = archive.ReadDouble();
            }
        }
        v = std::move(read);
    }
    SerializeLabels(archive);
}
