#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "network_dialogs.h"

// Plays the user of every network dialog: records each call (the dialog's
// name and what it was given) and answers OK with the scripted values, or
// cancels every dialog while `confirm` is false.
class ScriptedNetworkDialogs final : public INetworkDialogs {
public:
    struct Call {
        Call(std::string dialog, IElement* element = nullptr, int page = 0, std::string text = {})
            : dialog(std::move(dialog)), element(element), page(page), text(std::move(text)) {}
        std::string dialog;
        IElement* element = nullptr;
        int page = 0;
        std::string text;  // a free element's title, a system's name ...
        bool operator==(const Call&) const = default;
    };

    std::vector<Call> calls;
    bool confirm = true;

    // The answers on OK.
    std::string freeElementText = "Typed";
    LineFillFontChoice lineFillFont;
    BackgroundColorChoice backgroundColor;
    // Run on the pictures as the user's edits; its answer is "changed".
    std::function<bool(BackgroundPictures&, const std::function<void()>&)> layersEdit;
    DuplicationSteps duplicationSteps;
    LoadDirectionsChoice loadDirections;
    PvCurveVariables pvCurveVariables;
    TransferCapabilityChoice transferCapability;
    int sensitivityKey = 0;
    IDBReport* comparison = nullptr;
    RemoteHost host;

    // What the last requests were given.
    struct SeenLineFillFont {
        std::vector<std::string> labelNames;
        std::size_t fontCount = 0;
        ColorRef lineColor = 0;
        ColorRef fillColor = 0;
        bool fillEditable = false;
        int lineWidth = 0;
        bool allowApplyToAll = false;
    };
    std::optional<SeenLineFillFont> seenLineFillFont;
    std::optional<ColorRef> seenBackgroundColor;
    std::optional<DuplicationSteps> seenDuplicationSteps;
    std::optional<TransferCapabilityTexts> seenTransferTexts;
    std::optional<SensitivityMode> seenSensitivityMode;
    std::optional<ResultsAction> seenResultsAction;
    std::optional<int> seenSystemId;
    std::optional<RemoteHost> seenHost;

    std::vector<std::string> Dialogs() const {
        std::vector<std::string> names;
        for (const Call& call : calls) names.push_back(call.dialog);
        return names;
    }

    bool OpenBusProperties(IElement& e) override { return Element("Bus", e); }
    bool OpenLoadProperties(IElement& e) override { return Element("Load", e); }
    bool OpenGeneratorProperties(IElement& e) override { return Element("Generator", e); }
    bool OpenSynchronousCompensatorProperties(IElement& e) override { return Element("SynchronousCompensator", e); }
    bool OpenSvcProperties(IElement& e) override { return Element("Svc", e); }
    bool OpenShuntProperties(IElement& e) override { return Element("Shunt", e); }
    bool OpenCapacitorProperties(IElement& e) override { return Element("Capacitor", e); }
    bool OpenReactorProperties(IElement& e) override { return Element("Reactor", e); }
    bool OpenPowerLineProperties(IElement& e) override { return Element("PowerLine", e); }
    bool OpenFixedTapTransformerProperties(IElement& e) override { return Element("FixedTapTransformer", e); }
    bool OpenRegulatingTransformerProperties(IElement& e, int page) override {
        return Element("RegulatingTransformer", e, page);
    }
    bool OpenVariableBankProperties(IElement& e) override { return Element("VariableBank", e); }
    bool OpenConnectorProperties(IElement& e) override { return Element("Connector", e); }
    bool OpenSystemInfoProperties(IElement& e) override { return Element("SystemInfo", e); }
    std::optional<std::string> EditFreeElement(IElement& e, std::string_view title, std::string_view) override {
        calls.push_back({"FreeElement", &e, 0, std::string(title)});
        return Answer(freeElementText);
    }

    std::optional<LineFillFontChoice> EditLineFillFont(const LineFillFontRequest& request) override {
        calls.push_back({"LineFillFont"});
        seenLineFillFont = SeenLineFillFont{{request.labelNames.begin(), request.labelNames.end()},
                                            request.fonts.size(),
                                            request.lineColor,
                                            request.fillColor,
                                            request.fillEditable,
                                            request.lineWidth,
                                            request.allowApplyToAll};
        return Answer(lineFillFont);
    }
    std::optional<BackgroundColorChoice> ChooseBackgroundColor(ColorRef current) override {
        calls.push_back({"BackgroundColor"});
        seenBackgroundColor = current;
        return Answer(backgroundColor);
    }
    bool EditLayers(BackgroundPictures& pictures, const std::function<void()>& repaint) override {
        calls.push_back({"Layers"});
        return layersEdit && layersEdit(pictures, repaint);
    }
    std::optional<DuplicationSteps> EditDuplicationSteps(const DuplicationSteps& current) override {
        calls.push_back({"DuplicationSteps"});
        seenDuplicationSteps = current;
        return Answer(duplicationSteps);
    }

    std::optional<LoadDirectionsChoice> EditLoadDirections(IModel&) override {
        calls.push_back({"LoadDirections"});
        return Answer(loadDirections);
    }
    std::optional<PvCurveVariables> ChoosePvCurveVariables(const std::string& dataFile) override {
        calls.push_back({"PvCurveVariables", nullptr, 0, dataFile});
        return Answer(pvCurveVariables);
    }
    std::optional<TransferCapabilityChoice> ChooseTransferCapability(IRecordCursor&) override {
        calls.push_back({"TransferCapability"});
        return Answer(transferCapability);
    }
    bool ShowTransferCapabilityResults(const TransferCapabilityTexts& texts) override {
        calls.push_back({"TransferCapabilityResults"});
        seenTransferTexts = texts;
        return confirm;
    }
    std::optional<int> ChooseSensitivityElement(IModel&, SensitivityMode mode) override {
        calls.push_back({"Sensitivity"});
        seenSensitivityMode = mode;
        return Answer(sensitivityKey);
    }

    bool ShowDataSheet(IModel&) override {
        calls.push_back({"DataSheet"});
        return confirm;
    }
    bool SaveOrDeleteResults(std::string_view systemName, IRecordCursor&, ResultsAction action) override {
        calls.push_back({"SaveOrDeleteResults", nullptr, 0, std::string(systemName)});
        seenResultsAction = action;
        return confirm;
    }
    IDBReport* CompareResults(int systemId) override {
        calls.push_back({"CompareResults"});
        seenSystemId = systemId;
        return confirm ? comparison : nullptr;
    }

    std::optional<RemoteHost> EditHostSettings(const RemoteHost& stored) override {
        calls.push_back({"HostSettings"});
        seenHost = stored;
        return Answer(host);
    }

private:
    bool Element(const char* dialog, IElement& element, int page = 0) {
        calls.push_back({dialog, &element, page});
        return confirm;
    }
    template <typename T>
    std::optional<T> Answer(const T& value) const {
        return confirm ? std::optional<T>(value) : std::nullopt;
    }
};
