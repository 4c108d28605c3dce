#pragma once

#include <map>
#include <string>
#include <vector>

#include "network_records.h"

class Bus;
class IElement;
class IModel;

// Buses joined by closed switches and zero-impedance connectors are one node
// of the network: the model merges them into bus groups, hands the solver one
// record per group in place of its buses, and spreads the group's result back
// over them. Group i is entry i; a group merged into another stays as an empty
// entry (only an emptied last entry is removed), so indices stay stable
// between a rebuild and the end of a study.
class BusGroups {
public:
    BusGroups() = default;
    virtual ~BusGroups() = default;
    BusGroups(const BusGroups&) = delete;
    BusGroups& operator=(const BusGroups&) = delete;

    // The model whose buses the groups hold; set before every rebuild.
    void SetOwner(IModel* owner) { owner_ = owner; }
    void Clear();
    // Merges the two buses of a closed switch; false when it joins nothing
    // (open, a free end, or both buses already in one group).
    bool AddSwitch(IElement* switchElement);
    // The group of the bus, or -1.
    int GetGroup(int busKey) const;
    int GetGroupCount() const { return static_cast<int>(groups_.size()); }
    const std::vector<Bus*>& GetMembers(int index) const { return groups_[static_cast<std::size_t>(index)]; }

    // The group's bus record; false (with a level-2 message) for a group
    // without lines in service, and for an index without members.
    bool FillGroupRecord(int index, BusRecord* record);
    // The solved voltage (p.u.) and angle (degrees) to every member; the
    // group's generation (MW, Mvar) to the first generator bus that takes it.
    void SetGroupResults(int index, double v, double angle, double p, double q);
    // Finds each switch's flow from the balance of the members' known flows.
    void SettleSwitchFlows(int index);
    void SettleAllSwitchFlows();
    // "'name', " for each member in list order.
    void GetGroupText(int index, std::string& text) const;

    // Number and key of a group on the records.
    static int GroupNumber(int index) { return index | 0x1000000; }
    static int GroupKey(int index) { return (index << 8) | 25; }

private:
    void Report(const std::string& text) const;
    bool IsGroup(int index) const { return index >= 0 && index < GetGroupCount(); }

    IModel* owner_ = nullptr;
    std::map<int, int> busMap_;  // bus key -> group index
    std::vector<std::vector<Bus*>> groups_;
    std::string groupName_;  // the one buffer the records' names point into
};
