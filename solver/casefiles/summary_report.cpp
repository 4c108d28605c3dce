#include <cmath>
#include <string>

#include "devices/generator_model.h"
#include "line_writer.h"
#include "number_text.h"
#include "solution_values.h"
#include "solver.h"

// The summary report of a solved network, written line by line through the
// caller's line writer: the counts of the network, the swing bus, then every
// bus in two lines (active quantities, then reactive ones) with the branches
// at it beside it. Each line of a bus carries a bar at column 63 between the
// bus and its branches. MW, Mvar, kV and A; angles in degrees and radians.

namespace {

const double kSqrt3 = std::sqrt(3.0);
// The width of the bus part of a line, up to its bar.
constexpr int kBusWidth = 62;

constexpr const char* kHead[] = {
    "                                      ***** AC RESULTS *****",
    "                   L=lower limit    H=higher limit      O=over limit    U=under limit",
    "--|----|------------|------|-------|--------|--------|--------|----|------------|-|--------|--------|--------|"
    "-------|-|-----------------",
    " A    i Bus           V(pu)   V(kV)   Pg(MW)    Pload   Pshunt|   j Bus          C      Pij  Plosses |Iij|(A) "
    "kVi/kVj T  Controlled Bus  ",
    " n      Name         d(deg)  d(rad) Qg(MVAR)    Qload   Qshunt|     Name         r      Qij  Qlosses           "
    "a(deg)      k Name        ",
};
constexpr const char* kSeparator =
    "--|----|------------|------|-------|--------|--------|--------|----|------------|-|--------|--------|--------|"
    "-------|-|----|------------";

// Where a value stands against two limits: a blank when the limits are
// equal, else at the lower "L", at the upper "H", under "U", over "O".
char LimitFlag(double value, double lower, double upper) {
    if (lower == upper) return ' ';
    if (value == lower) return 'L';
    if (value == upper) return 'H';
    if (value < lower) return 'U';
    if (value > upper) return 'O';
    return ' ';
}

// A value against an upper limit alone: "H" at it, "O" above it.
char UpperFlag(double value, double upper) {
    return value == upper ? 'H' : value > upper ? 'O' : ' ';
}

// A machine's internal voltage against its field limits: over the upper
// "O", at it "H", under the lower "U", at it "L".
char FieldFlag(double value, double lower, double upper) {
    if (value > upper) return 'O';
    if (value == upper) return 'H';
    if (value < lower) return 'U';
    if (value == lower) return 'L';
    return ' ';
}

char Letter(char letter) {
    return letter ? letter : ' ';
}

class SummaryReport {
public:
    SummaryReport(Network& network, ILineWriter& writer, double mvaBase, double degreesToRadians, double lambda)
        : network_(network), writer_(writer), base_(mvaBase), degreesToRadians_(degreesToRadians), lambda_(lambda) {}

    void Write();

private:
    void Counts();
    void Bus(NetBus& bus);
    std::string ActivePart(const NetBus& bus) const;
    std::string ReactivePart(const NetBus& bus) const;
    void BranchLines(const NetBus& bus, const NetBranch& branch, const std::string& activeLead,
                     const std::string& reactiveLead);
    void GeneratorLines(const NetGenerator& model);
    void EndLine(const std::string& line) { writer_.Append(line.c_str()).EndLine(); }

    Network& network_;
    ILineWriter& writer_;
    const double base_;
    const double degreesToRadians_;
    const double lambda_;
};

void SummaryReport::Write() {
    Counts();
    for (const char* line : kHead) EndLine(line);
    if (network_.areas.size() >= 2) {
        for (const auto& area : network_.areas)
            for (NetBus* bus : area->buses) Bus(*bus);
    } else {
        for (const auto& bus : network_.buses) Bus(*bus);
    }
}

// The counts kept while the network was read and numbered, and the swing bus.
void SummaryReport::Counts() {
    const Network& n = network_;
    const struct {
        const char* label;
        int count;
    } counts[] = {
        {"            AC buses -> ", n.busCount},
        {"            PV buses -> ", n.generatorBusCount},
        {"            X buses  -> ", n.bankBusCount},
        {"            Z buses  -> ", n.zBusCount},
        {"            AC elem. -> ", static_cast<int>(n.branches.size())},
        {"         V Reg. Trf. -> ", n.voltageRegulatingCount},
        {"        PQ Reg. Trf. -> ", n.regulatingCount},
    };
    for (const auto& c : counts) EndLine(c.label + std::to_string(c.count));
    std::string swing = "    Swing Bus: ";
    for (const auto& bus : n.buses) {
        if (!CodeHas(bus->code, "S")) continue;
        swing += bus->name + ' ';
        break;
    }
    EndLine(swing);
    EndLine("");
}

void SummaryReport::Bus(NetBus& bus) {
    bus.angle = WrappedAngle(bus.angle);
    EndLine(kSeparator);
    const std::string active = ActivePart(bus);
    const std::string reactive = ReactivePart(bus);
    if (bus.branches.empty()) {
        EndLine(active + reactive);
    } else {
        bool first = true;
        for (const AdjacencyNode& node : bus.branches) {
            BranchLines(bus, *node.branch, first ? active : std::string(), first ? reactive : std::string());
            first = false;
        }
    }
    if (bus.generator) GeneratorLines(*bus.generator);
}

// The machine behind a bus: its armature current and the current's angle,
// then its internal voltage and rotor angle, each up to the bar.
void SummaryReport::GeneratorLines(const NetGenerator& model) {
    const double currentAngle = model.ir == 0.0 && model.ii == 0.0 ? 0.0 : std::atan2(model.ii, model.ir);
    std::string out = " Gen.-> Ia=";
    AppendFixed(out, model.ia, 7, 4);
    out += "[pu]";
    out += UpperFlag(model.ia, model.maxCurrent);
    out += " al=";
    AppendFixed(out, currentAngle / degreesToRadians_, 7, 2);
    out += "[deg]";
    out.append(23, ' ');
    EndLine(out + '|');

    out = "        Eq=";
    AppendFixed(out, model.e, 7, 4);
    out += "[pu]";
    out += FieldFlag(model.e, model.minField, model.maxField);
    out += " dg=";
    AppendFixed(out, model.delta / degreesToRadians_, 7, 2);
    out += "[deg]";
    out.append(23, ' ');
    EndLine(out + '|');
}

// Area, number, name, voltage, then generation, load and shunt in MW, up to
// the bar.
std::string SummaryReport::ActivePart(const NetBus& bus) const {
    const double v = bus.voltage;
    std::string out;
    AppendInt(out, bus.area ? bus.area->number : 0, 2);
    out += ' ';
    AppendInt(out, ListedNumber(bus), 4);
    out += ' ';
    AppendText(out, bus.name, 12);
    out += ' ';
    AppendFixed(out, v, 6, 4);
    out += ' ';
    if (bus.baseKv > 0.0)
        AppendFixed(out, v * bus.baseKv, 7, 2);
    else
        out.append(7, ' ');
    // The limits the bus is held to, else those a case file gave for display.
    if (bus.maxVoltage != bus.minVoltage)
        out += LimitFlag(v, bus.minVoltage, bus.maxVoltage);
    else
        out += LimitFlag(v, bus.displayMinVoltage, bus.displayMaxVoltage);
    AppendFixed(out, bus.generationP * base_, 8, 2);
    out += UpperFlag(bus.generationP, bus.maxP);
    AppendFixed(out, LoadAt(bus.loadModelP, v, lambda_) * base_, 8, 2);
    out += ' ';
    AppendFixed(out, v * v * bus.shuntG * base_, 8, 2);
    out += '|';
    return out;
}

// Angle in degrees and radians, then generation, load and shunt in Mvar, up
// to the bar.
std::string SummaryReport::ReactivePart(const NetBus& bus) const {
    const double v = bus.voltage;
    std::string out(21, ' ');
    AppendFixed(out, bus.angle / degreesToRadians_, 6, 2);
    out += ' ';
    AppendFixed(out, bus.angle, 7, 4);
    out += ' ';
    AppendFixed(out, bus.generationQ * base_, 8, 2);
    out += LimitFlag(bus.generationQ, bus.minQ, bus.maxQ);
    AppendFixed(out, LoadAt(bus.loadModelQ, v, lambda_) * base_, 8, 2);
    out += ' ';
    AppendFixed(out, v * v * bus.shuntB * base_, 8, 2);
    out += '|';
    return out;
}

// Two lines for a branch seen from `bus`: the active flow into it, its
// losses, the current and the ratio with the bus it controls, then the
// reactive flow, its losses and the shift. The bus's own parts lead the
// lines of its first branch, blanks and the bar those of the others.
void SummaryReport::BranchLines(const NetBus& bus, const NetBranch& branch, const std::string& activeLead,
                                const std::string& reactiveLead) {
    const EndFlows flows = BranchFlows(branch);
    const bool atFrom = branch.from == &bus;
    const NetBus& far = atFrom ? *branch.to : *branch.from;
    const double p = atFrom ? flows.fromP : flows.toP;
    const double q = atFrom ? flows.fromQ : flows.toQ;
    const double lossP = flows.fromP + flows.toP;
    const double lossQ = flows.fromQ + flows.toQ;
    const bool transformer = CodeHas(branch.code, "TR");
    // Only the controlled end of a flow-regulating transformer shows its
    // flow against the band.
    const NetRegulation& regulation = branch.regulation();
    const bool controlledEnd = regulation.regulatedBus == &bus;
    const char control = branch.control;
    const std::string blankLead = std::string(kBusWidth, ' ') + '|';

    std::string out = activeLead.empty() ? blankLead : activeLead;
    AppendInt(out, ListedNumber(far), 4);
    out += ' ';
    AppendText(out, far.name, 12);
    out += ' ';
    out += Letter(branch.circuit);
    out += ' ';
    AppendFixed(out, p * base_, 8, 2);
    out += controlledEnd && control == 'P' ? LimitFlag(p, regulation.bandMin, regulation.bandMax) : ' ';
    AppendFixed(out, lossP * base_, 8, 2);
    out += ' ';
    const double current = std::hypot(p, q) / bus.voltage;
    if (bus.baseKv > 0.0)
        AppendFixed(out, current * base_ * 1000.0 / (kSqrt3 * bus.baseKv), 8, 2);
    else
        out.append(8, ' ');
    out += branch.rating > 0.0 ? UpperFlag(current, branch.rating) : ' ';
    if (transformer) {
        const double kvFrom = branch.from->baseKv;
        const double kvTo = branch.to->baseKv;
        const double ratio = kvFrom > 0.0 && kvTo > 0.0 ? kvFrom / kvTo / branch.tap : 1.0 / branch.tap;
        AppendFixed(out, atFrom ? ratio : 1.0 / ratio, 7, 4);
        // The tap limits are held as the ratios' reciprocals.
        const bool tapLimits = control != 'P' && regulation.controlMin > 0.0 && regulation.controlMax > 0.0;
        out += tapLimits ? LimitFlag(branch.tap, 1.0 / regulation.controlMax, 1.0 / regulation.controlMin) : ' ';
    } else {
        out.append(8, ' ');
    }
    out += Letter(control);
    out += ' ';
    if (const NetBus* controlled = regulation.regulatedBus) {
        AppendInt(out, ListedNumber(*controlled), 4);
        out += ' ';
        AppendText(out, controlled->name, 12);
        out += ' ';
    }
    EndLine(out);

    out = reactiveLead.empty() ? blankLead : reactiveLead;
    out.append(20, ' ');
    AppendFixed(out, q * base_, 8, 2);
    out += controlledEnd && control == 'Q' ? LimitFlag(q, regulation.bandMin, regulation.bandMax) : ' ';
    AppendFixed(out, lossQ * base_, 8, 2);
    out += ' ';
    out.append(9, ' ');
    if (transformer) {
        AppendFixed(out, branch.shift / degreesToRadians_, 7, 3);
        const bool shiftLimits = control != 'Q' && control != 'V';
        out += shiftLimits ? LimitFlag(branch.shift, regulation.controlMin, regulation.controlMax) : ' ';
    }
    EndLine(out);
}

}  // namespace

void Solver::WriteReport(ILineWriter* writer) {
    Guarded(0, [&] {
        if (!writer || !network_ || failed_) return 0;
        SummaryReport(*network_, *writer, mvaBase_, degreesToRadians_, lambda_).Write();
        return 0;
    });
}
