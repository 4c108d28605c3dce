#pragma once

#include "network_records.h"

// A table of network records: the host's model feeds the solver through one,
// and the solver hands its results back through another. Protocol for every
// reader: SetTable(table, 0), MoveFirst(), then Next(record) until false.
class IRecordCursor {
public:
    enum Table { BusTable = 0, BranchTable = 1, ConnectorTable = 2 };

    // A mode byte that the host's cursor passes to its element writers.
    virtual void SetMode(char mode) = 0;
    // Positions before the first record of the current table; the host's
    // cursor answers the number of records.
    virtual int MoveFirst() = 0;
    // Fills the record with the next row of the current table and advances.
    // False when the table is exhausted or the current table holds the other
    // kind of record; the record is then left unchanged.
    virtual bool Next(BusRecord& record) = 0;
    virtual bool Next(BranchRecord& record) = 0;
    // Stored result sets (none for the model and the solver).
    virtual int GetSetCount() = 0;
    virtual bool SelectSet(int index) = 0;
    virtual void SetTable(int table, int filter) = 0;
    // End of use. Deletes the cursor only where the owner says so.
    virtual void Release() = 0;
    // The model merges buses joined by switches and zero-impedance connectors.
    virtual void SetGroupBuses(bool group) = 0;

protected:
    ~IRecordCursor() = default;
};
