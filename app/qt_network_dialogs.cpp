#include "qt_network_dialogs.h"

#include "background_color_dlg.h"
#include "bus_properties_dlg.h"
#include "compensator_dialogs.h"
#include "dlg_compare_results.h"
#include "dlg_connector_properties.h"
#include "dlg_fixed_tap_transformer_properties.h"
#include "dlg_layers.h"
#include "dlg_load_properties.h"
#include "dlg_power_line_properties.h"
#include "dlg_save_results.h"
#include "dlg_system_info_properties.h"
#include "dlg_var_condenser_properties.h"
#include "free_element_dlg.h"
#include "generator_properties_dlg.h"
#include "line_fill_font_dlg.h"
#include "main_frame.h"
#include "reg_transformer_properties_dlg.h"
#include "report_interface.h"
#include "shunt_dialogs.h"
#include "tavrin_app.h"

// One body per dialog, each to be replaced by its dialog when it is built.

namespace {

// An element's properties dialog, made on the stack over the main window
// and run modally; true after OK.
template <typename Dialog, typename... Arguments>
bool RunElementDialog(CTavrinApp& application, IElement& element, Arguments... arguments) {
    Dialog dialog(element, arguments..., application.Prompts(), application.MainFrame());
    return dialog.DoModal() == QDialog::Accepted;
}

}  // namespace

bool QtNetworkDialogs::OpenBusProperties(IElement& element) {
    return RunElementDialog<BusPropertiesDlg>(application_, element);
}

bool QtNetworkDialogs::OpenLoadProperties(IElement& element) {
    return RunElementDialog<CDlgLoadProperties>(application_, element);
}

bool QtNetworkDialogs::OpenGeneratorProperties(IElement& element) {
    return RunElementDialog<GeneratorPropertiesDlg>(application_, element);
}

bool QtNetworkDialogs::OpenSynchronousCompensatorProperties(IElement& element) {
    return RunElementDialog<CDlgSynchronousCompensatorProperties>(application_, element);
}

bool QtNetworkDialogs::OpenSvcProperties(IElement& element) {
    return RunElementDialog<CDlgSVCProperties>(application_, element);
}

bool QtNetworkDialogs::OpenShuntProperties(IElement& element) {
    return RunElementDialog<CDlgShuntProperties>(application_, element);
}

bool QtNetworkDialogs::OpenCapacitorProperties(IElement& element) {
    return RunElementDialog<CapacitorPropertiesDlg>(application_, element);
}

bool QtNetworkDialogs::OpenReactorProperties(IElement& element) {
    return RunElementDialog<CDlgReactorProperties>(application_, element);
}

bool QtNetworkDialogs::OpenPowerLineProperties(IElement& element) {
    return RunElementDialog<CDlgPowerLineProperties>(application_, element);
}

bool QtNetworkDialogs::OpenFixedTapTransformerProperties(IElement& element) {
    return RunElementDialog<CDlgFixedTapTransformerProperties>(application_, element);
}

bool QtNetworkDialogs::OpenRegulatingTransformerProperties(IElement& element, int page) {
    return RunElementDialog<RegTransformerPropertiesDlg>(application_, element, page);
}

bool QtNetworkDialogs::OpenVariableBankProperties(IElement& element) {
    return RunElementDialog<CDlgVarCondenserProperties>(application_, element);
}

bool QtNetworkDialogs::OpenConnectorProperties(IElement& element) {
    return RunElementDialog<CDlgConnectorProperties>(application_, element);
}

bool QtNetworkDialogs::OpenSystemInfoProperties(IElement& element) {
    return RunElementDialog<CDlgSystemInfoProperties>(application_, element);
}

std::optional<std::string> QtNetworkDialogs::EditFreeElement(IElement& element, std::string_view title,
                                                           std::string_view text) {
    FreeElementDlg dialog(element, std::string(title), application_.Prompts(), application_.MainFrame());
    dialog.text = text;
    if (dialog.DoModal() != QDialog::Accepted) return std::nullopt;
    return dialog.text;
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

std::optional<LoadDirectionsChoice> QtNetworkDialogs::EditLoadDirections(IModel&) { return std::nullopt; }

std::optional<PvCurveVariables> QtNetworkDialogs::ChoosePvCurveVariables(const std::string&) { return std::nullopt; }

std::optional<TransferCapabilityChoice> QtNetworkDialogs::ChooseTransferCapability(IRecordCursor&) {
    return std::nullopt;
}

bool QtNetworkDialogs::ShowTransferCapabilityResults(const TransferCapabilityTexts&) { return false; }

std::optional<int> QtNetworkDialogs::ChooseSensitivityElement(IModel&, SensitivityMode) { return std::nullopt; }

bool QtNetworkDialogs::ShowDataSheet(IModel&) { return false; }

bool QtNetworkDialogs::SaveOrDeleteResults(std::string_view systemName, IRecordCursor& cursor, ResultsAction action) {
    CDlgSaveResults dialog(application_.Prompts(), application_.ResultsDatabase(), std::string(systemName), cursor,
                           action == ResultsAction::Delete ? CDlgSaveResults::Mode::Delete
                                                           : CDlgSaveResults::Mode::Save,
                           application_.MainFrame());
    return dialog.DoModal() == QDialog::Accepted;
}

IDBReport* QtNetworkDialogs::CompareResults(int systemId) {
    CDlgCompareResults dialog(application_.Prompts(), application_.ResultsDatabase(), systemId,
                              [this] { return createReport(application_.TextMeasurer()); }, application_.MainFrame());
    return dialog.DoModal() == QDialog::Accepted ? dialog.TakeReport() : nullptr;
}

std::optional<RemoteHost> QtNetworkDialogs::EditHostSettings(const RemoteHost&) { return std::nullopt; }
