#pragma once

#include <memory>
#include <string>
#include <utility>

#include "memory_record_cursor.h"
#include "solver.h"

// Small networks that exercise every kind of unknown of the AC equations.

// Ten buses as host records: slack 1; load 2 with a shunt; generator 3
// ("BQ"); bus 4 with scheduled Q ("BV"); generators 5 and 7 ("BG") holding
// the voltage of bus 6 ("BC") with shares of 60 and 40 percent; bus 8
// ("BT") held by an "R" transformer from bus 2; loads 9 and 10. Lines with
// charging, a fixed transformer 2-9 with an off-nominal ratio and a phase
// shift, and one transformer of each flow control: "RQ" 9-4 and "RN" 10-9
// (both owned by bus 9), "RP" 3-10 (owned by bus 3), "RM" 7-2 (owned by bus 7).
inline void AddRegulatedNetwork(MemoryRecordCursor& records) {
    auto bus = [&](int number, int kind, double voltage) -> BusRecord& {
        BusRecord& b = records.AddBus(number, kind, nullptr);
        b.voltage = voltage;
        return b;
    };
    BusRecord& slack = bus(1, 0, 1.04);
    slack.maxQ = 500.0;
    slack.minQ = -500.0;
    BusRecord& load = bus(2, 1, 1.0);
    load.loadP = 50.0;
    load.loadQ = 20.0;
    load.shuntG = 0.01;
    load.shuntB = 0.05;
    const double coefficients[6] = {40.0, 6.0, 4.0, 15.0, 3.0, 2.0};
    for (int i = 0; i < 6; ++i) load.direction[i] = coefficients[i];
    BusRecord& generator = bus(3, 4, 1.02);
    generator.generationP = 40.0;
    generator.maxQ = 300.0;
    generator.minQ = -300.0;
    BusRecord& scheduled = bus(4, 6, 1.0);
    scheduled.generationQ = 10.0;
    scheduled.maxVoltage = 1.1;
    scheduled.minVoltage = 0.9;
    for (int number : {5, 7}) {
        BusRecord& remote = bus(number, 8, 1.0);
        remote.generationP = 20.0;
        remote.maxQ = 200.0;
        remote.minQ = -200.0;
        remote.regulatedBus = 6;
        remote.regulatedBaseKv = 110.0;
        remote.participation = number == 5 ? 60.0 : 40.0;
    }
    bus(6, 1, 1.01).loadP = 30.0;
    bus(8, 3, 1.0).loadP = 20.0;
    bus(9, 1, 1.0).direction[0] = 25.0;
    bus(10, 1, 1.0).direction[3] = 8.0;

    auto line = [&](int from, int to, double r, double x, double charging) {
        records.AddBranch(BranchRecord::Line, from, to, r, x).chargingB = charging;
    };
    line(1, 2, 0.02, 0.06, 0.03);
    line(2, 3, 0.05, 0.19, 0.02);
    line(3, 4, 0.06, 0.17, 0.02);
    line(4, 5, 0.01, 0.04, 0.0);
    line(5, 6, 0.03, 0.1, 0.01);
    line(6, 7, 0.02, 0.08, 0.0);
    line(1, 9, 0.04, 0.12, 0.01);
    line(8, 10, 0.03, 0.09, 0.0);
    line(9, 10, 0.02, 0.07, 0.0);

    BranchRecord& fixed = records.AddBranch(BranchRecord::Transformer, 2, 9, 0.005, 0.1);
    fixed.fromWindingKv = 115.0;
    fixed.toWindingKv = 110.0;
    fixed.phaseShift = 4.0;
    fixed.chargingB = 0.01;
    fixed.shuntG = 0.002;

    auto regulating = [&](int from, int to, int type, int regulated, double lower, double upper) -> BranchRecord& {
        BranchRecord& t = records.AddBranch(BranchRecord::RegulatingTransformer, from, to, 0.004, 0.08);
        t.fromWindingKv = 110.0;
        t.toWindingKv = 110.0;
        t.regulatedBus = regulated;
        t.regulatedBaseKv = 110.0;
        t.controlType = type;
        t.lowerLimit = lower;
        t.upperLimit = upper;
        return t;
    };
    regulating(2, 8, BranchRecord::Voltage, 8, 99.0, 121.0);
    regulating(9, 4, BranchRecord::ReactiveFlow, 9, 99.0, 121.0).controlTarget = 5.0;
    BranchRecord& band = regulating(10, 9, BranchRecord::ReactiveBand, 9, 99.0, 121.0);
    band.bandMinimum = 0.0;
    band.bandMaximum = 10.0;
    regulating(3, 10, BranchRecord::ActiveFlow, 3, -30.0, 30.0).controlTarget = 10.0;
    BranchRecord& activeBand = regulating(7, 2, BranchRecord::ActiveBand, 7, -30.0, 30.0);
    activeBand.bandMinimum = -20.0;
    activeBand.bandMaximum = 20.0;
}

// Two areas built as a case-file reader builds them, in bus order 1..4:
// area 1 holds the system slack 1 ("BS") and load 2, area 2 its area bus 3
// ("BA") and load 4, which takes half a share of its area's power. Tie line
// 2-3 is metered at bus 2; tie 4-1 is an "RP" transformer owned by bus 4.
// Area 2 exports 20 MW. Answers false when the preparation fails.
inline bool BuildTwoAreaNetwork(Solver& solver) {
    solver.NewNetwork();
    Network& network = *solver.GetNetwork();
    auto area = [&](int number, const char* code) {
        NetArea* a = solver.FindOrAddArea(number, code, Search::No);
        a->number = number;
        a->codes[0] = code;
        ++network.areaCount;
        return a;
    };
    NetArea* north = area(1, "001");
    NetArea* south = area(2, "002");
    auto bus = [&](int number, const char* code, const char* areaCode) {
        NetBus* b = solver.FindOrAddBus(number, std::to_string(number), 110.0, Search::Yes);
        b->number = ++network.busCount;
        b->externalNumber = number;
        b->code = code;
        b->areaCode = areaCode;
        b->voltage = 1.0;
        b->voltageTarget = 1.0;
        b->voltageFree = true;
        return b;
    };
    NetBus* slack = bus(1, "BS", "001");
    slack->voltageFree = false;
    slack->control = 'V';
    slack->maxQ = 5.0;
    slack->minQ = -5.0;
    slack->angle = 0.0;
    ++network.slackCount;
    NetBus* load = bus(2, "B", "001");
    load->loadP = 0.6;
    load->loadQ = 0.2;
    load->loadPolynomial[0] = 0.6;
    load->loadPolynomial[3] = 0.2;
    NetBus* areaBus = bus(3, "BA", "002");
    areaBus->scheduledP = 0.5;
    NetBus* shared = bus(4, "B", "002");
    shared->loadP = 0.4;
    shared->loadPolynomial[0] = 0.4;
    shared->loadPolynomial[3] = 0.1;
    shared->generationDirection = 0.5;
    north->areaBus = slack;
    south->areaBus = areaBus;
    south->scheduledExport = 0.2;

    auto branch = [&](NetBus* from, NetBus* to, std::string code, double r, double x) {
        NetBranch* b = solver.FindOrAddBranch(from, to, Search::No, "", '1');
        b->code = std::move(code);
        const double z2 = r * r + x * x;
        b->g = r / z2;
        b->b = -x / z2;
        b->fromShuntB = b->toShuntB = 0.01;
        b->owner = "  ";
        b->meteredBus = from;
        ++network.branchCount;
        return b;
    };
    branch(slack, load, "L", 0.02, 0.08);
    branch(areaBus, shared, "L", 0.03, 0.1);
    branch(load, areaBus, "L", 0.01, 0.06);
    NetBranch* shifter = branch(shared, slack, "RP", 0.005, 0.12);
    shifter->shift = 0.05;
    shifter->EditRegulation().controlMin = -0.5;
    shifter->EditRegulation().controlMax = 0.5;
    shifter->EditRegulation().controlTarget = 0.1;
    shifter->EditRegulation().regulatedBus = shared;
    shifter->EditRegulation().regulatedPosition = shared->controllingBranchCount++;
    Solver::LinkBranch(shared->regulatingBranches, shifter);
    ++network.regulatingCount;
    return solver.PrepareNetwork();
}
