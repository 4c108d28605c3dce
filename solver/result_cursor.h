#pragma once

#include <cstddef>

#include "record_cursor.h"

class Solver;

// The solver's own cursor over its solved network: buses in the order of the
// bus list, then branches in the order of the branch list. The solver owns it.
class ResultCursor final : public IRecordCursor {
public:
    explicit ResultCursor(Solver& solver) : solver_(solver) {}

    void SetMode(char) override {}
    int MoveFirst() override;
    bool Next(BusRecord& record) override;
    bool Next(BranchRecord& record) override;
    int GetSetCount() override { return 0; }
    bool SelectSet(int) override { return false; }
    void SetTable(int table, int filter) override;
    void Release() override {}
    void SetGroupBuses(bool) override {}

private:
    static constexpr int kNoTable = -1;

    Solver& solver_;
    int table_ = BusTable;    // as chosen by SetTable
    int filter_ = 0;          // kept, not used
    int current_ = kNoTable;  // the table being walked, from MoveFirst
    std::size_t position_ = 0;
};
