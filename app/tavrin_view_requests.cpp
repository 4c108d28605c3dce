// The model's two dialog requests: an element's properties, and its line,
// fill and fonts. The view picks the dialog by the element's kind.
#include <optional>

#include "element_interface.h"
#include "element_type.h"
#include "label_names.h"
#include "network_dialogs.h"
#include "prompt_service.h"
#include "tavrin_app.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"

namespace {

constexpr const char* kFreeLineTitle = "Free Line Properties";
constexpr const char* kPolygonTitle = "Polygon/Polyline Properties";

// The label list of an element's class type; an arrowed free line reports
// the free line's type.
std::optional<LabelFamily> LabelFamilyOfType(int classType) {
    switch (classType) {
        case ElementType::Bus:
        case ElementType::HorizontalBus:
        case ElementType::ConnectionNode:
            return LabelFamily::Bus;
        case ElementType::Load:
            return LabelFamily::Load;
        case ElementType::Generator:
        case ElementType::SyncCompensator:
        case ElementType::VarCompensator:
        case ElementType::VariableBank:
        case ElementType::VariableReactorBank:
            return LabelFamily::Generator;
        case ElementType::Shunt:
        case ElementType::Capacitor:
        case ElementType::Reactor:
            return LabelFamily::Shunt;
        case ElementType::PowerLine:
            return LabelFamily::PowerLine;
        case ElementType::Transformer:
        case ElementType::RegulatedTransformer:
            return LabelFamily::Transformer;
        case ElementType::FreeLine:
            return LabelFamily::FreeLine;
        case ElementType::FreeText:
        case ElementType::PolygonElement:
        case ElementType::SystemInfo:
            return LabelFamily::TextAndDrawing;
        case ElementType::NetworkEquivalent:
            return LabelFamily::NetworkEquivalent;
        case ElementType::Connector:
        case ElementType::Disconnector:
        case ElementType::CircuitBreaker:
        case ElementType::Fuse:
            return LabelFamily::SwitchingDevice;
        default:
            return std::nullopt;
    }
}

}  // namespace

bool CTavrinView::OpenProperties(IElement* element, int page) {
    CTavrinDoc* document = GetDocument();
    if (element == nullptr || document == nullptr || dialogs_ == nullptr) return false;
    INetworkDialogs& dialogs = *dialogs_;
    switch (element->GetType(false)) {
        case ElementType::Bus:
        case ElementType::HorizontalBus:
            return dialogs.OpenBusProperties(*element);
        case ElementType::Load:
            return dialogs.OpenLoadProperties(*element);
        case ElementType::Generator:
            return dialogs.OpenGeneratorProperties(*element);
        case ElementType::SyncCompensator:
            return dialogs.OpenSynchronousCompensatorProperties(*element);
        case ElementType::VarCompensator:
            return dialogs.OpenSvcProperties(*element);
        case ElementType::Shunt:
            return dialogs.OpenShuntProperties(*element);
        case ElementType::Capacitor:
            return dialogs.OpenCapacitorProperties(*element);
        case ElementType::Reactor:
            return dialogs.OpenReactorProperties(*element);
        case ElementType::PowerLine:
        case ElementType::Transformer:
        case ElementType::RegulatedTransformer:
            switch (element->GetType(true)) {
                case ElementType::PowerLine:
                    return dialogs.OpenPowerLineProperties(*element);
                case ElementType::Transformer:
                    return dialogs.OpenFixedTapTransformerProperties(*element);
                default:
                    return dialogs.OpenRegulatingTransformerProperties(*element, page);
            }
        case ElementType::FreeLine:
            return EditFreeElementName(*element, kFreeLineTitle);
        case ElementType::FreeText:
            return EditFreeElementName(*element, {});
        case ElementType::PolygonElement:
            return EditFreeElementName(*element, kPolygonTitle);
        case ElementType::VariableBank:
        case ElementType::VariableReactorBank:
            return dialogs.OpenVariableBankProperties(*element);
        case ElementType::Connector:
            return dialogs.OpenConnectorProperties(*element);
        case ElementType::SystemInfo:
            return dialogs.OpenSystemInfoProperties(*element);
        default:
            document->Application().Prompts().Ask("No properties for this object", {}, PromptIcon::Warning,
                                                  PromptButtons::Ok);
            return false;
    }
}

bool CTavrinView::EditFreeElementName(IElement& element, std::string_view title) {
    std::optional<std::string> text = dialogs_->EditFreeElement(element, title, element.GetName());
    if (!text) return false;
    element.SetName(*text);
    return true;
}

std::optional<ColorRef> CTavrinView::EditFillAndFont(IElement* element, std::span<FontSetting> fonts) {
    CTavrinDoc* document = GetDocument();
    IModel* model = document != nullptr ? document->GetModel() : nullptr;
    if (element == nullptr || model == nullptr || dialogs_ == nullptr) return std::nullopt;
    const int classType = element->GetType(true);
    const std::optional<LabelFamily> family = LabelFamilyOfType(classType);
    if (!family) {
        document->Application().Prompts().Ask("Unknown element type obtained", "FillAndFontProperties",
                                              PromptIcon::Warning, PromptButtons::Ok);
        return std::nullopt;
    }
    LineFillFontRequest request;
    request.fonts = fonts;
    request.labelNames = LabelNames(*family);
    request.lineColor = element->GetColor();
    request.fillColor = model->GetBackgroundColor();
    if (classType == ElementType::PolygonElement) {
        request.fillEditable = true;
        request.fillColor = element->GetFillColor();
    }
    request.lineWidth = element->GetPenWidth();
    request.allowApplyToAll = true;
    const std::optional<LineFillFontChoice> choice = dialogs_->EditLineFillFont(request);
    if (!choice) return std::nullopt;
    if (choice->applyToAll) {
        model->ApplyFontSettings(classType, choice->lineColor, choice->lineWidth, fonts);
        InvalidateAll();
        return std::nullopt;
    }
    element->SetPenWidth(choice->lineWidth);
    element->SetFillColor(choice->fillColor);
    return choice->lineColor;
}
