#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "cdf_host_records.h"
#include "dense_matrix.h"
#include "memory_record_cursor.h"
#include "solver.h"
#include "solver_handle.h"
#include "three_bus_network.h"

namespace {

constexpr double kRadiansPerDegree = 3.141592654 / 180.0;

struct Factors {
    std::vector<double> angles;
    std::vector<int> angleKeys;
    std::vector<double> voltages;
    std::vector<int> voltageKeys;
};

bool GetFactors(Solver& solver, int key, Factors& factors) {
    return solver.GetSensitivities(key, factors.angles, factors.angleKeys, factors.voltages, factors.voltageKeys);
}

struct BusState {
    double angle = 0.0;  // degrees
    double voltage = 0.0;
};

// Bus `observed` of the three-bus network solved with `mw` more active
// generation (or `mvar` more reactive) at bus `injected`.
BusState SolvedWithInjection(int injected, double mw, double mvar, int observed) {
    MemoryRecordCursor records;
    AddThreeBusNetwork(records);
    records.buses[injected - 1].generationP += mw;
    records.buses[injected - 1].generationQ += mvar;
    SolverHandle solver;
    EXPECT_TRUE(SolveTightly(*solver, records));
    MemoryRecordCursor results;
    results.CopyFrom(*solver->GetResultCursor());
    const BusRecord& bus = RecordOf(results, BusKey(observed));
    return {bus.angle, bus.voltage};
}

// A factor is the change per unit of mismatch, the negative of the change
// per unit injected: compared with central differences of two solves, 1 MW
// (for the angle) or 1 Mvar (for the voltage) more and less generation at
// each bus in turn.
TEST(Sensitivities, FactorsMatchFiniteDifferencesOfTwoSolves) {
    MemoryRecordCursor records;
    AddThreeBusNetwork(records);
    SolverHandle solver;
    ASSERT_TRUE(SolveTightly(*solver, records));
    std::vector<int> listOrder;
    for (const auto& bus : solver->GetNetwork()->buses) listOrder.push_back(bus->key);

    for (int chosen : {2, 3}) {
        SCOPED_TRACE(chosen);
        Factors factors;
        ASSERT_TRUE(GetFactors(*solver, BusKey(chosen), factors));
        EXPECT_EQ(factors.angleKeys, listOrder);
        EXPECT_EQ(factors.voltageKeys, listOrder);
        ASSERT_EQ(factors.angles.size(), listOrder.size());
        ASSERT_EQ(factors.voltages.size(), listOrder.size());
        for (std::size_t i = 0; i < listOrder.size(); ++i) {
            const int injected = listOrder[i] >> 8;
            SCOPED_TRACE(injected);
            if (injected == 1) {  // the slack takes up any injection of its own
                EXPECT_EQ(factors.angles[i], 0.0);
                EXPECT_EQ(factors.voltages[i], 0.0);
                continue;
            }
            const BusState up = SolvedWithInjection(injected, 1.0, 0.0, chosen);
            const BusState down = SolvedWithInjection(injected, -1.0, 0.0, chosen);
            const double angleChange = (up.angle - down.angle) * kRadiansPerDegree / 0.02;
            EXPECT_NEAR(factors.angles[i], -angleChange, 1e-6);
            // Voltage factors only of a load bus, for a load bus.
            if (chosen == 3 && injected == 3) {
                const BusState raised = SolvedWithInjection(injected, 0.0, 1.0, chosen);
                const BusState lowered = SolvedWithInjection(injected, 0.0, -1.0, chosen);
                EXPECT_NEAR(factors.voltages[i], -(raised.voltage - lowered.voltage) / 0.02, 1e-6);
            }
            else
                EXPECT_EQ(factors.voltages[i], 0.0);
        }
    }
}

// The factors are rows of the inverse Jacobian: on the 118-bus case, the
// sparse solves agree with a dense inversion of the same Jacobian.
TEST(Sensitivities, FactorsEqualTheDenseInverseOnThe118BusCase) {
    MemoryRecordCursor records;
    HostNetwork network = LoadCdfAsHostRecords(TEST_DATA_DIR "/case118.cdf");
    for (const BusRecord& bus : network.buses) {
        records.buses.push_back(bus);
        records.SetName(records.buses.back(), bus.name);
    }
    records.branches = network.branches;
    SolverHandle solver;
    ASSERT_EQ(solver->Attach(&records, nullptr, 0), 1);

    const auto jacobian = solver->FactorisedBusJacobian();
    ASSERT_TRUE(jacobian.has_value());
    const int m = jacobian->Rows();
    Matrix inverse(m, m);
    for (int i = 1; i <= jacobian->EntryCount(); ++i) {
        const MatrixEntry& entry = jacobian->Entry(i);
        inverse[entry.row - 1][entry.column - 1] = entry.value;
    }
    ASSERT_EQ(inverse.Invert(), 0);

    for (const int number : {118, 75}) {  // a load bus and a generator bus
        SCOPED_TRACE(number);
        const NetBus* chosen = nullptr;
        for (const auto& bus : solver->GetNetwork()->buses)
            if (bus->key == BusKey(number)) chosen = bus.get();
        ASSERT_NE(chosen, nullptr);
        Factors factors;
        ASSERT_TRUE(GetFactors(*solver, BusKey(number), factors));
        const bool loadBus = chosen->code == "B";
        double scale = 0.0;
        for (int j = 0; j < m; ++j) scale = std::max(scale, std::fabs(inverse[chosen->firstVariable - 1][j]));
        std::size_t i = 0;
        for (const auto& bus : solver->GetNetwork()->buses) {
            if (bus->code.find('S') == std::string::npos) {
                const int column = bus->firstVariable - 1;
                EXPECT_NEAR(factors.angles[i], inverse[chosen->firstVariable - 1][column], 1e-9 * scale);
                if (loadBus && bus->code == "B") {
                    EXPECT_NEAR(factors.voltages[i], inverse[chosen->firstVariable][column + 1], 1e-9 * scale);
                }
            }
            ++i;
        }
    }
}

// The arrays keep what the caller had in them.
TEST(Sensitivities, NoFactorsWithoutTheBusOrAnInvertibleJacobian) {
    struct Case {
        const char* what;
        bool island;
        int chosen;
    };
    const Case cases[] = {
        {"no bus has the key", false, 9},
        // Buses 4-6 carry nothing, so the power flow solves; their angles
        // have no reference, so the Jacobian is singular, though rounding
        // leaves its last pivot a little off 0.
        {"a bus of the solved part", true, 3},
        {"a bus of the isolated group", true, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryRecordCursor records;
        AddThreeBusNetwork(records);
        if (c.island) {
            for (int number : {4, 5, 6}) records.AddBus(number, 1, nullptr);
            records.AddBranch(BranchRecord::Line, 4, 5, 0.01, 0.1);
            records.AddBranch(BranchRecord::Line, 5, 6, 0.02, 0.13);
            records.AddBranch(BranchRecord::Line, 4, 6, 0.03, 0.17);
        }
        SolverHandle solver;
        ASSERT_EQ(solver->Attach(&records, nullptr, 0), 1);
        Factors factors{{7.0}, {7}, {8.0}, {8}};
        EXPECT_FALSE(GetFactors(*solver, BusKey(c.chosen), factors));
        EXPECT_EQ(factors.angles, std::vector<double>{7.0});
        EXPECT_EQ(factors.angleKeys, std::vector<int>{7});
        EXPECT_EQ(factors.voltages, std::vector<double>{8.0});
        EXPECT_EQ(factors.voltageKeys, std::vector<int>{8});
    }
}

}  // namespace
