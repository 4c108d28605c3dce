// The bus bar: construction, labels, the attached keys, geometry, copies and
// the archive block.

#include "bus.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "archived_integer.h"
#include "diagram_archive.h"
#include "element_key.h"
#include "power_system.h"
#include "segment_distance.h"

namespace {

// A point this close (squared) to an end of the bar snaps to it.
constexpr int kEndSnapDistance = 60;
// Drag handles of the bar's ends: the upper 16 bits set, the end below.
constexpr unsigned kEndHandleMarker = 0xFFFF;
constexpr int kDragKindMove = 4;
// Keys that a pasted bus never takes over from its source.
constexpr int kBaseTypeKey = 30;
// The degree sign in the single-byte code page of names and labels.
constexpr char kDegreeSign = static_cast<char>(0xB0);

Rect Normalized(Rect r) {
    r.Normalize();
    return r;
}

}  // namespace

Bus::Bus(PowerSystem* owner, int key, Point at, bool vertical)
    : EEElement(owner, key, at, {at.x, at.y - kDefaultLength}, Category::Bus), vertical_(vertical ? 1 : 0) {
    rect_ = vertical ? Rect{at.x - 2, at.y, at.x + 2, at.y + kDefaultLength}
                     : Rect{at.x, at.y - 2, at.x + kDefaultLength, at.y + 2};
    if (vertical) {
        AddLabel({at.x - 15, at.y - 15}, true);
        AddLabel({at.x - 20, at.y + 43}, true).SetText("V=1.0/0.0");
    } else {
        AddLabel({at.x - 30, at.y - 15}, true);
        AddLabel({at.x + 45, at.y - 15}, true).SetText("V=1.0/0.0");
    }
    values_ = {100.0, 1.0, 0.0, 1.0, kLoadKind, 0.95, 1.1, 0.0, 0.0, 0.0};
    archivedLabelCount_ = 2;
    ApplyDefaultLabelFont();
}

Bus::Bus() {
    category_ = Category::Bus;
    AddLabel({}, true);
    AddLabel({}, true);
    archivedLabelCount_ = 2;
}

Bus::~Bus() {
    if (owner_) DetachFromNeighbours();
}

IElement* Bus::Attached(int key) const {
    return owner_ && IsAttachedKey(key) ? owner_->FindByKey(key) : nullptr;
}

void Bus::SetName(std::string_view name) {
    EEElement::SetName(name);
    labels_[0]->SetText(name_);
}

void Bus::GetValuesAndFlags(std::span<double>& values, std::vector<std::uint8_t>*& flags) {
    values = values_;
    flags = &labelFlags_;
}

std::string Bus::VoltageText() const {
    char text[96];
    double kv = values_[kNominalKv] * values_[kVoltage];
    const char* format = GetOwnerLabelMode() ? "%.3f/%.2f%c" : "V=%.2f/%.1f%c";
    std::snprintf(text, sizeof text, format, kv, values_[kAngle], kDegreeSign);
    return text;
}

void Bus::UpdateResultLabel(const double* values) {
    if (values) std::copy_n(values, kValueCount, values_.begin());
    if (values_[kVoltage] <= 0.0) {
        values_[kAngle] = 0.0;
        SetConnectedGeneration(0.0, 0.0);
    }
    labels_[1]->SetText(VoltageText());
    labels_[0]->SetText(name_);
    // Loads, capacitors and reactors show what they take at this voltage.
    for (int key : std::vector<int>(keys_)) {
        int category = KeyCategory(key);
        if (category != Category::Load && category != Category::Capacitor && category != Category::Reactor) continue;
        if (IElement* element = Attached(key)) element->UpdateResultLabel(nullptr);
    }
}

void Bus::SetOn(bool on) {
    on_ = on;
    for (int key : std::vector<int>(keys_)) {
        if (IElement* element = Attached(key)) element->SetOn(on);
    }
}

bool Bus::IsOverLimit() const {
    double v = values_[kVoltage];
    if (drawnByColorMap_ || v == 0.0) return false;
    return v > values_[kMaxVoltage] || v < values_[kMinVoltage];
}

double Bus::GetVoltageIndex() const {
    double v = values_[kVoltage];
    return v <= 1.0 ? v : 1.0 / v;
}

bool Bus::CheckLimits(std::string& text) {
    const char* format = nullptr;
    if (values_[kVoltage] > values_[kMaxVoltage]) format = "Bus '%s' over maximum voltage limit!";
    else if (values_[kVoltage] < values_[kMinVoltage]) format = "Bus '%s' bellow minimum voltage limit!";
    if (!format) return false;
    std::vector<char> buffer(name_.size() + 64);
    std::snprintf(buffer.data(), buffer.size(), format, name_.c_str());
    text = buffer.data();
    return true;
}

// --- Attached elements ---

bool Bus::ConnectAtPoint(int key, const Point*) {
    keys_.push_back(key);
    return true;
}

void Bus::RemoveConnection(int key) { std::erase(keys_, key); }

void Bus::DetachFromNeighbours() {
    for (int key : std::vector<int>(keys_)) {
        if (IElement* element = Attached(key)) element->RemoveConnection(key_);
    }
}

void Bus::DisconnectAll() {
    DetachFromNeighbours();
    keys_.clear();
}

void Bus::GetConnectedElements(std::vector<IElement*>& out) {
    for (int key : keys_) {
        if (KeyCategory(key) != Category::Line) continue;
        IElement* branch = Attached(key);
        if (!branch) continue;
        std::vector<IElement*> ends;
        branch->GetConnectedElements(ends);
        for (IElement* end : ends) {
            if (end && end != this && end->GetType(false) == Category::Bus) out.push_back(end);
        }
    }
}

void Bus::RemapConnections(const IElement& source, const std::map<int, int>& newKeys) {
    const auto* bus = dynamic_cast<const Bus*>(&source);
    if (!bus) return;
    for (int key : bus->keys_) {
        if (key == kBaseTypeKey || key == kFreeEndKey) continue;
        if (auto found = newKeys.find(key); found != newKeys.end()) keys_.push_back(found->second);
    }
}

int Bus::CountLinesOn() {
    int count = 0;
    for (int key : keys_) {
        if (KeyCategory(key) != Category::Line) continue;
        if (IElement* element = Attached(key); element && element->IsOn()) ++count;
    }
    return count;
}

bool Bus::ConnectFreeEnds(const Rect& box, const std::function<Point(Point)>& target) {
    // A bus without a key is not on the diagram yet (the model makes an
    // empty one before reading it): it must not pull line ends to its empty
    // rectangle at the origin.
    if (!owner_ || key_ == 0) return false;
    bool connected = false;
    bool more = false;
    do {
        int end = 0;
        IElement* element = nullptr;
        if (!owner_->HitTestEnds(more, Category::Line, box, end, element)) break;
        Point at = target(element->GetConnectionPoint(end == 0 ? 0 : 1));
        ConnectAtPoint(element->GetKey(), &at);
        element->SetConnectionPoint(at, end != 0);
        element->ConnectAtPoint(key_, &at);
        connected = true;
    } while (more);
    return connected;
}

bool Bus::AutoConnect() {
    return ConnectFreeEnds(rect_, [this](Point end) {
        Point nearest;
        DistanceToSegment(BarStart(), BarEnd(), end, nearest);
        return nearest;
    });
}

// --- Geometry ---

Point Bus::BarStart() const {
    if (vertical_) return {(rect_.left + rect_.right) / 2, rect_.top};
    return {rect_.left, (rect_.top + rect_.bottom) / 2};
}

Point Bus::BarEnd() const {
    if (vertical_) return {(rect_.left + rect_.right) / 2, rect_.bottom};
    return {rect_.right, (rect_.top + rect_.bottom) / 2};
}

void Bus::SetLength(int length) {
    length_ = length;
    RecalcGeometry();
}

void Bus::RecalcGeometry() {
    if (vertical_) rect_.bottom = rect_.top + length_;
    else rect_.right = rect_.left + length_;
}

int Bus::HitTestBody(Point point, Point& nearest) { return DistanceToSegment(BarStart(), BarEnd(), point, nearest); }

int Bus::SnapToEnd(Point point, Point& snapped) {
    int end = 0;
    for (Point candidate : {BarStart(), BarEnd()}) {
        if (SquaredDistance(point, candidate) <= kEndSnapDistance) {
            snapped = candidate;
            return end;
        }
        ++end;
    }
    return -1;
}

void Bus::MoveConnectedElements(int dx, int dy) {
    if (!owner_) return;
    for (int key : std::vector<int>(keys_)) {
        IElement* element = Attached(key);
        if (element && owner_->AddToMarked(element)) element->MoveEndAttachedTo(key_, {dx, dy});
    }
}

bool Bus::DragHandle(int kind, int handle, Point delta) {
    auto bits = static_cast<unsigned>(handle);
    unsigned end = bits & 0xFFFF;
    if (kind != kDragKindMove || (bits >> 16) != kEndHandleMarker || end > 1) return false;
    Rect before = rect_;
    int oldLength = length_;
    int& edge = vertical_ ? (end == 1 ? rect_.bottom : rect_.top) : (end == 1 ? rect_.right : rect_.left);
    edge += vertical_ ? delta.y : delta.x;
    length_ = vertical_ ? rect_.bottom - rect_.top : rect_.right - rect_.left;

    bool tooShort = keys_.empty() ? length_ < 10 : length_ <= 9;
    for (int key : keys_) {
        if (tooShort) break;
        IElement* element = Attached(key);
        if (!element) continue;
        Point at = element->GetConnectionPoint(key_);
        int coordinate = vertical_ ? at.y : at.x;
        int low = vertical_ ? rect_.top : rect_.left;
        int high = vertical_ ? rect_.bottom : rect_.right;
        tooShort = coordinate < low || coordinate > high;
    }
    if (tooShort) {
        rect_ = before;
        length_ = oldLength;
        return false;
    }
    InvalidateGrown(UnionRect(Normalized(before), Normalized(rect_)), 20);
    return true;
}

// --- Copies ---

std::unique_ptr<IElement> Bus::CreateNew(PowerSystem* owner, int key, Point point, int flag) {
    return std::make_unique<Bus>(owner, key, point, flag != 0);
}

std::unique_ptr<IElement> HorizontalBus::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<HorizontalBus>(owner, key, point);
}

std::unique_ptr<IElement> Bus::Duplicate(bool forClipboard) {
    Point at = vertical_ ? Point{rect_.left + 2, rect_.top} : Point{rect_.left, rect_.top + 2};
    return DuplicateAt(forClipboard, at);
}

std::unique_ptr<IElement> Bus::DuplicateAt(bool forClipboard, Point at) {
    if (!owner_) return nullptr;
    int key = owner_->NewKey(Category::Bus, forClipboard);
    int dx = 0;
    int dy = 0;
    int longMove = 0;
    owner_->GetDuplicationSteps(dx, dy, longMove);
    std::unique_ptr<IElement> copy = CreateNew(owner_, key, at, vertical_);
    CopyAttributesTo(copy.get());
    copy->SetLength(length_);
    copy->UpdateResultLabel(values_.data());
    copy->SetOn(on_);
    int step = owner_->GetGridStep();
    copy->Move(step * dx, step * dy, false);
    return copy;
}

// --- Archive ---

void Bus::SerializeBusData(Archive& archive) {
    if (archive.IsStoring()) {
        archive.WriteCount(keys_.size());
        for (int key : keys_) archive.WriteInt32(key);
        archive.WriteInt32(length_);
        archive.WriteByte(spare_ ? 1 : 0);
        for (int i : {kNominalKv, kVoltage, kAngle, kDesiredVoltage}) archive.WriteDouble(values_[i]);
        archive.WriteByte(NarrowForArchive<std::uint8_t>(values_[kKind]));
        archive.WriteDouble(values_[kMinVoltage]);
        archive.WriteDouble(values_[kMaxVoltage]);
        archive.WriteInt16(NarrowForArchive<std::int16_t>(values_[kSpareValue]));
        archive.WriteInt32(NarrowForArchive<std::int32_t>(values_[kRegulatedBusKey]));
        archive.WriteByte(NarrowForArchive<std::uint8_t>(values_[kRegulationShare]));
        archive.WriteInt32(vertical_);
        return;
    }
    // Read into locals first: a short block leaves the bus as it was.
    std::vector<int> keys(archive.ReadCount(4));
    for (int& key : keys) key = archive.ReadInt32();
    int length = archive.ReadInt32();
    // The bar's far end is placed from its start by the length: it must lie
    // on the diagram as every stored coordinate does.
    for (long long start : {rect_.left, rect_.top}) {
        long long end = start + length;
        if (end < -kMaxDiagramCoordinate || end > kMaxDiagramCoordinate) {
            throw ArchiveError(ArchiveError::Kind::OutOfRange, "bus bar reaching off the diagram");
        }
    }
    bool spare = archive.ReadByte() == 1;
    std::array<double, kValueCount> values{};
    for (int i : {kNominalKv, kVoltage, kAngle, kDesiredVoltage}) values[i] = archive.ReadDouble();
    values[kKind] = archive.ReadByte();
    values[kMinVoltage] = archive.ReadDouble();
    values[kMaxVoltage] = archive.ReadDouble();
    values[kSpareValue] = archive.ReadInt16();
    values[kRegulatedBusKey] = archive.ReadInt32();
    values[kRegulationShare] = archive.ReadByte();
    int vertical = archive.ReadInt32();

    keys_ = std::move(keys);
    length_ = length;
    spare_ = spare;
    values_ = values;
    vertical_ = vertical;
}

void Bus::Serialize(Archive& archive) {
    EEElement::Serialize(archive);
    SerializeBusData(archive);
    SerializeLabels(archive);
}
