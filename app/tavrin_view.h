#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QCursor>
#include <QPoint>

#include "color.h"
#include "diagram_pages.h"
#include "network_edit_event.h"
#include "print_job.h"
#include "recorded_picture.h"
#include "view.h"
#include "view_base.h"

class CMainFrame;
class CTavrinDoc;
class DiagramArea;
class IDBReport;
class IModel;
struct CmdUI;
class INetworkDialogs;
class QMenu;
class QPainter;
class QRubberBand;
class QWidget;
enum class ResultsAction;

// The scrolling window of a network document. It draws the one-line
// diagram, turns mouse and keys into the model's edit events, keeps the
// drawing tool and its cursor, and answers the model's requests (redraws,
// scroll sizes, the mouse, dialogs, the context menu, the status text).
// All editing itself is the model's. It prints the diagram tiled over as
// many pages as it needs and exports it as pictures and as a case file.
class CTavrinView : public CView, public IView, public IPrintableView {
public:
    // The commands of the element's context menu.
    enum ContextCommand : int {
        kDisconnect = 33000,
        kSwitchOnOff = 33001,
        kDeleteElement = 33002,
        kElementProperties = 33003,
        kFillAndFont = 33004,
    };
    static constexpr const char* kDrawingHint =
        "To complete drawing press Ctrl+Left mouse button, or lefr mouse button double click, or click on a node or "
        "a busbar.";

    explicit CTavrinView(CTavrinDoc& document);
    ~CTavrinView() override;

    CTavrinDoc* GetDocument() const;

    // Gives the model this view, its snapping and, for a new document, the
    // visual defaults of the user's settings; sizes the scroll bars to the
    // diagram.
    void OnInitialUpdate() override;
    // The network window's own keys: the studies, editing, snapping and the
    // page-end moves.
    std::vector<KeyBinding> WindowKeys() const override;

    // The widget that shows the diagram and takes the mouse and the keys.
    QWidget* Canvas() const;
    // The cursor resource shown over the diagram.
    int CursorId() const { return cursorId_; }
    int ToolCommand() const { return toolCommand_; }
    bool EditMode() const { return editMode_; }
    // Set by the edit-mode command, and on the model with it.
    void SetEditMode(bool on);
    // Whom the model's dialog requests and the commands' dialogs go to;
    // none answers "cancelled".
    void SetDialogs(INetworkDialogs* dialogs) { dialogs_ = dialogs; }
    INetworkDialogs* Dialogs() const { return dialogs_; }

    // Solves the power flow and shows the results on the diagram; a remote
    // document asks the remote solver instead.
    void SolvePowerFlow();

    // Snaps a diagram point to the grid when snapping is on.
    Point Snap(Point p) const;

    // Printing: the diagram is recorded once per job and each page shows
    // its piece of it, laid out for the printer's paper.
    bool OnPreparePrinting(CPrintInfo& info) override;
    void OnBeginPrinting(CPrintInfo& info, const QPaintDevice& printer) override;
    void OnPrint(QPainter& painter, const CPrintInfo& info) override;
    // The pages of the last job or preview; none before the first.
    const std::optional<DiagramPages>& PrintPages() const { return printPages_; }

    // IView
    void InvalidateRect(const Rect& area) override;
    void InvalidateAll() override;
    void Update() override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    void SetScrollSizes(Size total) override;
    Point GetScrollPosition() override;
    bool OpenProperties(IElement* element, int page) override;
    void ToolStateChanged(int flags, int code) override;
    void OpenContextMenu(IElement* element, bool restricted) override;
    std::optional<ColorRef> EditFillAndFont(IElement* element, std::span<FontSetting> fonts) override;
    void SendToRemoteSolver(std::string_view bytes) override;
    void NodeDrawingChanged(bool started) override;

private:
    friend class DiagramArea;

    // Drawing: one fill of the background, then the diagram over it.
    void OnDraw(QPainter& painter, const QRect& dirty);

    // Input, in window (client) pixels; `flags` are MouseFlag bits.
    void OnLButtonDown(int flags, QPoint client);
    void OnLButtonDblClk(int flags, QPoint client);
    void OnLButtonUp(int flags, QPoint client);
    void OnRButtonUp(int flags, QPoint client, QPoint screen);
    void OnMouseMove(int flags, QPoint client);
    void OnKeyUp(int virtualKey);

    // The client point in diagram units, snapped when `snap` is set and
    // snapping is on.
    Point ToDiagram(QPoint client, bool snap) const;
    bool SendEvent(int event, const EditEventArgs& args);
    // The free element's dialog over its name; true when closed with OK.
    bool EditFreeElementName(IElement& element, std::string_view title);
    bool IsRemote() const;
    int Tool() const;

    // The rubber band of a selection dragged over empty diagram.
    void StartBand(int flags, QPoint client);
    void DragBand(QPoint client);
    void EndBand();

    void RegisterCommands();
    void RegisterMenuCommands();
    // Printing and the exports.
    void RegisterOutputCommands();
    // The diagram to a metafile or bitmap file the user names.
    void OnExportPicture();
    // The diagram to the clipboard as a metafile, with a PNG beside it.
    void OnSendToClipboard();
    // The network, solved, to a case file in the IEEE common data format.
    void OnExportIeeeCommonFormat();
    IModel* Model() const;
    // Tells the user that the file could not be written.
    void ReportUnwritable(const QString& path);
    CMainFrame* MainFrame() const;
    // Edit mode with something selected: what the editing commands need.
    bool HasEditableSelection() const;
    // An editing event, which needs edit mode.
    void OnEditEvent(int event, const EditEventArgs& args);
    void OnPaste();
    void OnGlue();
    void OnRefresh();
    void OnEditMode();
    void OnSnapToGrid();
    void OnToolsPalette();
    void OnColorMap(int mode);
    // Checked while the model shows the mode; the checked one switches the
    // legend, so that it follows the active window.
    void UpdateColorMap(CmdUI& ui, int mode);
    void OnBackgroundColor();
    void OnElementVisualProperties();
    void OnLayers();
    void OnDuplicationSettings();
    void RegisterStudyCommands();

    // The studies and the results (tavrin_view_studies.cpp).
    void OnPvCurves();
    void OnTransferCapability();
    void OnVoltageSensitivity();
    void OnBusSensitivityFactors();
    void OnLineFlowSensitivity();
    void OnPreviewResults();
    void OnShowResultsInTable();
    void OnSaveOrDeleteResults(ResultsAction action);
    void OnCompareResults();
    // The results database's number of the system named as the document;
    // -1 when it has none or the query failed (the user was told).
    int SystemIdOfDocument();
    // The document's title, single-byte (Windows-1250) as the model's texts.
    std::string DocumentTitle() const;
    void Warn(const char* text);
    // A report made, in a results window of its own.
    void OpenReport(IDBReport* report);
    void OnTool(int command);
    void OnNodeMover();
    void UseCursor(int id);
    void SetStatusText(const QString& text);

    DiagramArea* area_;
    QRubberBand* band_;
    int bandFlags_ = 0;  // the mouse flags that started the band; 0 when there is none
    QPoint bandStart_{-1, -1};
    QPoint bandEnd_{-1, -1};
    int toolCommand_;
    int cursorId_;
    bool editMode_ = true;
    bool snapToGrid_ = true;
    int gridStep_ = 10;
    Size diagramSize_;
    QPoint contextMenuAt_;  // screen pixels of the last right-button release
    INetworkDialogs* dialogs_ = nullptr;
    std::optional<DiagramPages> printPages_;
    std::unique_ptr<RecordedPicture> printPicture_;
};
