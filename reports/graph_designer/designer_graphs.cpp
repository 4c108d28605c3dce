// The graph designer's OK: a curve for each complete row, and the graph
// windows that show them, which outlive the designer in the manager.

#include <exception>

#include "dlg_graph.h"
#include "dlg_graph_designer.h"
#include "grid_ctrl.h"
#include "prompt_service.h"
#include "windows_1250.h"

namespace {

constexpr const char* kYAxisTitleSeparator = ", ";

}  // namespace

std::vector<GraphCurve> CDlgGraphDesigner::CurvesOfRows() const {
    std::vector<GraphCurve> curves;
    for (int row = 1; row < grid_->GetRowCount(); ++row) {
        const QString x = grid_->GetCellText(row, kXColumn);
        const QString y = grid_->GetCellText(row, kYColumn);
        if (x.isEmpty() || y.isEmpty()) continue;
        GraphCurve& curve = curves.emplace_back();
        curve.xName = ToWindows1250(x);
        curve.yName = ToWindows1250(y);
        curve.legend = ToWindows1250(grid_->GetCellText(row, kYTitle));
        curve.xAxisTitle = ToWindows1250(grid_->GetCellText(row, kXTitle));
        curve.graphTitle = ToWindows1250(grid_->GetCellText(row, kTitle));
        curve.xColumn = static_cast<int>(grid_->GetCellData(row, kXColumn));
        curve.yColumn = static_cast<int>(grid_->GetCellData(row, kYColumn));
        curve.color = grid_->GetCellBackColour(row, kColour);
    }
    return curves;
}

bool CDlgGraphDesigner::OpenGraph(std::span<const GraphCurve> curves, const std::string& graphTitle,
                                  const std::string& xAxisTitle, const std::string& yAxisTitle) {
    // The library's own graph window, for the operations the interface
    // leaves out.
    auto* graph = static_cast<CDlgGraph*>(createGraph(manager_, parent_, prompts_));
    if (graph == nullptr) {
        prompts_.Ask("Cannot create preview dialog!!", {}, PromptIcon::Warning, PromptButtons::Ok);
        return false;
    }
    graph->SetDataFile(dataFile_.c_str(), false, -1);
    for (const GraphCurve& curve : curves) graph->AddCurve(curve);
    graph->SetGraphTitle(graphTitle.c_str());
    graph->SetXAxisTitle(xAxisTitle.c_str());
    graph->SetYAxisTitle(yAxisTitle.c_str());
    graph->SetGraphType(graphType_);
    graph->SetGridLines(horizontal_, vertical_);
    graph->Create();
    return true;
}

void CDlgGraphDesigner::OnOK() {
    try {
        ReadControls();
        curves_ = CurvesOfRows();
        if (oneGraph_) {
            // With no complete row the graph is empty and has no titles.
            std::string yAxisTitle;
            for (const GraphCurve& curve : curves_) {
                if (&curve != &curves_.front()) yAxisTitle += kYAxisTitleSeparator;
                yAxisTitle += curve.legend;
            }
            const bool any = !curves_.empty();
            OpenGraph(curves_, any ? curves_.front().graphTitle : std::string(),
                      any ? curves_.front().xAxisTitle : std::string(), yAxisTitle);
        } else {
            for (const GraphCurve& curve : curves_) {
                if (!OpenGraph({&curve, 1}, curve.graphTitle, curve.xAxisTitle, curve.legend)) break;
            }
        }
    } catch (const std::bad_alloc&) {
        // The graphs made so far stay open.
        prompts_.Ask("Out of memory.", {}, PromptIcon::Warning, PromptButtons::Ok);
    }
    QDialog::accept();
}
