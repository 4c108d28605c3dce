// Hands the solver a public case as the host's records, with arbitrary
// values written into arbitrary fields, through the in-memory cursor: the
// run of Attach (or, first byte odd, of AttachAndRun with a direction),
// then what a host study does with the result: the result cursor, a
// re-solve after a load step, a transfer, a voltage step and a stored state
// read back. Every input either solves or fails; a crash, a hang, a leak, a
// sanitizer report or a large allocation is a finding.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "cdf_host_records.h"
#include "memory_record_cursor.h"
#include "solver_interface.h"

namespace {

const HostNetwork& Network(int which) {
    static const HostNetwork networks[] = {
        LoadCdfAsHostRecords(std::string(FUZZ_DATA_DIR) + "/case9.cdf", {.reactiveLimits = true}),
        LoadCdfAsHostRecords(std::string(FUZZ_DATA_DIR) + "/case14.cdf"),
        LoadCdfAsHostRecords(std::string(FUZZ_DATA_DIR) + "/case30.cdf", {.flatStart = true}),
    };
    return networks[which % 3];
}

// A value for a field: small numbers most of the time, else any double
// (NaN and the infinities among them) or an extreme.
double AnyValue(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: return in.ConsumeIntegralInRange(-1000, 1000) * 0.1;
    case 1: return in.ConsumeFloatingPoint<double>();
    case 2: {
        const double special[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(), 1e300, -1e300, 1e-300, 0.0};
        return special[in.ConsumeIntegralInRange<std::size_t>(0, std::size(special) - 1)];
    }
    default: {
        double value = 0.0;
        const std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(sizeof value);
        if (!bytes.empty()) std::memcpy(&value, bytes.data(), bytes.size());
        return value;
    }
    }
}

int AnyInt(FuzzedDataProvider& in) {
    return in.ConsumeBool() ? in.ConsumeIntegralInRange(-2, 20) : in.ConsumeIntegral<int>();
}

void ChangeBus(FuzzedDataProvider& in, MemoryRecordCursor& records, BusRecord& r) {
    double* doubles[] = {&r.generationP, &r.generationQ, &r.loadP,      &r.loadQ,        &r.voltage,
                         &r.angle,       &r.baseKv,      &r.maxP,       &r.maxQ,         &r.minQ,
                         &r.regulatedBaseKv, &r.participation, &r.maxVoltage, &r.minVoltage, &r.shuntG,
                         &r.shuntB,      &r.firstBankBlock, &r.generationShare, &r.pLoadShare, &r.qLoadShare,
                         &r.direction[0], &r.direction[1], &r.direction[2], &r.direction[3], &r.direction[4],
                         &r.direction[5]};
    int* ints[] = {&r.kind, &r.number, &r.key, &r.area, &r.regulatedBus, &r.bankStep};
    const int field = in.ConsumeIntegralInRange<int>(0, std::size(doubles) + std::size(ints) + 1);
    if (field < static_cast<int>(std::size(doubles))) {
        *doubles[field] = AnyValue(in);
    } else if (field < static_cast<int>(std::size(doubles) + std::size(ints))) {
        *ints[field - std::size(doubles)] = AnyInt(in);
    } else if (field == static_cast<int>(std::size(doubles) + std::size(ints))) {
        std::vector<BankBlock> blocks(in.ConsumeIntegralInRange<std::size_t>(0, 6));
        for (BankBlock& block : blocks) block = {AnyInt(in), AnyValue(in)};
        records.SetBankBlocks(r, blocks);
        if (in.ConsumeBool()) r.bankBlockCount = AnyInt(in);
    } else {
        records.SetName(r, in.ConsumeRandomLengthString(20));
    }
}

void ChangeBranch(FuzzedDataProvider& in, BranchRecord& r) {
    double* doubles[] = {&r.lowerLimit, &r.upperLimit,  &r.fromBaseKv,    &r.toBaseKv,     &r.rating,
                         &r.regulatedBaseKv, &r.phaseShift, &r.resistance, &r.reactance,  &r.chargingB,
                         &r.shuntG,     &r.tapSide,     &r.fromWindingKv, &r.toWindingKv,  &r.controlTarget,
                         &r.bandMinimum, &r.bandMaximum};
    int* ints[] = {&r.kind, &r.key, &r.fromBus, &r.toBus, &r.endCode, &r.regulatedBus, &r.controlType};
    const int field = in.ConsumeIntegralInRange<int>(0, std::size(doubles) + std::size(ints));
    if (field < static_cast<int>(std::size(doubles)))
        *doubles[field] = AnyValue(in);
    else if (field < static_cast<int>(std::size(doubles) + std::size(ints)))
        *ints[field - std::size(doubles)] = AnyInt(in);
    else
        for (char& c : r.circuit) c = static_cast<char>(in.ConsumeIntegral<std::uint8_t>());
}

// The host's study steps after a run, whatever the run answered.
void Study(FuzzedDataProvider& in, ISolver& solver, const MemoryRecordCursor& records) {
    MemoryRecordCursor results;
    results.CopyFrom(*solver.GetResultCursor());
    solver.SetIterationLimit(in.ConsumeIntegralInRange(0, 50));
    solver.AddLoadDirection(AnyValue(in), AnyValue(in));
    solver.RunPowerFlow();
    if (!records.buses.empty() && !records.branches.empty()) {
        solver.SelectTransferBuses(records.buses.front().key, records.buses.back().key);
        solver.Transfer(AnyValue(in));
        solver.AddToBusVoltage(records.buses.back().key, AnyValue(in));
    }
    solver.RunPowerFlow();
    for (BusRecord& bus : results.buses)
        if (in.ConsumeBool()) bus.voltage = AnyValue(in);
    solver.ReadBusState(&results);
    solver.RunPowerFlow();
    results.CopyFrom(*solver.GetResultCursor());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::uint8_t mode = in.ConsumeIntegral<std::uint8_t>();
    const HostNetwork& network = Network(mode / 2);
    MemoryRecordCursor records;
    for (const BusRecord& bus : network.buses) records.buses.push_back(bus);
    for (const BranchRecord& branch : network.branches) records.branches.push_back(branch);
    const int changes = in.ConsumeIntegralInRange(0, 16);
    for (int i = 0; i < changes && in.remaining_bytes() > 0; ++i) {
        if (in.ConsumeBool() && !records.buses.empty()) {
            const std::size_t at = in.ConsumeIntegralInRange<std::size_t>(0, records.buses.size() - 1);
            ChangeBus(in, records, records.buses[at]);
        } else if (!records.branches.empty()) {
            const std::size_t at = in.ConsumeIntegralInRange<std::size_t>(0, records.branches.size() - 1);
            ChangeBranch(in, records.branches[at]);
        }
    }

    ISolver* solver = createPSSolver();
    if (!solver) return 0;
    if (mode % 2)
        solver->AttachAndRun(&records, nullptr, "/dev/null", 0);
    else
        solver->Attach(&records, nullptr, 0);
    Study(in, *solver, records);
    solver->Release();
    return 0;
}
