#include "element_properties.h"

#include <QDialog>

#include "bus_properties_dlg.h"
#include "compensator_dialogs.h"
#include "dlg_connector_properties.h"
#include "dlg_load_properties.h"
#include "dlg_system_info_properties.h"
#include "element_interface.h"
#include "element_key.h"
#include "free_element_dlg.h"
#include "generator_properties_dlg.h"
#include "prompt_service.h"
#include "shunt_dialogs.h"

namespace {

constexpr int kHorizontalBusCategory = 2;

}  // namespace

std::unique_ptr<ElementDialog> MakeElementDialog(IElement& element, PromptService& prompts, QWidget* parent) {
    switch (element.GetType(false)) {
        case Category::Bus:
        case kHorizontalBusCategory: return std::make_unique<BusPropertiesDlg>(element, prompts, parent);
        case Category::Load: return std::make_unique<CDlgLoadProperties>(element, prompts, parent);
        case Category::Generator: return std::make_unique<GeneratorPropertiesDlg>(element, prompts, parent);
        case Category::SyncCompensator:
            return std::make_unique<CDlgSynchronousCompensatorProperties>(element, prompts, parent);
        case Category::VarCompensator: return std::make_unique<CDlgSVCProperties>(element, prompts, parent);
        case Category::Shunt: return std::make_unique<CDlgShuntProperties>(element, prompts, parent);
        case Category::Capacitor: return std::make_unique<CapacitorPropertiesDlg>(element, prompts, parent);
        case Category::Reactor: return std::make_unique<CDlgReactorProperties>(element, prompts, parent);
        case Category::FreeLine:
            return std::make_unique<FreeElementDlg>(element, "Free Line Properties", prompts, parent);
        case Category::FreeText: return std::make_unique<FreeElementDlg>(element, "", prompts, parent);
        case Category::Connector: return std::make_unique<CDlgConnectorProperties>(element, prompts, parent);
        case Category::Polygon:
            return std::make_unique<FreeElementDlg>(element, "Polygon/Polyline Properties", prompts, parent);
        case Category::SystemInfo: return std::make_unique<CDlgSystemInfoProperties>(element, prompts, parent);
        default: return nullptr;
    }
}

bool RunElementProperties(IElement& element, PromptService& prompts, QWidget* parent) {
    std::unique_ptr<ElementDialog> dialog = MakeElementDialog(element, prompts, parent);
    if (!dialog) {
        prompts.Ask("No properties for this object", QString(), PromptIcon::Warning, PromptButtons::Ok);
        return false;
    }
    auto* freeElement = dynamic_cast<FreeElementDlg*>(dialog.get());
    if (freeElement != nullptr) freeElement->text = element.GetName();
    if (dialog->DoModal() != QDialog::Accepted) return false;
    if (freeElement != nullptr) element.SetName(freeElement->text);
    return true;
}
