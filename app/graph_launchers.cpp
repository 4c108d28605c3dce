// The network document's graph windows: the PV curves, sensitivity,
// transfer capability and line-flow sensitivity graphs of the studies, and
// the graphs the user designs from a data file.

#include <algorithm>
#include <array>

#include <QFile>

#include "graph_designer_interface.h"
#include "prompt_service.h"
#include "tavrin_app.h"
#include "tavrin_doc.h"
#include "windows_1250.h"

namespace {

constexpr int kCascadeStep = 30;  // pixels right and down from the graph before
constexpr std::size_t kMostPVCurves = 12;  // a graph window draws no more curves

struct TransferCapabilityGraph {
    const char* captionSuffix;
    const char* graphTitle;
    const char* yAxisTitle;
};
constexpr std::array<TransferCapabilityGraph, 4> kTransferCapabilityGraphs = {{
    {" - Transfer Capability (Voltage Drop)", "Voltage Drops", "V(TC) - Vbase [p.u.]"},
    {" - Transfer Capability (Angle Changes)", "Angle Changes", "Theta(TC) - Theta(base)[deg]"},
    {" - Transfer Capability (Qgen Changes)", "Qgen Changes", "Qgen(TC) - Q(base) [MVAr]"},
    {" - Transfer Capability (LF Changes)", "Line LF Changes", "LF(TC) - LF(base)[%]"},
}};

// Data files keep their old upper-case names; the same in lower case is
// offered too, as names are case-sensitive here.
const FileFilter kDataFileFilters[] = {{"Result Data (*.PRN,*.TXT,*.DAT) ", "*.PRN;*.TXT;*.DAT;*.prn;*.txt;*.dat"},
                                       {"All Files (*.*)", "*"}};

std::string Text(const char* text) { return text == nullptr ? std::string() : std::string(text); }

}  // namespace

IDlgGraph* CTavrinDoc::MakeGraph(QWidget* parent) {
    IDlgGraph* dialog = graphMaker_ ? graphMaker_(&graphReferences_, parent, application_.Prompts())
                                    : createGraph(&graphReferences_, parent, application_.Prompts());
    if (dialog == nullptr) {
        application_.Prompts().Ask("Cannot create preview dialog!!", {}, PromptIcon::Warning, PromptButtons::Ok);
    }
    return dialog;
}

void CTavrinDoc::ShowPVCurves(QWidget* parent, const char* path, const PVCurveChooser& choose) {
    IDlgGraph* dialog = MakeGraph(parent);
    if (dialog == nullptr) return;
    const std::optional<PvCurveVariables> chosen = choose(path);
    if (!chosen || chosen->yNames.empty()) {
        dialog->Release();
        return;
    }
    const std::string caption = ToWindows1250(GetTitle()) + " - PV Curves";
    dialog->SetCaption(caption.c_str());
    dialog->SetDataFile(path, false, -1);
    dialog->SetXVariable(chosen->xName.c_str());
    const std::size_t curves = std::min<std::size_t>(chosen->yNames.size(), kMostPVCurves);
    for (std::size_t i = 0; i < curves; ++i) dialog->AddYVariable(chosen->yNames[i].c_str());
    dialog->SetGraphTitle("PV Curves");
    dialog->SetXAxisTitle("Total Load [p.u.]");
    dialog->SetYAxisTitle("Voltage [p.u.]");
    dialog->Create();
}

bool CTavrinDoc::ShowCategoryGraph(QWidget* parent, const CategoryGraph& graph) {
    IDlgGraph* dialog = MakeGraph(parent);
    if (dialog == nullptr) return false;
    const std::string caption = ToWindows1250(GetTitle()) + graph.captionSuffix;
    dialog->SetCaption(caption.c_str());
    dialog->SetGraphType(5);
    dialog->SetDataFile(graph.path, false, -1);
    dialog->SetXVariable("x");
    dialog->AddYVariable("Sensitivity");
    dialog->SetXAxisTitle("");
    dialog->SetGraphTitle(graph.graphTitle.c_str());
    dialog->SetYAxisTitle(graph.yAxisTitle.c_str());
    if (graph.cascadeOffset > 0) dialog->SetCascadeOffset(graph.cascadeOffset);
    dialog->Create();
    return true;
}

void CTavrinDoc::ShowSensitivityGraph(QWidget* parent, const char* path, SensitivityKind kind, int cascadeOffset,
                                      const char* yAxisTitle, const char* graphTitle) {
    const bool angle = kind == SensitivityKind::Angle;
    CategoryGraph graph{path,
                        angle ? " - Angle Sensitivity (dTheta/dP)" : " - Voltage Sensitivity (dV/dQ)",
                        angle ? "Theta-P Sensitivity Factors" : "V-Q Sensitivity Factors",
                        angle ? "dTheta/dP (scaled to 100)" : "dV/dQ (scaled to 100)",
                        cascadeOffset};
    if (yAxisTitle != nullptr) {
        graph.graphTitle = Text(graphTitle);
        graph.yAxisTitle = yAxisTitle;
    }
    ShowCategoryGraph(parent, graph);
}

void CTavrinDoc::ShowTransferCapabilityGraphs(QWidget* parent, const char* voltagePath, const char* anglePath,
                                              const char* reactivePath, const char* loadingPath) {
    const std::array<const char*, 4> paths = {voltagePath, anglePath, reactivePath, loadingPath};
    int made = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (paths[i] == nullptr) continue;
        const TransferCapabilityGraph& kind = kTransferCapabilityGraphs[i];
        if (!ShowCategoryGraph(parent, {paths[i], kind.captionSuffix, kind.graphTitle, kind.yAxisTitle,
                                        kCascadeStep * made})) {
            return;
        }
        ++made;
    }
}

void CTavrinDoc::ShowLFSensitivityGraph(QWidget* parent, const char* path, const char* yAxisTitle,
                                        const char* graphTitle) {
    ShowCategoryGraph(parent, {path, " - LF Sensitivity (dI/dV)", Text(graphTitle), Text(yAxisTitle), 0});
}

void CTavrinDoc::GenerateGraphFromFile(QWidget* parent) {
    PromptService& prompts = application_.Prompts();
    std::optional<QString> path = prompts.OpenFileName({}, kDataFileFilters, {});
    if (!path) return;
    IDlgGraphDesigner* designer = createGraphDesigner(&graphReferences_, parent, prompts);
    if (designer == nullptr) {
        prompts.Ask("Cannot create preview dialog!!", {}, PromptIcon::Warning, PromptButtons::Ok);
        return;
    }
    designer->SetDataFile(QFile::encodeName(*path).constData());
    designer->DoModal();
    designer->Release();
}
