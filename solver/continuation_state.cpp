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
        return &bus.regulatedGenerationQ;
    default:
        return &bus.voltage;
    }
}

}  // namespace

// Unknowns in the order NumberVariables gives them. The system slack's
// angle column holds its power; another slack's angle is held and moves
// nothing.
void Solver::StateFields(std::vector<double*>& fields) {
    fields.assign(static_cast<std::size_t>(variableCount_) + 1, nullptr);
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
                                                            : &branch.controlTarget;
        }
    }
}

void Solver::ReadState(std::vector<double>& x) {
    StateFields(stateFields_);
    x.assign(stateFields_.size(), 0.0);
    for (std::size_t i = 1; i < stateFields_.size(); ++i)
        if (stateFields_[i]) x[i] = *stateFields_[i];
}

// Everything a step moves, so that the base point comes back exactly:
// the derived quantities too (the generation that follows the slack's
// power, the reactive room left by the apparent-power limit).
void Solver::SaveBasePoint() {
    savedBuses_.clear();
    for (const auto& bus : network_->buses)
        savedBuses_.push_back({bus->angle, bus->voltage, bus->generationP, bus->generationQ, bus->regulatedGenerationQ,
                               bus->slackPower, bus->areaPower, bus->generationDirectionCopy, bus->effectiveMaxQ,
                               bus->effectiveMinQ, bus->generatorLimitIndex});
    savedBranches_.clear();
    for (const auto& branch : network_->branches)
        savedBranches_.push_back({branch->tap, branch->shift, branch->controlTarget});
    savedLambda_ = lambda_;
}

void Solver::RestoreBasePoint() {
    std::size_t k = 0;
    for (const auto& bus : network_->buses) {
        const SavedBus& s = savedBuses_[k++];
        bus->angle = s.angle;
        bus->voltage = s.voltage;
        bus->generationP = s.generationP;
        bus->generationQ = s.generationQ;
        bus->regulatedGenerationQ = s.regulatedGenerationQ;
        bus->slackPower = s.slackPower;
        bus->areaPower = s.areaPower;
        bus->generationDirectionCopy = s.generationDirectionCopy;
        bus->effectiveMaxQ = s.effectiveMaxQ;
        bus->effectiveMinQ = s.effectiveMinQ;
        bus->generatorLimitIndex = s.generatorLimitIndex;
    }
    k = 0;
    for (const auto& branch : network_->branches) {
        const SavedBranch& s = savedBranches_[k++];
        branch->tap = s.tap;
        branch->shift = s.shift;
        branch->controlTarget = s.controlTarget;
    }
    lambda_ = savedLambda_;
}

// This state is the base point x0 of the step (and its parameter p0).
void Solver::SaveStepBase() {
    SaveBasePoint();
    ReadState(basePoint_);
    parameterBase_ = parameterBus_ ? parameterBus_->voltage : lambda_;
    monitoredBase_ = MonitoredVoltageSum() + tolerance_;
}

// The state becomes x0 + t and the parameter p0 + dp, each clamped as
// Newton's step application clamps it; an unknown that stops short of
// x0 + t overshot its limit by the fraction |(x0 + t - value) / t| of its
// step.
double Solver::ApplyPredictor(StepAnswer answer) {
    const int n = variableCount_;
    const bool fixing = answer == StepAnswer::Overshoot;
    double& parameter = parameterBus_ ? parameterBus_->voltage : lambda_;
    if (fixing && fixedVariables_.count > 0) FixVariables();

    RestoreBasePoint();
    std::copy_n(tangent_.begin(), n + 1, correction_.begin());
    correction_[n + 1] = 0.0;
    UpdateBuses(1.0, Trial::First, Clamping::On, StepRecoveryHold());

    double overshoot = 0.0;
    int clamped = 0;
    auto note = [&](double wanted, double value, double step) {
        if (value == wanted) return;
        ++clamped;
        if (step != 0.0) overshoot = std::max(overshoot, std::fabs((wanted - value) / step));
    };
    // Lambda stops at 0, the load of the base case.
    const double wanted = parameterBase_ + parameterStep_;
    parameter = parameterBus_ ? std::max(wanted, kVoltageFloor) : std::max(wanted, 0.0);
    note(wanted, parameter, parameterStep_);
    ReadState(state_);
    for (int i = 1; i <= n; ++i)
        if (stateFields_[i]) note(basePoint_[i] + tangent_[i], state_[i], tangent_[i]);

    monitoredAfter_ = MonitoredVoltageSum();
    return fixing ? std::min(overshoot, 1.0) : clamped;
}

double Solver::TakePredictorStep() {
    SaveStepBase();
    const double overshoot = ApplyPredictor(StepAnswer::Overshoot);
    if (!parameterBus_) ChooseSwitchCandidate();
    return overshoot;
}

// Option u: a fixed unknown takes no step; while fixing is due, an unknown
// whose step is small against its value becomes fixed.
void Solver::FixVariables() {
    for (int i = 1; i <= variableCount_; ++i) {
        if (fixedVariables_[i]) {
            tangent_[i] = 0.0;
        } else if (fixingDue_ && basePoint_[i] != 0.0 && std::fabs(tangent_[i] / basePoint_[i]) < fixingThreshold_) {
            fixedVariables_[i] = 1;
            tangent_[i] = 0.0;
            --freeVariables_;
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
        const double baseVoltage = savedBuses_[k++].voltage;
        if (bus.code != "B" && bus.code != "BA") continue;
        const double dv = std::fabs(tangent_[bus.firstVariable + 1]);
        if (dv <= kept) continue;
        candidate = &bus;
        kept = std::fabs(dv * parameterBase_ / baseVoltage);
    }
    switchCandidate_ = candidate;
    elasticity_ = candidate && parameterStep_ != 0.0 ? kept / std::fabs(parameterStep_) : 0.0;
}

double Solver::MonitoredVoltageSum() const {
    double sum = 0.0;
    for (const NetBus* bus : tableColumns_) sum += bus->voltage;
    return sum;
}
