#pragma once

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "background_picture.h"
#include "element_factory.h"
#include "element_list.h"
#include "label_fonts.h"
#include "model_interface.h"
#include "bus_groups.h"
#include "remote_results.h"
#include "network_records.h"
#include "record_cursor.h"
#include "solver_interface.h"

// The numbers used in default element names. They only grow while the
// model lives; a document stores eight of them (buses, lines, loads, shunts,
// generators, synchronous and static var compensators, elements added), so
// the others start from 0 again when a document is opened. A default name is
// never one that its list already holds, whatever the counter says.
struct NameCounters {
    int generators = 0;
    int buses = 0;
    int lines = 0;
    int elementsAdded = 0;  // every element filed by AddElement
    int loads = 0;
    int shunts = 0;
    int capacitors = 0;
    int reactors = 0;
    int syncCompensators = 0;
    int varCompensators = 0;
    int freeLines = 0;
    int texts = 0;
};

// The model of one network document: it owns every element of the diagram in
// fifteen keyed lists, one per category, holds the diagram settings and
// background pictures, and is the one object through which the document, the
// view, the dialogs and the elements reach the network. The application sees
// it as IModel; the elements call it directly.
class CaseNumbering;

class PowerSystem final : public IModel {
public:
    // Makes the solver of a study; null when none can be made.
    using SolverFactory = ISolver* (*)();

    // The lists, by the categories that file into them.
    enum ListId : int {
        kBuses,             // 1 (every bus kind)
        kLines,             // 10 (lines and transformers)
        kGenerators,        // 4
        kSyncCompensators,  // 5
        kVarCompensators,   // 6
        kLoads,             // 3
        kShunts,            // 7
        kCapacitors,        // 8
        kVariableBanks,     // 16, 17
        kReactors,          // 9
        kFreeLines,         // 13
        kFreeTexts,         // 15
        kConnectors,        // 20, 22 (every switching kind)
        kPolygons,          // 27
        kSystemInfos,       // 28
        kListCount
    };

    // What the current tool is doing (GetToolState).
    enum ToolState : int {
        kNothingUnderWork = 0,  // after a clear, a cut or a delete
        kIdle = 1,              // a current element, or a line just finished
        kDrawingNodes = 2,      // a line is drawn node by node (the view keeps the mouse)
        kPicked = 3,            // an element was picked by a click
        kMovingSelection = 4,
        kMovingAll = 6,
        kDraggingHandle = 7,    // an end of the current element is dragged
    };

    // A model without a reference that makes its elements with `factory`,
    // which must outlive it; null when it cannot be made.
    static PowerSystem* Create(const ElementFactory& factory = StandardElementFactory());

    PowerSystem(const PowerSystem&) = delete;
    PowerSystem& operator=(const PowerSystem&) = delete;

    // --- IModel ---
    void AddRef() override;
    void Release() override;

    void SetView(IView* view) override { view_ = view; }
    void SetMessageSink(IMessageSink* sink) override { sink_ = sink; }
    IMessageSink* GetMessageSink() const override { return sink_; }
    void SetPrompt(IPrompt* prompt) override { prompt_ = prompt; }
    void SetTextMeasurer(ITextMeasurer* measurer) override { measurer_ = measurer; }
    void SetClipboard(ElementList* clipboard) override { clipboard_ = clipboard; }
    void SetColorMaps(ColorMap* nominalVoltage, ColorMap* loading, ColorMap* busVoltage) override;
    void SetLabelFontCounts(const LabelFontCounts& counts) override { labelFontCounts_ = counts; }

    Size GetDiagramSize() const override { return diagramSize_; }
    void SetDiagramSize(Size size) override { diagramSize_ = size; }
    void SetDuplicationSteps(int horizontal, int vertical, int longMove) override;
    void GetDuplicationSteps(int& horizontal, int& vertical, int& longMove) const override;
    void SetSnapToGrid(bool on, int step) override;
    int GetGridStep() const override { return gridStep_; }
    bool IsSnapToGrid() const { return snapToGrid_; }
    void SetEditMode(bool editMode) override { editMode_ = editMode; }
    bool GetEditMode() const override { return editMode_; }
    // True from a change of the network after its last solve until the next
    // one: the result labels it shows belong to a network that is no more.
    bool ResultsStale() const { return resultsStale_; }

    void SetColorMapMode(int mode) override { colorMapMode_ = mode; }
    int GetColorMapMode() const override { return colorMapMode_; }
    ColorMap* GetColorMap(int mode) const override;
    ColorRef GetFontColor() const override { return fontColor_; }
    void SetFontColor(ColorRef color) override { fontColor_ = color; }
    ColorRef GetLineColor() const override { return lineColor_; }
    void SetLineColor(ColorRef color) override { lineColor_ = color; }
    int GetLineWidth() const override { return lineWidth_; }
    void SetLineWidth(int width) override { lineWidth_ = width; }
    const LogFont& GetDefaultFont() const override { return defaultFont_; }
    void SetDefaultFont(const LogFont& font) override { defaultFont_ = font; }
    const LogFont& GetFont() const override { return font_; }
    ColorRef GetBackgroundColor() const override { return backgroundColor_; }
    void SetBackgroundColor(ColorRef color) override;
    BackgroundPictures& GetBackgroundPictures() override { return pictures_; }
    void SetContinuationResult(std::string_view text) override { continuationResult_ = text; }
    const std::string& GetContinuationResult() const override { return continuationResult_; }
    void SetRemote(bool remote) override;
    bool IsRemote() const override { return remote_; }
    void ApplyFontSettings(int classType, ColorRef color, int penWidth,
                           std::span<const FontSetting> fonts) override;

    int NewKey(int category, bool forClipboard) override;
    IElement* FindByKey(int key, const ElementList* list = nullptr) const override;
    std::optional<std::string> GetNameOfKey(int key) const override;
    double GetSystemTotal(int index) const override;

    void AddToSelection(IElement* element) override;
    bool IsSelected(int key) const override { return selection_.Contains(key); }
    bool IsMarked(int key) const override { return marked_.Contains(key); }
    bool AddToMarked(IElement* element) override;
    bool HasSelection() const override;
    bool GetNodeEditElement(IElement*& element) const override;
    bool GlueSelection() override;
    void ClearSelection() override;
    bool HandleEditEvent(int event, int tool, int flags, const Point* point, IView* view,
                         const Rect* band = nullptr) override;

    void Draw(DrawingContext& dc, const Rect* area) override;
    void GetBoundingRect(Rect& rect) override;

    void SerializeModel(Archive& archive) override { Serialize(archive); }
    // Storing: writes the model as a ".pf" document of the current version.
    // Loading: reads a document of versions 13 to 19 and adds what it holds
    // to the model (nothing is emptied first). The whole document is read
    // aside first, so a refused one changes nothing; see IModel.
    void Serialize(Archive& archive);
    // --- Studies through the solver ---
    int RunSolver(const char* inFile, const char* outFile, ILineWriter* writer) override;
    int RunContinuation(const char* file, bool toMaxLoad, double maxLoadMw) override;
    void BuildBusGroups() override;
    void InvalidateBusGroups() override { topologyChanged_ = true; }
    int GetBusGroup(int busKey) const override { return busGroups_.GetGroup(busKey); }
    // The model's own cursor over its network, with group buses on.
    IRecordCursor* GetRecordCursor() override;

    // --- Sensitivity studies, transfer capability and the reports ---
    bool VoltageSensitivity(const char* file, int quantity) override;
    bool BusSensitivityFactors(int busKey, const char* voltageFile, const char* angleFile, int& written) override;
    bool LineFlowSensitivity(int branchKey, const char* file) override;
    TransferCapabilityResult* TransferCapability(const TransferCapabilityRequest& request) override;
    void SetReportMaker(ReportMaker maker) override { reportMaker_ = maker; }
    IDBReport* PowerFlowReport(const char* text, int ignored) override;
    IDBReport* TransferCapabilityReport(TransferCapabilityResult* result, const char* text, int ignored) override;
    std::string GetStudyName(int key, const char* placeholder) const override;
    // --- Case files, the solution listing and the remote solver ---
    bool ExportIEEECommonFormat(const char* path) override;
    // Reads the solver's listing of the model's exported case into the
    // elements. A listing that cannot be read whole is reported (failure
    // level, with its line) and changes nothing: false.
    bool ReadSolution(const char* path);
    void ReadResultLine(const std::string& line) override { remoteResults_.ReadLine(line); }
    // Hands the remote solver the command that switches the current element
    // on or off, as it is now.
    void SendSwitchCommand();
    // The first line or transformer at the bus whose other end is
    // `otherBusKey`; null when none.
    IElement* FindAttached(int busKey, int category, int otherBusKey) const;

    // --- The record cursor (GetRecordCursor hands it out) ---
    // The mode handed to the elements' record writers.
    void SetRecordMode(char mode) { recordMode_ = mode; }
    // Starts the walk of the current table: 0 buses (and the groups before
    // them), 1 lines and transformers, 2 switches. Non-zero when its list
    // holds elements.
    int MoveFirst();
    // The next record of the current table; false at its end.
    bool Next(BusRecord& record);
    bool Next(BranchRecord& record);
    // Table and filter: 0 every record; buses 1 kinds 1, 3, 6, 7, 8 and 2
    // kinds 0, 2, 4, 5; branches 3 lines only and 4 transformers only; any
    // other filter none. Sets the record mode to 1.
    void SetTable(int table, int filter);
    void SetGroupBuses(bool group) { groupBuses_ = group; }

    // The solver maker of the studies (createPSSolver unless a test sets
    // another).
    void SetSolverFactory(SolverFactory factory) { solverFactory_ = factory; }
    // Takes the solved buses and branches from the solver's result cursor
    // into the elements, spreads the groups' results, and turns grouping off.
    void ApplyResults(IRecordCursor* results);
    BusGroups& GetBusGroups() { return busGroups_; }
    bool IsGroupingBuses() const { return groupBuses_; }
    // The first element of the category attached to the bus; null when none.
    IElement* FindAttached(int busKey, int category) const;

    // --- The model's own operations, for the elements and the editing code ---
    IView* GetView() const { return view_; }
    IPrompt* GetPrompt() const { return prompt_; }
    ITextMeasurer* GetTextMeasurer() const { return measurer_; }
    ElementList* GetClipboard() const { return clipboard_; }
    // Power base of per-unit values, MVA.
    double GetMvaBase() const { return 100.0; }
    // The version of the ".pf" document last read; 0 while none was. Element
    // blocks older than a field read its default.
    int GetFileVersion() const { return fileVersion_; }
    void SetFileVersion(int version) { fileVersion_ = version; }
    // Hands a non-empty command to the view for the remote-solver
    // connection.
    void SendToRemoteSolver(std::string_view command);

    // The list of a category; for any other value a message box and null.
    ElementList* GetElementList(int category);
    ElementList& List(ListId id) { return lists_[id]; }
    const ElementList& List(ListId id) const { return lists_[id]; }
    // An empty element of the class, owned by this model but not yet filed;
    // bus kinds connect the free ends lying on them at once. Null for a type
    // without a class.
    std::unique_ptr<IElement> CreateElement(int classType);
    // Files the element in the list of its category under its key and gives
    // it its default name. False when the category has no list (with a
    // message box) or the key is taken: the element then stays with the
    // caller. On success the model owns it.
    bool AddElement(IElement* element);
    // Takes the element with the key out of its list, the selection and the
    // marked elements without deleting it.
    void RemoveElement(int key);
    // Removes the element from wherever the model holds it and deletes it.
    void DeleteElement(IElement* element);
    // The first element of the category's list, in key order, named exactly
    // so (byte for byte).
    IElement* FindByName(std::string_view name, int category) const;
    const NameCounters& GetNameCounters() const { return counters_; }
    // A bus record handed back by a study: the bus with the record's key
    // takes its direction shares (Bus::ApplyShares). Nothing for a key that
    // names no bus.
    void ApplyRecordToElement(const BusRecord& record);

    // Sums the system totals over the elements' values and refreshes the
    // system-information boxes.
    void ComputeSystemTotals();

    // Adds the rectangle, normalised and grown by `inflate` (by 1 and 1 when
    // null), to the area waiting to be redrawn. Without a rectangle: redraws
    // that area in the view now and forgets it.
    void InvalidateArea(const Rect* rect, const Size* inflate = nullptr);
    const Rect& GetPendingArea() const { return pendingArea_; }

    // --- Services the elements use while they connect and move ---
    // With snapping on, each coordinate to the nearest grid line (halves
    // upwards).
    void SnapPoint(Point& point) const;
    // The element of the category's list whose body lies nearest the point,
    // its key and nearest point; the later of equally near ones. The walk
    // stops at a squared distance of 50 or less (below 226 for generators).
    // True when the best lies within 50.
    bool FindNearestInList(Point point, int category, Point& nearest, int& key);
    // One step of the walk over the category's list for elements with a
    // free end on a side of the box (`IElement::HitTestEnd`). Start with
    // `more` false; each call answers the next such element and its end and
    // leaves `more` set while entries are left to walk:
    //   bool more = false;
    //   do { if (!HitTestEnds(more, ...)) break; ... } while (more);
    bool HitTestEnds(bool& more, int category, const Rect& box, int& end, IElement*& element);
    // The element with the key attaches `otherKey` at the point; false when
    // there is no such element or no end of it lies there.
    bool ConnectAtPoint(int key, int otherKey, const Point* point);
    // An element drawn with an end key that names no element: told to the
    // message sink once per drawing of the diagram (never a prompt while
    // painting); the end is skipped.
    void ReportMissingNeighbour(const IElement& element, int key);

    // --- Editing (power_system_editing.cpp and its neighbours) ---
    // Copies every element of `source`, in key order, each moved by the
    // duplication steps: into `target` under its keys when one is given
    // (the clipboard), else filed in the model. Copies connect to copies
    // only. With selectCopies the copies become the selection. True when
    // anything was copied.
    bool PasteElements(const ElementList& source, bool selectCopies, ElementList* target, bool fromClipboard);
    // Picks the first element under the point (buses first) as the current
    // element. Without add the selection becomes that element unless it is
    // selected already; with add it toggles in the selection. A miss
    // empties the selection unless add is set. True on a hit.
    bool SelectAtPoint(Point point, bool add);
    // The selection becomes every element lying wholly inside the rectangle.
    void SelectInRect(const Rect& rect);
    void SelectListInRect(const ElementList& list, const Rect& rect);
    // Moves the selection with what hangs on it; without noRedraw the
    // diagram grows where needed and the view is redrawn (answers true).
    bool MoveSelection(int dx, int dy, bool noRedraw);
    void MoveList(const ElementList& list, int dx, int dy, bool withConnected);
    // Every element of the diagram by the same offset.
    void MoveAll(int dx, int dy);
    // Widens and heightens the diagram by 500 (each once) when the list,
    // or the whole model without one, passes its right or bottom edge; the
    // view's scroll sizes follow. True when it grew.
    bool GrowDiagram(const ElementList* list);
    // The first element of the category's list that the point hits.
    bool HitTestList(Point point, int category, IElement*& element);
    // The node mover: takes the free end of the selected current element
    // nearest the point as the handle to drag.
    bool BeginHandleDrag(Point point);
    // A mouse move for the node mover; false when the event is not its.
    bool DragHandleEvent(int tool, int flags, Point point);
    // Diagram units to the view's window: less the scroll position.
    void ToViewCoordinates(Rect& rect) const;

    // The element under work outside edit mode, and the state of the tool.
    IElement* GetCurrentElement() const { return current_; }
    void SetCurrentElement(IElement* element) { current_ = element; }
    int GetToolState() const { return toolState_; }
    void SetToolState(int state) { toolState_ = state; }
    ElementList& GetSelection() { return selection_; }
    ElementList& GetMarked() { return marked_; }

private:
    // The model's cursor as the solver sees it. Its Release does nothing:
    // the cursor lives as long as the model.
    class ModelCursor final : public IRecordCursor {
    public:
        explicit ModelCursor(PowerSystem& model) : model_(model) {}
        void SetMode(char mode) override { model_.SetRecordMode(mode); }
        int MoveFirst() override { return model_.MoveFirst(); }
        bool Next(BusRecord& record) override { return model_.Next(record); }
        bool Next(BranchRecord& record) override { return model_.Next(record); }
        int GetSetCount() override { return 0; }
        bool SelectSet(int) override { return false; }
        void SetTable(int table, int filter) override { model_.SetTable(table, filter); }
        void Release() override {}
        void SetGroupBuses(bool group) override { model_.SetGroupBuses(group); }

    private:
        PowerSystem& model_;
    };

    explicit PowerSystem(const ElementFactory& factory);
    ~PowerSystem();

    // The steps of the cursor's walk over each table.
    bool NextGroupRecord(BusRecord& record);
    bool NextBusRecord(BusRecord& record);
    bool NextBranchRecord(BranchRecord& record);
    bool NextConnectorRecord(BranchRecord& record);
    // A branch end, or the bus a generator or transformer regulates, at a
    // grouped bus takes the group's number.
    void RenumberGroupedEnds(BranchRecord& record);
    void RenumberGroupedRegulatedBus(IElement& bus, BusRecord& record);
    // A group's bus number on the records: its wire number, or while an
    // export runs a free number that fits the case file's bus field.
    int GroupNumberOnRecords(int index) const;
    void NumberGroupsForExport();
    // Every study's first steps: the bus groups built, the solver made
    // (false, with a message box, when none can be).
    bool StartStudy();
    // The host road of RunSolver.
    int SolveThroughRecords(const char* outFile, ILineWriter* writer);
    // The solver of a sensitivity or transfer study: the bus groups built
    // and the solver made, without a message when none can be; and its
    // end, on every way out of the study.
    bool CreateStudySolver();
    void EndStudySolver();
    // A report of the report maker on the text measurer; null without them.
    IDBReport* NewReport();
    // The file road of RunSolver and its two ends: the case composed (and
    // written) with its numbering, the listing read back through it.
    int SolveThroughFiles(const char* inFile, const char* outFile);
    bool ComposeIeeeCase(std::string& text, CaseNumbering& numbering);
    bool ReadSolution(const char* path, CaseNumbering& numbering);
    // Solved records into the elements, as ApplyResults does; a bus record
    // carries its bank's step only from the solver's own cursor.
    void ApplyRecords(const std::vector<BusRecord>& buses, const std::vector<BranchRecord>& branches,
                      bool bankSteps);
    // The results of one record into the bus or branch with its key.
    bool ApplyBusResult(const BusRecord& record, bool bankStep);
    void ApplyBranchResult(const BranchRecord& record);
    void ReportWarning(const std::string& text) const;
    // The element's limit check, its warning to the message sink.
    void CheckLimitsOf(IElement& element) const;

    // The list of a category without a message; null when there is none.
    ElementList* ListOfCategory(int category);
    const ElementList* ListOfCategory(int category) const;
    // The list that holds this very element, or null.
    ElementList* ListHolding(const IElement* element);
    // The default name of a new element of the category (counting it), or
    // nothing when the kind takes none.
    std::optional<std::string> NextDefaultName(int category, const ElementList& list);
    void ShowMessageBox(std::string_view text) const;

    // The document's sections (power_system_document.cpp).
    void WriteDocument(Archive& archive);
    void ReadDocument(Archive& archive);
    void ReadListSection(Archive& archive, ListId id);
    // Takes over what a model that read a document holds; refused when a
    // key it read is one this model has already.
    void AdoptDocument(PowerSystem& read);
    [[noreturn]] void RefuseDocument(const std::string& reason) const;

    const ElementFactory& factory_;
    int references_ = 0;

    // Services lent by the application.
    IView* view_ = nullptr;
    IMessageSink* sink_ = nullptr;
    IPrompt* prompt_ = nullptr;
    ITextMeasurer* measurer_ = nullptr;
    ElementList* clipboard_ = nullptr;
    std::array<ColorMap*, 3> colorMaps_{};  // nominal voltage, loading, bus voltage
    LabelFontCounts labelFontCounts_{};

    // Settings.
    Size diagramSize_{2048, 1024};
    int duplicationHorizontal_ = 1;
    int duplicationVertical_ = 1;
    int duplicationLongMove_ = 10;
    bool snapToGrid_ = true;
    int gridStep_ = 10;
    bool editMode_ = true;
    bool remote_ = false;
    int fileVersion_ = 0;
    int colorMapMode_ = kNormalColors;
    bool resultsStale_ = false;
    LogFont font_;  // the diagram's drawing font
    ColorRef fontColor_ = kBlack;
    ColorRef lineColor_ = kBlack;
    LogFont defaultFont_;  // default label font of new elements
    ColorRef backgroundColor_ = kWhite;
    int lineWidth_ = 0;
    std::string continuationResult_;
    BackgroundPictures pictures_;

    std::array<double, 10> totals_{};
    NameCounters counters_;

    // The steps of the edit events (power_system_editing.cpp).
    bool PlaceElement(int tool, Point point);
    bool DrawNodeByNode(int tool, Point point);
    bool ApplyEditEvent(int event, int tool, int flags, const Point* point, IView* view, const Rect* band);
    bool ChangesWhatASolveGives(int event, int flags) const;
    bool EndNodeDrawing(Point point);
    bool CancelNodeDrawing();
    bool MoveWithMouse(int flags, Point point);
    bool HandleKey(int key, int count);
    bool DeleteSelected();
    bool DeleteCurrent();
    bool OpenCurrentProperties();
    bool CutOrCopy(bool cut);
    bool PasteAt(Point point);
    // The element of the class at the point under a new key of the
    // category, made with the kind's flag, filed and current; null (nothing
    // kept) when it cannot be made or filed.
    IElement* MakeAtPoint(int classType, int category, int flag, Point point);
    // Deselects every selected element and empties the selection, leaving
    // the current element and the tool state alone.
    void DeselectAll();
    // The selected flags again as the selection list has them (hit tests
    // clear the flags of the elements they miss); `except` keeps its own.
    void ReassertSelection(const IElement* except);
    // The whole view window, now.
    void RedrawView();
    // The selection's size changed: grow where needed and redraw.
    void GrowAndRedraw(const ElementList* list);

    // Editing state.
    IElement* current_ = nullptr;
    int toolState_ = 1;
    Point dragPoint_;
    int dragHandle_ = -1;  // the end or node dragged by the node mover
    Rect pendingArea_;
    bool missingNeighbourReported_ = false;  // during the current drawing

    // The selection and the marked elements only refer to elements of the
    // lists; the lists own theirs.
    ElementList selection_;
    ElementList marked_;
    std::array<ElementList, kListCount> lists_;

    // The solver study.
    SolverFactory solverFactory_ = &createPSSolver;
    ISolver* solver_ = nullptr;  // only while a study runs
    ReportMaker reportMaker_ = nullptr;
    BusGroups busGroups_;
    bool topologyChanged_ = true;

    // The record cursor.
    ModelCursor cursor_{*this};
    char recordMode_ = 0;
    int table_ = 0;
    int filter_ = 0;
    int walkTable_ = 0;
    ElementList::Map::const_iterator walkPosition_;
    ElementList::Map::const_iterator walkEnd_;
    int groupCounter_ = 0;
    bool groupBuses_ = false;
    std::vector<int> exportGroupNumbers_;  // by group index; empty outside an export

    RemoteResults remoteResults_{*this};
};
