// The one-port base: hanging from a bus, following it, copies and the
// one-port block of the archive.

#include "one_port.h"

#include <algorithm>

#include "bus.h"
#include "element_key.h"
#include "power_system.h"
#include "segment_distance.h"

namespace {

Rect Normalized(Rect r) {
    r.Normalize();
    return r;
}

// The area repainted around a moving one-port: its symbol and the label
// below or beside it.
constexpr int kMoveMarginX = 20;
constexpr int kMoveMarginY = 50;
constexpr int kBoundsMargin = 30;

}  // namespace

OnePortElement::OnePortElement(PowerSystem* owner, int key, Point at, int category)
    : EEElement(owner, key, at, at, category) {
    endKeys_[1] = kFreeEndKey;
}

OnePortElement::OnePortElement(int category) {
    category_ = category;
    endKeys_[1] = kFreeEndKey;
}

void OnePortElement::GetValuesAndFlags(std::span<double>& values, std::vector<std::uint8_t>*& flags) {
    values = ValueArray();
    flags = &labelFlags_;
}

IElement* OnePortElement::AttachedBus() const {
    // A document may name any element at end 0: only a bus key counts.
    if (!on_ || !owner_ || KeyCategory(endKeys_[0]) != Category::Bus) return nullptr;
    return owner_->FindByKey(endKeys_[0]);
}

bool OnePortElement::BusVoltage(double& v) const {
    IElement* bus = AttachedBus();
    const double* values = bus ? bus->GetValues() : nullptr;
    if (!values) return false;
    v = values[Bus::kVoltage];
    return true;
}

std::string OnePortElement::BusName() const {
    const std::string* name = GetEndName(0);
    return name ? *name : std::string();
}

void OnePortElement::SendWhenRemote(const std::string& command) {
    if (owner_ && GetOwnerLabelMode()) owner_->SendToRemoteSolver(command);
}

void OnePortElement::SetResultText(const std::string& text) {
    if (PrimitiveText* label = GetLabel(0)) label->SetText(text);
}

bool OnePortElement::InjectionAtEnd(int key, double injectedP, double injectedQ, double& p, double& q,
                                    bool& pending) const {
    pending = false;
    p = q = 0.0;
    if (key != endKeys_[0]) return false;
    if (on_) {
        p = injectedP;
        q = injectedQ;
    }
    return true;
}

double OnePortElement::GetVoltageIndex() const {
    IElement* bus = AttachedBus();
    return bus ? bus->GetVoltageIndex() : 0.0;
}

double OnePortElement::GetBaseVoltage() const {
    IElement* bus = AttachedBus();
    const double* values = bus ? bus->GetValues() : nullptr;
    return values ? values[Bus::kNominalKv] : 0.0;
}

// --- Connection and moving ---

bool OnePortElement::AutoConnect() {
    if (endKeys_[0] != 0 || !owner_) return false;
    Point nearest;
    int busKey = 0;
    if (!owner_->FindNearestInList(ends_[0], Category::Bus, nearest, busKey)) return false;
    ends_[0] = nearest;
    endKeys_[0] = busKey;
    owner_->ConnectAtPoint(busKey, key_, &nearest);
    // By category, which a one-port's class type equals: the kinds connect
    // while they are still being constructed.
    if (auto* bus = dynamic_cast<Bus*>(owner_->FindByKey(busKey))) bus->AdjustBusKind(category_);
    RecalcGeometry();
    return true;
}

void OnePortElement::MoveEndAttachedTo(int key, Point delta) {
    Rect before = CalcBoundingRect();
    if (key == endKeys_[0]) {
        ends_[0].x += delta.x;
        ends_[0].y += delta.y;
        if (!owner_ || !owner_->IsSelected(key_)) {
            ends_[1].x += delta.x;
            ends_[1].y += delta.y;
        }
    }
    RecalcGeometry();
    Rect changed = UnionRect(before, CalcBoundingRect());
    if (owner_) owner_->InvalidateArea(&changed);
}

void OnePortElement::Move(int dx, int dy, bool withConnected) {
    IView* view = owner_ ? owner_->GetView() : nullptr;
    if (PrimitiveText* label = GetLabel(selectedLabel_)) {
        label->Move(dx, dy, view);
        return;
    }
    Rect spanned = Normalized({ends_[0].x, ends_[0].y, ends_[1].x, ends_[1].y});
    if (owner_) {
        Size margin{kMoveMarginX, kMoveMarginY};
        owner_->InvalidateArea(&spanned, &margin);
    }
    // A connected end 0 is moved by its bus, which moves with the selection.
    if (!(IsAttachedKey(endKeys_[0]) && withConnected)) {
        ends_[0].x += dx;
        ends_[0].y += dy;
    }
    ends_[1].x += dx;
    ends_[1].y += dy;
    for (auto& label : labels_) label->Move(dx, dy, view);
    RecalcGeometry();
    if (owner_) {
        Size margin{kMoveMarginX, kMoveMarginY};
        owner_->InvalidateArea(&rect_, &margin);
    }
}

// --- Geometry ---

int OnePortElement::HitTestBody(Point point, Point& nearest) {
    Rect body = Normalized(rect_);
    nearest = {(body.left + body.right) / 2, (body.top + body.bottom) / 2};
    if (body.left <= point.x && point.x <= body.right && body.top <= point.y && point.y <= body.bottom) return 0;
    return SquaredDistance(point, nearest);
}

Rect OnePortElement::CalcBoundingRect() {
    Rect bounds = EEElement::CalcBoundingRect();
    for (Point end : ends_) {
        bounds.left = std::min(bounds.left, end.x);
        bounds.top = std::min(bounds.top, end.y);
        bounds.right = std::max(bounds.right, end.x);
        bounds.bottom = std::max(bounds.bottom, end.y);
    }
    bounds.Inflate(kBoundsMargin, kBoundsMargin);
    return bounds;
}

// --- Copies ---

std::unique_ptr<IElement> OnePortElement::Duplicate(bool forClipboard) {
    if (!owner_) return nullptr;
    int key = owner_->NewKey(category_, forClipboard);
    // Made without an owner, the copy connects to nothing where it is made
    // (a bus lying at the origin would otherwise take it and keep its key
    // after the copy moves away).
    std::unique_ptr<IElement> copy = CreateNew(nullptr, key, {0, 0}, 0);
    if (!copy) return nullptr;
    copy->SetOwner(owner_);
    copy->SetConnectionPoint(ends_[0], false);
    copy->SetConnectionPoint(ends_[1], true);
    CopyAttributesTo(copy.get());
    copy->UpdateResultLabel(GetValues());
    copy->SetOn(on_);
    int dx = 0;
    int dy = 0;
    int longMove = 0;
    owner_->GetDuplicationSteps(dx, dy, longMove);
    int step = owner_->GetGridStep();
    copy->Move(step * dx, step * dy, false);
    return copy;
}

// --- Archive and drawing ---

void OnePortElement::SerializeOnePort(Archive& archive) {
    EEElement::Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteByte(facesLeft_ ? 1 : 0);
        return;
    }
    facesLeft_ = archive.ReadByte() == 1;
}

void OnePortElement::Serialize(Archive& archive) { SerializeOnePort(archive); }

void OnePortElement::DrawEndMarks(DrawingContext& dc) {
    if (!selected_) return;
    for (Point end : ends_) {
        dc.Rectangle({end.x - kEndMarkHalf, end.y - kEndMarkHalf, end.x + kEndMarkHalf, end.y + kEndMarkHalf});
    }
}
