// The sensitivity studies through the solver library: every bus's response
// to a load step, one bus's linear sensitivity factors, and one branch's
// current against the voltages of the voltage-controlled buses. Each
// writes its rows as a graph data file.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "element_key.h"
#include "power_system.h"
#include "scope_exit.h"
#include "sensitivity_file.h"

namespace {

// The load step of the voltage sensitivity, p.u. at every bus.
constexpr double kLoadStep = 1e-5;
// The voltage step of the line-flow sensitivity, p.u.
constexpr double kVoltageStep = 1e-4;
// Rows of the bus-factor and line-flow files.
constexpr std::size_t kFactorRows = 30;
constexpr const char* kNoBusName = "Bus_xx";

// The key and the angle (degrees) or voltage (p.u.) of every bus of the
// results, in their order.
std::vector<std::pair<int, double>> ReadBusQuantity(IRecordCursor* results, bool angles) {
    std::vector<std::pair<int, double>> buses;
    if (!results) return buses;
    results->SetTable(IRecordCursor::BusTable, 0);
    results->MoveFirst();
    for (BusRecord r; results->Next(r); r = BusRecord{}) buses.emplace_back(r.key, angles ? r.angle : r.voltage);
    return buses;
}

// The larger end current of the branch with the key, A; 0 when the results
// have no such branch.
double BranchCurrent(IRecordCursor* results, int key) {
    if (!results) return 0.0;
    results->SetTable(IRecordCursor::BranchTable, 0);
    results->MoveFirst();
    for (BranchRecord r; results->Next(r); r = BranchRecord{}) {
        if (r.key == key) return std::max(std::fabs(r.currentFrom), std::fabs(r.currentTo));
    }
    return 0.0;
}

}  // namespace

bool PowerSystem::CreateStudySolver() {
    BuildBusGroups();
    solver_ = solverFactory_ ? solverFactory_() : nullptr;
    return solver_ != nullptr;
}

void PowerSystem::EndStudySolver() {
    if (solver_) solver_->Release();
    solver_ = nullptr;
    groupBuses_ = false;
}

std::string PowerSystem::GetStudyName(int key, const char* placeholder) const {
    if (std::optional<std::string> name = GetNameOfKey(key)) return *name;
    if (KeyCategory(key) == Category::BusGroup) return "BusGroup " + std::to_string(KeySerial(key));
    return placeholder;
}

bool PowerSystem::VoltageSensitivity(const char* file, int quantity) {
    ScopeExit endStudy([this] { EndStudySolver(); });
    if (!CreateStudySolver() || solver_->Attach(GetRecordCursor(), sink_, 0) == 0) return false;
    solver_->SetIterationLimit(200);
    solver_->SetTolerance(1e-11);
    if (solver_->RunPowerFlow() <= 0) return false;
    const bool angles = quantity == 0;
    const auto base = ReadBusQuantity(solver_->GetResultCursor(), angles);
    solver_->AddLoadDirection(angles ? kLoadStep : 0.0, angles ? 0.0 : kLoadStep);
    if (solver_->RunPowerFlow() <= 0) return false;
    const auto stepped = ReadBusQuantity(solver_->GetResultCursor(), angles);

    // A fall of angle or voltage counts positive.
    SensitivityFile rows;
    for (std::size_t i = 0; i < std::min(base.size(), stepped.size()); ++i) {
        const double value = (base[i].second - stepped[i].second) / kLoadStep;
        rows.Add(GetStudyName(base[i].first, kNoBusName), value, value);
    }
    rows.Sort();
    const double normaliser = rows.Rows().empty() ? 0.0 : std::fabs(rows.Rows().front().value * 0.01);
    if (!(normaliser >= 1e-18)) return false;
    rows.Divide(normaliser);
    return rows.Write(file, std::numeric_limits<std::size_t>::max());
}

bool PowerSystem::BusSensitivityFactors(int busKey, const char* voltageFile, const char* angleFile, int& written) {
    written = 0;
    ScopeExit endStudy([this] { EndStudySolver(); });
    if (!CreateStudySolver() || solver_->Attach(GetRecordCursor(), sink_, 0) == 0) return false;
    const std::size_t busCount = static_cast<std::size_t>(lists_[kBuses].GetCount());
    std::vector<double> angleFactors, voltageFactors;
    std::vector<int> angleKeys, voltageKeys;
    angleFactors.reserve(busCount);
    angleKeys.reserve(busCount);
    voltageFactors.reserve(busCount);
    voltageKeys.reserve(busCount);
    if (!solver_->GetSensitivities(busKey, angleFactors, angleKeys, voltageFactors, voltageKeys)) return false;

    // A factor is the change per unit of load: the file shows it per unit
    // injected.
    const auto writeFactors = [this](const char* file, const std::vector<double>& factors,
                                     const std::vector<int>& keys) {
        SensitivityFile rows;
        for (std::size_t i = 0; i < std::min(factors.size(), keys.size()); ++i)
            rows.Add(GetStudyName(keys[i], kNoBusName), -factors[i], std::fabs(factors[i]));
        rows.Sort();
        return rows.Write(file, kFactorRows);
    };
    bool complete = true;
    if (!voltageFactors.empty()) {
        if (writeFactors(voltageFile, voltageFactors, voltageKeys)) written |= 1;
        else complete = false;
    }
    if (!angleFactors.empty()) {
        if (writeFactors(angleFile, angleFactors, angleKeys)) written |= 2;
        else complete = false;
    }
    return complete;
}

bool PowerSystem::LineFlowSensitivity(int branchKey, const char* file) {
    ScopeExit endStudy([this] { EndStudySolver(); });
    if (!CreateStudySolver() || solver_->Attach(GetRecordCursor(), sink_, 0) == 0) return false;
    solver_->SetIterationLimit(200);
    solver_->SetTolerance(1e-10);
    // The voltage-controlled buses as the solver was given them.
    std::vector<int> controlled;
    controlled.reserve(static_cast<std::size_t>(lists_[kBuses].GetCount()));
    cursor_.SetTable(IRecordCursor::BusTable, 2);
    cursor_.MoveFirst();
    for (BusRecord r; cursor_.Next(r); r = BusRecord{}) controlled.push_back(r.key);
    if (solver_->RunPowerFlow() <= 0) return false;

    // The steps accumulate: each bus keeps its step while the next one is
    // stepped, and each change is taken against the state just before it.
    double before = BranchCurrent(solver_->GetResultCursor(), branchKey);
    SensitivityFile rows;
    for (int key : controlled) {
        solver_->AddToBusVoltage(key, kVoltageStep);
        if (solver_->RunPowerFlow() <= 0) return false;
        const double after = BranchCurrent(solver_->GetResultCursor(), branchKey);
        rows.Add(GetStudyName(key, kNoBusName), (after - before) / kVoltageStep, std::fabs(after - before));
        before = after;
    }
    rows.Sort();
    return rows.Write(file, kFactorRows);
}
