#pragma once

#include <variant>
#include <vector>

#include "network_records.h"

// What a shunt hands its bus for the bus's solver record. Per unit on the
// model's MVA base, or Mvar and MW at the present voltage.
struct ShuntRecord {
    double susceptance = 0.0;  // p.u.: Q at 1 p.u. / base
    double conductance = 0.0;  // p.u.: P at 1 p.u. / base
    double presentQ = 0.0;     // Mvar at the bus's present voltage
    double presentP = 0.0;     // MW at the bus's present voltage
};

// What a switched bank hands its bus for the bus's solver record.
struct BankRecord {
    bool capacitorBank = false;
    int position = 0;           // steps switched in
    double susceptance = 0.0;   // p.u.
    double presentQ = 0.0;      // Mvar at the present voltage and position
    double valueAtZero = 0.0;   // Mvar at position 0
    // The bank's own step list, valid while the bank lives; entry 0 holds
    // the position and the value at position 0.
    const std::vector<BankBlock>* steps = nullptr;
};

// The record an element fills for the solver: a bus its bus record, a line
// or transformer its branch record, a shunt or bank the part that its bus
// copies into the bus's record.
using SolverRecord = std::variant<BusRecord*, BranchRecord*, ShuntRecord*, BankRecord*>;
