#include <cstdio>
#include <optional>

#include "number_text.h"
#include "solver.h"

// The limit checks that switch control modes when Newton's method stops
// making progress. A mode is the code of a transformer or the control
// letter of a bus: switching it sets the held quantity to its limit and,
// where the voltage column of a bus changes what it holds, frees or holds
// that voltage through the bus's voltage-free flag. The step limits have
// already clamped every quantity to its limit (and held it back at the
// point of recovery), so a quantity at a limit equals it exactly. Each
// check answers 1 when it switched something, so that the iteration goes
// on.

namespace {

// What the checks of one pass work on.
struct LimitPass {
    Solver& solver;
    Network& network;
    const RunSwitches& sw;
    IMessageSink* sink;  // null in a file run
};

// The reciprocal of the tap limit that the ratio t of a transformer has
// reached (tap limits are stored as taps), or none while t lies inside.
std::optional<double> RatioLimitReached(const NetBranch& branch) {
    const double low = 1.0 / branch.regulation().controlMax;
    const double high = 1.0 / branch.regulation().controlMin;
    if (branch.tap <= low + kRatioMargin) return low;
    if (branch.tap >= high - kRatioMargin) return high;
    return std::nullopt;
}

bool OwnsTransformerCoded(const NetBus& bus, const char* code) {
    for (const AdjacencyNode& node : bus.regulatingBranches)
        if (node.branch->code == code) return true;
    return false;
}

// One regulating transformer owned by `bus`; true when it switched.
bool SwitchTransformer(LimitPass& pass, NetBus& bus, NetBranch& branch) {
    Network& network = pass.network;
    const RunSwitches& sw = pass.sw;
    const std::string& code = branch.code;

    if (code == "R" && sw.tapLimits) {
        // The tap stops at its limit and the bus voltage floats again.
        const std::optional<double> limit = RatioLimitReached(branch);
        if (!limit) return false;
        branch.tap = *limit;
        --network.voltageRegulatingCount;
        branch.code = std::string("TR");
        if (!OwnsTransformerCoded(bus, "R")) {
            bus.code = OwnsTransformerCoded(bus, "RV") ? "BR" : "B";
            bus.voltageFree = true;
        }
        return true;
    }
    if (code == "RV" && sw.voltageTransformerControl) {
        // The voltage leaves its band: the tap takes over and holds it at
        // the band's edge.
        if (bus.voltage < bus.maxVoltage && bus.voltage > bus.minVoltage) return false;
        branch.code = std::string("R");
        bus.voltage = bus.voltage >= bus.maxVoltage ? bus.maxVoltage : bus.minVoltage;
        if (!CodeHas(bus.code, "T")) {
            bus.code = "BT";
            bus.voltageFree = false;
        }
        return true;
    }
    if (code == "RP" && sw.tapLimits) {
        const NetRegulation& limits = branch.regulation();
        if (branch.shift < limits.controlMax && branch.shift > limits.controlMin) return false;
        branch.shift = branch.shift >= limits.controlMax ? limits.controlMax : limits.controlMin;
        --network.regulatingCount;
        branch.code = std::string("TP");
        return true;
    }
    if (code == "RQ" && sw.tapLimits) {
        const std::optional<double> limit = RatioLimitReached(branch);
        if (!limit) return false;
        branch.tap = *limit;
        --network.regulatingCount;
        branch.code = std::string("TQ");
        return true;
    }
    if ((code == "RM" || code == "RN") && sw.flowBandTransformers) {
        // The flow leaves its band: the shift or the tap takes over and
        // holds it at the band's edge.
        NetRegulation& band = branch.EditRegulation();
        if (band.controlTarget < band.bandMax && band.controlTarget > band.bandMin) return false;
        band.controlTarget = band.controlTarget >= band.bandMax ? band.bandMax : band.bandMin;
        branch.code = std::string(code == "RM" ? "RP" : "RQ");
        return true;
    }
    return false;
}

// A generator whose reactive output is at a limit and whose voltage (its
// own or its regulated bus's) has moved past its target towards where that
// limit is no longer needed.
bool RecoveryDue(double q, double maxQ, double minQ, double voltage, double target) {
    return (q >= maxQ && voltage >= target) || (q <= minQ && voltage <= target);
}

void ReportRecovery(const LimitPass& pass, const NetBus& generator) {
    if (!pass.sink) return;
    const std::string text = FormatInCLocale("Generator %s has recovered voltage control15", generator.name.c_str());
    pass.sink->AddMessage(IMessageSink::Warning, text.c_str());
}

// A generator held at one limit (reactive "Q", armature "I" or field "E")
// that breaks another has no mode left to switch to.
void StopAtSecondLimit(const LimitPass& pass, const NetBus& generator) {
    const char control = generator.control;
    if (control != 'Q' && control != 'E' && control != 'I') return;
    const double q = generator.generationQ;
    const char* broken = ModelLimitBroken(generator, pass.sw);
    if (!broken && control != 'Q' && pass.sw.generatorReactiveLimits &&
        (q > generator.effectiveMaxQ || q < generator.effectiveMinQ))
        broken = "reactive";
    if (!broken) return;
    const char* held = control == 'E' ? "field" : control == 'I' ? "armature current" : "reactive";
    std::fprintf(pass.solver.Diagnostics(), "Generator %s is held at its %s limit and exceeds its %s limit\n",
                 generator.name.c_str(), held, broken);
    pass.solver.Abort(1);
}

// The limit that a generator holding a voltage has met, its held quantity
// set there: 'Q' reactive (the limits the apparent-power limit leaves),
// then 'I' armature current and 'E' field of its model; 0 none.
char VoltageControlLimit(const LimitPass& pass, NetBus& generator) {
    const double q = generator.generationQ;
    if (pass.sw.generatorReactiveLimits && (q >= generator.effectiveMaxQ || q <= generator.effectiveMinQ)) {
        generator.generationQ = q >= generator.effectiveMaxQ ? generator.effectiveMaxQ : generator.effectiveMinQ;
        return 'Q';
    }
    return HoldModelAtLimit(generator, pass.sw);
}

// Whether a generator held at a limit may take its voltage control back:
// its voltage (or its remote bus's) has passed the target on the side where
// the limit no longer binds.
bool VoltageRecoveryDue(const LimitPass& pass, const NetBus& generator, double voltage, double target) {
    if (!pass.sw.recovery) return false;
    if (generator.control == 'Q')
        return pass.sw.generatorReactiveLimits && RecoveryDue(generator.generationQ, generator.effectiveMaxQ,
                                                              generator.effectiveMinQ, voltage, target);
    return (generator.control == 'I' || generator.control == 'E') && ModelRecoveryDue(generator, voltage, target);
}

// The remote reactive unknown of a regulated bus, from the output of one of
// its generators.
void SetRemoteReactive(NetBus& regulated, const NetBus& generator) {
    const double share = RemoteShare(generator);
    if (share != 0.0) regulated.EditExtras().regulatedGenerationQ = generator.generationQ / share;
}

// A generator that holds a remote bus's voltage together with others. The
// regulated bus counts the generators still holding it; when the last one
// meets a limit, its own voltage floats (count -1 until the end of the
// pass, so that no generator recovers in the pass that lost it).
bool SwitchRemoteGenerator(LimitPass& pass, NetBus& generator, bool& lostLast) {
    NetBus* regulated = generator.extras().remoteBus;
    if (!regulated) return false;
    NetBus& r = *regulated;
    // Its count of generators, in the side record that a generator's
    // registration made.
    int& holding = r.EditExtras().regulatingGeneratorCount;

    if (generator.control == 'V') {
        const char limit = VoltageControlLimit(pass, generator);
        if (!limit) return false;
        generator.control = limit;
        --pass.network.generatorBusCount;
        if (--holding < 1) {
            holding = -1;
            r.voltageFree = true;
            r.voltageTarget = r.voltage;
            SetRemoteReactive(r, generator);
            lostLast = true;
        }
        return true;
    }
    // A reactive limit gives way only while no other generator holds the
    // bus; a model limit while none does.
    const bool held = generator.control == 'Q' ? holding == 0 : holding < 1;
    if (held && VoltageRecoveryDue(pass, generator, r.voltage, r.voltageTarget)) {
        generator.control = 'V';
        ++pass.network.generatorBusCount;
        if (++holding == 1) {
            r.voltageFree = false;
            r.voltage = r.voltageTarget;
            SetRemoteReactive(r, generator);
            ReportRecovery(pass, generator);
        }
        return true;
    }
    return false;
}

// A "Z" bus at its own reactive limit becomes the susceptance that gives
// that output at its present voltage.
bool SwitchZBus(LimitPass& pass, NetBus& bus) {
    if (!pass.sw.zBusReactiveLimits) return false;
    const double q = bus.generationQ;
    if (bus.control == 'V' && (q >= bus.maxQ || q <= bus.minQ)) {
        bus.generationQ = q >= bus.maxQ ? bus.maxQ : bus.minQ;
        --pass.network.zBusCount;
        bus.control = 'Q';
        bus.voltageFree = true;
        bus.equivalentB = bus.generationQ / (bus.voltage * bus.voltage);
        bus.voltageTarget = bus.voltage;
        return true;
    }
    if (pass.sw.recovery && bus.control == 'Q' &&
        RecoveryDue(q, bus.maxQ, bus.minQ, bus.voltage, bus.voltageTarget)) {
        bus.voltage = bus.voltageTarget;
        bus.control = 'V';
        bus.voltageFree = false;
        ++pass.network.zBusCount;
        return true;
    }
    return false;
}

// A generator that holds its own voltage: at a reactive limit, or at an
// armature or field limit of its model, the voltage floats from where it
// stands, and the target it had comes back with recovery. A "G" generator here (remote control off) keeps its remote bus,
// which a written case file still names.
bool SwitchLocalGenerator(LimitPass& pass, NetBus& generator) {
    if (generator.control == 'V') {
        const char limit = VoltageControlLimit(pass, generator);
        if (!limit) return false;
        generator.voltageTarget = generator.voltage;
        generator.control = limit;
        generator.voltageFree = true;
        --pass.network.generatorBusCount;
        return true;
    }
    if (VoltageRecoveryDue(pass, generator, generator.voltage, generator.voltageTarget)) {
        generator.voltage = generator.voltageTarget;
        generator.control = 'V';
        generator.voltageFree = false;
        ++pass.network.generatorBusCount;
        ReportRecovery(pass, generator);
        return true;
    }
    return false;
}

// A bus with scheduled reactive power whose generator model meets its
// armature or field limit: the quantity is held there and the reactive
// generation floats, until it would pass its schedule again.
bool SwitchScheduledQModel(LimitPass& pass, NetBus& bus) {
    if (bus.control == 'Q') {
        const char limit = HoldModelAtLimit(bus, pass.sw);
        if (!limit) return false;
        bus.control = limit;
        bus.scheduledQ = bus.generationQ;
        ++pass.network.generatorBusCount;
        return true;
    }
    if (pass.sw.recovery && (bus.control == 'I' || bus.control == 'E') &&
        ModelRecoveryDue(bus, bus.generationQ, bus.scheduledQ)) {
        bus.generationQ = bus.scheduledQ;
        bus.control = 'Q';
        --pass.network.generatorBusCount;
        return true;
    }
    // Held at a voltage, armature or field limit, it cannot break another.
    if (const char* broken = ModelLimitBroken(bus, pass.sw)) {
        std::fprintf(pass.solver.Diagnostics(), "Bus %s is held at a limit and exceeds its %s limit\n",
                     bus.name.c_str(), broken);
        pass.solver.Abort(1);
    }
    return false;
}

// A bus with scheduled reactive power: at a voltage limit the voltage is
// held there and the reactive power floats; it comes back to its schedule
// once it would pass it.
bool SwitchScheduledQBus(LimitPass& pass, NetBus& bus) {
    if (pass.sw.voltageLimits) {
        const double v = bus.voltage;
        // At or beyond: the step limits stop the voltage exactly at a limit.
        if (bus.control == 'Q' && (v >= bus.maxVoltage || v <= bus.minVoltage)) {
            bus.voltage = v >= bus.maxVoltage ? bus.maxVoltage : bus.minVoltage;
            bus.control = 'V';
            bus.scheduledQ = bus.generationQ;
            bus.voltageFree = false;
            ++pass.network.generatorBusCount;
            return true;
        }
        const double q = bus.generationQ;
        const double scheduled = bus.scheduledQ;
        if (pass.sw.recovery && bus.control == 'V' &&
            ((v == bus.maxVoltage && q >= scheduled) || (v == bus.minVoltage && q <= scheduled))) {
            bus.generationQ = scheduled;
            bus.control = 'Q';
            bus.voltageFree = true;
            --pass.network.generatorBusCount;
            return true;
        }
        // Held at its field or armature limit, the voltage cannot also
        // leave its band.
        if ((bus.control == 'E' || bus.control == 'I') && (v > bus.maxVoltage || v < bus.minVoltage)) {
            std::fprintf(pass.solver.Diagnostics(), "Bus %s is held at its %s limit and leaves its voltage limits\n",
                         bus.name.c_str(), bus.control == 'E' ? "field" : "armature current");
            pass.solver.Abort(1);
        }
    }
    return bus.generator && SwitchScheduledQModel(pass, bus);
}

// A switched bank holding a bus's voltage within its limits: at a limit it
// switches one step, a capacitive bank (first step positive) adding a step
// to raise the voltage and dropping one to lower it, a reactor bank the
// other way round. Steps 0 .. count-1 of the bank's table are valid; the
// first is always in. A bank that has no step left in the direction needed
// lets the voltage go: "m" below the band, "M" above.
bool SwitchBankStep(LimitPass& pass, NetBus& bus) {
    NetBus* owner = bus.extras().bankBus;
    if (!owner || owner->extras().bankStepCount < 1) return false;
    NetBus& bank = *owner;
    const double v = bus.voltage;

    if (bus.control == 'X') {
        const bool low = v <= bus.minVoltage;
        if (!low && v < bus.maxVoltage) return false;
        const bool capacitive = bank.extras().bankSteps[0] > 0.0;
        bool outOfSteps = false;
        if (low == capacitive) {
            if (bank.extras().bankStep + 1 < bank.extras().bankStepCount) {
                ++bank.EditExtras().bankStep;
                bank.shuntB += bank.extras().bankSteps[static_cast<std::size_t>(bank.extras().bankStep)];
            } else {
                outOfSteps = true;
            }
        } else {
            if (bank.extras().bankStep > 0) {
                bank.shuntB -= bank.extras().bankSteps[static_cast<std::size_t>(bank.extras().bankStep)];
                --bank.EditExtras().bankStep;
            }
            outOfSteps = bank.extras().bankStep < 1;
        }
        if (outOfSteps) {
            bus.control = low ? 'm' : 'M';
            --pass.network.bankBusCount;
        }
        return true;
    }
    if (pass.sw.recovery && ((bus.control == 'M' && v <= bus.maxVoltage) || (bus.control == 'm' && v >= bus.minVoltage))) {
        bus.control = 'X';
        ++pass.network.bankBusCount;
        return true;
    }
    return false;
}

}  // namespace

int Solver::CheckTapLimits() {
    LimitPass pass{*this, *network_, switches_, sink_};
    int switched = 0;
    for (const auto& bus : network_->buses)
        for (const AdjacencyNode& node : bus->regulatingBranches)
            if (SwitchTransformer(pass, *bus, *node.branch)) switched = 1;
    // A mode that switched changes what the bus's voltage column holds.
    if (switched) ClassifyBuses();
    return switched;
}

int Solver::CheckBusLimits() {
    const RunSwitches& sw = switches_;
    if (!(sw.voltageLimits || sw.fieldLimits || sw.armatureLimits || sw.xBusShunts)) return 0;
    LimitPass pass{*this, *network_, sw, sink_};
    int switched = 0;
    for (const auto& bus : network_->buses) {
        if (CodeHas(bus->code, "V") && SwitchScheduledQBus(pass, *bus)) switched = 1;
        if (CodeHas(bus->code, "X") && sw.xBusShunts && SwitchBankStep(pass, *bus)) switched = 1;
    }
    if (switched) ClassifyBuses();
    return switched;
}

// Generators by the way they hold a voltage: remotely with others, as a
// "Z" bus, or locally (the slack among them). The reactive limits are the
// ones the step limits left after the apparent-power limit.
int Solver::CheckGeneratorLimits() {
    const RunSwitches& sw = switches_;
    if (!(sw.generatorReactiveLimits || sw.fieldLimits || sw.armatureLimits || sw.zBusReactiveLimits)) return 0;
    LimitPass pass{*this, *network_, sw, sink_};
    int switched = 0;
    bool lostLast = false;
    for (const auto& owned : network_->buses) {
        NetBus& bus = *owned;
        if (bus.generatorLimitIndex == 1) bus.generatorLimitIndex = 2;
        const std::string& code = bus.code;
        bool switchedHere = false;
        if (sw.remoteVoltageControl && CodeHas(code, "G"))
            switchedHere = SwitchRemoteGenerator(pass, bus, lostLast);
        else if (CodeHas(code, "Z") && !CodeHas(code, "QS"))
            switchedHere = SwitchZBus(pass, bus);
        else if (CodeHas(code, "QSG"))
            switchedHere = SwitchLocalGenerator(pass, bus);
        else
            continue;
        if (switchedHere) switched = 1;
        StopAtSecondLimit(pass, bus);
    }
    // A regulated bus that lost its last generator in this pass may take
    // one back from the next pass on.
    if (lostLast)
        for (const auto& bus : network_->buses)
            if (CodeHas(bus->code, "C") && bus->extras().regulatingGeneratorCount < 0)
                bus->EditExtras().regulatingGeneratorCount = 0;
    if (switched) ClassifyBuses();
    return switched;
}
