#include <algorithm>
#include <cmath>

#include "solver.h"

// The continuation's view of the network state: one value per unknown,
// read from the model field that the unknown's Jacobian column moves; the
// base point of a step saved and restored whole; and the predictor step
// applied to it with the clamping of Newton's own step application.

namespace {

// A voltage never falls to 0: the equations divide by it.
constexpr double kVoltageFloor = 0.00001;
// Relative difference below which a value read back counts as the one set.
constexpr double kReadBackRounding = 1e-12;

// What a bus's voltage column moves: the voltage, the reactive generation
// that holds it, lambda at the parameter bus, the ratio of the transformers
// that hold it (they move alike, so the first stands for them), or a remote
// bus's reactive unknown. Null when nothing moves.
double* VoltageColumnField(NetBus& bus, double& lambda) {
    switch (bus.voltageColumn) {
    case VoltageColumn::ScheduledQHeld:
    case VoltageColumn::GeneratorQ:
    case VoltageColumn::ZBusQ:
        return &bus.generationQ;
    case VoltageColumn::LoadParameter:
        return &lambda;
    case VoltageColumn::TransformerTap:
        for (const AdjacencyNode& node : bus.regulatingBranches)
            if (node.branch->code == "R") return &node.branch->tap;
        return nullptr;
    case VoltageColumn::RemoteQ:
        return &bus.EditExtras().regulatedGenerationQ;
    default:
        return &bus.voltage;
    }
}

}  // namespace

// Unknowns in the order NumberVariables gives them. The system slack's
// angle column holds its power; another slack's angle is held and moves
// nothing. The devices' unknowns follow their own modes, which a step may
// switch: they are taken every time. The buses' are taken again only after
// their modes were classified anew (a continuation reads its state several
// times a point, and walking every bus record is what that costs).
void Solver::StateFields() {
    std::vector<StateField>& fields = stateFields_;
    const std::size_t count = static_cast<std::size_t>(variableCount_) + 1;
    if (busFieldsHeld_ && fields.size() == count) {
        std::fill(fields.begin() + busVariableCount_ + 1, fields.end(), StateField());
        DeviceStateFields(fields);
        return;
    }
    busFieldsHeld_ = true;
    fields.assign(count, StateField());
    NetBus* systemSlack = SystemSlack();
    for (const auto& owned : network_->buses) {
        NetBus& bus = *owned;
        const int first = bus.firstVariable;
        fields[first] = &bus == systemSlack ? &bus.slackPower : CodeHas(bus.code, "S") ? nullptr : &bus.angle;
        fields[first + 1] = VoltageColumnField(bus, lambda_);
        if (switches_.areaControl && CodeHas(bus.code, "A")) fields[first + 2] = &bus.areaPower;
        if (!switches_.pqTransformerControl) continue;
        for (const AdjacencyNode& node : bus.regulatingBranches) {
            NetBranch& branch = *node.branch;
            if (!IsFlowRegulating(branch)) continue;
            fields[branch.variable] = branch.code == "RP"   ? &branch.shift
                                      : branch.code == "RQ" ? &branch.tap
                                                            : &branch.EditRegulation().controlTarget;
        }
    }
    DeviceStateFields(fields);
}

void Solver::ReadState(std::vector<double>& x) {
    StateFields();
    x.assign(stateFields_.size(), 0.0);
    for (std::size_t i = 1; i < stateFields_.size(); ++i)
        if (stateFields_[i].value) x[i] = stateFields_[i].Read();
}

void Solver::RestoreBasePoint() {
    curve_.base.Restore(*network_, lambda_);
}

// This state is the base point x0 of the step (and its parameter p0).
void Solver::SaveStepBase() {
    DeviceValues(deviceValues_);
    curve_.base.Save(*network_, lambda_, deviceValues_);
    ReadState(curve_.basePoint);
    curve_.parameterBase = parameterBus_ ? parameterBus_->voltage : lambda_;
    curve_.monitoredBase = MonitoredVoltageSum() + tolerance_;
}

// The state becomes x0 + t and the parameter p0 + dp, each clamped as
// Newton's step application clamps it; an unknown that stops short of
// x0 + t overshot its limit by the fraction |(x0 + t - value) / t| of its
// step.
double Solver::ApplyPredictor(StepAnswer answer) {
    RestoreBasePoint();
    return PredictFromBase(answer);
}

// ApplyPredictor with the state at the base point already.
double Solver::PredictFromBase(StepAnswer answer) {
    const int n = variableCount_;
    const bool fixing = answer == StepAnswer::Overshoot;
    double& parameter = parameterBus_ ? parameterBus_->voltage : lambda_;
    if (fixing && fixedVariables_.count > 0) FixVariables();

    std::copy_n(curve_.tangent.begin(), n + 1, correction_.begin());
    correction_[n + 1] = 0.0;
    UpdateBuses(1.0, Trial::First, Clamping::On, StepRecoveryHold());
    UpdateDevices(1.0, Trial::First, Clamping::On);

    double overshoot = 0.0;
    int clamped = 0;
    // A value read back in another form than the model holds it (a
    // converter's ratio or the cosine of its angle) carries rounding; that
    // is no clamping.
    auto note = [&](double wanted, double value, double step) {
        if (std::fabs(value - wanted) <= kReadBackRounding * std::max(1.0, std::fabs(wanted))) return;
        ++clamped;
        if (step != 0.0) overshoot = std::max(overshoot, std::fabs((wanted - value) / step));
    };
    // Lambda stops at 0, the load of the base case.
    const double wanted = curve_.parameterBase + curve_.parameterStep;
    parameter = parameterBus_ ? std::max(wanted, kVoltageFloor) : std::max(wanted, 0.0);
    note(wanted, parameter, curve_.parameterStep);
    ReadState(state_);
    for (int i = 1; i <= n; ++i)
        if (stateFields_[i].value) note(curve_.basePoint[i] + curve_.tangent[i], state_[i], curve_.tangent[i]);

    curve_.monitoredAfter = MonitoredVoltageSum();
    return fixing ? std::min(overshoot, 1.0) : clamped;
}

double Solver::TakePredictorStep() {
    SaveStepBase();
    // The state is the base point just saved: nothing to restore.
    const double overshoot = PredictFromBase(StepAnswer::Overshoot);
    if (!parameterBus_) ChooseSwitchCandidate();
    return overshoot;
}

// Option u: a fixed unknown takes no step; while fixing is due, an unknown
// whose step is small against its value becomes fixed.
void Solver::FixVariables() {
    for (int i = 1; i <= variableCount_; ++i) {
        if (fixedVariables_[i]) {
            curve_.tangent[i] = 0.0;
        } else if (curve_.fixingDue && curve_.basePoint[i] != 0.0 &&
                   std::fabs(curve_.tangent[i] / curve_.basePoint[i]) < curve_.fixingThreshold) {
            fixedVariables_[i] = 1;
            curve_.tangent[i] = 0.0;
            --curve_.freeVariables;
        }
    }
}

// The load bus whose voltage moves most in this lambda step (buses in list
// order, a later one taking over only by a larger move than the kept
// value), and its elasticity: relative voltage change over relative change
// of lambda.
void Solver::ChooseSwitchCandidate() {
    double kept = 0.0;
    NetBus* candidate = nullptr;
    std::size_t k = 0;
    for (const auto& owned : network_->buses) {
        NetBus& bus = *owned;
        const double baseVoltage = curve_.base.BusVoltage(k++);
        if (bus.code != "B" && bus.code != "BA") continue;
        const double dv = std::fabs(curve_.tangent[bus.firstVariable + 1]);
        if (dv <= kept) continue;
        candidate = &bus;
        kept = std::fabs(dv * curve_.parameterBase / baseVoltage);
    }
    curve_.switchCandidate = candidate;
    curve_.elasticity = candidate && curve_.parameterStep != 0.0 ? kept / std::fabs(curve_.parameterStep) : 0.0;
}

double Solver::MonitoredVoltageSum() const {
    double sum = 0.0;
    for (const NetBus* bus : tableColumns_) sum += bus->voltage;
    return sum;
}
