// Switches and connectors: construction, state, flows, their record for the
// model's connector table and their archive block.

#include "switching_element.h"

#include <algorithm>
#include <cstdio>

#include "element_key.h"
#include "power_system.h"

namespace SD = SwitchData;

namespace {

// The switches' rubber band repaints the whole path while it is drawn.
constexpr int kSwitchExtentSize = 20;
// The record tag of the connector table.
constexpr int kConnectorRecordTag = 2;

std::string Format(const char* format, double first, double second) {
    char text[128];
    std::snprintf(text, sizeof text, format, first, second);
    return text;
}

}  // namespace

Connector::Connector(PowerSystem* owner, int key, Point at) : Connector(owner, key, at, true) {}

Connector::Connector(PowerSystem* owner, int key, Point at, bool closed)
    : PowerLine(owner, key, at, Category::Connector) {
    archivedLabelCount_ = 1;
    CreateLabels(at);
    if (!AutoConnect()) path_.SetNode(at, 0);
    endKeys_[1] = 0;
    path_.Reopen();
    ApplyDefaultLabelFont();
    if (!closed) {
        path_.SetExtentOptions(true, kSwitchExtentSize);
        on_ = false;
    }
    data_[SD::kState] = on_ ? 1.0 : 0.0;
}

Connector::Connector() {
    category_ = Category::Connector;
    archivedLabelCount_ = 1;
    CreateLabels({});
}

Disconnector::Disconnector(PowerSystem* owner, int key, Point at) : Connector(owner, key, at, false) {}
CircuitBreaker::CircuitBreaker(PowerSystem* owner, int key, Point at) : Connector(owner, key, at, false) {}
Fuse::Fuse(PowerSystem* owner, int key, Point at) : Connector(owner, key, at, false) {}

std::unique_ptr<IElement> Connector::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<Connector>(owner, key, point);
}
std::unique_ptr<IElement> Disconnector::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<Disconnector>(owner, key, point);
}
std::unique_ptr<IElement> CircuitBreaker::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<CircuitBreaker>(owner, key, point);
}
std::unique_ptr<IElement> Fuse::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<Fuse>(owner, key, point);
}

void Connector::CreateLabels(Point anchor) {
    labels_.clear();
    labelFlags_.clear();
    AddLabel(anchor, false);
    if (data_.empty()) data_.assign(SD::kCount, 0.0);
}

void Connector::SetOn(bool on) {
    data_[SD::kState] = on ? 1.0 : 0.0;
    EEElement::SetOn(on);
    if (!on) data_[SD::kCurrent] = data_[SD::kP] = data_[SD::kQ] = 0.0;
    if (owner_) owner_->InvalidateBusGroups();
}

void Connector::SetFlowKnown(bool known) {
    if (on_) {
        flowsKnown_ = known;
    } else {
        flowsKnown_ = true;
        data_[SD::kP] = data_[SD::kQ] = 0.0;
    }
    if (!flowsKnown_) data_[SD::kP] = data_[SD::kQ] = 0.0;
}

void Connector::SetFlow(int busKey, double p, double q) {
    if (!on_ || !IsAttachedKey(busKey)) return;
    if (busKey == endKeys_[0]) {
        data_[SD::kP] = p;
        data_[SD::kQ] = q;
    } else if (busKey == endKeys_[1]) {
        data_[SD::kP] = -p;
        data_[SD::kQ] = -q;
    } else {
        return;
    }
    flowsKnown_ = true;
    UpdateResultLabel(nullptr);
}

bool Connector::GetFlowAtEnd(int key, double& p, double& q, bool& pending) {
    pending = true;
    p = q = 0.0;
    if (!flowsKnown_) return false;
    if (!on_) return true;
    if (!IsAttachedKey(key)) return false;
    if (key == endKeys_[0]) {
        p = -data_[SD::kP];
        q = -data_[SD::kQ];
        return true;
    }
    if (key == endKeys_[1]) {
        p = data_[SD::kP];
        q = data_[SD::kQ];
        return true;
    }
    return false;
}

void Connector::UpdateResultLabel(const double* values) {
    if (values) std::copy_n(values, SD::kCount, data_.begin());
    if (!on_) data_[SD::kP] = data_[SD::kQ] = 0.0;
    // The label shows the magnitude of P; the symbol's arrow its direction.
    const double s = data_[SD::kP] < 0.0 ? -1.0 : 1.0;
    const double p = s * data_[SD::kP];
    const double q = s * data_[SD::kQ];
    std::string text;
    if (GetOwnerLabelMode()) text = Format("%.2f/%.2f", p, q);
    else if (!on_) text = "S=0/0";
    else text = Format("S=%.2f/%.2f", p, q);
    SetLabelText(kNameLabel, text);
}

double Connector::GetLoadingIndex() const {
    const double rated = Value(SD::kRatedCurrent);
    return rated > 0.0 ? Value(SD::kCurrent) / rated : 0.0;
}

bool Connector::FillSolverRecord(SolverRecord target, char) {
    auto* const* slot = std::get_if<BranchRecord*>(&target);
    if (!slot || !*slot || !on_) return false;
    double kv[2] = {0, 0}, voltage[2] = {0, 0};
    if (!EndBusValues(0, kv[0], voltage[0]) || !EndBusValues(1, kv[1], voltage[1])) return false;
    BranchRecord& r = **slot;
    const double p = data_[SD::kP];
    const double q = data_[SD::kQ];
    r.recordTag = kConnectorRecordTag;
    r.kind = GetElementType();
    FillBranchEnds(r, kv);
    r.pFrom = p;
    r.qFrom = q;
    r.pTo = -p;
    r.qTo = -q;
    r.currentFrom = EndCurrent(p, q, voltage[0], kv[0]);
    return true;
}

void Connector::Serialize(Archive& archive) {
    PowerLine::Serialize(archive);
    if (archive.IsStoring()) {
        for (double value : data_) archive.WriteDouble(value);
    } else {
        double read[SD::kCount];
        for (double& value : read) value = archive.ReadDouble();
        std::copy_n(read, SD::kCount, data_.begin());
    }
    SerializeLabels(archive);
}
