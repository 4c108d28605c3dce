// Bus groups: merging the buses of closed switches, the group's solver
// record, spreading its results back and settling the switch flows.

#include "bus_groups.h"

#include <algorithm>
#include <cstdio>

#include "bus.h"
#include "element_key.h"
#include "message_sink.h"
#include "model_interface.h"

namespace {

// Record kinds whose voltage control a group takes over from its member:
// the slack, and the buses whose voltage generators hold.
bool IsSlackKind(int kind) { return kind == 0; }
bool IsVoltageHeldKind(int kind) { return kind == 2 || kind == 4 || kind == 5; }
// Controls that a group record cannot carry: a voltage band, a switched
// bank, a generator holding a remote bus.
bool IsUncarriedControlKind(int kind) { return kind == 6 || kind == 7 || kind == 8; }

// The voltage fields that the group takes from the member that sets its kind.
void TakeVoltageFields(BusRecord& group, const BusRecord& member) {
    group.voltage = member.voltage;
    group.voltageCopy = member.voltageCopy;
    group.angle = member.angle;
    group.baseKv = member.baseKv;
    group.regulatedBaseKv = member.regulatedBaseKv;
    group.maxVoltage = member.maxVoltage;
    group.minVoltage = member.minVoltage;
    group.voltageCopy2 = member.voltageCopy2;
    group.regulatedBus = member.regulatedBus;
}

void AddSums(BusRecord& group, const BusRecord& member) {
    group.generationP += member.generationP;
    group.generationQ += member.generationQ;
    group.loadP += member.loadP;
    group.loadQ += member.loadQ;
    group.maxP += member.maxP;
    group.maxQ += member.maxQ;
    group.minP += member.minP;
    group.minQ += member.minQ;
    group.shuntG += member.shuntG;
    group.shuntB += member.shuntB;
    group.generationShare += member.generationShare;
    group.pLoadShare += member.pLoadShare;
    group.qLoadShare += member.qLoadShare;
    for (int i = 0; i < 6; ++i) group.direction[i] += member.direction[i];
    if (!group.hasLoad) group.hasLoad = member.hasLoad;
    if (!group.hasGeneration) group.hasGeneration = member.hasGeneration;
}

}  // namespace

void BusGroups::Clear() {
    busMap_.clear();
    for (auto& group : groups_) group.clear();
    groups_.clear();
}

bool BusGroups::AddSwitch(IElement* switchElement) {
    if (!switchElement || !owner_ || !switchElement->IsOn()) return false;
    const auto& ends = switchElement->GetEndKeys();
    if (!IsElementKey(ends[0]) || !IsElementKey(ends[1])) return false;
    // An end whose key names no bus of the model is as free as an end
    // without a key.
    Bus* first = dynamic_cast<Bus*>(owner_->FindByKey(ends[0]));
    Bus* second = dynamic_cast<Bus*>(owner_->FindByKey(ends[1]));
    if (!first || !second || first == second) return false;
    const int firstGroup = GetGroup(ends[0]);
    const int secondGroup = GetGroup(ends[1]);
    if (firstGroup < 0 && secondGroup < 0) {
        const int index = GetGroupCount();
        groups_.push_back({first, second});
        busMap_[ends[0]] = index;
        busMap_[ends[1]] = index;
    } else if (secondGroup < 0) {
        groups_[static_cast<std::size_t>(firstGroup)].push_back(second);
        busMap_[ends[1]] = firstGroup;
    } else if (firstGroup < 0) {
        groups_[static_cast<std::size_t>(secondGroup)].push_back(first);
        busMap_[ends[0]] = secondGroup;
    } else if (firstGroup == secondGroup) {
        // Parallel switches or a ring: the buses are one node already.
        return false;
    } else {
        auto& from = groups_[static_cast<std::size_t>(firstGroup)];
        auto& into = groups_[static_cast<std::size_t>(secondGroup)];
        for (Bus* member : from) {
            into.push_back(member);
            busMap_[member->GetKey()] = secondGroup;
        }
        from.clear();
        if (firstGroup == GetGroupCount() - 1) groups_.pop_back();
    }
    return true;
}

int BusGroups::GetGroup(int busKey) const {
    auto found = busMap_.find(busKey);
    return found == busMap_.end() ? -1 : found->second;
}

bool BusGroups::FillGroupRecord(int index, BusRecord* record) {
    if (!record || !IsGroup(index) || groups_[static_cast<std::size_t>(index)].empty()) return false;
    BusRecord& group = *record;
    group = BusRecord{};
    group.kind = 1;
    // Starting points of the largest upper and the smallest lower limit.
    group.maxVoltage = 0.95;
    group.minVoltage = 1.05;
    bool kindTaken = false;
    int linesOn = 0;
    for (Bus* member : groups_[static_cast<std::size_t>(index)]) {
        linesOn += member->CountLinesOn();
        BusRecord own;
        member->FillSolverRecord(&own, 0);
        // A slack member makes the group a slack; failing that, the first
        // generator bus sets the kind. A slack group keeps its slack's data.
        if (!IsSlackKind(group.kind) && IsSlackKind(own.kind)) {
            group.kind = own.kind;
            TakeVoltageFields(group, own);
            kindTaken = true;
        } else if (!IsSlackKind(group.kind) && !IsVoltageHeldKind(group.kind) && IsVoltageHeldKind(own.kind)) {
            group.kind = own.kind;
            TakeVoltageFields(group, own);
            kindTaken = true;
        } else if (!kindTaken) {
            const double maxVoltage = std::max(group.maxVoltage, own.maxVoltage);
            const double minVoltage = std::min(group.minVoltage, own.minVoltage);
            TakeVoltageFields(group, own);
            group.maxVoltage = maxVoltage;
            group.minVoltage = minVoltage;
        }
        if (IsUncarriedControlKind(own.kind)) {
            char text[96];
            std::snprintf(text, sizeof text, "' is in BusGroup %d, which does not apply its voltage control!", index);
            Report("Bus '" + member->GetName() + text);
        }
        AddSums(group, own);
    }
    group.number = GroupNumber(index);
    group.key = GroupKey(index);
    group.reserved136 = 0;
    group.area = 0;
    group.reserved208 = 0;
    group.reserved212 = 0;
    char name[32];
    std::snprintf(name, sizeof name, "BusGroup %d", index);
    groupName_ = name;
    group.name = groupName_.c_str();
    if (linesOn == 0) {
        SetGroupResults(index, 0.0, 0.0, 0.0, 0.0);
        std::string members;
        GetGroupText(index, members);
        Report("Bus group consisted of " + members + " has no connected lines!. Bus group will be ignored!");
        return false;
    }
    return true;
}

void BusGroups::SetGroupResults(int index, double v, double angle, double p, double q) {
    if (!IsGroup(index)) return;
    const auto& members = groups_[static_cast<std::size_t>(index)];
    for (Bus* member : members) {
        double* values = member->GetValues();
        values[Bus::kVoltage] = v;
        values[Bus::kAngle] = angle;
        member->UpdateResultLabel(nullptr);
    }
    if (p != 0.0 || q != 0.0) {
        for (Bus* member : members) {
            const int kind = static_cast<int>(member->GetValues()[Bus::kKind]);
            if ((IsSlackKind(kind) || IsVoltageHeldKind(kind)) && member->SetConnectedGeneration(p, q)) break;
        }
    }
    for (Bus* member : members) {
        std::string warning;
        if (member->CheckLimits(warning)) Report(warning);
    }
}

void BusGroups::SettleSwitchFlows(int index) {
    if (!IsGroup(index)) return;
    const auto& members = groups_[static_cast<std::size_t>(index)];
    if (members.empty()) return;
    for (Bus* member : members) member->ResetSwitchFlows(false);
    int settled = -1;
    for (;;) {
        int count = 0;
        for (Bus* member : members) count += member->BalanceSwitchFlow() ? 1 : 0;
        if (count == settled) break;
        settled = count;
    }
    if (settled < static_cast<int>(members.size()) - 1) {
        std::string text;
        GetGroupText(index, text);
        Report("Cannot calculate power flow for all switches/connectors in  group consisted of " + text + " buses!");
    }
}

void BusGroups::SettleAllSwitchFlows() {
    for (int i = 0; i < GetGroupCount(); ++i) SettleSwitchFlows(i);
}

void BusGroups::GetGroupText(int index, std::string& text) const {
    if (!IsGroup(index)) return;
    for (const Bus* member : groups_[static_cast<std::size_t>(index)]) text += "'" + member->GetName() + "', ";
}

void BusGroups::Report(const std::string& text) const {
    IMessageSink* sink = owner_ ? owner_->GetMessageSink() : nullptr;
    if (sink) sink->AddMessage(IMessageSink::Warning, text.c_str());
}
