#include "result_cursor.h"

#include "solver.h"

int ResultCursor::MoveFirst() {
    current_ = table_ != BusTable ? BranchTable : BusTable;
    position_ = 0;
    return 0;
}

void ResultCursor::SetTable(int table, int filter) {
    table_ = table;
    filter_ = filter;
}

bool ResultCursor::Next(BusRecord& record) {
    const Network* network = solver_.Failed() ? nullptr : solver_.GetNetwork();
    if (!network || current_ != BusTable || position_ >= network->buses.size()) return false;
    solver_.WriteBusResult(*network->buses[position_++], record);
    return true;
}

bool ResultCursor::Next(BranchRecord& record) {
    const Network* network = solver_.Failed() ? nullptr : solver_.GetNetwork();
    if (!network || current_ != BranchTable || position_ >= network->branches.size()) return false;
    solver_.WriteBranchResult(*network->branches[position_++], record);
    return true;
}
