#include <algorithm>
#include <cstdio>

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
    return !bus.branches.empty() || !bus.converters.empty() || !bus.svcs.empty() || !bus.tcscs.empty() ||
           !bus.statcoms.empty();
}

// A device that regulates a voltage needs both its buses to have one.
bool HasVoltageLinks(const NetBus* first, const NetBus* second) {
    return first && second && first->regulatedBus && second->regulatedBus;
}

// The end of a branch that its tag names: the from bus when the tag is the
// from bus's owner text, else the to bus.
NetBus* EndByTag(const NetBranch& branch) {
    return branch.tag == branch.from->owner ? branch.from : branch.to;
}

}  // namespace

// Answers false when a fault was found; the caller then ends the run.
bool Solver::PrepareNetwork() {
    Network& network = *network_;
    if (network.buses.empty()) {
        std::fprintf(diagnostics_, "The network has no buses\n");
        Abort(1);
    }
    if (network.branches.empty() && network.converters.empty()) {
        std::fprintf(diagnostics_, "The network has no branches\n");
        Abort(1);
    }
    if (network.areas.size() < 2) {
        for (const auto& bus : network.buses) bus->area = nullptr;
        for (const auto& branch : network.branches) branch->area = nullptr;
        network.areas.clear();
        network.areaCount = 0;
    }
    if (network.slackCount == 0) {
        std::fprintf(diagnostics_, "The network has no slack bus\n");
        Abort(1);
    }

    FaultNotes faults(diagnostics_);
    const bool severalAreas = network.areas.size() >= 2;
    const bool cardColumn80 = HasOption('6');
    for (const auto& owned : network.buses) {
        NetBus& bus = *owned;
        if (bus.voltage <= 0.0) faults.Bus(bus, "no voltage");
        if (!IsConnected(bus)) faults.Bus(bus, "nothing is connected to it");

        if (CodeHas(bus.code, "G")) {
            NetBus* regulated = bus.regulatedBus;
            if (!regulated || !CodeHas(regulated->code, "C")) {
                faults.Bus(bus, "its regulated bus is not held by generators");
            } else {
                regulated->regulatingGenerators.push_back(&bus);
                if (switches_.remoteVoltageControl) {
                    if (network.remoteVoltageSums) {
                        bus.participation = regulated->sumMaxQ > 0.0 ? bus.maxQ / regulated->sumMaxQ : 1.0;
                        bus.participationNegative = regulated->sumMinQ < 0.0 ? bus.minQ / regulated->sumMinQ : 1.0;
                    } else {
                        bus.participationNegative = bus.participation;
                    }
                    regulated->regulatedGenerationQ += bus.generationQ;
                } else {
                    // Each generator holds its own voltage; the regulated bus floats.
                    regulated->regulatedBus = regulated;
                    bus.regulatedBus = nullptr;
                }
            }
        }
        if (CodeHas(bus.code, "C") && bus.regulatingGeneratorCount < 1)
            faults.Bus(bus, "no generator regulates its voltage");
        if (!switches_.keepTransformerBusLink && CodeHas(bus.code, "T")) bus.regulatedBus = nullptr;

        if (severalAreas) {
            // A reader that keys areas by number has linked the bus already.
            if (NetArea* area = bus.area ? bus.area : AreaListing(network, bus.areaCode)) {
                bus.area = area;
                area->buses.push_back(&bus);
                if (CodeHas(bus.code, "S") && ++area->slackCount > 1) faults.Bus(bus, "a second slack bus in its area");
            } else {
                faults.Bus(bus, "no area lists its area code");
            }
        }

        if (bus.angle >= kAngleNotGiven) bus.angle = network.referenceAngle;
        if (bus.generationDirection == 0.0 && CodeHas(bus.code, cardColumn80 ? "S" : "AS"))
            bus.generationDirection = 1.0;
        if (bus.maxP <= 0.0) bus.maxP = kUnlimited;
        if (bus.maxPCopy <= 0.0) bus.maxPCopy = kUnlimited;
        bus.generationDirectionCopy = bus.generationDirection;

        if (CodeHas(bus.code, "X")) {
            const NetBus* bank = bus.regulatedBus;
            if (!bank || bank->bankStepCount < 1 ||
                bank->bankSteps.size() < static_cast<std::size_t>(bank->bankStepCount)) {
                faults.Bus(bus, "no switched bank with steps holds its voltage");
            } else {
                bus.maxVoltage = bank->maxVoltage;
                bus.minVoltage = bank->minVoltage;
                if (bus.maxVoltage <= bus.minVoltage) faults.Bus(bus, "its voltage limits are not ordered");
            }
        }
        if (CodeHas(bus.code, "T") && bus.regulatingBranches.empty())
            faults.Bus(bus, "no regulating transformer holds its voltage");
        if (CodeHas(bus.code, "SA")) network.slackBuses.push_back(&bus);

        bus.generationP = bus.scheduledP;
        bus.loadPCopy = bus.loadP;
        bus.loadQCopy = bus.loadQ;
    }
    if (HasOption('I')) {
        // The IEEE reader builds the bus list backwards.
        std::reverse(network.buses.begin(), network.buses.end());
        std::reverse(network.slackBuses.begin(), network.slackBuses.end());
        for (const auto& area : network.areas) std::reverse(area->buses.begin(), area->buses.end());
    }

    for (const auto& owned : network.branches) {
        NetBranch& branch = *owned;
        if (CodeHas(branch.code, "R") && branch.owner.empty())
            faults.Branch(branch, "a regulating branch without owner");
        if (branch.code == "R" || branch.code == "RV")
            branch.control = 'V';
        else if (CodeHas(branch.code, "PM"))
            branch.control = 'P';
        else if (CodeHas(branch.code, "QN"))
            branch.control = 'Q';
        if (!branch.tag.empty()) branch.owner = EndByTag(branch)->areaCode;
        NetArea* fromArea = branch.from->area;
        NetArea* toArea = branch.to->area;
        if (severalAreas && fromArea && toArea && fromArea != toArea) {
            LinkBranch(fromArea->ties, &branch);
            LinkBranch(toArea->ties, &branch);
            if (!branch.meteredBus) branch.meteredBus = EndByTag(branch);
        }
    }
    // Branches were put at the head while reading: back into reading order.
    std::reverse(network.branches.begin(), network.branches.end());

    for (const auto& area : network.areas) {
        NetBus* areaBus = area->areaBus;
        if (!areaBus) {
            faults.Area(*area, "no area bus");
            continue;
        }
        if (area->ties.empty() && !CodeHas(areaBus->code, "S")) {
            // An area on its own holds its own angle.
            bool listed = CodeHas(areaBus->code, "A");
            areaBus->code += "S";
            ++network.slackCount;
            if (!listed) network.slackBuses.push_back(areaBus);
        }
    }
    if (!switches_.areaControl) {
        for (const auto& area : network.areas)
            if (area->areaBus && CodeHas(area->areaBus->code, "S")) SetAreaBus(area->areaBus, area.get());
    }

    for (const auto& svc : network.svcs)
        if (!HasVoltageLinks(svc->terminalBus, svc->controlledBus)) faults.Device("SVC", svc->name);
    for (const auto& statcom : network.statcoms)
        if (!HasVoltageLinks(statcom->terminalBus, statcom->controlledBus)) faults.Device("STATCOM", statcom->name);
    return faults.Ok();
}
