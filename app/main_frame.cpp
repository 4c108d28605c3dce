#include "main_frame.h"

#include <algorithm>

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "child_frame.h"
#include "column_tool_bar.h"
#include "command_ids.h"
#include "dlg_messages.h"
#include "doc_template.h"
#include "document_base.h"
#include "image_strip.h"
#include "recent_file_list.h"
#include "remote_solver_link.h"
#include "tool_bar_buttons.h"
#include "view_base.h"

namespace {

constexpr int kRecentFileCount = 5;

struct MenuCommand {
    int id;
    const char* text;
    bool checkable = false;
};
// The network window's commands. Their keys come with the window (its
// WindowKeys): the report window gives some of the same keys to its own
// commands.
constexpr MenuCommand kNetworkCommands[] = {
    {Command::FileExportPicture, "Export to Picture ..."},
    {Command::FileExportIeeeCommonFormat, "Export to IEEE Common Format ..."},
    {Command::EditCut, "Cu&t\tCtrl+X"},
    {Command::EditCopy, "&Copy\tCtrl+C"},
    {Command::EditPaste, "&Paste\tCtrl+V"},
    {Command::EditDuplicate, "Duplicate \tCtrl+D"},
    {Command::EditSendToClipboardAsEmf, "Send to Clip&board as EMF\tCtrl+B"},
    {Command::EditGlue, "Glue\tCtrl+G"},
    {Command::EditRefresh, "Refresh\tAlt+R"},
    {Command::ToolsPalette, "Tools &Palette", true},
    {Command::NormalColorMap, "&Normal Color Map", true},
    {Command::NominalVoltageColorMap, "N&ominal Voltage Color Map", true},
    {Command::LoadingColorMap, "&Loading Color Map", true},
    {Command::VoltageLevelColorMap, "&Voltage Level Color Map", true},
    {Command::BackgroundColor, "&Background Color..."},
    {Command::ElementVisualProperties, "Element &Visual Properties..."},
    {Command::EditMode, "&Edit Mode", true},
    {Command::SnapToGrid, "Snap to Grid", true},
    {Command::Layers, "&Layers..."},
    {Command::DuplicationSettings, "Settings..."},
    {Command::SolvePowerFlow, "Solve &Power Flow\tF5"},
    {Command::SolveProblem, "Solve Problem"},
    {Command::SolveLoadFlow, "Solve Load Flow"},
    {Command::PvCurves, "Calculate &Voltage Profiles (PV Curves)...\tF6"},
    {Command::TransferCapability, "Calculate &Transfer Capability...\tF7"},
    {Command::SupplementaryMotionSensitivity, "Sensitivity of &Supplementary Motion\tF8"},
    {Command::BusSensitivityFactors, "&Linear Sensitivity Factors For Given Bus...\tF9"},
    {Command::PowerTransferDistributionFactors, "Power Transfer Distribution &Factors..."},
    {Command::ShowResultsInTable, "Show Results in &Table...\tCtrl+T"},
    {Command::PreviewResults, "Preview &Results\tCtrl+R"},
    {Command::GenerateGraphFromFile, "&Generate Graph From File.."},
    {Command::SaveResultsToDatabase, "&Save to Database..."},
    {Command::DeleteResultsFromDatabase, "&Delete from Database..."},
    {Command::CompareResults, "&Compare..."},
};
constexpr const char* kIdleText = "Ready";
// Where the two lasting windows first show, from the edges of the screen's
// working area, until the user moves them.
constexpr int kFirstPlaceMargin = 40;  // pixels

}  // namespace

CMainFrame::CMainFrame(CCmdTarget& application, std::function<bool()> mayClose, const Services& services)
    : application_(application),
      mayClose_(std::move(mayClose)),
      remoteLink_(services.remoteLink),
      mdiArea_(new QMdiArea(this)),
      commands_(*this, [this] { return Road(); }) {
    // Shown maximised by the application; restored, three quarters of the
    // screen's working area.
    if (QScreen* shown = screen()) resize(shown->availableSize() * 3 / 4);
    setCentralWidget(mdiArea_);
    CreateCommands();
    CreateMenus();
    CreateStandardBar();
    CreateToolsBar();
    CreateStatusBar();
    CreateMessageWindows(services);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this] {
        CView* view = GetActiveView();
        commands_.SetWindowKeys(view != nullptr ? view->WindowKeys() : std::vector<KeyBinding>{});
        commands_.UpdateAll();
    });
    // Whatever changed a command's state (a selection, a finished study),
    // the menus, buttons and keys show it once the program is idle again.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { commands_.UpdateAll(); });
    }
    OnCommand(Command::WindowNew, [this] { OnWindowNew(); });
    OnCommand(Command::WindowCascade, [this] { mdiArea_->cascadeSubWindows(); });
    OnCommand(Command::WindowTile, [this] { mdiArea_->tileSubWindows(); });
    OnCommand(Command::WindowArrange, [this] { mdiArea_->tileSubWindows(); });
    OnCommand(Command::RemoteConnect, [this] { OnRemoteConnect(); });
    commands_.UpdateAll();
}

CMainFrame::~CMainFrame() {
    // The document windows go while the frame is still whole.
    for (CChildFrame* frame : ChildFrames()) delete frame;
}

void CMainFrame::CreateCommands() {
    commands_.Add(Command::FileNew, "&New", QKeySequence::New);
    commands_.Add(Command::FileOpen, "&Open...", QKeySequence::Open);
    commands_.Add(Command::FileClose, "&Close");
    commands_.Add(Command::FileSave, "&Save", QKeySequence::Save);
    commands_.Add(Command::FileSaveAs, "Save &As...");
    commands_.Add(Command::FilePrint, "&Print...", QKeySequence::Print);
    commands_.Add(Command::FilePrintDirect, "Print Direct");
    commands_.Add(Command::FilePrintPreview, "Print Pre&view");
    commands_.Add(Command::FilePrintSetup, "P&rint Setup...");
    commands_.Add(Command::RemoteConnect, "Connect");
    for (const MenuCommand& command : kNetworkCommands) commands_.Add(command.id, command.text, {}, command.checkable);
    commands_.Add(Command::AppExit, "E&xit");
    // The report window's; the keys come with the window (its WindowKeys).
    commands_.Add(Command::PreviousPage, "&Previous Page\tPgUp");
    commands_.Add(Command::NextPage, "&Next Page\tPgDown");
    commands_.Add(Command::FirstPage, "First Page\tCtrl-PgUp");
    commands_.Add(Command::LastPage, "Last Page\tCtrl-PgDown");
    commands_.Add(Command::GoToPage, "Go to Page ...\tCtrl-I");
    commands_.Add(Command::StartOfPageUp, "Start of Page (up) \tHome");
    commands_.Add(Command::EndOfPageDown, "End of Page (down)\tEnd");
    commands_.Add(Command::StartOfPageLeft, "Start of Page (left)\tCtrl-Left Arrow");
    commands_.Add(Command::EndOfPageRight, "End of Page (right)\tCtrl-Right Arrow");
    commands_.Add(Command::MoveUp, "Move Up\tUp Arrow");
    commands_.Add(Command::MoveDown, "Move Down\tDown Arrow");
    commands_.Add(Command::MoveLeft, "Move Left\tLeft Arrow");
    commands_.Add(Command::MoveRight, "Move Right\tRight Arrow");
    commands_.Add(Command::WindowNew, "&New Window");
    commands_.Add(Command::WindowCascade, "&Cascade");
    commands_.Add(Command::WindowTile, "&Tile");
    commands_.Add(Command::WindowArrange, "&Arrange Icons");
    commands_.Add(Command::HelpContent, "Content");
    commands_.Add(Command::HelpIndex, "Index");
    commands_.Add(Command::HelpSearch, "Search");
    commands_.Add(Command::AppAbout, "&About Quellmark...");
    commands_.Add(Command::ViewMessages, "&Messages", {}, true);
    commands_.Add(Command::ViewColorMapLegend, "Color Map Legend", {}, true);
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* action = commands_.Add(Command::FileRecent1 + i, RecentFileList::MenuText(i, {}));
        action->setVisible(false);
        recentFileActions_.push_back(action);
    }
}

void CMainFrame::CreateMenus() {
    auto addAll = [this](QMenu* menu, std::initializer_list<int> ids) {
        for (int id : ids) {
            if (id == 0) {
                menu->addSeparator();
            } else {
                menu->addAction(commands_.Find(id));
            }
        }
        connect(menu, &QMenu::aboutToShow, this, [this] { commands_.UpdateAll(); });
    };
    QMenu* file = menuBar()->addMenu("&File");
    addAll(file, {Command::FileNew, Command::FileOpen, Command::FileClose, Command::FileSave, Command::FileSaveAs, 0,
                  Command::FileExportPicture, Command::FileExportIeeeCommonFormat, 0, Command::FilePrint,
                  Command::FilePrintPreview, Command::FilePrintSetup, 0});
    for (QAction* action : recentFileActions_) file->addAction(action);
    recentFilesEnd_ = file->addSeparator();
    recentFilesEnd_->setVisible(false);
    file->addAction(commands_.Find(Command::AppExit));
    addAll(menuBar()->addMenu("&Edit"),
           {Command::EditCut, Command::EditCopy, Command::EditPaste, Command::EditDuplicate, Command::EditGlue, 0,
            Command::EditSendToClipboardAsEmf, 0, Command::EditRefresh});
    addAll(menuBar()->addMenu("&View"),
           {Command::ViewMessages, Command::ViewColorMapLegend, Command::ToolsPalette, 0, Command::NormalColorMap,
            Command::NominalVoltageColorMap, Command::LoadingColorMap, Command::VoltageLevelColorMap, 0,
            Command::PreviousPage, Command::NextPage, Command::FirstPage, Command::LastPage, Command::GoToPage, 0,
            Command::StartOfPageUp, Command::EndOfPageDown, Command::StartOfPageLeft, Command::EndOfPageRight, 0,
            Command::MoveUp, Command::MoveDown, Command::MoveLeft, Command::MoveRight});
    addAll(menuBar()->addMenu("Forma&t"),
           {Command::BackgroundColor, Command::ElementVisualProperties, 0, Command::EditMode, Command::SnapToGrid, 0,
            Command::Layers, Command::DuplicationSettings});
    addAll(menuBar()->addMenu("&Analysis"),
           {Command::SolvePowerFlow, 0, Command::PvCurves, Command::TransferCapability,
            Command::SupplementaryMotionSensitivity, Command::BusSensitivityFactors,
            Command::PowerTransferDistributionFactors});
    addAll(menuBar()->addMenu("&Results"),
           {Command::ShowResultsInTable, Command::PreviewResults, 0, Command::GenerateGraphFromFile, 0,
            Command::SaveResultsToDatabase, Command::DeleteResultsFromDatabase, Command::CompareResults});
    addAll(menuBar()->addMenu("Remote"), {Command::RemoteConnect});
    addAll(menuBar()->addMenu("&Window"),
           {Command::WindowNew, Command::WindowCascade, Command::WindowTile, Command::WindowArrange});
    addAll(menuBar()->addMenu("&Help"),
           {Command::HelpContent, Command::HelpIndex, Command::HelpSearch, 0, Command::AppAbout});
}

QAction* CMainFrame::ButtonAction(const ToolBarButton& button, const QIcon& icon, bool checkable) {
    QAction* action = commands_.Find(button.command);
    if (action == nullptr) action = commands_.Add(button.command, button.toolTip, {}, checkable);
    action->setIcon(icon);
    action->setToolTip(button.toolTip);
    action->setStatusTip(button.statusTip != nullptr ? button.statusTip : button.toolTip);
    // The button's tip describes what it would do; once done, the bar is
    // idle again even when the pointer never left the button.
    connect(action, &QAction::triggered, this, [this] { statusBar()->showMessage(kIdleText); });
    return action;
}

void CMainFrame::CreateStandardBar() {
    standardBar_ = addToolBar("Standard");
    standardBar_->setObjectName("Standard");
    standardBar_->setMovable(true);
    standardBar_->setFloatable(true);
    standardBar_->setAllowedAreas(Qt::AllToolBarAreas);
    const std::vector<QIcon> icons = LoadImageStrip(ShellImages::kStandardBar);
    size_t picture = 0;
    for (const ToolBarButton& button : StandardBarButtons()) {
        if (button.command == 0) {
            standardBar_->addSeparator();
            continue;
        }
        QIcon icon = picture < icons.size() ? icons[picture] : QIcon();
        ++picture;
        QAction* action = ButtonAction(button, icon, false);
        // A checked menu item shows its check mark, not the button's picture.
        if (action->isCheckable()) action->setIconVisibleInMenu(false);
        standardBar_->addAction(action);
    }
}

void CMainFrame::CreateToolsBar() {
    toolsBar_ = new CColumnToolBar(this);
    toolsBar_->setWindowTitle("Tools");
    toolsBar_->SetColumns(kToolsColumns);
    const std::vector<QIcon> icons = LoadImageStrip(ShellImages::kToolsPalette);
    size_t picture = 0;
    for (const ToolBarButton& button : ToolsPaletteButtons()) {
        QIcon icon = picture < icons.size() ? icons[picture] : QIcon();
        ++picture;
        toolsBar_->AddButton(ButtonAction(button, icon, true));
    }
    // Floating at the screen's left, an eighth of its height down.
    const int screenHeight = screen() != nullptr ? screen()->geometry().height() : 0;
    toolsBar_->move(kToolsLeft, screenHeight / 8);
    toolsBar_->show();
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->showMessage(kIdleText);
    // A tip that goes leaves the idle text, not an empty bar.
    connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& text) {
        if (text.isEmpty()) bar->showMessage(kIdleText);
    });
}

void CMainFrame::CreateMessageWindows(const Services& services) {
    const QRect area = screen() != nullptr ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    messages_ = new CDlgMessages(services.prompts, services.profile, this);
    messages_->move(area.left() + kFirstPlaceMargin, area.bottom() - messages_->height() - kFirstPlaceMargin);
    messages_->SetUp();
    legend_ = new CColorMapLegend(services.prompts, services.profile, services.maps, this);
    legend_->move(area.right() - legend_->width() - kFirstPlaceMargin, area.top() + 2 * kFirstPlaceMargin);
    legend_->SetUp();
    AddShowCommand(Command::ViewMessages, *messages_);
    AddShowCommand(Command::ViewColorMapLegend, *legend_);
}

void CMainFrame::AddShowCommand(int id, CDialogResizer& window) {
    OnCommand(id, [&window] { window.ShowWindow(!window.isVisible()); },
              [&window](CmdUI& ui) { ui.SetCheck(window.isVisible()); });
}

std::vector<CCmdTarget*> CMainFrame::Road() const {
    std::vector<CCmdTarget*> road;
    if (auto* frame = dynamic_cast<CChildFrame*>(mdiArea_->activeSubWindow())) {
        CView& view = frame->View();
        // A print preview in the view's place takes the view's commands
        // out of reach; the document's stay.
        if (frame->StandIn() == nullptr) road.push_back(&view);
        if (view.GetDocument() != nullptr) road.push_back(view.GetDocument());
    }
    road.push_back(const_cast<CMainFrame*>(this));
    road.push_back(&application_);
    return road;
}

CView* CMainFrame::GetActiveView() const {
    auto* frame = dynamic_cast<CChildFrame*>(mdiArea_->activeSubWindow());
    return frame != nullptr ? &frame->View() : nullptr;
}

std::vector<CChildFrame*> CMainFrame::ChildFrames() const {
    std::vector<CChildFrame*> frames;
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (auto* frame = dynamic_cast<CChildFrame*>(window)) frames.push_back(frame);
    }
    return frames;
}

CChildFrame& CMainFrame::AddChildFrame(CView& view) {
    auto* frame = new CChildFrame(view);
    mdiArea_->addSubWindow(frame);
    PlaceNewChildFrame(*frame);
    if (view.GetDocument() != nullptr) view.GetDocument()->AddView(view);
    frame->UpdateTitle();
    view.OnInitialUpdate();
    frame->show();
    mdiArea_->setActiveSubWindow(frame);
    commands_.UpdateAll();
    return *frame;
}

void CMainFrame::PlaceNewChildFrame(CChildFrame& frame) {
    // Three quarters of the area, each new window one title bar lower and
    // to the right of the one before, back at the corner when it would
    // leave the area.
    QSize area = mdiArea_->size();
    if (area.isEmpty()) return;
    QSize size = area * 3 / 4;
    int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &frame);
    int others = static_cast<int>(mdiArea_->subWindowList().size()) - 1;
    int room = std::min(area.width() - size.width(), area.height() - size.height());
    int places = step > 0 ? room / step + 1 : 1;
    int offset = step * (others % places);
    frame.resize(size);
    frame.move(offset, offset);
}

void CMainFrame::OnWindowNew() {
    CView* active = GetActiveView();
    if (active == nullptr || active->GetDocument() == nullptr) return;
    CDocument& document = *active->GetDocument();
    if (document.GetDocTemplate() == nullptr) return;
    AddChildFrame(*document.GetDocTemplate()->CreateView(document));
}

void CMainFrame::OnRemoteConnect() {
    if (remoteLink_ != nullptr) remoteLink_->Connect();
}

void CMainFrame::SetRecentFiles(const QStringList& files) {
    for (int i = 0; i < static_cast<int>(recentFileActions_.size()); ++i) {
        QAction* action = recentFileActions_[i];
        action->setVisible(i < files.size());
        if (i < files.size()) action->setText(RecentFileList::MenuText(i, files[i]));
    }
    recentFilesEnd_->setVisible(!files.isEmpty());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (mayClose_ && !mayClose_()) {
        event->ignore();
        return;
    }
    messages_->KeepPlacementForExit();
    legend_->KeepPlacementForExit();
    QMainWindow::closeEvent(event);
}
