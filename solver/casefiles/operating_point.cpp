#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "column80_keys.h"
#include "deck_lines.h"
#include "number_text.h"
#include "solver.h"

// The operating-point file of a column-80 deck (option 6): what holds each
// bus's reactive power, new base voltages, regulating transformers, areas
// with their load growth and groups of generators holding one remote bus.
// Records by the letter in column 80, buses by their keys; a key that names
// no bus is passed over.

std::string Column80BusName(std::string_view key, double baseKv) {
    return FormatInCLocale("%5.*s %6.0f", static_cast<int>(key.size()), key.data(), baseKv);
}

double TapOfWinding(double tapKv, double windingKv) {
    return tapKv > 0.0 ? windingKv / tapKv : 1.0;
}

namespace {

// Until the load models are rescaled to the solved voltages, a model's base
// part holds the share of the load that follows V^exponent.
void TakeWholeLoadExponential(LoadModel& model, double exponent) {
    model.base = 1.0;
    model.impedance = 0.0;
    model.exponent = exponent;
}

class OperatingPointReader {
public:
    OperatingPointReader(Solver& solver, FILE* input, double mvaBase)
        : solver_(solver), network_(*solver.GetNetwork()), file_(solver, input, "Operating point"), input_(input),
          base_(mvaBase) {}

    // What the file gave besides the changes to the network.
    struct Outcome {
        bool areaMade = false;  // the areas are then settled
        bool loadDirection = false;
        bool loadExponents = false;
    };
    Outcome Read();

private:
    NetBus* Bus(int col) const { return solver_.FindOrAddBus80(0, file_.Text(col, 5), Search::Yes, false); }
    bool Marked(int col) const { return file_.Text(col, 1) == "T"; }
    double Mvar(int col, int len) const { return file_.Real(col, len, 0) / base_; }
    void ReadReactive();
    void ReadArea();
    void ReadBusSettings();
    double Exponent(int col) const;
    void Rebase(NetBus& bus, double newKv);
    void ReadRegulator();
    void ReadRemoteGroup();
    void Finish();

    Solver& solver_;
    Network& network_;
    DeckLines file_;
    FILE* input_;
    const double base_;
    int areaRecords_ = 0;
    int groupRecords_ = 0;
    bool areaMade_ = false;
    double directionTotal_ = 0.0;
    bool exponentsGiven_ = false;
    bool remoteGroupsOn_ = false;
    std::map<const NetBus*, int> groups_;
};

OperatingPointReader::Outcome OperatingPointReader::Read() {
    while (file_.Next()) {
        const std::string& line = file_.Line();
        switch (line.size() >= 80 ? line[79] : ' ') {
        case 'B': ReadReactive(); break;
        case 'J': ReadArea(); break;
        case 'K': ReadBusSettings(); break;
        case 'R': ReadRegulator(); break;
        case 'S': ReadRemoteGroup(); break;
        default: break;
        }
    }
    solver_.CloseFile(input_);
    Finish();
    return {areaMade_, directionTotal_ != 0.0, exponentsGiven_};
}

// 'B': a generator's reactive power and its limits, or a shunt, or a fixed
// reactive injection.
void OperatingPointReader::ReadReactive() {
    NetBus* found = Bus(1);
    if (!found) return;
    NetBus& bus = *found;
    const double q = Mvar(15, 8);
    if (Marked(31) && bus.code == "B") {
        bus.generationQ += q;
        bus.minQ = Mvar(7, 8);
        bus.maxQ = Mvar(23, 8);
        if (bus.maxQ <= bus.minQ || bus.maxQ < q || bus.minQ > q) {
            bus.maxQ = kUnlimited;
            bus.minQ = -kUnlimited;
        }
        if (Marked(33)) {
            bus.code = "BZ";
            ++network_.zBusCount;
        } else {
            bus.code = "BQ";
            ++network_.generatorBusCount;
        }
        bus.voltageFree = false;
        bus.control = 'V';
    } else if (Marked(33)) {
        bus.shuntB = q / (bus.voltage * bus.voltage);
    } else {
        bus.generationQ += q;
    }
    bus.areaCode = bus.owner = file_.Text(35, 2);
}

// 'J': the n-th area takes the buses of zone n that have none yet; its
// percentage sets their load growth.
void OperatingPointReader::ReadArea() {
    const std::string zone = FormatInCLocale("%2d", ++areaRecords_);
    const std::string name = file_.Text(1, 16);
    const double share = file_.Real(34, 4, 0) * 0.01;
    for (const auto& owned : network_.buses) {
        NetBus& bus = *owned;
        if (bus.area || bus.areaCode != zone) continue;
        NetArea* area = solver_.FindOrAddArea(0, name, Search::Yes);
        if (area->number == 0) {
            area->number = ++network_.areaCount;
            area->codes[0] = zone;
            areaMade_ = true;
        }
        bus.area = area;
        if (CodeHas(bus.code, "S") || (CodeHas(bus.code, "Q") && !area->areaBus)) area->areaBus = &bus;
        bus.loadModelP.baseDirection = share * bus.loadP;
        bus.loadModelQ.baseDirection = share * bus.loadQ;
        directionTotal_ += std::fabs(bus.loadModelP.baseDirection) + std::fabs(bus.loadModelQ.baseDirection);
    }
}

// 'K': a bus's base voltage and display limits, what holds its voltage and
// the group of generators it belongs to.
void OperatingPointReader::ReadBusSettings() {
    NetBus* found = Bus(1);
    if (!found) return;
    NetBus& bus = *found;
    const double newKv = file_.Real(6, 7, 0);
    if (newKv < 0.0) file_.Fail("a negative base kV");
    if (newKv != 0.0) {
        Rebase(bus, newKv);
        bus.name = Column80BusName(file_.Text(1, 5), newKv);
        const double lower = file_.Real(13, 7, 0);
        const double upper = file_.Real(20, 7, 0);
        if (upper > lower && upper >= newKv && lower <= newKv) {
            bus.displayMaxVoltage = upper / newKv;
            bus.displayMinVoltage = lower / newKv;
        }
    }
    if (Marked(50) && bus.code == "BQ") {
        bus.maxQ = kUnlimited;
        bus.minQ = -kUnlimited;
    }
    if (!Marked(58)) bus.generationDirection = bus.scheduledP;
    bus.areaCode = bus.owner = CodeHas(bus.code, "QS") ? file_.Text(66, 2) : " 0";
    groups_[&bus] = file_.Int(68, 2);
    const char control = file_.Text(70, 1)[0];
    if (control == 'P' && bus.code == "B") {
        bus.code = "BC";
        bus.voltageTarget = bus.voltage;
        bus.voltageFree = false;
        network_.remoteVoltageSums = remoteGroupsOn_ = true;
    } else if ((control == 'V' || control == 'S') && CodeHas(bus.code, "QS")) {
        bus.code = bus.code == "BQ" ? "BG" : "BGS";
        network_.remoteVoltageSums = remoteGroupsOn_ = true;
    }
    // The whole load follows V^exponent: the Q exponent stands before the
    // record's letter, the P exponent after it.
    TakeWholeLoadExponential(bus.loadModelQ, Exponent(71));
    TakeWholeLoadExponential(bus.loadModelP, Exponent(81));
    exponentsGiven_ = true;
}

double OperatingPointReader::Exponent(int col) const {
    const double exponent = file_.Real(col, 7, 0);
    if (std::fabs(exponent) > LoadModel::kMaxExponent) file_.Fail("a load exponent outside -10 to 10");
    return exponent;
}

// A new base voltage: the per-unit values that hang on it follow, so that
// the network in kV, ohms and amperes stays the same. Branches are given at
// their higher voltage, which is their to end.
void OperatingPointReader::Rebase(NetBus& bus, double newKv) {
    const double ratio = newKv / bus.baseKv;
    bus.voltage /= ratio;
    bus.voltageTarget /= ratio;
    bus.shuntB *= ratio * ratio;
    for (const AdjacencyNode& node : bus.branches) {
        NetBranch& branch = *node.branch;
        if (branch.to == &bus) {
            branch.g *= ratio * ratio;
            branch.b *= ratio * ratio;
            branch.toShuntG *= ratio * ratio;
            branch.toShuntB *= ratio * ratio;
            branch.rating *= ratio;
        } else {
            branch.tap *= ratio;
            branch.nominalRatio *= ratio;
            // Tap limits are held as the reciprocals of the ratio; a branch
            // without limits has none to scale.
            if (branch.HasRegulation()) {
                branch.EditRegulation().controlMax /= ratio;
                branch.EditRegulation().controlMin /= ratio;
            }
        }
    }
    bus.baseKv = newKv;
}

// 'R': the tap of a transformer and, by its selector, the end whose
// voltage it holds (none: a fixed transformer again).
void OperatingPointReader::ReadRegulator() {
    NetBus* first = Bus(1);
    NetBus* second = Bus(7);
    if (!first || !second) return;
    char circuit = file_.Text(13, 1)[0];
    if (circuit == ' ') circuit = '0';
    NetBranch* found = nullptr;
    for (const AdjacencyNode& node : first->branches) {
        NetBranch* b = node.branch;
        const bool joins = (b->from == first && b->to == second) || (b->from == second && b->to == first);
        if (joins && b->circuit == circuit && (b->code == "R" || b->code == "T")) found = b;
        if (found) break;
    }
    if (!found) return;
    NetBranch& branch = *found;
    NetBus* low = branch.from->baseKv <= branch.to->baseKv ? branch.from : branch.to;
    NetBus* high = low == branch.from ? branch.to : branch.from;
    const double tapKv = file_.Real(14, 8, 0);
    const double lowerKv = file_.Real(24, 8, 0);
    const double upperKv = file_.Real(34, 8, 0);
    branch.tap = TapOfWinding(tapKv, low->baseKv);
    const bool limitsHold = upperKv > lowerKv && tapKv >= lowerKv && tapKv <= upperKv;
    branch.EditRegulation().controlMax = limitsHold ? upperKv / low->baseKv : 1.1;
    branch.EditRegulation().controlMin = limitsHold ? lowerKv / low->baseKv : 0.9;

    const int selector = file_.Int(42, 2);
    NetBus* chosen = selector > 0 ? high : low;
    if (selector == 0) {
        if (branch.code != "R") return;
        branch.code = std::string("T");
        Solver::UnlinkBranch(branch.regulation().regulatedBus->regulatingBranches, &branch);
        branch.EditRegulation().regulatedBus = nullptr;
        --network_.voltageRegulatingCount;
        return;
    }
    chosen->voltage = chosen->voltageTarget = file_.Real(45, 8, 0) / chosen->baseKv;
    if (NetBus* before = branch.regulation().regulatedBus) {
        if (before == chosen) return;
        Solver::UnlinkBranch(before->regulatingBranches, &branch);
    }
    if (branch.code == "T") {
        branch.code = std::string("R");
        ++network_.voltageRegulatingCount;
    }
    if (chosen->code == "B") chosen->code = "BT";
    branch.EditRegulation().regulatedBus = chosen;
    Solver::LinkBranch(chosen->regulatingBranches, &branch);
}

// 'S': the g-th group: its first bus held by remote generators is the one
// every generator of the group holds; the group's other such buses float.
void OperatingPointReader::ReadRemoteGroup() {
    const int group = ++groupRecords_;
    NetBus* controlled = nullptr;
    for (const auto& owned : network_.buses) {
        NetBus& bus = *owned;
        auto member = groups_.find(&bus);
        if (member == groups_.end() || member->second != group || !CodeHas(bus.code, "C")) continue;
        if (!controlled) {
            controlled = &bus;
            bus.voltageTarget = bus.voltage;
            bus.voltageFree = false;
        } else {
            bus.code = std::string("B");
            bus.voltageFree = true;
        }
    }
    if (!controlled) return;
    for (const auto& owned : network_.buses) {
        NetBus& bus = *owned;
        auto member = groups_.find(&bus);
        if (member == groups_.end() || member->second != group || !CodeHas(bus.code, "G")) continue;
        bus.EditExtras().remoteBus = controlled;
        bus.voltageFree = true;
        bus.EditExtras().participation = 1.0;
        ++controlled->EditExtras().regulatingGeneratorCount;
        controlled->EditExtras().sumMaxQ += bus.maxQ;
        controlled->EditExtras().sumMinQ += bus.minQ;
    }
}

// Remote groups that no 'S' record formed fall back to local control; the
// buses that no area took join the area "REST".
void OperatingPointReader::Finish() {
    if (remoteGroupsOn_ && groupRecords_ == 0) {
        for (const auto& bus : network_.buses) {
            if (bus->code == "BC") bus->code = std::string("B");
            if (bus->code == "BG") bus->code = "BQ";
            if (bus->code == "BGS") bus->code = "BS";
        }
        network_.remoteVoltageSums = false;
    }
    if (!areaMade_) return;
    for (const auto& owned : network_.buses) {
        NetBus& bus = *owned;
        if (bus.area) continue;
        NetArea* area = nullptr;
        if (bus.areaCode == " 0") {
            area = solver_.FindOrAddArea(0, "REST", Search::Yes);
            if (area->number == 0) area->number = ++network_.areaCount;
        } else if (!bus.extras().svcs.empty() && !bus.branches.empty()) {
            const NetBranch& branch = *bus.branches.front().branch;
            area = (branch.from == &bus ? branch.to : branch.from)->area;
        }
        if (!area) continue;
        bus.area = area;
        if (CodeHas(bus.code, "S") || (CodeHas(bus.code, "Q") && !area->areaBus)) area->areaBus = &bus;
    }
}

}  // namespace

int Solver::ReadOperatingPoint(const char* fileName) {
    if (IsEmptyValue(fileName)) return 0;
    const OperatingPointReader::Outcome outcome = OperatingPointReader(*this, OpenInput(fileName), mvaBase_).Read();
    inputGave_.loadDirection = outcome.loadDirection;
    inputGave_.loadExponents = outcome.loadExponents;
    return outcome.areaMade ? 1 : 0;
}
