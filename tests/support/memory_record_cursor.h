#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "record_cursor.h"

// A record table held in memory. It feeds the solver as the host's model
// does, and it keeps what another cursor hands out (the solver's results),
// so that a test can look at the records or hand them back. Names and bank
// step lists live here, so the records' pointers stay valid as long as the
// cursor does. Records are reached by index: adding one may move the others.
class MemoryRecordCursor final : public IRecordCursor {
public:
    MemoryRecordCursor() = default;
    MemoryRecordCursor(const MemoryRecordCursor&) = delete;
    MemoryRecordCursor& operator=(const MemoryRecordCursor&) = delete;

    std::vector<BusRecord> buses;
    std::vector<BranchRecord> branches;

    // A bus as the host's bus writer makes it: key (number << 8) | 1,
    // 1.0 p.u., 110 kV. A null name leaves the record's name null.
    BusRecord& AddBus(int number, int kind, const char* name) {
        BusRecord record;
        record.number = number;
        record.kind = kind;
        record.key = (number << 8) | 1;
        record.voltage = 1.0;
        record.baseKv = 110.0;
        buses.push_back(record);
        if (name) SetName(buses.back(), name);
        return buses.back();
    }

    // A branch between two bus numbers, both ends at 110 kV, circuit "1";
    // keys count up from (1000 << 8) | 10 in the order of adding.
    BranchRecord& AddBranch(int kind, int fromBus, int toBus, double resistance, double reactance) {
        BranchRecord record;
        record.kind = kind;
        record.key = ((1000 + static_cast<int>(branches.size())) << 8) | 10;
        record.fromBus = fromBus;
        record.toBus = toBus;
        record.fromBaseKv = 110.0;
        record.toBaseKv = 110.0;
        record.resistance = resistance;
        record.reactance = reactance;
        record.circuit[0] = '1';
        branches.push_back(record);
        return branches.back();
    }

    void SetName(BusRecord& record, std::string name) {
        names_.push_back(std::move(name));
        record.name = names_.back().c_str();
    }

    // The step list of a switched bank; its first pair is not used.
    void SetBankBlocks(BusRecord& record, std::vector<BankBlock> blocks) {
        bankLists_.push_back(std::move(blocks));
        record.bankBlocks = bankLists_.back().data();
        record.bankBlockCount = static_cast<int>(bankLists_.back().size());
    }

    // Replaces both tables by what the source hands out, read as the host
    // reads the solver's results: table 0, then table 1.
    void CopyFrom(IRecordCursor& source) {
        buses.clear();
        branches.clear();
        source.SetTable(BusTable, 0);
        source.MoveFirst();
        for (BusRecord record; source.Next(record); record = BusRecord{}) {
            buses.push_back(record);
            if (record.name) SetName(buses.back(), record.name);
        }
        source.SetTable(BranchTable, 0);
        source.MoveFirst();
        for (BranchRecord record; source.Next(record); record = BranchRecord{}) branches.push_back(record);
    }

    bool groupBuses = false;  // last value given to SetGroupBuses

    void SetMode(char) override {}
    int MoveFirst() override {
        position_ = 0;
        return static_cast<int>(table_ == BusTable ? buses.size() : branches.size());
    }
    bool Next(BusRecord& record) override {
        if (table_ != BusTable || position_ >= buses.size()) return false;
        record = buses[position_++];
        return true;
    }
    bool Next(BranchRecord& record) override {
        if (table_ != BranchTable || position_ >= branches.size()) return false;
        record = branches[position_++];
        return true;
    }
    int GetSetCount() override { return 0; }
    bool SelectSet(int) override { return false; }
    void SetTable(int table, int) override {
        table_ = table;
        position_ = 0;
    }
    void Release() override {}
    void SetGroupBuses(bool group) override { groupBuses = group; }

private:
    std::deque<std::string> names_;
    std::deque<std::vector<BankBlock>> bankLists_;
    int table_ = BusTable;
    std::size_t position_ = 0;
};
