// The generator kinds: construction, result label, remote command, flow
// into the bus, geometry and the archive block.

#include "generator.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "element_key.h"
#include "format_text.h"

namespace {

// Limits that stand for "none", Mvar and MW.
constexpr double kNoLimit = 9999.0;

// Label 0 of a new generator lies this far left of and below the body.
constexpr int kLabelLeftOfBody = 10;
constexpr int kLabelBelowBody = 3;

// The default value array of a new generator kind.
std::array<double, Generator::kValueCount> DefaultValues(double p) {
    return {p, 0.0, -kNoLimit, kNoLimit, 0.0, kNoLimit, kNoLimit, 0.0, 0.0, 0.0, kNoLimit, kNoLimit, 0.0, 1.0};
}

// The archive's order of the values: Pmax is stored before Pmin.
constexpr int kStoredOrder[Generator::kValueCount] = {0, 1, 2, 3, 5, 4, 6, 7, 8, 9, 10, 11, 12, 13};

}  // namespace

Generator::Generator(PowerSystem* owner, int key, Point at, int category, double defaultP)
    : OnePortElement(owner, key, at, category) {
    AutoConnect();
    // The symbol stands off the bus on the side the tool was used from.
    ends_[1] = ends_[0];
    if (ends_[0].x < at.x) ends_[1].x = ends_[0].x - 20;
    else if (at.x < ends_[0].x) ends_[1].x += 10;
    else ends_[1].y += 10;
    values_ = DefaultValues(defaultP);
    RecalcGeometry();
    AddLabel({rect_.left - kLabelLeftOfBody, rect_.bottom + kLabelBelowBody}, true).SetText("Sg=1.0/0.0");
    archivedLabelCount_ = 1;
    ApplyDefaultLabelFont();
}

Generator::Generator(int category) : OnePortElement(category) {
    AddLabel({}, true);
    archivedLabelCount_ = 1;
}

Generator::Generator(PowerSystem* owner, int key, Point at, int) : Generator(owner, key, at, Category::Generator, 1.0) {}

Generator::Generator() : Generator(Category::Generator) {}

SyncCompensator::SyncCompensator(PowerSystem* owner, int key, Point at, int)
    : Generator(owner, key, at, Category::SyncCompensator, 0.0) {
    UpdateResultLabel(nullptr);
}

SyncCompensator::SyncCompensator() : Generator(Category::SyncCompensator) {}

VarCompensator::VarCompensator(PowerSystem* owner, int key, Point at, int)
    : Generator(owner, key, at, Category::VarCompensator, 0.0) {
    UpdateResultLabel(nullptr);
    ApplyDefaultLabelFont();
}

VarCompensator::VarCompensator() : Generator(Category::VarCompensator) {}

std::unique_ptr<IElement> Generator::CreateNew(PowerSystem* owner, int key, Point point, int flag) {
    return std::make_unique<Generator>(owner, key, point, flag);
}

std::unique_ptr<IElement> SyncCompensator::CreateNew(PowerSystem* owner, int key, Point point, int flag) {
    return std::make_unique<SyncCompensator>(owner, key, point, flag);
}

std::unique_ptr<IElement> VarCompensator::CreateNew(PowerSystem* owner, int key, Point point, int flag) {
    return std::make_unique<VarCompensator>(owner, key, point, flag);
}

// --- Results ---

void Generator::UpdateResultLabel(const double* values) {
    if (values) std::copy_n(values, kValueCount, values_.begin());
    const bool remote = GetOwnerLabelMode();
    if (!GivesActivePower()) {
        values_[kP] = 0.0;
        SetResultText(remote ? FormatText("%.3f", values_[kQ]) : FormatText("Q=%.2f", values_[kQ]));
        return;
    }
    SetResultText(remote ? FormatText("%.3f/%.3f", values_[kP], values_[kQ])
                         : FormatText("Sg=%.2f/%.2f", values_[kP], values_[kQ]));
}

void Generator::SendChangeCommand() {
    SendWhenRemote(FormatText("CHANGE GENERATOR=%s PG= %.4g", BusName().c_str(), values_[kP]));
}

void SyncCompensator::SendChangeCommand() {
    SendWhenRemote(FormatText("CHANGE SYNCHCOMP=%s QCOMP= %.4g", BusName().c_str(), values_[kQ]));
}

bool Generator::GetFlowAtEnd(int key, double& p, double& q, bool& pending) {
    return InjectionAtEnd(key, values_[kP], values_[kQ], p, q, pending);
}

bool SyncCompensator::GetFlowAtEnd(int key, double& p, double& q, bool& pending) {
    return InjectionAtEnd(key, 0.0, values_[kQ], p, q, pending);
}

double Generator::GetLoadingIndex() const {
    double range = std::fabs(values_[kQMax] - values_[kQMin]);
    if (!(range > 0.0)) return 0.0;
    return std::max(std::fabs(values_[kQ] - values_[kQMax]), std::fabs(values_[kQ] - values_[kQMin])) / range;
}

// --- Geometry ---

void Generator::RecalcGeometry() {
    // The body is 30 by 30: below end 1 on a vertical stub, beside it on a
    // horizontal one.
    facesLeft_ = ends_[0].x >= ends_[1].x;
    orientation_ = false;
    const Point e = ends_[1];
    if (std::llabs(static_cast<long long>(e.y) - ends_[0].y) > 4) {
        rect_ = {e.x - 15, e.y + 5, e.x + 15, e.y + 35};
        return;
    }
    orientation_ = true;
    rect_.left = facesLeft_ ? e.x - 35 : e.x + 5;
    rect_.top = e.y - 15;
    rect_.right = rect_.left + 30;
    rect_.bottom = rect_.top + 30;
}

// --- Archive ---

void Generator::Serialize(Archive& archive) {
    SerializeOnePort(archive);
    if (archive.IsStoring()) {
        for (int index : kStoredOrder) archive.WriteDouble(values_[index]);
    } else {
        std::array<double, kValueCount> values{};
        for (int index : kStoredOrder) values[index] = archive.ReadDouble();
        values_ = values;
    }
    SerializeLabels(archive);
}
