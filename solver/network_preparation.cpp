#include <algorithm>
#include <cstdio>

#include "number_text.h"
#include "solver.h"

// The pass that checks and links a network after reading. A network that
// cannot be solved at all ends the run at once; every other fault is
// reported and noted, and the pass goes on so that every bus and branch is
// looked at before the run fails.

namespace {

class FaultNotes {
public:
    explicit FaultNotes(FILE* diagnostics) : diagnostics_(diagnostics) {}

    void Bus(const NetBus& bus, const char* reason) {
        std::fprintf(diagnostics_, "Bus %s (%d): %s\n", bus.name.c_str(), bus.externalNumber, reason);
        ok_ = false;
    }
    void Branch(const NetBranch& branch, const char* reason) {
        std::fprintf(diagnostics_, "Branch %d-%d: %s\n", branch.from->externalNumber, branch.to->externalNumber,
                     reason);
        ok_ = false;
    }
    void Area(const NetArea& area, const char* reason) {
        std::fprintf(diagnostics_, "Area %s: %s\n", area.name.c_str(), reason);
        ok_ = false;
    }
    void Device(const char* kind, const std::string& name) {
        std::fprintf(diagnostics_, "%s %s: a bus of it has no voltage of its own\n", kind, name.c_str());
        ok_ = false;
    }
    bool Ok() const { return ok_; }

private:
    FILE* diagnostics_;
    bool ok_ = true;
};

NetArea* AreaListing(const Network& network, const std::string& areaCode) {
    for (const auto& area : network.areas)
        for (const std::string& code : area->codes)
            if (!code.empty() && code == areaCode) return area.get();
    return nullptr;
}

bool IsConnected(const NetBus& bus) {
    if (!bus.branches.empty()) return true;
    const NetBusExtras& extras = bus.extras();
    return !extras.converters.empty() || !extras.svcs.empty() || !extras.tcscs.empty() || !extras.statcoms.empty();
}

// A device that regulates a voltage needs both its buses to have one.
bool HasVoltageLinks(const NetBus* first, const NetBus* second) {
    return first && second && first->voltageFree && second->voltageFree;
}

// The end of a branch that its tag names: the from bus when the tag is the
// from bus's owner text, else the to bus.
NetBus* EndByTag(const NetBranch& branch) {
    return branch.tag == branch.from->owner ? branch.from : branch.to;
}

// The steps of the pass, each over the part of the network it links.
class Preparation {
public:
    Preparation(Solver& solver, Network& network)
        : solver_(solver), network_(network), sw_(solver.Switches()), faults_(solver.Diagnostics()),
          severalAreas_(network.areas.size() >= 2), cardColumn80_(solver.HasOption('6')) {}

    void Bus(NetBus& bus);
    void ReadingOrder();
    void Branch(NetBranch& branch);
    void Areas();
    void Devices();
    bool Ok() const { return faults_.Ok(); }

private:
    void RemoteGenerator(NetBus& bus);
    void Area(NetBus& bus);
    void Defaults(NetBus& bus);
    void Bank(NetBus& bus);

    Solver& solver_;
    Network& network_;
    const RunSwitches& sw_;
    FaultNotes faults_;
    const bool severalAreas_;
    const bool cardColumn80_;  // option 6: only a slack shares the slack power by default
};

void Preparation::Bus(NetBus& bus) {
    if (bus.voltage <= 0.0) faults_.Bus(bus, "no voltage");
    if (!IsConnected(bus)) faults_.Bus(bus, "nothing is connected to it");
    if (CodeHas(bus.code, "G")) RemoteGenerator(bus);
    if (CodeHas(bus.code, "C") && bus.extras().regulatingGeneratorCount < 1)
        faults_.Bus(bus, "no generator regulates its voltage");
    if (!sw_.keepTransformerBusLink && CodeHas(bus.code, "T")) bus.voltageFree = false;
    if (severalAreas_) Area(bus);
    Defaults(bus);
    if (CodeHas(bus.code, "X")) Bank(bus);
    if (CodeHas(bus.code, "T") && bus.regulatingBranches.empty())
        faults_.Bus(bus, "no regulating transformer holds its voltage");
    if (CodeHas(bus.code, "SA")) network_.slackBuses.push_back(&bus);

    bus.generationP = bus.scheduledP;
    bus.loadPCopy = bus.loadP;
    bus.loadQCopy = bus.loadQ;
}

// A "G" generator joins the generators of its regulated bus, with its share
// of their reactive power; without remote control it holds its own voltage
// and the regulated bus floats.
void Preparation::RemoteGenerator(NetBus& bus) {
    NetBus* regulated = bus.extras().remoteBus;
    if (!regulated || !CodeHas(regulated->code, "C")) {
        faults_.Bus(bus, "its regulated bus is not held by generators");
        return;
    }
    regulated->EditExtras().regulatingGenerators.push_back(&bus);
    if (!sw_.remoteVoltageControl) {
        regulated->voltageFree = true;
        bus.voltageFree = false;
        return;
    }
    NetBusExtras& share = bus.EditExtras();
    const NetBusExtras& sums = regulated->extras();
    if (network_.remoteVoltageSums) {
        share.participation = sums.sumMaxQ > 0.0 ? bus.maxQ / sums.sumMaxQ : 1.0;
        share.participationNegative = sums.sumMinQ < 0.0 ? bus.minQ / sums.sumMinQ : 1.0;
    } else {
        share.participationNegative = share.participation;
    }
    regulated->EditExtras().regulatedGenerationQ += bus.generationQ;
}

// A reader that keys areas by number has linked the bus already.
void Preparation::Area(NetBus& bus) {
    NetArea* area = bus.area ? bus.area : AreaListing(network_, bus.areaCode);
    if (!area) {
        faults_.Bus(bus, "no area lists its area code");
        return;
    }
    bus.area = area;
    area->buses.push_back(&bus);
    if (CodeHas(bus.code, "S") && ++area->slackCount > 1) faults_.Bus(bus, "a second slack bus in its area");
}

// What the readers left unset: the angle, the slack's share of the slack
// power, the active limits and the share in use.
void Preparation::Defaults(NetBus& bus) {
    if (bus.angle >= kAngleNotGiven) bus.angle = network_.referenceAngle;
    if (bus.generationDirection == 0.0 && CodeHas(bus.code, cardColumn80_ ? "S" : "AS"))
        bus.generationDirection = 1.0;
    if (bus.maxP <= 0.0) bus.maxP = kUnlimited;
    if (bus.maxPCopy <= 0.0) bus.maxPCopy = kUnlimited;
    bus.shareInUse = bus.generationDirection;
}

// An "X" bus takes the voltage band of the switched bank that holds it.
void Preparation::Bank(NetBus& bus) {
    const NetBus* bank = bus.extras().bankBus;
    const NetBusExtras* steps = bank ? &bank->extras() : nullptr;
    if (!steps || steps->bankStepCount < 1 ||
        steps->bankSteps.size() < static_cast<std::size_t>(steps->bankStepCount)) {
        faults_.Bus(bus, "no switched bank with steps holds its voltage");
        return;
    }
    bus.maxVoltage = bank->maxVoltage;
    bus.minVoltage = bank->minVoltage;
    if (bus.maxVoltage <= bus.minVoltage) faults_.Bus(bus, "its voltage limits are not ordered");
}

// The IEEE reader builds the bus list backwards.
void Preparation::ReadingOrder() {
    if (!solver_.HasOption('I')) return;
    std::reverse(network_.buses.begin(), network_.buses.end());
    std::reverse(network_.slackBuses.begin(), network_.slackBuses.end());
    for (const auto& area : network_.areas) std::reverse(area->buses.begin(), area->buses.end());
}

// The control letter by the code, the owner by the tag, and a tie between
// two areas linked at both.
void Preparation::Branch(NetBranch& branch) {
    if (CodeHas(branch.code, "R") && branch.owner.empty()) faults_.Branch(branch, "a regulating branch without owner");
    if (branch.code == "R" || branch.code == "RV")
        branch.control = 'V';
    else if (CodeHas(branch.code, "PM"))
        branch.control = 'P';
    else if (CodeHas(branch.code, "QN"))
        branch.control = 'Q';
    if (!branch.tag.empty()) branch.owner = EndByTag(branch)->areaCode;
    // The ends' areas are looked at only where there can be ties: read
    // ahead of that test, they cost a line of each end bus, which a large
    // network no longer has in cache by now.
    if (!severalAreas_) return;
    NetArea* fromArea = branch.from->area;
    NetArea* toArea = branch.to->area;
    if (fromArea && toArea && fromArea != toArea) {
        Solver::LinkBranch(fromArea->ties, &branch);
        Solver::LinkBranch(toArea->ties, &branch);
        if (!branch.meteredBus) branch.meteredBus = EndByTag(branch);
    }
}

// Every area needs its area bus; an area without ties holds its own angle.
// Without area interchange a slack's area bus serves every area it reaches.
void Preparation::Areas() {
    for (const auto& area : network_.areas) {
        NetBus* areaBus = area->areaBus;
        if (!areaBus) {
            faults_.Area(*area, "no area bus");
            continue;
        }
        if (area->ties.empty() && !CodeHas(areaBus->code, "S")) {
            bool listed = CodeHas(areaBus->code, "A");
            areaBus->code += "S";
            ++network_.slackCount;
            if (!listed) network_.slackBuses.push_back(areaBus);
        }
    }
    if (sw_.areaControl) return;
    for (const auto& area : network_.areas)
        if (area->areaBus && CodeHas(area->areaBus->code, "S")) solver_.SetAreaBus(area->areaBus, area.get());
    // An area that names another bus than the slack within it as its own
    // has that slack instead.
    for (const auto& bus : network_.buses) {
        NetArea* area = bus->area;
        if (CodeHas(bus->code, "S") && area && area->areaBus && !CodeHas(area->areaBus->code, "S"))
            solver_.SetAreaBus(bus.get(), area);
    }
}

void Preparation::Devices() {
    for (const auto& svc : network_.svcs)
        if (!HasVoltageLinks(svc->terminalBus, svc->controlledBus)) faults_.Device("SVC", svc->name);
    for (const auto& statcom : network_.statcoms)
        if (!HasVoltageLinks(statcom->terminalBus, statcom->controlledBus)) faults_.Device("STATCOM", statcom->name);
}

}  // namespace

// A network that cannot be solved at all ends the run.
void Solver::RequireSolvableNetwork() {
    Network& network = *network_;
    if (network.buses.empty()) {
        std::fprintf(diagnostics_, "The network has no buses\n");
        Abort(1);
    }
    if (network.branches.empty() && network.converters.empty()) {
        std::fprintf(diagnostics_, "The network has no branches\n");
        Abort(1);
    }
    // Records point only at areas of the list: without any, nothing links
    // to one, and the network is not walked once more.
    if (network.areas.size() == 1) {
        for (const auto& bus : network.buses) bus->area = nullptr;
        for (const auto& branch : network.branches) branch->area = nullptr;
        network.areas.clear();
    }
    if (network.areas.empty()) network.areaCount = 0;
    if (network.slackCount == 0) {
        std::fprintf(diagnostics_, "The network has no slack bus\n");
        Abort(1);
    }
}

// Interchange control needs two areas, and the area of the system's slack
// must take that slack for its own: otherwise the interchange rows add up
// to the system's power balance once more and the Jacobian is singular.
// Such a network solves as without interchange control, and says so; the
// bus that one area names is then a bus like any other, as if the file had
// no interchange record.
void Solver::SettleAreaInterchange() {
    const Network& network = *network_;
    if (!switches_.areaControl || network.areas.empty()) return;
    std::string reason;
    if (network.areas.size() == 1) {
        reason = "The network has one area";
        for (const auto& bus : network.buses) std::erase(bus->code, 'A');
    } else {
        for (const auto& bus : network.buses) {
            const NetArea* area = bus->area;
            if (!CodeHas(bus->code, "S") || !area || !area->areaBus || area->areaBus == bus.get()) continue;
            reason = FormatInCLocale("Area %d holds the slack bus %d but names bus %d as its own", area->number,
                                     bus->externalNumber, area->areaBus->externalNumber);
            break;
        }
    }
    if (reason.empty()) return;
    switches_.areaControl = false;
    Warn(reason + ": the area interchange is not controlled");
}

// Answers false when a fault was found; the caller then ends the run.
bool Solver::PrepareNetwork() {
    SettleAreaInterchange();
    RequireSolvableNetwork();
    Network& network = *network_;
    Preparation preparation(*this, network);
    for (const auto& bus : network.buses) preparation.Bus(*bus);
    preparation.ReadingOrder();
    for (const auto& branch : network.branches) preparation.Branch(*branch);
    // Branches were put at the head while reading: back into reading order.
    std::reverse(network.branches.begin(), network.branches.end());
    const bool converters = PrepareConverters();
    preparation.Areas();
    preparation.Devices();
    return preparation.Ok() && converters;
}
