#include <algorithm>
#include <cmath>

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
    const double low = 1.0 / branch.controlMax;
    const double high = 1.0 / branch.controlMin;
    if (t < low + kRatioMargin) return low;
    if (t > high - kRatioMargin) return high;
    return t;
}

}  // namespace

// step: the factor of the correction (-1 applies it, later trials take
// back halves); retrial: not the iteration's first trial; limitsOn: clamp
// to limits; recoveryOn: hold a quantity at the point where its limit check
// would switch it back.
void Solver::UpdateBuses(double step, bool retrial, bool limitsOn, bool recoveryOn) {
    Network& network = *network_;
    const RunSwitches& sw = switches_;
    const std::vector<double>& dx = correction_;
    auto delta = [&](int variable) { return step * dx[variable]; };

    NetBus* systemSlack = SystemSlack();
    if (systemSlack) systemSlack->slackPower += delta(systemSlack->firstVariable);
    if (sw.areaControl)
        for (const auto& bus : network.buses)
            if (CodeHas(bus->code, "A")) bus->areaPower += delta(bus->firstVariable + 2);

    // In the generation-increase mode the generators follow lambda as it
    // stands after this trial; lambda's column is the parameter bus's
    // voltage column once lambda has taken it.
    const bool generationIncrease = continuation_ && sw.generationIncrease;
    const double lambdaAfter =
        !generationIncrease ? lambda_
                            : lambda_ + delta(parameterBus_ ? parameterBus_->firstVariable + 1 : variableCount_ + 1);

    for (const auto& owned : network.buses) {
        NetBus& bus = *owned;
        const int vColumn = bus.firstVariable + 1;
        const double dv = delta(vColumn);
        const std::string& code = bus.code;

        // Distributed slack: the bus takes its share of its area slack's
        // power (the system slack's without areas) up to its active limit.
        // In the generation-increase mode the system slack takes all of its
        // power and every other bus its share of the increase.
        NetBus* slack = bus.area && bus.area->areaBus ? bus.area->areaBus : systemSlack;
        const double slackPower = !slack ? 0.0 : CodeHas(slack->code, "S") ? slack->slackPower : slack->areaPower;
        const bool takesSlackPower = generationIncrease && &bus == systemSlack;
        const double participation = takesSlackPower ? 1.0 : bus.generationDirection;
        const double share = takesSlackPower      ? bus.slackPower
                             : generationIncrease ? participation * lambdaAfter
                                                  : participation * slackPower;
        const bool apparentLimit = !sw.option9;
        const double s2 = bus.maxS * bus.maxS;
        double activeLimit = sw.optionX ? kUnlimited : bus.maxP;
        if (apparentLimit && s2 > bus.generationQ * bus.generationQ)
            activeLimit = std::min(activeLimit, std::sqrt(s2 - bus.generationQ * bus.generationQ));
        if (bus.scheduledP + share > activeLimit) {
            bus.generationP = activeLimit;
            bus.generationDirectionCopy = 0.0;
            if (bus.generatorLimitIndex != 1) ++bus.generatorLimitIndex;
        } else {
            bus.generationP = bus.scheduledP + share;
            bus.generationDirectionCopy = participation;
            bus.generatorLimitIndex = 0;
        }
        bus.effectiveMaxQ = bus.maxQ;
        bus.effectiveMinQ = bus.minQ;
        if (apparentLimit && s2 > bus.generationP * bus.generationP) {
            const double room = std::sqrt(s2 - bus.generationP * bus.generationP);
            bus.effectiveMaxQ = std::min(bus.maxQ, room);
            bus.effectiveMinQ = std::max(bus.minQ, -room);
        }

        if (!CodeHas(code, "S")) bus.angle += delta(bus.firstVariable);

        // What the voltage column holds, by the bus's code: the first rule
        // that matches.
        const bool generator = CodeHas(code, "QS") || (CodeHas(code, "G") && !sw.remoteVoltageControl);
        auto voltage = [&] { return Advance(bus.shadow, bus.voltage, dv, retrial); };
        auto held = [&](double target, bool hold) { bus.voltage = hold ? target : Floored(bus.shadow); };
        if (code == "B" || code == "BA") {
            bus.voltage = Floored(voltage());
        } else if (CodeHas(code, "V") && bus.control == 'Q') {
            double v = voltage();
            if (limitsOn && sw.voltageLimits) v = Clamp(v, bus.minVoltage, bus.maxVoltage);
            bus.voltage = Floored(v);
        } else if (CodeHas(code, "V") && bus.control == 'V') {
            // The reactive generation remembered at the voltage limit is in
            // the set-point field.
            const double q = Advance(bus.shadow, bus.generationQ, dv, retrial);
            const double remembered = bus.voltageSetpoint;
            const bool hold = recoveryOn && ((bus.voltage == bus.maxVoltage && q > remembered) ||
                                             (bus.voltage == bus.minVoltage && q < remembered));
            bus.generationQ = hold ? remembered : q;
        } else if (CodeHas(code, "L")) {
            lambda_ += dv;
        } else if (generator && bus.control == 'V') {
            double q = Advance(bus.shadow, bus.generationQ, dv, retrial);
            if (limitsOn && sw.generatorReactiveLimits) q = Clamp(q, bus.effectiveMinQ, bus.effectiveMaxQ);
            bus.generationQ = q;
        } else if (generator) {
            // At a reactive limit the voltage floats; it stops at its target
            // when it would cross it towards recovery.
            const double v = voltage();
            const double target = bus.voltageSetpoint;
            const bool hold = recoveryOn && bus.control == 'Q' &&
                              ((bus.generationQ == bus.effectiveMaxQ && v > target) ||
                               (bus.generationQ == bus.effectiveMinQ && v < target));
            held(target, hold);
        } else if (CodeHas(code, "X")) {
            double v = voltage();
            if (bus.control == 'X') {
                if (limitsOn && sw.xBusShunts) v = Clamp(v, bus.minVoltage, bus.maxVoltage);
                bus.voltage = Floored(v);
            } else if (bus.control == 'M') {
                held(bus.maxVoltage, recoveryOn && v < bus.maxVoltage);
            } else if (bus.control == 'm') {
                held(bus.minVoltage, recoveryOn && v > bus.minVoltage);
            } else {
                bus.voltage = Floored(v);
            }
        } else if (CodeHas(code, "Z") && bus.control == 'V') {
            double q = Advance(bus.shadow, bus.generationQ, dv, retrial);
            if (limitsOn && sw.zBusReactiveLimits) q = Clamp(q, bus.minQ, bus.maxQ);
            bus.generationQ = q;
        } else if (CodeHas(code, "Z")) {
            bus.voltage = Floored(voltage());
            bus.generationQ = bus.voltage * bus.voltage * bus.equivalentB;
        } else if (CodeHas(code, "R")) {
            double v = voltage();
            if (limitsOn && sw.voltageTransformerControl) v = Clamp(v, bus.minVoltage, bus.maxVoltage);
            bus.voltage = Floored(v);
        } else if (CodeHas(code, "T") && sw.voltageTransformerControl && !bus.regulatedBus) {
            // Every "R" transformer that holds this voltage moves its ratio
            // by the voltage column's correction.
            for (const AdjacencyNode& node : bus.regulatingBranches) {
                NetBranch& branch = *node.branch;
                if (branch.code != "R") continue;
                const double t = Advance(branch.shadow, branch.tap, dv, retrial);
                branch.tap = limitsOn && sw.tapLimits ? ClampedRatio(t, branch) : t;
            }
        } else if (CodeHas(code, "C") && sw.remoteVoltageControl && bus.regulatingGeneratorCount < 1) {
            const double v = voltage();
            const NetBus* first = bus.regulatingGenerators.empty() ? nullptr : bus.regulatingGenerators.front();
            const double target = bus.voltageSetpoint;
            const bool hold = recoveryOn && first && first->control == 'Q' &&
                              ((first->generationQ == first->effectiveMaxQ && v > target) ||
                               (first->generationQ == first->effectiveMinQ && v < target));
            held(target, hold);
        } else if (CodeHas(code, "C") && sw.remoteVoltageControl) {
            bus.regulatedGenerationQ += dv;
        } else {
            bus.voltage = Floored(voltage());
        }

        if (!sw.pqTransformerControl) continue;
        for (const AdjacencyNode& node : bus.regulatingBranches) {
            NetBranch& branch = *node.branch;
            if (!IsFlowRegulating(branch)) continue;
            const double d = delta(branch.variable);
            if (branch.code == "RP") {
                const double shift = Advance(branch.shadow, branch.shift, d, retrial);
                branch.shift = limitsOn && sw.tapLimits ? Clamp(shift, branch.controlMin, branch.controlMax) : shift;
            } else if (branch.code == "RQ") {
                const double t = Advance(branch.shadow, branch.tap, d, retrial);
                branch.tap = limitsOn && sw.tapLimits ? ClampedRatio(t, branch) : t;
            } else if (branch.code == "RM" || branch.code == "RN") {
                const double flow = Advance(branch.shadow, branch.controlTarget, d, retrial);
                branch.controlTarget =
                    limitsOn && sw.flowBandTransformers ? Clamp(flow, branch.bandMin, branch.bandMax) : flow;
            } else {
                branch.controlTarget += d;
            }
        }
    }

    // Remotely regulating generators take their share of the regulated
    // bus's reactive unknown, now that every bus has moved.
    if (sw.remoteVoltageControl) {
        for (const auto& owned : network.buses) {
            NetBus& bus = *owned;
            if (!CodeHas(bus.code, "G") || bus.control != 'V' || !bus.regulatedBus) continue;
            double q = RemoteShare(bus) * bus.regulatedBus->regulatedGenerationQ;
            if (limitsOn && sw.generatorReactiveLimits) q = Clamp(q, bus.effectiveMinQ, bus.effectiveMaxQ);
            bus.generationQ = q;
        }
    }

    // The continuation parameter: lambda, or the voltage of the bus that
    // lambda took the voltage column of.
    if (continuation_ && !parameterBus_) lambda_ += delta(variableCount_ + 1);
    if (continuation_ && parameterBus_) {
        NetBus& bus = *parameterBus_;
        bus.voltage = Floored(Advance(bus.shadow, bus.voltage, delta(variableCount_ + 1), retrial));
    }
}
