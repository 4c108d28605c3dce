#pragma once

#include <deque>
#include <string>
#include <vector>

#include "network_records.h"

// A public test network in the IEEE common data format turned into the
// records that the program's model would hand the solver.
struct HostNetwork {
    std::vector<BusRecord> buses;
    std::vector<BranchRecord> branches;
    std::deque<std::string> names;  // the buses' names, at stable addresses
};

struct CdfConversion {
    // Generator buses with (kind 4) or without (kind 5) Q limits; without,
    // the slack's Q limits are left open too.
    bool reactiveLimits = false;
    double defaultBaseKv = 100.0; // for buses whose base kV is not given
    // Start from 1.0 p.u. (the desired voltage at generator buses) and 0
    // degrees (the slack keeps its angle) instead of the file's voltages
    // and angles.
    bool flatStart = false;
};

// Bus keys are (number << 8) | 1, branch keys (position << 8) | 10. Loads go
// in as constant power: MW and Mvar in the first and fourth direction value.
// A transformer's off-nominal tap a is written as a from winding of a x the
// from bus's kV over a to winding at the to bus's kV. A branch marked as a
// transformer with no off-nominal ratio or shift but with charging goes in
// as a line, which keeps half the charging at each end (a transformer's
// goes to its to end). Throws on a bad file.
HostNetwork LoadCdfAsHostRecords(const std::string& path, CdfConversion conversion = {});
