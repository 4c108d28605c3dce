#include <algorithm>
#include <cmath>

#include "devices/device_terms.h"
#include "solver.h"

// Applying a Newton correction to the buses and their regulating
// transformers. A limited quantity walks an unclamped shadow along the
// correction over the trial steps of one iteration and takes the shadow
// clamped to its limits, so that halving the step walks it back along the
// same line. Voltages never fall to 0.

namespace {

constexpr double kVoltageFloor = 0.00001;

// Within [low, high]; low wins should the limits cross.
double Clamp(double value, double low, double high) {
    return std::max(low, std::min(value, high));
}

double Floored(double voltage) {
    return voltage > 0.0 ? voltage : kVoltageFloor;
}

// The shadow of a limited quantity after this trial: re-seeded from the
// present value on an iteration's first trial.
double Advance(double& shadow, double present, double delta, bool retrial) {
    if (!retrial) shadow = present;
    shadow += delta;
    return shadow;
}

// The ratio t lies between the reciprocals of the tap limits, which are
// stored as taps.
double ClampedRatio(double t, const NetBranch& branch) {
    const double low = 1.0 / branch.regulation().controlMax;
    const double high = 1.0 / branch.regulation().controlMin;
    if (t < low + kRatioMargin) return low;
    if (t > high - kRatioMargin) return high;
    return t;
}

// One application of the correction to the buses, rule by rule.
class BusStep {
public:
    BusStep(const std::vector<NetBus*>& areaBuses, const std::vector<NetBus*>& remoteGenerators,
            const RunSwitches& sw, const std::vector<double>& correction, double step, Trial trial,
            Clamping clamping, RecoveryHold hold, double& lambda)
        : areaBuses_(areaBuses), remoteGenerators_(remoteGenerators), sw_(sw), dx_(correction), step_(step),
          retrial_(trial == Trial::Retrial), limitsOn_(clamping == Clamping::On),
          recoveryOn_(hold == RecoveryHold::On), lambda_(lambda) {}

    double Delta(int variable) const { return step_ * dx_[variable]; }

    void SlackPowers(NetBus* systemSlack);
    void ShareOfSlackPower(NetBus& bus, const NetBus* systemSlack, bool generationIncrease, double lambdaAfter);
    void ColumnQuantity(NetBus& bus);
    void FlowTransformers(const NetBus& bus);
    void RemoteGenerators();
    void ContinuationParameter(NetBus* parameterBus, int lambdaVariable);

private:
    double Shadowed(double& shadow, double present, double delta) const {
        return Advance(shadow, present, delta, retrial_);
    }
    // The bus's voltage after this trial: floored, or held at `target`.
    void Voltage(NetBus& bus, double dv) { bus.voltage = Floored(Shadowed(bus.shadow, bus.voltage, dv)); }
    void HeldVoltage(NetBus& bus, double target, bool hold) { bus.voltage = hold ? target : Floored(bus.shadow); }
    void ClampedVoltage(NetBus& bus, double dv, bool limitOn);
    void ScheduledQHeld(NetBus& bus, double dv);
    void GeneratorQ(NetBus& bus, double dv);
    void GeneratorVoltage(NetBus& bus, double dv);
    void BankVoltage(NetBus& bus, double dv);
    void ZBusQ(NetBus& bus, double dv);
    void TransformerTaps(NetBus& bus, double dv);
    void RemoteVoltage(NetBus& bus, double dv);

    const std::vector<NetBus*>& areaBuses_;         // "A" buses
    const std::vector<NetBus*>& remoteGenerators_;  // "G" buses
    const RunSwitches& sw_;
    const std::vector<double>& dx_;
    const double step_;
    const bool retrial_;
    const bool limitsOn_;
    const bool recoveryOn_;
    double& lambda_;
};

// The system slack's power, held in its angle column, and with area
// interchange each area bus's, held in the column after its voltage.
void BusStep::SlackPowers(NetBus* systemSlack) {
    if (systemSlack) systemSlack->slackPower += Delta(systemSlack->firstVariable);
    if (sw_.areaControl)
        for (NetBus* bus : areaBuses_) bus->areaPower += Delta(bus->firstVariable + 2);
}

// Distributed slack: the bus takes its share of its area slack's power (the
// system slack's without areas) up to its active limit. In the
// generation-increase mode the system slack takes all of its power and every
// other bus its share of the increase. The reactive limits are what the
// apparent-power limit leaves at the new active generation.
void BusStep::ShareOfSlackPower(NetBus& bus, const NetBus* systemSlack, bool generationIncrease,
                                double lambdaAfter) {
    const NetBus* slack = bus.area && bus.area->areaBus ? bus.area->areaBus : systemSlack;
    const double slackPower = !slack ? 0.0 : CodeHas(slack->code, "S") ? slack->slackPower : slack->areaPower;
    const bool takesSlackPower = generationIncrease && &bus == systemSlack;
    const double participation = takesSlackPower ? 1.0 : bus.generationDirection;
    const double share = takesSlackPower      ? bus.slackPower
                         : generationIncrease ? participation * lambdaAfter
                                              : participation * slackPower;
    const bool apparentLimit = !sw_.option9;
    const double s2 = bus.maxS * bus.maxS;
    double activeLimit = sw_.optionX ? kUnlimited : bus.maxP;
    if (apparentLimit && s2 > bus.generationQ * bus.generationQ)
        activeLimit = std::min(activeLimit, std::sqrt(s2 - bus.generationQ * bus.generationQ));
    if (bus.scheduledP + share > activeLimit) {
        bus.generationP = activeLimit;
        bus.shareInUse = 0.0;
        if (bus.generatorLimitIndex != 1) ++bus.generatorLimitIndex;
    } else {
        bus.generationP = bus.scheduledP + share;
        bus.shareInUse = participation;
        bus.generatorLimitIndex = 0;
    }
    bus.effectiveMaxQ = bus.maxQ;
    bus.effectiveMinQ = bus.minQ;
    if (apparentLimit && s2 > bus.generationP * bus.generationP) {
        const double room = std::sqrt(s2 - bus.generationP * bus.generationP);
        bus.effectiveMaxQ = std::min(bus.maxQ, room);
        bus.effectiveMinQ = std::max(bus.minQ, -room);
    }
}

// The quantity the bus's voltage column holds takes the column's correction.
void BusStep::ColumnQuantity(NetBus& bus) {
    const double dv = Delta(bus.firstVariable + 1);
    switch (bus.voltageColumn) {
    case VoltageColumn::Voltage: Voltage(bus, dv); break;
    case VoltageColumn::ScheduledQVoltage: ClampedVoltage(bus, dv, sw_.voltageLimits); break;
    case VoltageColumn::ScheduledQHeld: ScheduledQHeld(bus, dv); break;
    case VoltageColumn::LoadParameter: lambda_ += dv; break;
    case VoltageColumn::GeneratorQ: GeneratorQ(bus, dv); break;
    case VoltageColumn::GeneratorVoltage: GeneratorVoltage(bus, dv); break;
    case VoltageColumn::BankVoltage: BankVoltage(bus, dv); break;
    case VoltageColumn::ZBusQ: ZBusQ(bus, dv); break;
    case VoltageColumn::ZBusVoltage:
        Voltage(bus, dv);
        bus.generationQ = bus.voltage * bus.voltage * bus.equivalentB;
        break;
    case VoltageColumn::BandVoltage: ClampedVoltage(bus, dv, sw_.voltageTransformerControl); break;
    case VoltageColumn::TransformerTap: TransformerTaps(bus, dv); break;
    case VoltageColumn::RemoteVoltage: RemoteVoltage(bus, dv); break;
    case VoltageColumn::RemoteQ: bus.EditExtras().regulatedGenerationQ += dv; break;
    }
}

void BusStep::ClampedVoltage(NetBus& bus, double dv, bool limitOn) {
    double v = Shadowed(bus.shadow, bus.voltage, dv);
    if (limitsOn_ && limitOn) v = Clamp(v, bus.minVoltage, bus.maxVoltage);
    bus.voltage = Floored(v);
}

// A "V" bus held at a voltage limit: the scheduled reactive generation it
// returns to stops it where it would cross that schedule.
void BusStep::ScheduledQHeld(NetBus& bus, double dv) {
    const double q = Shadowed(bus.shadow, bus.generationQ, dv);
    const double scheduled = bus.scheduledQ;
    const bool hold = recoveryOn_ && ((bus.voltage == bus.maxVoltage && q > scheduled) ||
                                      (bus.voltage == bus.minVoltage && q < scheduled));
    bus.generationQ = hold ? scheduled : q;
}

void BusStep::GeneratorQ(NetBus& bus, double dv) {
    double q = Shadowed(bus.shadow, bus.generationQ, dv);
    if (limitsOn_ && sw_.generatorReactiveLimits) q = Clamp(q, bus.effectiveMinQ, bus.effectiveMaxQ);
    bus.generationQ = q;
}

// A generator at a reactive limit, or at a field or armature limit of its
// model, lets its voltage (or its remote bus's) float; the voltage stops at
// its target when it would cross it towards recovery.
bool HeldAtRecovery(const NetBus& generator, double v, double target) {
    if (generator.control != 'Q') return ModelHoldsVoltage(generator, v, target);
    return (generator.generationQ == generator.effectiveMaxQ && v > target) ||
           (generator.generationQ == generator.effectiveMinQ && v < target);
}

void BusStep::GeneratorVoltage(NetBus& bus, double dv) {
    const double v = Shadowed(bus.shadow, bus.voltage, dv);
    const double target = bus.voltageTarget;
    HeldVoltage(bus, target, recoveryOn_ && HeldAtRecovery(bus, v, target));
}

void BusStep::BankVoltage(NetBus& bus, double dv) {
    double v = Shadowed(bus.shadow, bus.voltage, dv);
    if (bus.control == 'X') {
        if (limitsOn_ && sw_.xBusShunts) v = Clamp(v, bus.minVoltage, bus.maxVoltage);
        bus.voltage = Floored(v);
    } else if (bus.control == 'M') {
        HeldVoltage(bus, bus.maxVoltage, recoveryOn_ && v < bus.maxVoltage);
    } else if (bus.control == 'm') {
        HeldVoltage(bus, bus.minVoltage, recoveryOn_ && v > bus.minVoltage);
    } else {
        bus.voltage = Floored(v);
    }
}

void BusStep::ZBusQ(NetBus& bus, double dv) {
    double q = Shadowed(bus.shadow, bus.generationQ, dv);
    if (limitsOn_ && sw_.zBusReactiveLimits) q = Clamp(q, bus.minQ, bus.maxQ);
    bus.generationQ = q;
}

// Every "R" transformer that holds this voltage moves its ratio by the
// voltage column's correction.
void BusStep::TransformerTaps(NetBus& bus, double dv) {
    for (const AdjacencyNode& node : bus.regulatingBranches) {
        NetBranch& branch = *node.branch;
        if (branch.code != "R") continue;
        const double t = Shadowed(branch.shadow, branch.tap, dv);
        branch.tap = limitsOn_ && sw_.tapLimits ? ClampedRatio(t, branch) : t;
    }
}

// A bus whose generators are all at a limit: its voltage stops at its
// target when it would cross it towards recovery, judged on its first
// generator.
void BusStep::RemoteVoltage(NetBus& bus, double dv) {
    const double v = Shadowed(bus.shadow, bus.voltage, dv);
    const std::vector<NetBus*>& generators = bus.extras().regulatingGenerators;
    const NetBus* first = generators.empty() ? nullptr : generators.front();
    const double target = bus.voltageTarget;
    HeldVoltage(bus, target, recoveryOn_ && first && HeldAtRecovery(*first, v, target));
}

// The P/Q-regulating transformers the bus owns: each moves the unknown of
// its control.
void BusStep::FlowTransformers(const NetBus& bus) {
    if (!sw_.pqTransformerControl) return;
    for (const AdjacencyNode& node : bus.regulatingBranches) {
        NetBranch& branch = *node.branch;
        if (!IsFlowRegulating(branch)) continue;
        const double d = Delta(branch.variable);
        if (branch.code == "RP") {
            const double shift = Shadowed(branch.shadow, branch.shift, d);
            const NetRegulation& limits = branch.regulation();
            branch.shift = limitsOn_ && sw_.tapLimits ? Clamp(shift, limits.controlMin, limits.controlMax) : shift;
        } else if (branch.code == "RQ") {
            const double t = Shadowed(branch.shadow, branch.tap, d);
            branch.tap = limitsOn_ && sw_.tapLimits ? ClampedRatio(t, branch) : t;
        } else if (branch.code == "RM" || branch.code == "RN") {
            NetRegulation& band = branch.EditRegulation();
            const double flow = Shadowed(branch.shadow, band.controlTarget, d);
            band.controlTarget = limitsOn_ && sw_.flowBandTransformers ? Clamp(flow, band.bandMin, band.bandMax) : flow;
        } else {
            branch.EditRegulation().controlTarget += d;
        }
    }
}

// Remotely regulating generators take their share of the regulated bus's
// reactive unknown, once every bus has moved.
void BusStep::RemoteGenerators() {
    if (!sw_.remoteVoltageControl) return;
    for (NetBus* generator : remoteGenerators_) {
        NetBus& bus = *generator;
        if (bus.control != 'V' || !bus.extras().remoteBus) continue;
        double q = RemoteShare(bus) * bus.extras().remoteBus->extras().regulatedGenerationQ;
        if (limitsOn_ && sw_.generatorReactiveLimits) q = Clamp(q, bus.effectiveMinQ, bus.effectiveMaxQ);
        bus.generationQ = q;
    }
}

// The continuation parameter: lambda, or the voltage of the bus that lambda
// took the voltage column of.
void BusStep::ContinuationParameter(NetBus* parameterBus, int lambdaVariable) {
    if (!parameterBus) {
        lambda_ += Delta(lambdaVariable);
        return;
    }
    parameterBus->voltage = Floored(Shadowed(parameterBus->shadow, parameterBus->voltage, Delta(lambdaVariable)));
}

}  // namespace

const Solver::CodedBuses& Solver::CodedBusLists() {
    CodedBuses& lists = codedBuses_;
    if (lists.held) return lists;
    lists.areaBuses.clear();
    lists.remoteGenerators.clear();
    for (const auto& bus : network_->buses) {
        if (CodeHas(bus->code, "A")) lists.areaBuses.push_back(bus.get());
        if (CodeHas(bus->code, "G")) lists.remoteGenerators.push_back(bus.get());
    }
    lists.held = true;
    return lists;
}

// step: the factor of the correction (-1 applies it, later trials take
// back halves).
void Solver::UpdateBuses(double step, Trial trial, Clamping clamping, RecoveryHold hold) {
    const CodedBuses& coded = CodedBusLists();
    BusStep update(coded.areaBuses, coded.remoteGenerators, switches_, correction_, step, trial, clamping, hold,
                   lambda_);
    NetBus* systemSlack = SystemSlack();
    update.SlackPowers(systemSlack);

    // In the generation-increase mode the generators follow lambda as it
    // stands after this trial; lambda's column is the parameter bus's
    // voltage column once lambda has taken it.
    const bool generationIncrease = continuation_ && switches_.generationIncrease;
    const double lambdaAfter =
        !generationIncrease ? lambda_
                            : lambda_ + update.Delta(parameterBus_ ? parameterBus_->firstVariable + 1
                                                                   : variableCount_ + 1);
    const DeviceStep machineStep(correction_, step, trial, clamping);
    for (const auto& owned : network_->buses) {
        NetBus& bus = *owned;
        update.ShareOfSlackPower(bus, systemSlack, generationIncrease, lambdaAfter);
        if (!CodeHas(bus.code, "S")) bus.angle += update.Delta(bus.firstVariable);
        update.ColumnQuantity(bus);
        update.FlowTransformers(bus);
        if (bus.generator) StepGeneratorModel(bus, machineStep, switches_);
    }
    update.RemoteGenerators();
    if (continuation_) update.ContinuationParameter(parameterBus_, variableCount_ + 1);
}
