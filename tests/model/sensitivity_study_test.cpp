// The sensitivity studies on the IEEE 14-bus case drawn as a model, checked
// against finite differences of host-road solves, and their rules for
// factors that do not come back and files that cannot be written.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "cdf_model.h"
#include "element_key.h"
#include "graph_rows.h"
#include "load.h"
#include "recording_prompt.h"
#include "scratch_folder.h"
#include "sensitivity_file.h"
#include "solver_double.h"

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

std::string RowNameOf(const Bus& bus) { return SensitivityFile::RowName(bus.GetName()); }

// The chosen bus's angle (radians) and voltage (p.u.) solved by the host
// road with `mw` more active load and `mvar` more reactive load.
struct SolvedBus {
    double angle;
    double voltage;
};
SolvedBus SolveWithLoadChange(CdfModel& drawn, Load& load, double mw, double mvar, const Bus& chosen) {
    double* v = load.GetValues();
    const double p = v[Load::kP];
    const double q = v[Load::kQ];
    v[Load::kP] = v[Load::kPConstantPower] = p + mw;
    v[Load::kQ] = v[Load::kQConstantPower] = q + mvar;
    EXPECT_EQ(drawn.model().RunSolver(nullptr, nullptr, nullptr), 1);
    v[Load::kP] = v[Load::kPConstantPower] = p;
    v[Load::kQ] = v[Load::kQConstantPower] = q;
    const double* solved = const_cast<Bus&>(chosen).GetValues();
    return {solved[Bus::kAngle] * kDegree, solved[Bus::kVoltage]};
}

// The angle graph is per unit of active power injected, the voltage graph
// per unit of reactive power injected. Bus 10 is the case where the two
// differ in sign: active power injected at buses 12 and 13 lowers its
// voltage, reactive power raises it.
TEST(SensitivityStudy, BusFactorsMatchCentralDifferencesOfHostRoadSolves) {
    ScratchFolder folder("bus_factors");
    const std::string voltageFile = (folder / "QVSens").string();
    const std::string angleFile = (folder / "ThetaPSens").string();
    CdfModel drawn(TEST_DATA_DIR "/case14.cdf");
    ASSERT_EQ(drawn.model().RunSolver(nullptr, nullptr, nullptr), 1);
    for (const int number : {14, 10}) {
        SCOPED_TRACE(number);
        const Bus& chosen = drawn.BusNumbered(number);
        int written = 0;
        ASSERT_TRUE(
            drawn.model().BusSensitivityFactors(chosen.GetKey(), voltageFile.c_str(), angleFile.c_str(), written));
        ASSERT_EQ(written, 3);
        const GraphRows angles = ReadGraphRows(angleFile);
        const GraphRows voltages = ReadGraphRows(voltageFile);
        EXPECT_EQ(angles.rows.size(), 14u);
        EXPECT_EQ(angles.closing.x, 15);
        EXPECT_TRUE(angles.crLf && voltages.crLf);

        int checked = 0;
        for (const auto& [injected, bus] : drawn.Buses()) {
            SCOPED_TRACE(injected);
            auto* load = dynamic_cast<Load*>(drawn.model().FindAttached(bus->GetKey(), Category::Load));
            if (!load) continue;
            // ±1 MW or ±1 Mvar of load is ∓0.01 p.u. injected.
            const SolvedBus up = SolveWithLoadChange(drawn, *load, 1.0, 0.0, chosen);
            const SolvedBus down = SolveWithLoadChange(drawn, *load, -1.0, 0.0, chosen);
            const SolvedBus raisedQ = SolveWithLoadChange(drawn, *load, 0.0, 1.0, chosen);
            const SolvedBus loweredQ = SolveWithLoadChange(drawn, *load, 0.0, -1.0, chosen);
            const GraphRow* angle = angles.Find(RowNameOf(*bus));
            const GraphRow* voltage = voltages.Find(RowNameOf(*bus));
            ASSERT_TRUE(angle && voltage);
            EXPECT_NEAR(angle->value, (down.angle - up.angle) / 0.02, 1e-4);
            // Voltage factors come for load buses only.
            const bool loadBus = bus->GetValues()[Bus::kKind] == Bus::kLoadKind;
            EXPECT_NEAR(voltage->value, loadBus ? (loweredQ.voltage - raisedQ.voltage) / 0.02 : 0.0, 1e-4);
            ++checked;
        }
        EXPECT_EQ(checked, 11);
        // The slack's angle is held.
        EXPECT_EQ(angles.Find(RowNameOf(drawn.BusNumbered(1)))->value, 0.0);
    }
}

TEST(SensitivityStudy, AGeneratorBusWritesVoltageFactorsZero) {
    ScratchFolder folder("bus_factors_generator");
    const std::string voltageFile = (folder / "QVSens").string();
    const std::string angleFile = (folder / "ThetaPSens").string();
    CdfModel drawn(TEST_DATA_DIR "/case14.cdf");
    int written = 0;
    ASSERT_TRUE(drawn.model().BusSensitivityFactors(drawn.BusNumbered(2).GetKey(), voltageFile.c_str(),
                                                    angleFile.c_str(), written));
    EXPECT_EQ(written, 3);
    const GraphRows voltages = ReadGraphRows(voltageFile);
    ASSERT_EQ(voltages.rows.size(), 14u);
    for (const GraphRow& row : voltages.rows) EXPECT_EQ(row.value, 0.0) << row.name;
    EXPECT_FALSE(drawn.model().IsGroupingBuses());
}

// Angle factors for two buses, no voltage factors.
class AnglesOnly final : public SolverDouble {
public:
    std::vector<int> keys;
    bool GetSensitivities(int, std::vector<double>& angles, std::vector<int>& angleKeys, std::vector<double>&,
                          std::vector<int>&) override {
        angles.insert(angles.end(), {0.25, -0.5});
        angleKeys.insert(angleKeys.end(), keys.begin(), keys.end());
        return true;
    }
};
AnglesOnly* anglesOnly = nullptr;
ISolver* MakeAnglesOnly() { return anglesOnly; }
ISolver* NoSolver() { return nullptr; }

TEST(SensitivityStudy, NoVoltageFactorsLeaveFlagOneClearAndNoFile) {
    ScratchFolder folder("bus_factors_angles_only");
    const std::string voltageFile = (folder / "QVSens").string();
    const std::string angleFile = (folder / "ThetaPSens").string();
    DrawnNetwork net;
    Bus& a = net.AddBus("North  yard");
    AnglesOnly solver;
    // The second key names nothing: the row still has a name.
    solver.keys = {a.GetKey(), MakeKey(77, Category::Bus)};
    anglesOnly = &solver;
    net.model().SetSolverFactory(&MakeAnglesOnly);
    int written = 0;
    ASSERT_TRUE(net.model().BusSensitivityFactors(a.GetKey(), voltageFile.c_str(), angleFile.c_str(), written));
    anglesOnly = nullptr;
    EXPECT_EQ(written, 2);
    EXPECT_FALSE(std::filesystem::exists(voltageFile));
    const GraphRows angles = ReadGraphRows(angleFile);
    ASSERT_EQ(angles.rows.size(), 2u);
    // Largest magnitude first; the file shows the factors negated.
    EXPECT_EQ(angles.rows[0].name, "Bus_xx");
    EXPECT_EQ(angles.rows[0].value, 0.5);
    EXPECT_EQ(angles.rows[1].name, "North__yard");
    EXPECT_EQ(angles.rows[1].value, -0.25);
    EXPECT_EQ(solver.releases, 1);
}

TEST(SensitivityStudy, AFileThatCannotBeWrittenFailsTheStudy) {
    ScratchFolder folder("sensitivity_unwritable");
    const std::string nowhere = (folder / "missing" / "file").string();
    const std::string angleFile = (folder / "ThetaPSens").string();
    CdfModel drawn(TEST_DATA_DIR "/case14.cdf");
    PowerSystem& model = drawn.model();
    const int key = drawn.BusNumbered(14).GetKey();
    int written = 0;
    EXPECT_FALSE(model.BusSensitivityFactors(key, nowhere.c_str(), angleFile.c_str(), written));
    EXPECT_EQ(written, 2);
    EXPECT_FALSE(model.VoltageSensitivity(nowhere.c_str(), 0));
    EXPECT_FALSE(model.LineFlowSensitivity(drawn.Branches()[0]->GetKey(), nowhere.c_str()));
    EXPECT_FALSE(model.VoltageSensitivity(nullptr, 1));
}

TEST(SensitivityStudy, WithoutASolverTheStudiesFailQuietly) {
    DrawnNetwork net;
    RecordingPrompt prompt;
    net.model().SetPrompt(&prompt);
    net.model().SetSolverFactory(&NoSolver);
    int written = 5;
    EXPECT_FALSE(net.model().VoltageSensitivity("file", 0));
    EXPECT_FALSE(net.model().BusSensitivityFactors(1, "v", "a", written));
    EXPECT_FALSE(net.model().LineFlowSensitivity(10, "file"));
    EXPECT_EQ(written, 0);
    EXPECT_TRUE(prompt.boxes.empty());
}

TEST(SensitivityStudy, VoltageSensitivityListsEveryBusFromHundred) {
    ScratchFolder folder("voltage_sensitivity");
    const std::string file = (folder / "dVdQ").string();
    CdfModel drawn(TEST_DATA_DIR "/case14.cdf");
    for (int quantity : {0, 1}) {
        SCOPED_TRACE(quantity);
        ASSERT_TRUE(drawn.model().VoltageSensitivity(file.c_str(), quantity));
        const GraphRows rows = ReadGraphRows(file);
        EXPECT_EQ(rows.header, "Names x Sensitivity");
        ASSERT_EQ(rows.rows.size(), 14u);
        EXPECT_EQ(std::fabs(rows.rows[0].value), 100.0);
        for (std::size_t i = 0; i < rows.rows.size(); ++i) {
            EXPECT_EQ(rows.rows[i].x, static_cast<int>(i) + 1);
            if (i > 0) {
                EXPECT_LE(rows.rows[i].value, rows.rows[i - 1].value);
            }
        }
        EXPECT_EQ(rows.closing.x, 15);
        // A load increase lowers the angles and the voltages of load buses;
        // the slack holds both.
        EXPECT_EQ(rows.rows[0].value, 100.0);
        EXPECT_EQ(rows.Find(RowNameOf(drawn.BusNumbered(1)))->value, 0.0);
    }
}

TEST(SensitivityStudy, LineFlowSensitivityStepsTheVoltageControlledBuses) {
    ScratchFolder folder("line_flow_sensitivity");
    const std::string file = (folder / "LFSens").string();
    CdfModel drawn(TEST_DATA_DIR "/case14.cdf");
    const PowerLine& line = *drawn.Branches()[0];  // 1-2
    ASSERT_TRUE(drawn.model().LineFlowSensitivity(line.GetKey(), file.c_str()));
    const GraphRows rows = ReadGraphRows(file);
    // The slack and the four generator buses.
    ASSERT_EQ(rows.rows.size(), 5u);
    EXPECT_EQ(rows.closing.x, 6);

    // The slack is stepped first: its row is dI/dV of the line at the base
    // case, A per p.u., here against a central difference of host-road solves.
    Bus& slack = drawn.BusNumbered(1);
    double* v = slack.GetValues();
    const double held = v[Bus::kDesiredVoltage];
    const auto currentAt = [&](double voltage) {
        v[Bus::kDesiredVoltage] = voltage;
        EXPECT_EQ(drawn.model().RunSolver(nullptr, nullptr, nullptr), 1);
        return const_cast<PowerLine&>(line).GetValues()[BranchData::kCurrent];
    };
    const double difference = (currentAt(held + 0.001) - currentAt(held - 0.001)) / 0.002;
    v[Bus::kDesiredVoltage] = held;
    const GraphRow* row = rows.Find(RowNameOf(slack));
    ASSERT_TRUE(row);
    EXPECT_NEAR(row->value, difference, std::fabs(difference) * 0.01);
}

}  // namespace
