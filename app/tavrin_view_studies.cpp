// The network window's studies and results: the power flow, PV curves,
// transfer capability, the sensitivities, the power-flow report and the
// results database. The studies themselves run in the model; these
// commands ask the dialogs, make the study files, report progress to the
// message window and open the graphs and reports that come of them.

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "command_ids.h"
#include "element_interface.h"
#include "message_sink.h"
#include "network_dialogs.h"
#include "prompt_service.h"
#include "report_interface.h"
#include "results_cases.h"
#include "study_file.h"
#include "tavrin_app.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"
#include "transfer_capability_result.h"
#include "wait_cursor.h"
#include "windows_1250.h"

namespace {

constexpr const char* kSensitivityFailed = "Cannot calculate all sensitivity factors!!";

void Tell(IModel& model, int level, const char* text) {
    if (IMessageSink* sink = model.GetMessageSink()) sink->AddMessage(level, text);
}

// A name cut to the first `length` characters, for a title.
std::string Cut(const std::string& name, std::size_t length) { return name.substr(0, length); }

std::string Format(const char* format, double value) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), format, value);
    return text.data();
}

std::string EndName(const IElement& element, int end) {
    const std::string* name = element.GetEndName(end);
    return name != nullptr ? *name : std::string();
}

struct ReleaseResult {
    void operator()(TransferCapabilityResult* result) const { result->Release(); }
};
using HeldResult = std::unique_ptr<TransferCapabilityResult, ReleaseResult>;

}  // namespace

std::string CTavrinView::DocumentTitle() const { return ToWindows1250(GetDocument()->GetTitle()); }

void CTavrinView::Warn(const char* text) {
    GetDocument()->Application().Prompts().Ask(QString::fromLatin1(text), {}, PromptIcon::Warning, PromptButtons::Ok);
}

void CTavrinView::OpenReport(IDBReport* report) {
    if (report != nullptr) GetDocument()->Application().OpenResultsDocument(report);
}

void CTavrinView::RegisterStudyCommands() {
    OnCommand(Command::SolvePowerFlow, [this] { SolvePowerFlow(); });
    OnCommand(Command::PvCurves, [this] { OnPvCurves(); });
    OnCommand(Command::TransferCapability, [this] { OnTransferCapability(); });
    OnCommand(Command::SupplementaryMotionSensitivity, [this] { OnVoltageSensitivity(); });
    OnCommand(Command::BusSensitivityFactors, [this] { OnBusSensitivityFactors(); });
    OnCommand(Command::PowerTransferDistributionFactors, [this] { OnLineFlowSensitivity(); });
    OnCommand(Command::PreviewResults, [this] { OnPreviewResults(); });
    OnCommand(Command::ShowResultsInTable, [this] { OnShowResultsInTable(); });
    auto databaseOpen = [this](CmdUI& ui) { ui.Enable(GetDocument()->Application().ResultsDatabase().IsOpen()); };
    OnCommand(Command::SaveResultsToDatabase, [this] { OnSaveOrDeleteResults(ResultsAction::Save); }, databaseOpen);
    OnCommand(Command::DeleteResultsFromDatabase, [this] { OnSaveOrDeleteResults(ResultsAction::Delete); },
              databaseOpen);
    OnCommand(Command::CompareResults, [this] { OnCompareResults(); }, databaseOpen);
}

void CTavrinView::SolvePowerFlow() {
    IModel* model = Model();
    if (model == nullptr) return;
    if (GetDocument()->IsRemote()) {
        // Without a connection nothing is sent; the answer comes back later
        // as a document and result lines.
        GetDocument()->Application().RemoteLink().Send("SOLVE");
        return;
    }
    WaitCursor wait;
    Tell(*model, IMessageSink::Information, "Started solving PF");
    if (model->RunSolver(nullptr, nullptr, nullptr) != 0) {
        Tell(*model, IMessageSink::Success, "Power Flow successfully solved");
        GetDocument()->SetModifiedFlag();
    } else {
        Tell(*model, IMessageSink::Failure, "Power Flow was not solved");
    }
}

void CTavrinView::OnPvCurves() {
    IModel* model = Model();
    if (model == nullptr || dialogs_ == nullptr) return;
    const std::optional<LoadDirectionsChoice> choice = dialogs_->EditLoadDirections(*model);
    if (!choice) return;
    GetDocument()->SetModifiedFlag();

    // The table goes to the document's own output file, or to a study file.
    const std::optional<StudyFile> file =
        choice->createOutput ? std::optional<StudyFile>() : StudyFile::Create("PVProf");
    if (!choice->createOutput && !file) {
        Warn("Cannot create temp file!");
        return;
    }
    const bool stopAtLoad = !choice->createOutput && choice->stopAtLoad;
    bool solved = false;
    {
        WaitCursor wait;
        Tell(*model, IMessageSink::Information, "Started continuation power flow!");
        // The model takes the stop in MW, as the dialog gives it.
        solved = file ? model->RunContinuation(file->Path(), stopAtLoad, choice->totalLoad) != 0
                      : model->RunContinuation(nullptr, false, -1.0) != 0;
    }
    if (!solved) {
        Tell(*model, IMessageSink::Failure, "Cannot complete continuation power flow!");
        GetDocument()->Application().Prompts().Ask(
            "Can't Solve this problem!\nNote: Problem diverge or there is data problem! Check Messages window for "
            "more details!",
            "PV Curves", PromptIcon::Warning, PromptButtons::Ok);
        return;
    }
    Tell(*model, IMessageSink::Success, "Continuation power flow completed successfully!");
    if (stopAtLoad) {
        InvalidateAll();  // the diagram shows the state at that load
        return;
    }
    const std::string table = file ? std::string(file->Path()) : model->GetContinuationResult();
    GetDocument()->ShowPVCurves(this, table.c_str(), [this](const char* path) {
        return dialogs_->ChoosePvCurveVariables(path);
    });
}

void CTavrinView::OnTransferCapability() {
    IModel* model = Model();
    if (model == nullptr || dialogs_ == nullptr) return;
    // The dialog lists bus groups under the keys the study will know them by.
    model->BuildBusGroups();
    const std::optional<TransferCapabilityChoice> choice = dialogs_->ChooseTransferCapability(*model->GetRecordCursor());
    if (!choice) return;

    // The study file of each chart asked for.
    bool filesMade = true;
    auto chart = [&filesMade](bool wanted, const char* prefix) {
        std::optional<StudyFile> file = wanted ? StudyFile::Create(prefix) : std::nullopt;
        filesMade = filesMade && (file || !wanted);
        return file;
    };
    const std::optional<StudyFile> voltage = chart(choice->voltageChart, "TCV");
    const std::optional<StudyFile> angle = chart(choice->angleChart, "TCTheta");
    const std::optional<StudyFile> reactive = chart(choice->reactiveChart, "TCQ");
    const std::optional<StudyFile> loading = chart(choice->lineLoadChart, "TCLF");
    if (!filesMade) {
        Warn("Cannot create temp file!");
        return;
    }

    HeldResult result;
    {
        WaitCursor wait;
        TransferCapabilityRequest request;
        request.sourceKey = choice->sourceKey;
        request.destinationKey = choice->destinationKey;
        request.stepMw = choice->initialStep;
        request.maximumTransferMw = choice->stopEnabled ? choice->stopTransfer : 0.0;
        request.voltageFile = PathOrNull(voltage);
        request.angleFile = PathOrNull(angle);
        request.qgenFile = PathOrNull(reactive);
        request.loadingFile = PathOrNull(loading);
        Tell(*model, IMessageSink::Information, "Started solving available transfer capability problem");
        result.reset(model->TransferCapability(request));
    }
    if (result) {
        Tell(*model, IMessageSink::Success, "Available transfer capability problem successfully solved!");
        GetDocument()->ShowTransferCapabilityGraphs(this, PathOrNull(voltage), PathOrNull(angle),
                                                    PathOrNull(reactive), PathOrNull(loading));
    } else {
        Tell(*model, IMessageSink::Failure, "Available transfer capability problem was not solved!");
    }

    TransferCapabilityTexts texts{choice->sourceName, choice->destinationName,
                                  Format("%.3f", result ? result->GetTransferred() : 0.0), {},
                                  Format("%.2f", result ? result->GetMaximumLoading() : 0.0)};
    if (result && result->GetCriticalKey() != 0) {
        if (const IElement* line = model->FindByKey(result->GetCriticalKey())) {
            texts.line = line->GetName() + "(" + EndName(*line, 0) + "-" + EndName(*line, 1) + ")";
        }
    }
    if (!dialogs_->ShowTransferCapabilityResults(texts)) return;
    if (!result) {
        Warn("Cannot create report!!");
        return;
    }
    OpenReport(model->TransferCapabilityReport(result.get(), DocumentTitle().c_str(), 0));
}

void CTavrinView::OnVoltageSensitivity() {
    IModel* model = Model();
    if (model == nullptr) return;
    const std::optional<StudyFile> file = StudyFile::Create("dVdQ");
    if (!file) {
        Warn("Cannot create temp file!");
        return;
    }
    WaitCursor wait;
    // Both graphs read the one file in turn: the angles first, then the
    // voltages written over them.
    bool failed = false;
    if (model->VoltageSensitivity(file->Path(), 0)) {
        GetDocument()->ShowSensitivityGraph(this, file->Path(), CTavrinDoc::SensitivityKind::Angle, 0);
    } else {
        failed = true;
    }
    if (model->VoltageSensitivity(file->Path(), 1)) {
        GetDocument()->ShowSensitivityGraph(this, file->Path(), CTavrinDoc::SensitivityKind::Voltage, 30);
    } else {
        failed = true;
    }
    if (failed) Tell(*model, IMessageSink::Failure, kSensitivityFailed);
}

void CTavrinView::OnBusSensitivityFactors() {
    IModel* model = Model();
    if (model == nullptr || dialogs_ == nullptr) return;
    model->BuildBusGroups();
    const std::optional<int> bus = dialogs_->ChooseSensitivityElement(*model, SensitivityMode::Buses);
    if (!bus) return;
    const std::optional<StudyFile> voltage = StudyFile::Create("QVSens");
    const std::optional<StudyFile> angle = StudyFile::Create("ThetaPSens");
    if (!voltage || !angle) {
        Warn("Cannot create temp file!");
        return;
    }
    WaitCursor wait;
    int written = 0;
    if (!model->BusSensitivityFactors(*bus, voltage->Path(), angle->Path(), written)) {
        Tell(*model, IMessageSink::Failure, kSensitivityFailed);
        return;
    }
    const std::string name = model->GetStudyName(*bus, "");
    int offset = 0;
    if ((written & 2) != 0) {
        const std::string axis = "dTheta(" + Cut(name, 10) + ")/dPi";
        const std::string title = "dTheta/dP for Bus: " + Cut(name, 15);
        GetDocument()->ShowSensitivityGraph(this, angle->Path(), CTavrinDoc::SensitivityKind::Angle, 0, axis.c_str(),
                                            title.c_str());
        offset = 30;
    }
    if ((written & 1) != 0) {
        const std::string axis = "dV(" + Cut(name, 10) + ")/dQi";
        const std::string title = "dV/dQ for Bus: " + Cut(name, 15);
        GetDocument()->ShowSensitivityGraph(this, voltage->Path(), CTavrinDoc::SensitivityKind::Voltage, offset,
                                            axis.c_str(), title.c_str());
    }
}

void CTavrinView::OnLineFlowSensitivity() {
    IModel* model = Model();
    if (model == nullptr || dialogs_ == nullptr) return;
    const std::optional<int> line = dialogs_->ChooseSensitivityElement(*model, SensitivityMode::Branches);
    if (!line) return;
    const std::optional<StudyFile> file = StudyFile::Create("LFSens");
    if (!file) {
        Warn("Cannot create temp file!");
        return;
    }
    bool solved = false;
    {
        WaitCursor wait;
        solved = model->LineFlowSensitivity(*line, file->Path());
    }
    if (!solved) {
        Tell(*model, IMessageSink::Failure, kSensitivityFailed);
        Warn(kSensitivityFailed);
        return;
    }
    const IElement* element = model->FindByKey(*line);
    const std::string name = element != nullptr ? element->GetName() : std::string();
    const std::string axis = name.empty() ? std::string("dI/dV") : "dI(" + Cut(name, 15) + ")/dV";
    const std::string from = element != nullptr ? Cut(EndName(*element, 0), 10) : std::string();
    const std::string to = element != nullptr ? Cut(EndName(*element, 1), 10) : std::string();
    const std::string title = "dI/dV for line(" + from + "-" + to + ")";
    GetDocument()->ShowLFSensitivityGraph(this, file->Path(), axis.c_str(), title.c_str());
}

void CTavrinView::OnPreviewResults() {
    if (IModel* model = Model()) OpenReport(model->PowerFlowReport(DocumentTitle().c_str(), 0));
}

void CTavrinView::OnShowResultsInTable() {
    IModel* model = Model();
    if (model != nullptr && dialogs_ != nullptr && dialogs_->ShowDataSheet(*model)) OnPreviewResults();
}

void CTavrinView::OnSaveOrDeleteResults(ResultsAction action) {
    IModel* model = Model();
    if (model != nullptr && dialogs_ != nullptr) {
        dialogs_->SaveOrDeleteResults(DocumentTitle(), *model->GetRecordCursor(), action);
    }
}

int CTavrinView::SystemIdOfDocument() {
    int id = -1;
    switch (FindSystem(GetDocument()->Application().ResultsDatabase(), DocumentTitle(), id)) {
        case SystemLookup::Found: return id;
        case SystemLookup::Missing: return -1;
        case SystemLookup::Failed: break;
    }
    Warn("Cannot execute getSystem!");
    return -1;
}

void CTavrinView::OnCompareResults() {
    if (dialogs_ == nullptr) return;
    OpenReport(dialogs_->CompareResults(SystemIdOfDocument()));
}
