#pragma once

#include "record_cursor.h"
#include "solver.h"

// Reads a host's records into the solver as Attach does (as AttachAndRun
// does when a continuation text is given) and prepares the network, without
// solving it. False when the read or the preparation fails the run.
inline bool ReadHostRecords(Solver& solver, IRecordCursor& records, IMessageSink* sink = nullptr,
                            const char* continuationText = nullptr) {
    solver.SetHost(&records, sink);
    if (continuationText)
        solver.BeginHostContinuation(continuationText);
    else
        records.SetGroupBuses(true);
    bool read = true;
    try {
        solver.PrepareRun(0, nullptr, 1);
    } catch (const SolverAbort&) {
        read = false;
    }
    if (continuationText) solver.EndHostContinuation();
    return read;
}
