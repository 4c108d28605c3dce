// The shunt kinds: construction, present values at the bus voltage, labels,
// remote commands, flows, geometry and the archive block.

#include "shunt.h"

#include <algorithm>

#include "element_key.h"
#include "format_text.h"
#include "power_system.h"

namespace {

// The body hangs from end 1: 14 wide and 30 high, 7 below end 1.
constexpr int kBodyHalfWidth = 7;
constexpr int kBodyTop = 7;
constexpr int kBodyBottom = 37;
// A new shunt hangs this far below its bus.
constexpr int kStubLength = 10;

}  // namespace

Shunt::Shunt(PowerSystem* owner, int key, Point at, int category) : OnePortElement(owner, key, at, category) {
    AutoConnect();
    ends_[1] = {ends_[0].x, ends_[0].y + kStubLength};
    RecalcGeometry();
    AddLabel({rect_.right + 5, rect_.top + 7}, true).SetText("0/0");
    archivedLabelCount_ = 1;
    ApplyDefaultLabelFont();
}

Shunt::Shunt(int category) : OnePortElement(category) {
    AddLabel({}, true);
    archivedLabelCount_ = 1;
}

Shunt::Shunt(PowerSystem* owner, int key, Point at) : Shunt(owner, key, at, Category::Shunt) {}

Shunt::Shunt() : Shunt(Category::Shunt) {}

Capacitor::Capacitor(PowerSystem* owner, int key, Point at, int category) : Shunt(owner, key, at, category) {
    UpdateShuntLabel();
}

Capacitor::Capacitor(PowerSystem* owner, int key, Point at) : Capacitor(owner, key, at, Category::Capacitor) {}

Capacitor::Capacitor() : Shunt(Category::Capacitor) {}

Reactor::Reactor(PowerSystem* owner, int key, Point at) : Shunt(owner, key, at, Category::Reactor) {
    UpdateShuntLabel();
}

Reactor::Reactor() : Shunt(Category::Reactor) {}

std::unique_ptr<IElement> Shunt::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<Shunt>(owner, key, point);
}

std::unique_ptr<IElement> Capacitor::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<Capacitor>(owner, key, point);
}

std::unique_ptr<IElement> Reactor::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<Reactor>(owner, key, point);
}

// --- Results ---

bool Shunt::FillSolverRecord(SolverRecord target, char) {
    auto* const* slot = std::get_if<ShuntRecord*>(&target);
    if (!slot || !*slot) return false;
    ShuntRecord& record = **slot;
    const double base = GetMvaBase();
    record.susceptance = values_[kQ] / base;
    record.conductance = values_[kP] / base;
    record.presentQ = record.presentP = 0.0;
    double v = 0.0;
    if (!BusVoltage(v)) return false;
    record.presentQ = v * v * values_[kQ];
    record.presentP = v * v * values_[kP];
    return true;
}

void Shunt::UpdateShuntLabel() {
    ShuntRecord record;
    Shunt::FillSolverRecord(&record, 0);
    values_[kPresentP] = record.presentP;
    values_[kPresentQ] = record.presentQ;
    std::string text;
    if (!GetOwnerLabelMode()) {
        switch (category_) {
            case Category::Shunt: text = FormatText("Ssh=%.2f/%.2f", values_[kPresentP], values_[kPresentQ]); break;
            case Category::Capacitor: text = FormatText("Qc=%.2f", values_[kPresentQ]); break;
            case Category::Reactor: text = FormatText("Ql=%.2f", values_[kPresentQ]); break;
            default: break;  // a bank's label waits for its own update
        }
    }
    SetResultText(text);
}

void Shunt::UpdateResultLabel(const double* values) {
    if (values) std::copy_n(values, kValueCount, values_.begin());
    UpdateShuntLabel();
}

void Shunt::SendChangeCommand() {
    SendWhenRemote(FormatText("CHANGE SHUNT=%s G= %.4g B= %.4g", BusName().c_str(), values_[kP], values_[kQ]));
}

void Capacitor::SendChangeCommand() {
    SendWhenRemote(FormatText("CHANGE CAPACITOR=%s B= %.4g", BusName().c_str(), values_[kQ]));
}

void Reactor::SendChangeCommand() {
    SendWhenRemote(FormatText("CHANGE REACTOR=%s B= %.4g", BusName().c_str(), values_[kQ]));
}

bool Shunt::GetFlowAtEnd(int key, double& p, double& q, bool& pending) {
    return InjectionAtEnd(key, -values_[kPresentP], values_[kPresentQ], p, q, pending);
}

bool Capacitor::GetFlowAtEnd(int key, double& p, double& q, bool& pending) {
    return InjectionAtEnd(key, 0.0, values_[kPresentQ], p, q, pending);
}

bool Reactor::GetFlowAtEnd(int key, double& p, double& q, bool& pending) {
    return InjectionAtEnd(key, 0.0, values_[kPresentQ], p, q, pending);
}

// --- Geometry ---

void Shunt::RecalcGeometry() {
    const Point e = ends_[1];
    rect_ = {e.x - kBodyHalfWidth, e.y + kBodyTop, e.x + kBodyHalfWidth, e.y + kBodyBottom};
}

int Shunt::HitTestBody(Point point, Point& nearest) {
    const Point e = ends_[1];
    return DistanceToSegment({e.x, e.y + kBodyTop}, {e.x, e.y + kBodyBottom}, point, nearest);
}

// --- Archive ---

void Shunt::Serialize(Archive& archive) {
    SerializeOnePort(archive);
    if (archive.IsStoring()) {
        archive.WriteDouble(values_[kP]);
        archive.WriteDouble(values_[kQ]);
    } else {
        double p = archive.ReadDouble();
        double q = archive.ReadDouble();
        values_[kP] = p;
        values_[kQ] = q;
    }
    SerializeLabels(archive);
}
