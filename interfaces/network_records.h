#pragma once

// The two fixed records in which a network and its results cross between the
// program and the solver. One layout serves both directions; each field says
// what the host puts in and what the solver hands back. MW, Mvar, kV and
// degrees as the host sees them. A writer clears a record before filling it.

// One pair of a switched bank's step list: `count` steps of `mvar` each.
struct BankBlock {
    int count = 0;
    double mvar = 0.0;
};

struct BusRecord {
    int recordTag = 0;           // host: 0
    int kind = 0;                // bus kind 0-8; handed back as read
    int number = 0;              // host: its bus number; solver: internal number 1..n
    int key = 0;                 // element key (group key for a bus group); handed back
    const char* name = nullptr;  // host: bus name or null; solver: its own copy, valid until released
    double generationP = 0.0;    // MW: scheduled / solved
    double generationQ = 0.0;    // Mvar: scheduled / solved
    double loadP = 0.0;          // MW: load / load at the solved voltage and load parameter
    double loadQ = 0.0;          // Mvar: likewise
    double shuntPProduct = 0.0;  // host's own figure, not read
    double shuntQ = 0.0;         // solver: Mvar of the bus's shunt at the solved voltage
    double voltage = 0.0;        // p.u.: start or set-point / solved
    double voltageCopy = 0.0;    // host's own, not read
    double angle = 0.0;          // degrees: start / solved, within -180..180
    double baseKv = 0.0;         // nominal voltage, kV
    double maxP = 0.0;           // MW, upper limit of active generation
    double maxQ = 0.0;           // Mvar, reactive upper limit
    double minP = 0.0;           // host's own, not read
    double minQ = 0.0;           // Mvar, reactive lower limit
    int reserved136 = 0;
    int area = 0;                // host writes 0; the solver reads it as a hexadecimal area code
    int regulatedBus = 0;        // kind 8: the bus whose voltage this bus's generation regulates
    double regulatedBaseKv = 0.0;  // kind 8: its nominal voltage
    double participation = 0.0;  // kind 8: share of this bus in the regulation, percent
    double maxVoltage = 0.0;     // p.u., kinds 6 and 7
    double minVoltage = 0.0;     // p.u., kinds 6 and 7
    double shuntG = 0.0;         // fixed shunt conductance, p.u.
    double shuntB = 0.0;         // fixed shunt susceptance, p.u.
    double voltageCopy2 = 0.0;   // host's own, not read
    int reserved208 = 0;
    int reserved212 = 0;
    // Block filled by a switched bank on the bus (kind 7).
    int bankTag = 0;
    int bankStep = 0;            // solver: the bank's present step
    double bankReserved[2] = {0.0, 0.0};
    double firstBankBlock = 0.0;          // Mvar of the first block
    const BankBlock* bankBlocks = nullptr;  // step list; the first pair is not used
    int bankBlockCount = 0;
    bool hasLoad = false;        // host's own, not read
    bool hasGeneration = false;  // host's own, not read
    double generationShare = 0.0;  // percent of the load-increase direction
    double pLoadShare = 0.0;       // percent
    double qLoadShare = 0.0;       // percent
    // Load-increase values, MW and Mvar: constant-power, constant-current and
    // constant-impedance parts of P, then of Q.
    double direction[6] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
};

struct BranchRecord {
    enum Kind { Line = 0, Transformer = 1, RegulatingTransformer = 2 };
    enum ControlType { Voltage = 0, ReactiveFlow = 1, ReactiveBand = 2, ActiveFlow = 3, ActiveBand = 4 };

    int recordTag = 1;           // host: 1
    int kind = Line;             // handed back as read
    const char* name = nullptr;      // host's own, not read
    const char* fromName = nullptr;  // host's own, not read
    const char* toName = nullptr;    // host's own, not read
    double pFrom = 0.0;          // MW into the branch at the from end (solver)
    double qFrom = 0.0;          // Mvar likewise
    double pTo = 0.0;            // MW into the branch at the to end (solver)
    double qTo = 0.0;            // Mvar likewise
    double pLoss = 0.0;          // MW: pFrom + pTo
    double qLoss = 0.0;          // Mvar: qFrom + qTo
    double lowerLimit = 0.0;     // kind 2: minimum tap (kV of the tapped winding) or shift (degrees)
    double tapRatio = 0.0;       // solver: the effective ratio of a transformer
    double hostValue88 = 0.0;    // host's own, not read
    double upperLimit = 0.0;     // kind 2: maximum tap (kV) or shift (degrees)
    double currentFrom = 0.0;    // A at the from end (solver)
    double currentTo = 0.0;      // A at the to end (solver)
    int key = 0;                 // element key; handed back
    int fromKey = 0;             // host's own, not read
    int toKey = 0;               // host's own, not read
    int fromBus = 0;             // host: bus number as in the bus records; solver: internal number
    int toBus = 0;
    double fromBaseKv = 0.0;     // nominal voltage of the from bus
    double toBaseKv = 0.0;
    int endCode = 0;             // kind 2: 0 selects the from bus, 1 the to bus
    int reserved164 = 0;
    int reserved168 = 0;
    double rating = 0.0;         // host: A (lines) or MVA (transformers); solver: p.u.
    int regulatedBus = 0;        // kind 2: the bus whose voltage or flow is controlled
    double regulatedBaseKv = 0.0;  // kind 2
    int reserved200 = 0;
    double phaseShift = 0.0;     // degrees: fixed shift / solved shift
    double resistance = 0.0;     // series, p.u.
    double reactance = 0.0;      // series, p.u.
    double chargingB = 0.0;      // total shunt susceptance, p.u.
    double shuntG = 0.0;         // total shunt conductance, p.u.
    double tapSide = 0.0;        // kind 2: 1 or more when the tap is on the to winding
    double hostValue256 = 0.0;   // host's own, not read
    double hostValue264 = 0.0;   // host's own, not read
    double fromWindingKv = 0.0;  // rated voltage of the from winding (0: the bus's base kV)
    double toWindingKv = 0.0;    // rated voltage of the to winding (0: no off-nominal ratio)
    char circuit[8] = {};        // circuit identifier, NUL-terminated, at most 3 characters
    double controlTarget = 0.0;  // kind 2, control types 1 and 3: flow to hold, Mvar or MW
    int controlType = Voltage;   // kind 2
    double bandMinimum = 0.0;    // control types 2 and 4, Mvar or MW
    double bandMaximum = 0.0;
};
