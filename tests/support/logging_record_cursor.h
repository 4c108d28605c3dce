#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "network_records.h"
#include "record_cursor.h"
#include "record_filters.h"

// A record cursor over canned records that logs every call it gets, as
// "SetTable(0, 2)", "SetMode(0)", "SetGroupBuses(false)", "MoveFirst" and
// "Next" (the last one answering false too). It filters its tables as the
// model's cursor does, and while grouping is on it hands out its bus groups
// before its buses. Names live here, so the records' pointers stay valid.
class LoggingRecordCursor final : public IRecordCursor {
public:
    std::vector<std::string> calls;
    std::vector<BusRecord> groups;
    std::vector<BusRecord> buses;
    std::vector<BranchRecord> branches;

    BusRecord& AddBus(int key, int kind, const char* name) { return AddBusTo(buses, key, kind, name); }
    // A bus group as the model sends it: "BusGroup n", key (n << 8) | 25.
    BusRecord& AddGroup(int index, int kind) {
        return AddBusTo(groups, (index << 8) | 25, kind, ("BusGroup " + std::to_string(index)).c_str());
    }
    BranchRecord& AddBranch(int key, int kind, const char* name, const char* from, const char* to) {
        BranchRecord& record = branches.emplace_back();
        record.key = key;
        record.kind = kind;
        record.name = Keep(name);
        record.fromName = Keep(from);
        record.toName = Keep(to);
        return record;
    }

    // The calls since the last look, and a fresh log.
    std::vector<std::string> TakeCalls() { return std::exchange(calls, {}); }

    void SetMode(char mode) override { calls.push_back("SetMode(" + std::to_string(int{mode}) + ")"); }
    int MoveFirst() override {
        calls.emplace_back("MoveFirst");
        walkTable_ = table_;
        position_ = 0;
        return static_cast<int>(walkTable_ == BusTable ? buses.size() : branches.size());
    }
    bool Next(BusRecord& record) override {
        calls.emplace_back("Next");
        if (walkTable_ != BusTable) return false;
        const std::size_t groupCount = groupBuses_ ? groups.size() : 0;
        while (position_ < groupCount + buses.size()) {
            const std::size_t at = position_++;
            const BusRecord& next = at < groupCount ? groups[at] : buses[at - groupCount];
            if (!BusFilterPasses(filter_, next.kind)) continue;
            record = next;
            return true;
        }
        return false;
    }
    bool Next(BranchRecord& record) override {
        calls.emplace_back("Next");
        if (walkTable_ != BranchTable) return false;
        while (position_ < branches.size()) {
            const BranchRecord& next = branches[position_++];
            if (!BranchFilterPasses(filter_, next.kind)) continue;
            record = next;
            return true;
        }
        return false;
    }
    int GetSetCount() override { return 0; }
    bool SelectSet(int) override { return false; }
    void SetTable(int table, int filter) override {
        calls.push_back("SetTable(" + std::to_string(table) + ", " + std::to_string(filter) + ")");
        table_ = table;
        filter_ = filter;
    }
    void Release() override {}
    void SetGroupBuses(bool group) override {
        calls.push_back(group ? "SetGroupBuses(true)" : "SetGroupBuses(false)");
        groupBuses_ = group;
    }

private:
    const char* Keep(const char* name) { return name ? names_.emplace_back(name).c_str() : nullptr; }
    BusRecord& AddBusTo(std::vector<BusRecord>& list, int key, int kind, const char* name) {
        BusRecord& record = list.emplace_back();
        record.key = key;
        record.kind = kind;
        record.name = Keep(name);
        return record;
    }

    std::deque<std::string> names_;
    int table_ = BusTable;
    int walkTable_ = BusTable;
    int filter_ = 0;
    bool groupBuses_ = false;
    std::size_t position_ = 0;
};
