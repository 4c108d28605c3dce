// The studies through the solver library: the power flow's host road, the
// continuation run, and the results read back into the elements.

#include <algorithm>
#include <vector>

#include "bus.h"
#include "element_key.h"
#include "element_type.h"
#include "load.h"
#include "power_system.h"
#include "prompt.h"
#include "scope_exit.h"
#include "variable_bank.h"
#include "view.h"

namespace {

constexpr const char* kNoSolverText = "Cannot load Quellmark library!!!\nPlease reinstall application.";

// Positions in the value arrays of the kinds (counted in doubles from 0).
namespace Values {
constexpr int kOnePortP = 0;
constexpr int kOnePortQ = 1;
constexpr int kEquivalentQ = 5;  // Mvar
constexpr int kEquivalentP = 6;  // MW
constexpr int kControlType = 3;
constexpr int kTapSide = 9;  // below 1: the tap is on the from winding
constexpr int kPhaseShift = 12;
constexpr int kFromTapKv = 14;
constexpr int kToTapKv = 15;
constexpr int kLineCurrent = 16;
constexpr int kPFrom = 19;
}  // namespace Values

// The generator kinds whose element takes a bus's solved generation, in the
// order they are looked for.
constexpr int kGenerationCategories[] = {Category::Generator, Category::SyncCompensator, Category::VarCompensator};

}  // namespace

int PowerSystem::RunSolver(const char* inFile, const char* outFile, ILineWriter* writer) {
    return inFile ? SolveThroughFiles(inFile, outFile) : SolveThroughRecords(outFile, writer);
}

bool PowerSystem::StartStudy() {
    BuildBusGroups();
    solver_ = solverFactory_ ? solverFactory_() : nullptr;
    if (!solver_) ShowMessageBox(kNoSolverText);
    return solver_ != nullptr;
}

int PowerSystem::SolveThroughRecords(const char* outFile, ILineWriter* writer) {
    ScopeExit endStudy([this] {
        if (solver_) solver_->Release();
        solver_ = nullptr;
        groupBuses_ = false;
        exportGroupNumbers_.clear();
    });
    if (!StartStudy()) return 0;
    if (outFile) NumberGroupsForExport();
    if (solver_->Attach(GetRecordCursor(), sink_, 0) == 0) return 0;
    // The solver says through the sink why a case file could not be written.
    if (outFile) {
        if (solver_->WriteIeeeCdf(outFile, 0) != 0) return 0;
    } else if (writer) {
        solver_->WriteReport(writer);
    }
    ApplyResults(solver_->GetResultCursor());
    if (view_) view_->InvalidateAll();
    return 1;
}

int PowerSystem::RunContinuation(const char* file, bool toMaxLoad, double maxLoadMw) {
    ScopeExit endStudy([this] {
        if (solver_) {
            solver_->ClearTotalsColumns();
            solver_->Release();
        }
        solver_ = nullptr;
        groupBuses_ = false;
    });
    if (!StartStudy()) return 0;
    // The table gets the total load P column.
    solver_->SetTotalsColumns(false, false, true, false);
    solver_->SetMaxLoad(toMaxLoad ? maxLoadMw : -1.0);
    // A run to a maximum load without a file writes no table.
    const char* text = file ? file : toMaxLoad ? "" : continuationResult_.c_str();
    // A failed run (the table that could not be written among its causes,
    // told through the sink) leaves no curve and no state worth showing.
    if (solver_->AttachAndRun(GetRecordCursor(), sink_, text, 0) == 0) return 0;
    if (!toMaxLoad) return solver_->GetPointCount() < 2 ? 0 : 1;
    ApplyResults(solver_->GetResultCursor());
    return 1;
}

void PowerSystem::ApplyResults(IRecordCursor* results) {
    std::vector<BusRecord> buses;
    std::vector<BranchRecord> branches;
    if (results) {
        results->SetTable(IRecordCursor::BusTable, 0);
        results->MoveFirst();
        for (BusRecord bus; results->Next(bus);) buses.push_back(bus);
        results->SetTable(IRecordCursor::BranchTable, 0);
        results->MoveFirst();
        for (BranchRecord branch; results->Next(branch);) branches.push_back(branch);
    }
    ApplyRecords(buses, branches, true);
}

void PowerSystem::ApplyRecords(const std::vector<BusRecord>& buses, const std::vector<BranchRecord>& branches,
                               bool bankSteps) {
    ScopeExit groupingOff([this] { groupBuses_ = false; });
    // A bus the model does not know ends the buses; the branches still come.
    for (const BusRecord& bus : buses) {
        if (!ApplyBusResult(bus, bankSteps)) break;
    }
    for (const BranchRecord& branch : branches) ApplyBranchResult(branch);
    if (groupBuses_) busGroups_.SettleAllSwitchFlows();
    ComputeSystemTotals();
    resultsStale_ = false;
}

bool PowerSystem::ApplyBusResult(const BusRecord& record, bool bankStep) {
    if (groupBuses_ && KeyCategory(record.key) == Category::BusGroup) {
        busGroups_.SetGroupResults(static_cast<int>(KeySerial(record.key)), record.voltage, record.angle,
                                   record.generationP, record.generationQ);
        return true;
    }
    IElement* bus = FindByKey(record.key);
    double* values = bus ? bus->GetValues() : nullptr;
    if (!values) return false;
    values[Bus::kVoltage] = record.voltage;
    values[Bus::kAngle] = record.angle;
    if (bankStep && static_cast<int>(values[Bus::kKind]) == Bus::kBankKind) {
        for (int category : {Category::CapacitorBank, Category::ReactorBank}) {
            auto* bank = dynamic_cast<VariableBank*>(FindAttached(record.key, category));
            if (!bank || bank->GetSteps().empty()) continue;
            bank->Steps()[0].count = record.bankStep;
            bank->UpdateResultLabel(nullptr);
            break;
        }
    }
    CheckLimitsOf(*bus);
    if (auto* load = dynamic_cast<Load*>(FindAttached(record.key, Category::Load))) {
        load->ApplyVoltage(values[Bus::kVoltage]);
        load->UpdateResultLabel(nullptr);
    }
    bus->UpdateResultLabel(nullptr);
    if (bus->GetElementType() == ElementType::NetworkEquivalent) {
        values[Values::kEquivalentP] = record.generationP;
        values[Values::kEquivalentQ] = record.generationQ;
        bus->UpdateResultLabel(nullptr);
        return true;
    }
    for (int category : kGenerationCategories) {
        IElement* generator = FindAttached(record.key, category);
        double* output = generator ? generator->GetValues() : nullptr;
        if (!output) continue;
        output[Values::kOnePortP] = record.generationP;
        output[Values::kOnePortQ] = record.generationQ;
        generator->UpdateResultLabel(nullptr);
        CheckLimitsOf(*generator);
        break;
    }
    return true;
}

void PowerSystem::ApplyBranchResult(const BranchRecord& record) {
    IElement* branch = FindByKey(record.key);
    double* v = branch ? branch->GetValues() : nullptr;
    if (!v) return;
    v[Values::kPFrom] = record.pFrom;
    v[Values::kPFrom + 1] = record.qFrom;
    v[Values::kPFrom + 2] = record.pTo;
    v[Values::kPFrom + 3] = record.qTo;
    const int type = branch->GetElementType();
    if (type == ElementType::RegulatedTransformer) {
        v[Values::kPhaseShift] = record.phaseShift;
        // Voltage and reactive-flow control move the tap: the solved ratio
        // goes back into the tapped winding's kV.
        if (static_cast<int>(v[Values::kControlType]) <= 2) {
            const double kvFrom = record.fromBaseKv;
            const double kvTo = record.toBaseKv;
            const double ratio = kvFrom > 0.0 && kvTo > 0.0 ? kvTo / kvFrom : 1.0;
            if (v[Values::kTapSide] < 1.0) {
                const double f = kvTo > 0.0 ? v[Values::kToTapKv] / kvTo : 1.0;
                v[Values::kFromTapKv] = record.tapRatio * f * kvFrom * ratio;
            } else {
                const double g = kvFrom > 0.0 ? v[Values::kFromTapKv] / kvFrom : 1.0;
                v[Values::kToTapKv] = record.tapRatio > 0.0 ? kvTo * g / (record.tapRatio * ratio) : kvTo * g;
            }
        }
    } else if (type == ElementType::PowerLine) {
        v[Values::kLineCurrent] = std::max(record.currentFrom, record.currentTo);
    }
    branch->UpdateResultLabel(nullptr);
    CheckLimitsOf(*branch);
}
