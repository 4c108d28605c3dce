#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "background_picture.h"
#include "color.h"
#include "drawing_context.h"
#include "drawing_records.h"
#include "geometry.h"
#include "label_fonts.h"

class Archive;
class ColorMap;
class ElementList;
class FontSetting;
class IDBReport;
class IElement;
class ILineWriter;
class IMessageSink;
class IRecordCursor;
class IPrompt;
class ITextMeasurer;
class IView;
class TransferCapabilityResult;
struct BusRecord;
struct TransferCapabilityRequest;

// Colour-map modes: how network elements are coloured when drawn.
enum ColorMapMode : int {
    kNormalColors = 0,
    kNominalVoltageColors = 1,
    kLoadingColors = 2,
    kBusVoltageColors = 3,
};

// The edit events that the view turns mouse and keyboard input into
// (IModel::HandleEditEvent). Codes above 17 do nothing.
namespace EditEvent {
inline constexpr int ButtonDown = 0;  // left button pressed
inline constexpr int ButtonUp = 1;  // left button released
inline constexpr int ContextMenu = 2;  // right button released
inline constexpr int DoubleClick = 3;  // or Ctrl + left button: ends a line, else properties
inline constexpr int MouseMove = 4;
inline constexpr int ClearSelection = 5;
inline constexpr int Key = 6;  // flags: the virtual key code; point->x: the repeat count
inline constexpr int Switch = 7;  // the current element in or out of service
inline constexpr int Disconnect = 8;  // the current element lets go of both ends
inline constexpr int DeleteCurrent = 9;
inline constexpr int Properties = 10;
inline constexpr int FillAndFont = 11;
inline constexpr int FillAndFontAtPoint = 12;  // Ctrl + right button
inline constexpr int Cut = 13;
inline constexpr int Copy = 14;
inline constexpr int Paste = 15;  // at the point
inline constexpr int Duplicate = 16;
inline constexpr int SelectInRect = 17;  // the band rectangle
}  // namespace EditEvent

// The tools that are no element class type; every other tool is the class
// type of the element it places (14 the arrowed free line).
namespace EditTool {
inline constexpr int Selection = 0;
inline constexpr int MoveAll = 26;
inline constexpr int MoveNodes = 29;
}  // namespace EditTool

// The mouse flags of an edit event.
namespace MouseFlag {
inline constexpr int LeftButton = 1;
inline constexpr int Shift = 4;
}  // namespace MouseFlag

// The network model of one document as the document, the view and the
// dialogs reach it. The model reaches the application only through what is
// set on it here: the colour maps, the sizes of the label-font lists, the
// element clipboard, the message sink, the view, the prompts and the text
// measurer. Every pointer set on it is borrowed and must outlive the model
// or be set to null first.
//
// Lifetime: CreatePowerSystem makes a model with no reference; its one
// owner (the network document) takes a reference with AddRef and gives it
// back with Release when it is destroyed, which deletes the model. Nobody
// else releases it; ModelReference below does both ends.
class IModel {
public:
    virtual void AddRef() = 0;
    virtual void Release() = 0;

    // --- What the application lends the model ---
    virtual void SetView(IView* view) = 0;
    virtual void SetMessageSink(IMessageSink* sink) = 0;
    virtual IMessageSink* GetMessageSink() const = 0;
    virtual void SetPrompt(IPrompt* prompt) = 0;
    virtual void SetTextMeasurer(ITextMeasurer* measurer) = 0;
    // The application's element clipboard, for cut, copy and paste.
    virtual void SetClipboard(ElementList* clipboard) = 0;
    virtual void SetColorMaps(ColorMap* nominalVoltage, ColorMap* loading, ColorMap* busVoltage) = 0;
    virtual void SetLabelFontCounts(const LabelFontCounts& counts) = 0;

    // --- Diagram settings ---
    virtual Size GetDiagramSize() const = 0;
    virtual void SetDiagramSize(Size size) = 0;
    virtual void SetDuplicationSteps(int horizontal, int vertical, int longMove) = 0;
    virtual void GetDuplicationSteps(int& horizontal, int& vertical, int& longMove) const = 0;
    virtual void SetSnapToGrid(bool on, int step) = 0;
    virtual int GetGridStep() const = 0;
    virtual void SetEditMode(bool editMode) = 0;
    virtual bool GetEditMode() const = 0;
    virtual void SetColorMapMode(int mode) = 0;
    virtual int GetColorMapMode() const = 0;
    // Mode 1 nominal voltage, 2 loading, 3 bus voltage, -1 the current
    // mode; null for any other mode or a map not set.
    virtual ColorMap* GetColorMap(int mode) const = 0;
    // The document's visual defaults for new elements.
    virtual ColorRef GetFontColor() const = 0;
    virtual void SetFontColor(ColorRef color) = 0;
    virtual ColorRef GetLineColor() const = 0;
    virtual void SetLineColor(ColorRef color) = 0;
    virtual int GetLineWidth() const = 0;
    virtual void SetLineWidth(int width) = 0;
    virtual const LogFont& GetDefaultFont() const = 0;
    virtual void SetDefaultFont(const LogFont& font) = 0;
    // The font the diagram is drawn with.
    virtual const LogFont& GetFont() const = 0;
    virtual ColorRef GetBackgroundColor() const = 0;
    // Also the fill of every network element but the buses.
    virtual void SetBackgroundColor(ColorRef color) = 0;
    virtual BackgroundPictures& GetBackgroundPictures() = 0;
    // The directions of a continuation's load increase, one bus at a time:
    // the bus with the record's key takes the record's totals of kPg (when
    // it has generation) and of kPl and kQl (when it has load), spread over
    // its elements (Bus::ApplyShares). Nothing for a key that names no bus.
    virtual void ApplyRecordToElement(const BusRecord& record) = 0;
    // The continuation result text kept with the document.
    virtual void SetContinuationResult(std::string_view text) = 0;
    virtual const std::string& GetContinuationResult() const = 0;
    // The document is a copy received from the remote solver server; the
    // buses are named afresh for its result lines.
    virtual void SetRemote(bool remote) = 0;
    virtual bool IsRemote() const = 0;
    // Colour, pen width and label fonts for every element of the list that
    // the class type picks that takes the same label fonts as that type.
    virtual void ApplyFontSettings(int classType, ColorRef color, int penWidth,
                                   std::span<const FontSetting> fonts) = 0;

    // --- Elements ---
    // A new key of the category, unique in its list (or in the clipboard);
    // 0 when there is none.
    virtual int NewKey(int category, bool forClipboard) = 0;
    virtual IElement* FindByKey(int key, const ElementList* list = nullptr) const = 0;
    // The element's name; nothing for keys 0 and -1 and absent elements
    // (a bus group's key names no element).
    virtual std::optional<std::string> GetNameOfKey(int key) const = 0;
    // The name a study's rows, graphs and reports give a key: its element's
    // name, "BusGroup n" for a bus group, else the placeholder.
    virtual std::string GetStudyName(int key, const char* placeholder) const = 0;
    // 0-9: load P, Q; generation P, Q; losses P, Q; shunt P, Q; import P, Q
    // (MW, Mvar); 8888.88 for any other index.
    virtual double GetSystemTotal(int index) const = 0;

    // --- Selection ---
    virtual void AddToSelection(IElement* element) = 0;
    virtual bool IsSelected(int key) const = 0;
    virtual bool IsMarked(int key) const = 0;
    virtual bool AddToMarked(IElement* element) = 0;
    virtual bool HasSelection() const = 0;
    // The current element when it has a free end and it or a label of it
    // is selected.
    virtual bool GetNodeEditElement(IElement*& element) const = 0;
    // Connects the free ends of the selected elements; true when any did.
    virtual bool GlueSelection() = 0;
    virtual void ClearSelection() = 0;

    // --- Editing ---
    // One edit event (EditEvent) with the current tool (EditTool or a class
    // type), the mouse flags (MouseFlag) or the key code, and the event's
    // diagram point (document coordinates, snapped by the view where it
    // snaps); for EditEvent::Key the point holds the repeat count in x, 0
    // for a single step. `band` is the rectangle of EditEvent::SelectInRect
    // in document coordinates. The view is kept for the messages that
    // follow. True when the document changed or must be redrawn.
    virtual bool HandleEditEvent(int event, int tool, int flags, const Point* point, IView* view,
                                 const Rect* band = nullptr) = 0;

    // --- Drawing ---
    // Pictures, then the elements that meet `area` (all without one).
    virtual void Draw(DrawingContext& dc, const Rect* area) = 0;
    // The rectangle around all elements and shown pictures; `rect` keeps
    // what the caller put in when there is nothing.
    virtual void GetBoundingRect(Rect& rect) = 0;

    // --- The document ---
    // Writes the whole model as a ".pf" document, or reads one into it.
    // A document that cannot be read is refused whole: the reason goes to
    // the message sink (failure level) and ArchiveError is thrown; the model
    // is then left exactly as it was.
    virtual void SerializeModel(Archive& archive) = 0;
    // --- Studies through the solver ---
    // Power flow. Host road (no inFile): the network goes to the solver as
    // records, with outFile the solver writes it in the IEEE common data
    // format, else with a writer its report; the results come back into the
    // elements. File road: the model writes its network to inFile (IEEE
    // common data format), the solver solves it and writes its listing to
    // outFile (inFile with ".lst" added without one), which the model reads
    // back; both files are deleted (a remote copy keeps the listing). 1
    // solved, 0 not.
    virtual int RunSolver(const char* inFile, const char* outFile, ILineWriter* writer) = 0;
    // Continuation (PV curve) into the table file, or to a maximum total
    // load (MW) whose state the diagram then shows. 0 when it failed.
    virtual int RunContinuation(const char* file, bool toMaxLoad, double maxLoadMw) = 0;
    // Rebuilds the bus groups when the topology changed since the last
    // build; InvalidateBusGroups marks it changed (every edit of topology or
    // of a switch state).
    virtual void BuildBusGroups() = 0;
    virtual void InvalidateBusGroups() = 0;
    // The group of the bus, or -1.
    virtual int GetBusGroup(int busKey) const = 0;
    virtual IRecordCursor* GetRecordCursor() = 0;
    // The model's own IEEE common-format file of its network (bus groups as
    // one bus each); false, with a message box, when it cannot be written.
    virtual bool ExportIEEECommonFormat(const char* path) = 0;
    // One line of result text from the remote solver server.
    virtual void ReadResultLine(const std::string& line) = 0;

    // --- Sensitivity studies, transfer capability and the reports ---
    // Each study writes graph data files ("Names x Sensitivity") and answers
    // false when it could not solve or could not write a file completely.
    // Response of every bus to a small load step at every bus: quantity 0
    // angles against active power, else voltages against reactive power;
    // scaled so that the first row is 100 or -100.
    virtual bool VoltageSensitivity(const char* file, int quantity) = 0;
    // The chosen bus's angle per unit of active power and its voltage per
    // unit of reactive power injected at each bus. `written` gets bit 1 when the voltage file was written, bit 2
    // when the angle file was.
    virtual bool BusSensitivityFactors(int busKey, const char* voltageFile, const char* angleFile, int& written) = 0;
    // The branch's current per step of voltage at each voltage-controlled
    // bus, A per p.u.
    virtual bool LineFlowSensitivity(int branchKey, const char* file) = 0;
    // The active power that can move from the source to the destination bus
    // before a power flow fails or a branch exceeds its rating; null when
    // the study could not start. The caller releases the result.
    virtual TransferCapabilityResult* TransferCapability(const TransferCapabilityRequest& request) = 0;
    // Makes the report object of the two reports (the report library's
    // createReport); without one the reports are null.
    using ReportMaker = IDBReport* (*)(ITextMeasurer& display);
    virtual void SetReportMaker(ReportMaker maker) = 0;
    // The results the elements hold as a paged report titled "Power Flow
    // Results: " and the text; the caller gets its one reference.
    virtual IDBReport* PowerFlowReport(const char* text, int ignored) = 0;
    // Both cases of a transfer-capability result and their differences;
    // null without a complete result.
    virtual IDBReport* TransferCapabilityReport(TransferCapabilityResult* result, const char* text, int ignored) = 0;

protected:
    ~IModel() = default;
};

// A new model without a reference; null when it cannot be made.
IModel* CreatePowerSystem();

// The one reference of the model's owner: takes it on construction and
// gives it back on destruction.
class ModelReference {
public:
    explicit ModelReference(IModel* model) : model_(model) {
        if (model_) model_->AddRef();
    }
    ModelReference(const ModelReference&) = delete;
    ModelReference& operator=(const ModelReference&) = delete;
    ~ModelReference() {
        if (model_) model_->Release();
    }

    IModel* get() const { return model_; }
    IModel* operator->() const { return model_; }
    explicit operator bool() const { return model_ != nullptr; }

private:
    IModel* model_;
};
