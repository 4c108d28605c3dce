#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "host_read.h"
#include "memory_record_cursor.h"
#include "power_flow_networks.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

std::vector<int> FirstVariables(Solver& solver) {
    std::vector<int> first;
    for (const auto& bus : solver.GetNetwork()->buses) first.push_back(bus->firstVariable);
    return first;
}

// Two areas (buses 1-4, bus 3 the area bus of area 2, an "RP" transformer
// owned by bus 4) with a generator model on bus 2.
TEST(NumberVariables, TwoPerBusAndOneMorePerAreaRowTransformerAndElevenPerGeneratorModel) {
    struct Case {
        const char* option;
        std::vector<int> first;
        int shifter;  // the "RP" transformer's unknown
        int count;
    };
    const Case cases[] = {
        {nullptr, {1, 3, 16, 19}, 21, 21},
        {"-A", {1, 3, 16, 18}, 20, 20},  // no area rows
        {"-P", {1, 3, 16, 19}, 0, 20},   // no transformer unknowns
        {"-N", {1, 3, 16, 18}, 0, 19},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option ? c.option : "all controls on");
        SolverHandle solver;
        const char* items[] = {"ostrand", c.option};
        solver->SetArguments(c.option ? 2 : 1, items);
        solver->SetSwitchesFromOptions();
        ASSERT_TRUE(BuildTwoAreaNetwork(*solver));
        solver->FindBus(2)->generator = std::make_unique<NetGenerator>();
        solver->NumberVariables();
        EXPECT_EQ(FirstVariables(*solver), c.first);
        EXPECT_EQ(solver->FindBus(2)->generator->base, 4);  // unknowns 5..15
        if (c.shifter) {
            EXPECT_EQ(solver->GetNetwork()->branches.back()->variable, c.shifter);
        }
        EXPECT_EQ(solver->VariableCount(), c.count);
        EXPECT_EQ(solver->MatrixOrder(), c.count);
        EXPECT_EQ(solver->Mismatch().size(), static_cast<std::size_t>(c.count) + 2);

        solver->SetContinuation(Continuation::On);
        solver->NumberVariables();
        EXPECT_EQ(solver->MatrixOrder(), c.count + 1);  // lambda last
        solver->SetContinuation(Continuation::Off);
        solver->SetPointOfCollapse(true);
        solver->NumberVariables();
        EXPECT_EQ(solver->MatrixOrder(), 2 * c.count + 1);
    }
}

TEST(NumberVariables, TheTransformerRegisteredLastComesFirst) {
    MemoryRecordCursor records;
    AddRegulatedNetwork(records);
    SolverHandle solver;
    ASSERT_TRUE(ReadHostRecords(*solver, records));
    solver->NumberVariables();
    const NetBus& owner = *solver->FindBus(9);
    const NetBranch* reactive = nullptr;
    const NetBranch* band = nullptr;
    for (const auto& branch : solver->GetNetwork()->branches) {
        if (branch->code == "RQ") reactive = branch.get();
        if (branch->code == "RN") band = branch.get();
    }
    ASSERT_TRUE(reactive && band);
    EXPECT_EQ(reactive->regulation().regulatedPosition, 0);
    EXPECT_EQ(band->regulation().regulatedPosition, 1);
    EXPECT_EQ(band->variable, owner.firstVariable + 2);
    EXPECT_EQ(reactive->variable, owner.firstVariable + 3);
    // An "R" transformer has no unknown of its own.
    for (const auto& branch : solver->GetNetwork()->branches)
        if (branch->code == "R") {
            EXPECT_EQ(branch->variable, 0);
        }
    // 10 buses, 4 flow-regulating transformers.
    EXPECT_EQ(solver->VariableCount(), 24);
}

TEST(RescaleLoadModels, ReproducesTheScheduledLoadAtThePresentVoltage) {
    MemoryRecordCursor records;
    AddRegulatedNetwork(records);
    SolverHandle solver;
    ASSERT_TRUE(ReadHostRecords(*solver, records));
    NetBus& bus = *solver->FindBus(2);
    bus.loadModelP.exponent = 1.5;
    bus.loadModelP.base = 0.6;  // the fraction that follows V^1.5
    auto load = [&](const LoadModel& m) {
        return m.base * std::pow(bus.voltage, m.exponent) + m.impedance * bus.voltage * bus.voltage;
    };
    for (double voltage : {0.95, 1.05}) {
        SCOPED_TRACE(voltage);
        bus.voltage = voltage;
        solver->RescaleLoadModels();
        EXPECT_NEAR(load(bus.loadModelP), 0.5, 1e-12);
        // The split holds over repeated rescaling.
        EXPECT_NEAR(bus.loadModelP.base / (bus.loadModelP.base + bus.loadModelP.impedance), 0.6, 1e-12);
        // Constant power takes the load as it is.
        EXPECT_EQ(bus.loadModelQ.base, 0.2);
        EXPECT_EQ(bus.loadModelQ.impedance, 0.0);
    }
}

}  // namespace
