#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QMainWindow>

#include "cmd_target.h"
#include "color_map_legend.h"
#include "command_registry.h"

class CChildFrame;
class CColumnToolBar;
class CDlgMessages;
class CDocument;
class CView;
class Profile;
class PromptService;
class QMdiArea;
class QIcon;
class QMenu;
class QToolBar;
class RemoteSolverLink;
struct ToolBarButton;

// The main window: the document windows in an MDI area, the menus, the
// standard bar, the floating "Tools" palette, the status bar, the message
// window and the colour-map legend, and the road every command takes (the
// active view, its document, this frame, the application). It handles the
// window commands and the showing of its two lasting windows itself.
class CMainFrame : public QMainWindow, public CCmdTarget {
public:
    // What the message window and the legend borrow: the prompts, the
    // settings their placement and the default colours are kept in (none:
    // nothing kept), and the colour maps the legend shows; and the remote
    // solver connection that Connect starts (none: Connect does nothing).
    struct Services {
        PromptService& prompts;
        Profile* profile;
        CColorMapLegend::Maps maps;
        RemoteSolverLink* remoteLink = nullptr;
    };

    static constexpr int kToolsColumns = 2;
    static constexpr int kToolsLeft = 10;  // pixels from the screen's left

    // `application` is the last stop of the command road; `mayClose` is
    // asked before the window closes (it saves or keeps the documents).
    CMainFrame(CCmdTarget& application, std::function<bool()> mayClose, const Services& services);
    ~CMainFrame() override;

    QMdiArea& MdiArea() const { return *mdiArea_; }
    CommandRegistry& Commands() { return commands_; }

    // The view of the active document window, or null.
    CView* GetActiveView() const;
    std::vector<CChildFrame*> ChildFrames() const;
    // Puts the view in a new document window, runs its initial update and
    // shows it.
    CChildFrame& AddChildFrame(CView& view);

    // The recent files as the menu offers them.
    void SetRecentFiles(const QStringList& files);

    QToolBar& StandardBar() const { return *standardBar_; }
    CColumnToolBar& ToolsBar() const { return *toolsBar_; }
    CDlgMessages& Messages() const { return *messages_; }
    CColorMapLegend& Legend() const { return *legend_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateCommands();
    void CreateMenus();
    void CreateStandardBar();
    void CreateToolsBar();
    void CreateStatusBar();
    void CreateMessageWindows(const Services& services);
    // Shows a hidden window, hides a shown one; checked while it is shown.
    void AddShowCommand(int id, CDialogResizer& window);
    // The registry's action of the button's command, made when it has none,
    // with the button's tips and picture.
    QAction* ButtonAction(const ToolBarButton& button, const QIcon& icon, bool checkable);
    std::vector<CCmdTarget*> Road() const;
    void OnWindowNew();
    // Remote > Connect: the connection itself is the link's.
    void OnRemoteConnect();
    void PlaceNewChildFrame(CChildFrame& frame);

    CCmdTarget& application_;
    std::function<bool()> mayClose_;
    RemoteSolverLink* remoteLink_;
    QMdiArea* mdiArea_;
    CommandRegistry commands_;
    QMenu* recentFilesMenu_ = nullptr;
    std::vector<QAction*> recentFileActions_;
    QAction* recentFilesEnd_ = nullptr;
    QToolBar* standardBar_ = nullptr;
    CColumnToolBar* toolsBar_ = nullptr;
    CDlgMessages* messages_ = nullptr;
    CColorMapLegend* legend_ = nullptr;
};
