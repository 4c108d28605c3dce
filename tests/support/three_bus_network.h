#pragma once

#include <stdexcept>
#include <string>

#include "memory_record_cursor.h"
#include "solver.h"

// Slack 1 at 1.02 p.u.; generator 2 without reactive limits at 1.01 p.u.
// and 40 MW; load 3 of 60 MW and 20 Mvar at constant power. Three lines
// with charging mesh them.
inline void AddThreeBusNetwork(MemoryRecordCursor& records) {
    BusRecord& slack = records.AddBus(1, 0, "Slack");
    slack.voltage = 1.02;
    slack.maxQ = 500.0;
    slack.minQ = -500.0;
    BusRecord& generator = records.AddBus(2, 5, "Generator");
    generator.voltage = 1.01;
    generator.generationP = 40.0;
    BusRecord& load = records.AddBus(3, 1, "Load");
    load.loadP = load.direction[0] = 60.0;
    load.loadQ = load.direction[3] = 20.0;
    records.AddBranch(BranchRecord::Line, 1, 2, 0.02, 0.06).chargingB = 0.03;
    records.AddBranch(BranchRecord::Line, 1, 3, 0.08, 0.24).chargingB = 0.025;
    records.AddBranch(BranchRecord::Line, 2, 3, 0.06, 0.18).chargingB = 0.02;
}

inline int BusKey(int number) {
    return (number << 8) | 1;
}

inline const BusRecord& RecordOf(const MemoryRecordCursor& records, int key) {
    for (const BusRecord& bus : records.buses)
        if (bus.key == key) return bus;
    throw std::runtime_error("no bus record with key " + std::to_string(key));
}

// Solves the records to a mismatch of 1e-11 p.u.: Attach, then RunPowerFlow
// from its solution. False when either fails.
inline bool SolveTightly(Solver& solver, MemoryRecordCursor& records) {
    if (solver.Attach(&records, nullptr, 0) != 1) return false;
    solver.SetTolerance(1e-11);
    return solver.RunPowerFlow() > 0;
}
