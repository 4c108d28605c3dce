#pragma once

#include "network_records.h"

// The filters of a record table, as every cursor over network records
// applies them: 0 passes every record; bus filters 1 kinds 1, 3, 6, 7, 8
// and 2 kinds 0, 2, 4, 5; branch filters 3 lines only and 4 transformers
// only; any other filter passes none.
inline bool BusFilterPasses(int filter, int kind) {
    switch (filter) {
        case 0: return true;
        case 1: return kind == 1 || kind == 3 || kind == 6 || kind == 7 || kind == 8;
        case 2: return kind == 0 || kind == 2 || kind == 4 || kind == 5;
        default: return false;
    }
}

inline bool BranchFilterPasses(int filter, int kind) {
    switch (filter) {
        case 0: return true;
        case 3: return kind == BranchRecord::Line;
        case 4: return kind != BranchRecord::Line;
        default: return false;
    }
}
