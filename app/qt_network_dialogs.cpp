#include "qt_network_dialogs.h"

#include "background_color_dlg.h"
#include "dlg_layers.h"
#include "dlg_load_directions.h"
#include "dlg_voltage_prof_graph_gen.h"
#include "line_fill_font_dlg.h"
#include "main_frame.h"
#include "model_interface.h"
#include "record_cursor.h"
#include "tavrin_app.h"

// One body per dialog, each to be replaced by its dialog when it is built.

bool QtNetworkDialogs::OpenBusProperties(IElement&) { return false; }

bool QtNetworkDialogs::OpenLoadProperties(IElement&) { return false; }

bool QtNetworkDialogs::OpenGeneratorProperties(IElement&) { return false; }

bool QtNetworkDialogs::OpenSynchronousCompensatorProperties(IElement&) { return false; }

bool QtNetworkDialogs::OpenSvcProperties(IElement&) { return false; }

bool QtNetworkDialogs::OpenShuntProperties(IElement&) { return false; }

bool QtNetworkDialogs::OpenCapacitorProperties(IElement&) { return false; }

bool QtNetworkDialogs::OpenReactorProperties(IElement&) { return false; }

bool QtNetworkDialogs::OpenPowerLineProperties(IElement&) { return false; }

bool QtNetworkDialogs::OpenFixedTapTransformerProperties(IElement&) { return false; }

bool QtNetworkDialogs::OpenRegulatingTransformerProperties(IElement&, int) { return false; }

bool QtNetworkDialogs::OpenVariableBankProperties(IElement&) { return false; }

bool QtNetworkDialogs::OpenConnectorProperties(IElement&) { return false; }

bool QtNetworkDialogs::OpenSystemInfoProperties(IElement&) { return false; }

std::optional<std::string> QtNetworkDialogs::EditFreeElement(IElement&, std::string_view, std::string_view) {
    return std::nullopt;
}

std::optional<LineFillFontChoice> QtNetworkDialogs::EditLineFillFont(const LineFillFontRequest& request) {
    LineFillFontDlg dialog(application_.Prompts(), application_.Desktop(), request.fonts, request.labelNames,
                           request.lineColor, request.fillColor, request.fillEditable, application_.MainFrame());
    dialog.SetLineWidth(request.lineWidth);
    dialog.SetAllowApplyToAll(request.allowApplyToAll);
    if (dialog.DoModal() != QDialog::Accepted) return std::nullopt;
    return LineFillFontChoice{dialog.LineColor(), dialog.FillColor(), dialog.LineWidth(), dialog.ApplyToAll()};
}

std::optional<BackgroundColorChoice> QtNetworkDialogs::ChooseBackgroundColor(ColorRef current) {
    BackgroundColorDlg dialog(application_.Prompts(), current, application_.MainFrame());
    if (dialog.DoModal() != QDialog::Accepted) return std::nullopt;
    return BackgroundColorChoice{dialog.Color(), dialog.SetAsDefault()};
}

bool QtNetworkDialogs::EditLayers(BackgroundPictures& pictures, const std::function<void()>& repaint) {
    CDlgLayers dialog(application_.Prompts(), pictures, repaint, application_.MainFrame());
    dialog.DoModal();
    return dialog.Modified();
}

std::optional<DuplicationSteps> QtNetworkDialogs::EditDuplicationSteps(const DuplicationSteps&) {
    return std::nullopt;
}

std::optional<LoadDirectionsChoice> QtNetworkDialogs::EditLoadDirections(IModel& model) {
    IRecordCursor* cursor = model.GetRecordCursor();
    if (!cursor) return std::nullopt;
    CDlgLoadDirections dialog(application_.Prompts(), *cursor, model, application_.MainFrame());
    if (dialog.DoModal() != QDialog::Accepted) return std::nullopt;
    return LoadDirectionsChoice{dialog.CreateOutput(), dialog.StopAtLoad(), dialog.TotalLoad()};
}

std::optional<PvCurveVariables> QtNetworkDialogs::ChoosePvCurveVariables(const std::string& dataFile) {
    CDlgVoltageProfGraphGen dialog(application_.Prompts(), dataFile, application_.MainFrame());
    if (dialog.DoModal() != QDialog::Accepted || !dialog.Usable()) return std::nullopt;
    return PvCurveVariables{dialog.XName(), dialog.ChosenNames()};
}

std::optional<TransferCapabilityChoice> QtNetworkDialogs::ChooseTransferCapability(IRecordCursor&) {
    return std::nullopt;
}

bool QtNetworkDialogs::ShowTransferCapabilityResults(const TransferCapabilityTexts&) { return false; }

std::optional<int> QtNetworkDialogs::ChooseSensitivityElement(IModel&, SensitivityMode) { return std::nullopt; }

bool QtNetworkDialogs::ShowDataSheet(IModel&) { return false; }

bool QtNetworkDialogs::SaveOrDeleteResults(std::string_view, IRecordCursor&, ResultsAction) { return false; }

IDBReport* QtNetworkDialogs::CompareResults(int) { return nullptr; }

std::optional<RemoteHost> QtNetworkDialogs::EditHostSettings(const RemoteHost&) { return std::nullopt; }
