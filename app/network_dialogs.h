#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "background_picture.h"
#include "color.h"

class FontSetting;
class IDBReport;
class IElement;
class IModel;
class IRecordCursor;

// What the line, fill and font dialog is shown: one font setting per
// label (edited in place on OK), the names of the labels, and the
// element's (or the defaults') colours and width.
struct LineFillFontRequest {
    std::span<FontSetting> fonts;
    std::span<const std::string_view> labelNames;
    ColorRef lineColor = kBlack;
    ColorRef fillColor = kWhite;
    bool fillEditable = false;
    int lineWidth = 1;
    // Offers "Apply to all existing"; hidden otherwise.
    bool allowApplyToAll = false;
};

struct LineFillFontChoice {
    ColorRef lineColor = kBlack;
    ColorRef fillColor = kWhite;
    int lineWidth = 1;
    bool applyToAll = false;
};

struct BackgroundColorChoice {
    ColorRef color = kWhite;
    bool setAsDefault = false;
};

// The three steps of the Duplicate command.
struct DuplicationSteps {
    int horizontal = 1;
    int vertical = 1;
    int longMove = 10;
    bool operator==(const DuplicationSteps&) const = default;
};

// The run options the load-directions dialog takes for the PV curves; the
// directions themselves and the output path go to the model at OK.
struct LoadDirectionsChoice {
    bool createOutput = false;
    bool stopAtLoad = false;
    double totalLoad = 0;  // MW
};

// The columns of a continuation data file chosen for the PV curves.
struct PvCurveVariables {
    std::string xName;
    std::vector<std::string> yNames;  // in the order chosen
};

struct TransferCapabilityChoice {
    int sourceKey = 0;
    int destinationKey = 0;
    std::string sourceName;
    std::string destinationName;
    int initialStep = 1;
    bool stopEnabled = false;
    double stopTransfer = 50.0;  // MW
    bool voltageChart = false;
    bool angleChart = false;
    bool reactiveChart = false;
    bool lineLoadChart = false;
};

// The five texts of the transfer-capability results, as shown.
struct TransferCapabilityTexts {
    std::string source;
    std::string destination;
    std::string transfer;
    std::string line;
    std::string loadFactor;
};

enum class SensitivityMode : int { Buses = 1, Branches = 2 };
enum class ResultsAction { Save, Delete };

struct RemoteHost {
    std::string name;
    int port = 2503;
    bool operator==(const RemoteHost&) const = default;
};

// Every modal dialog the network window opens, for a command or for the
// model's requests. Each runs modally and has done its work when it
// returns; a cancelled dialog answers false or nothing. The program plugs
// in its own set; tests plug in a scripted one.
class INetworkDialogs {
public:
    // --- Element properties, one dialog per kind; true when closed with OK ---
    virtual bool OpenBusProperties(IElement& element) = 0;
    virtual bool OpenLoadProperties(IElement& element) = 0;
    virtual bool OpenGeneratorProperties(IElement& element) = 0;
    virtual bool OpenSynchronousCompensatorProperties(IElement& element) = 0;
    virtual bool OpenSvcProperties(IElement& element) = 0;
    virtual bool OpenShuntProperties(IElement& element) = 0;
    virtual bool OpenCapacitorProperties(IElement& element) = 0;
    virtual bool OpenReactorProperties(IElement& element) = 0;
    virtual bool OpenPowerLineProperties(IElement& element) = 0;
    virtual bool OpenFixedTapTransformerProperties(IElement& element) = 0;
    // Opened on the page given.
    virtual bool OpenRegulatingTransformerProperties(IElement& element, int page) = 0;
    virtual bool OpenVariableBankProperties(IElement& element) = 0;
    virtual bool OpenConnectorProperties(IElement& element) = 0;
    virtual bool OpenSystemInfoProperties(IElement& element) = 0;
    // A free line, text or polygon: the caption (empty: the dialog's own,
    // without the "Show text" check) and the text to edit; the text typed
    // on OK.
    virtual std::optional<std::string> EditFreeElement(IElement& element, std::string_view title,
                                                       std::string_view text) = 0;

    // --- Appearance ---
    virtual std::optional<LineFillFontChoice> EditLineFillFont(const LineFillFontRequest& request) = 0;
    virtual std::optional<BackgroundColorChoice> ChooseBackgroundColor(ColorRef current) = 0;
    // Edits the pictures in place and calls `repaint` after each change
    // that shows; true when anything changed, whichever button closed it.
    virtual bool EditLayers(BackgroundPictures& pictures, const std::function<void()>& repaint) = 0;
    virtual std::optional<DuplicationSteps> EditDuplicationSteps(const DuplicationSteps& current) = 0;

    // --- Studies ---
    virtual std::optional<LoadDirectionsChoice> EditLoadDirections(IModel& model) = 0;
    // Nothing unless the file gave a usable curve and a column was chosen.
    virtual std::optional<PvCurveVariables> ChoosePvCurveVariables(const std::string& dataFile) = 0;
    virtual std::optional<TransferCapabilityChoice> ChooseTransferCapability(IRecordCursor& cursor) = 0;
    // True when "Create Report" closed it.
    virtual bool ShowTransferCapabilityResults(const TransferCapabilityTexts& texts) = 0;
    // The key of the bus or branch chosen.
    virtual std::optional<int> ChooseSensitivityElement(IModel& model, SensitivityMode mode) = 0;

    // --- Results ---
    // True when "Print" closed the sheet.
    virtual bool ShowDataSheet(IModel& model) = 0;
    virtual bool SaveOrDeleteResults(std::string_view systemName, IRecordCursor& cursor, ResultsAction action) = 0;
    // The comparison report made (the caller takes its reference); null
    // when none was.
    virtual IDBReport* CompareResults(int systemId) = 0;

    // --- The remote solver ---
    virtual std::optional<RemoteHost> EditHostSettings(const RemoteHost& stored) = 0;

protected:
    ~INetworkDialogs() = default;
};
