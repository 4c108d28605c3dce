// The load: its voltage characteristic, result label, remote command, flow
// into the bus, geometry and the archive block.

#include "load.h"

#include <algorithm>

#include "archived_integer.h"
#include "diagram_archive.h"
#include "element_key.h"
#include "format_text.h"
#include "power_system.h"

namespace {

// A new load stands this far off its bus.
constexpr int kStubLength = 30;

std::array<double, Load::kValueCount> DefaultValues() {
    std::array<double, Load::kValueCount> v{};
    v[Load::kP] = 1.0;
    v[Load::kPShare] = 1.0;
    v[Load::kQShare] = 1.0;
    v[Load::kPConstantPower] = 1.0;
    v[Load::kQConstantPower] = 1.0;
    return v;
}

}  // namespace

Load::Load(PowerSystem* owner, int key, Point at) : OnePortElement(owner, key, at, Category::Load) {
    AutoConnect();
    ends_[1] = ends_[0];
    ends_[1].x = at.x > ends_[0].x ? ends_[0].x - kStubLength : ends_[0].x + kStubLength;
    values_ = DefaultValues();
    RecalcGeometry();
    AddLabel({rect_.left - 10, rect_.top - 15}, true).SetText("Sl=1.0/0.0");
    archivedLabelCount_ = 1;
    ApplyDefaultLabelFont();
}

Load::Load() : OnePortElement(Category::Load) {
    AddLabel({}, true);
    archivedLabelCount_ = 1;
}

std::unique_ptr<IElement> Load::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<Load>(owner, key, point);
}

// --- Results ---

void Load::ApplyVoltage(double v) {
    if (!(v > 0.0)) {
        values_[kP] = values_[kQ] = 0.0;
        return;
    }
    values_[kP] = values_[kPConstantPower] + values_[kPConstantCurrent] * v + values_[kPConstantImpedance] * v * v;
    values_[kQ] = values_[kQConstantPower] + values_[kQConstantCurrent] * v + values_[kQConstantImpedance] * v * v;
}

void Load::UpdateResultLabel(const double* values) {
    if (values) std::copy_n(values, kValueCount, values_.begin());
    double v = 0.0;
    if (BusVoltage(v)) ApplyVoltage(v);
    double p = on_ ? values_[kP] : 0.0;
    double q = on_ ? values_[kQ] : 0.0;
    SetResultText(GetOwnerLabelMode() ? FormatText("%.3g/%.3g", p, q) : FormatText("Sl=%.2f/%.2f", p, q));
}

void Load::SendChangeCommand() {
    SendWhenRemote(FormatText("CHANGE LOAD=%s PLOAD= %.4g QLOAD= %.4g", BusName().c_str(), values_[kP], values_[kQ]));
}

bool Load::GetFlowAtEnd(int key, double& p, double& q, bool& pending) {
    return InjectionAtEnd(key, -values_[kP], -values_[kQ], p, q, pending);
}

// --- Geometry ---

void Load::RecalcGeometry() {
    const Point e = ends_[1];
    facesLeft_ = !(ends_[0].x < e.x);
    const int b = facesLeft_ ? e.x - 10 : e.x + 5;
    rect_ = {b - 5, e.y - 10, b + 10, e.y + 10};
    const int back = facesLeft_ ? b + 5 : b;
    const int tip = facesLeft_ ? b : b + 5;
    arrow_ = {Point{back, e.y - 5}, Point{tip, e.y}, Point{back, e.y + 5}};
}

int Load::HitTestBody(Point point, Point& nearest) {
    Point onLine;
    int toLine = DistanceToSegment(ends_[0], ends_[1], point, onLine);
    int toBody = OnePortElement::HitTestBody(point, nearest);
    if (toLine < toBody) {
        nearest = onLine;
        return toLine;
    }
    return toBody;
}

// --- Archive ---

void Load::Serialize(Archive& archive) {
    SerializeOnePort(archive);
    if (archive.IsStoring()) {
        archive.WriteDouble(values_[kP]);
        archive.WriteDouble(values_[kQ]);
        archive.WriteByte(NarrowForArchive<std::uint8_t>(values_[kLoadFlag]));
        for (int i = 3; i <= 10; ++i) archive.WriteDouble(values_[i]);
        for (Point p : arrow_) WritePoint(archive, p);
        for (int i = kPConstantPower; i <= kQConstantImpedance; ++i) archive.WriteDouble(values_[i]);
        SerializeLabels(archive);
        return;
    }
    // Read into locals first: a short block leaves the load's values as
    // they were.
    std::array<double, kValueCount> values{};
    values[kP] = archive.ReadDouble();
    values[kQ] = archive.ReadDouble();
    values[kLoadFlag] = archive.ReadByte();
    for (int i = 3; i <= 10; ++i) values[i] = archive.ReadDouble();
    std::array<Point, 3> arrow{};
    for (Point& p : arrow) p = ReadPoint(archive);
    // 0: no document is being read, the block is the program's own.
    const int version = owner_ ? owner_->GetFileVersion() : 0;
    if (version == 0 || version > kLastVersionWithoutCharacteristic) {
        for (int i = kPConstantPower; i <= kQConstantImpedance; ++i) values[i] = archive.ReadDouble();
    } else {
        values[kPConstantPower] = values[kP];
        values[kQConstantPower] = values[kQ];
    }
    values_ = values;
    arrow_ = arrow;
    SerializeLabels(archive);
}
