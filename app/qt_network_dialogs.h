#pragma once

#include "network_dialogs.h"

class CTavrinApp;

// The program's own dialogs of the network window, each run modally over
// the main window.
class QtNetworkDialogs final : public INetworkDialogs {
public:
    explicit QtNetworkDialogs(CTavrinApp& application) : application_(application) {}

    bool OpenBusProperties(IElement& element) override;
    bool OpenLoadProperties(IElement& element) override;
    bool OpenGeneratorProperties(IElement& element) override;
    bool OpenSynchronousCompensatorProperties(IElement& element) override;
    bool OpenSvcProperties(IElement& element) override;
    bool OpenShuntProperties(IElement& element) override;
    bool OpenCapacitorProperties(IElement& element) override;
    bool OpenReactorProperties(IElement& element) override;
    bool OpenPowerLineProperties(IElement& element) override;
    bool OpenFixedTapTransformerProperties(IElement& element) override;
    bool OpenRegulatingTransformerProperties(IElement& element, int page) override;
    bool OpenVariableBankProperties(IElement& element) override;
    bool OpenConnectorProperties(IElement& element) override;
    bool OpenSystemInfoProperties(IElement& element) override;
    std::optional<std::string> EditFreeElement(IElement& element, std::string_view title,
                                               std::string_view text) override;

    std::optional<LineFillFontChoice> EditLineFillFont(const LineFillFontRequest& request) override;
    std::optional<BackgroundColorChoice> ChooseBackgroundColor(ColorRef current) override;
    bool EditLayers(BackgroundPictures& pictures, const std::function<void()>& repaint) override;
    std::optional<DuplicationSteps> EditDuplicationSteps(const DuplicationSteps& current) override;

    std::optional<LoadDirectionsChoice> EditLoadDirections(IModel& model) override;
    std::optional<PvCurveVariables> ChoosePvCurveVariables(const std::string& dataFile) override;
    std::optional<TransferCapabilityChoice> ChooseTransferCapability(IRecordCursor& cursor) override;
    bool ShowTransferCapabilityResults(const TransferCapabilityTexts& texts) override;
    std::optional<int> ChooseSensitivityElement(IModel& model, SensitivityMode mode) override;

    bool ShowDataSheet(IModel& model) override;
    bool SaveOrDeleteResults(std::string_view systemName, IRecordCursor& cursor, ResultsAction action) override;
    IDBReport* CompareResults(int systemId) override;

    std::optional<RemoteHost> EditHostSettings(const RemoteHost& stored) override;

private:
    // What the dialogs borrow: the prompts, the settings, the results
    // database.
    CTavrinApp& application_;
};
