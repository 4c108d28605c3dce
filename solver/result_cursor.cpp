#include "result_cursor.h"

#include "solver.h"

int ResultCursor::MoveFirst() {
    position_ = 0;
    return 0;
}

void ResultCursor::SetTable(int table, int filter) {
    table_ = table;
    filter_ = filter;
    position_ = 0;
}

bool ResultCursor::Next(BusRecord&) {
    return false;
}

bool ResultCursor::Next(BranchRecord&) {
    return false;
}
