#include <vector>

#include "solver.h"

// The builders that every reader uses to find or add the records of the
// network model. A new record gets the defaults of its type; the caller
// numbers buses and keeps the counts.

namespace {

template <class T>
T* FindByName(const OwnedList<T>& list, std::string_view name) {
    for (const auto& item : list)
        if (item->name == name) return item.get();
    return nullptr;
}

bool IsSlack(const NetBus* bus) {
    return bus && CodeHas(bus->code, "S");
}

// The bus pair of a device record: an SVC's or a STATCOM's terminal and
// controlled bus, a TCSC's from and to bus.
void SetDeviceBuses(NetSvc& svc, NetBus* first, NetBus* second) {
    svc.terminalBus = first;
    svc.controlledBus = second;
}
void SetDeviceBuses(NetStatcom& statcom, NetBus* first, NetBus* second) {
    statcom.terminalBus = first;
    statcom.controlledBus = second;
}
void SetDeviceBuses(NetTcsc& tcsc, NetBus* first, NetBus* second) {
    tcsc.from = first;
    tcsc.to = second;
}

// With search: the first device of the list with the name. Otherwise a new
// one at the head of the list, listed at both of its buses (once when they
// are the same bus).
template <class Device>
Device* FindOrAddDevice(OwnedList<Device>& list, std::string_view name, Search search, NetBus* first, NetBus* second,
                        std::vector<Device*> NetBusExtras::*atBus) {
    if (search == Search::Yes) {
        if (Device* found = FindByName(list, name)) return found;
    }
    Device* made = list.AddFront();
    made->name = name;
    SetDeviceBuses(*made, first, second);
    if (first) (first->EditExtras().*atBus).push_back(made);
    if (second && second != first) (second->EditExtras().*atBus).push_back(made);
    return made;
}

}  // namespace

void Solver::NewNetwork() {
    ReleaseNetwork();
    network_ = std::make_unique<Network>();
}

NetBus* Solver::FindBus(int externalNumber) const {
    if (externalNumber == 0) return nullptr;
    for (const auto& bus : network_->buses)
        if (bus->externalNumber == externalNumber) return bus.get();
    return nullptr;
}

// With search: the first bus with the external number, or, for number 0,
// the first with the name; a new bus goes to the tail. Without search a new
// bus goes to the head, so such buses come out in reverse order.
NetBus* Solver::FindOrAddBus(int number, std::string_view name, double baseKv, Search search) {
    name = name.substr(0, NetBus::kNameLength);
    if (search == Search::Yes) {
        if (number != 0) {
            if (NetBus* bus = FindBus(number)) return bus;
        } else {
            for (const auto& bus : network_->buses)
                if (bus->name == name) return bus.get();
        }
    }
    return AddBus(name, baseKv, search == Search::Yes ? ListEnd::Tail : ListEnd::Head);
}

// A new bus with the defaults of its type, at the tail of the list or at
// its head.
NetBus* Solver::AddBus(std::string_view name, double baseKv, ListEnd end) {
    NetBus* made = end == ListEnd::Tail ? network_->buses.AddBack() : network_->buses.AddFront();
    made->name = name.substr(0, NetBus::kNameLength);
    made->baseKv = baseKv;
    return made;
}

// With search (and some branch already made): the first branch on the from
// bus's list that joins the two buses either way, whose code holds one of
// the kinds and whose circuit matches (a blank circuit on either side
// matches any and a blank one found takes the circuit asked for); null when
// none does. Otherwise a new branch at the head of the branch list, linked
// at both buses.
NetBranch* Solver::FindOrAddBranch(NetBus* from, NetBus* to, Search search, const char* kinds, char circuit) {
    if (search == Search::Yes && !network_->branches.empty()) {
        for (const AdjacencyNode& node : from->branches) {
            NetBranch* branch = node.branch;
            bool joins = (branch->from == from && branch->to == to) || (branch->from == to && branch->to == from);
            if (!joins || !CodeHas(branch->code, kinds)) continue;
            if (branch->circuit == circuit || circuit == ' ') return branch;
            if (branch->circuit == ' ') {
                branch->circuit = circuit;
                return branch;
            }
        }
        return nullptr;
    }
    NetBranch* made = network_->branches.AddFront();
    made->from = from;
    made->to = to;
    made->circuit = circuit;
    LinkBranch(from->branches, made);
    LinkBranch(to->branches, made);
    return made;
}

void Solver::LinkBranch(AdjacencyList& list, NetBranch* branch) {
    list.push_front(AdjacencyNode{branch});
}

// With search: the first area with the number, or, for number 0, the name.
// A new area is appended with the name and number 0.
NetArea* Solver::FindOrAddArea(int number, std::string_view name, Search search) {
    if (search == Search::Yes) {
        for (const auto& area : network_->areas)
            if (number != 0 ? area->number == number : area->name == name) return area.get();
    }
    NetArea* area = network_->areas.AddBack();
    area->name = name;
    return area;
}

NetConverter* Solver::FindOrAddConverter(std::string_view name, Search search) {
    if (search == Search::Yes) {
        if (NetConverter* found = FindByName(network_->converters, name)) return found;
    }
    NetConverter* converter = network_->converters.AddBack();
    converter->name = name;
    return converter;
}

NetSvc* Solver::FindOrAddSvc(std::string_view name, Search search, NetBus* terminal, NetBus* controlled) {
    return FindOrAddDevice(network_->svcs, name, search, terminal, controlled, &NetBusExtras::svcs);
}

NetTcsc* Solver::FindOrAddTcsc(std::string_view name, Search search, NetBus* from, NetBus* to) {
    return FindOrAddDevice(network_->tcscs, name, search, from, to, &NetBusExtras::tcscs);
}

NetStatcom* Solver::FindOrAddStatcom(std::string_view name, Search search, NetBus* terminal, NetBus* controlled) {
    return FindOrAddDevice(network_->statcoms, name, search, terminal, controlled, &NetBusExtras::statcoms);
}

// Makes the bus the area bus of the area and of every area reached from it
// through tie branches whose own area bus is not a slack.
void Solver::SetAreaBus(NetBus* bus, NetArea* area) {
    std::vector<NetArea*> pending{area};
    while (!pending.empty()) {
        NetArea* current = pending.back();
        pending.pop_back();
        current->areaBus = bus;
        for (const AdjacencyNode& tie : current->ties) {
            for (NetBus* end : {tie.branch->from, tie.branch->to}) {
                NetArea* other = end->area;
                if (other && other != current && other->areaBus != bus && !IsSlack(other->areaBus))
                    pending.push_back(other);
            }
        }
    }
}
