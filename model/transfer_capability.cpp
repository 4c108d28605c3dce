// The transfer-capability study: active power moved from a source bus to a
// destination bus in steps, each solved by the solver library; a step that
// does not converge or overloads a branch is undone and halved.

#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include "element_key.h"
#include "message_sink.h"
#include "branch_data.h"
#include "branch_names.h"
#include "power_system.h"
#include "scope_exit.h"
#include "transfer_capability_result.h"

namespace {

// The search ends once the step would be this small, MW.
constexpr double kSmallestStep = 0.1;
// Steps tried at most: a network that takes every step without a limit
// and without a maximum transfer would be searched without end.
constexpr int kMaxSteps = 1000;

void ReportFailure(IMessageSink* sink, const std::string& text) {
    if (sink) sink->AddMessage(IMessageSink::Failure, text.c_str());
}

// A branch's rating in its own unit and its names, as the model holds them.
TransferCapabilityResult::BranchInfo BranchInfoOf(const PowerSystem& model, int key) {
    TransferCapabilityResult::BranchInfo info;
    IElement* branch = model.FindByKey(key);
    if (!branch) return info;
    info.names = NamesOfBranch(*branch);
    const double* values = branch->GetValues();
    info.rating = values ? values[BranchData::kRating] : 0.0;
    return info;
}

}  // namespace

TransferCapabilityResult* PowerSystem::TransferCapability(const TransferCapabilityRequest& request) {
    if (request.sourceKey == request.destinationKey) {
        ReportFailure(sink_, "The source and the destination of a transfer must be two different buses!");
        return nullptr;
    }
    if (!(request.stepMw > 0.0)) {
        ReportFailure(sink_, "The transfer step must be greater than 0 MW!");
        return nullptr;
    }
    ScopeExit endStudy([this] { EndStudySolver(); });
    if (!CreateStudySolver()) return nullptr;
    solver_->SetIterationLimit(100);
    solver_->SetTolerance(1e-5);
    if (solver_->Attach(GetRecordCursor(), sink_, 0) == 0 || !solver_->GetResultCursor()) return nullptr;

    std::unique_ptr<TransferCapabilityResult, void (*)(TransferCapabilityResult*)> result(
        new TransferCapabilityResult(request.sourceKey, request.destinationKey),
        [](TransferCapabilityResult* r) { r->Release(); });
    IRecordCursor& solved = *solver_->GetResultCursor();
    result->CollectInitialResults(solved, lists_[kBuses].GetCount(), lists_[kLines].GetCount(),
                                  [this](int key) { return BranchInfoOf(*this, key); });
    result->SelectSet(1);

    solver_->SetIterationLimit(50);
    solver_->SetTolerance(1e-3);
    if (solver_->SelectTransferBuses(request.sourceKey, request.destinationKey) == 0) return nullptr;

    const double maximum = request.maximumTransferMw;
    const bool limited = maximum > 0.0;
    double step = limited && maximum < request.stepMw ? maximum : request.stepMw;
    double transferred = 0.0;
    solver_->Transfer(step);
    for (int tried = 0; tried < kMaxSteps; ++tried) {
        if (solver_->RunPowerFlow() > 0 && result->CheckAndStore(solved, 1)) {
            transferred += step;
            if (limited && step >= maximum - transferred) {
                if (maximum <= transferred) break;
                step = maximum - transferred;
            }
        } else {
            // The last accepted state comes back from set 1.
            solver_->ReadBusState(result.get());
            step /= 2.0;
        }
        solver_->Transfer(step);
        if (!(step > kSmallestStep)) break;
    }

    result->SetTransferred(transferred);
    result->FindCriticalLine(1);
    const std::pair<const char*, int> files[] = {
        {request.voltageFile, 0}, {request.angleFile, 2}, {request.qgenFile, 1}, {request.loadingFile, 3}};
    for (const auto& [file, kind] : files) {
        if (result->WriteChangeFile(file, kind)) continue;
        ReportFailure(sink_, std::string("Cannot write the transfer capability file '") + file + "'!");
        return nullptr;
    }
    return result.release();
}
