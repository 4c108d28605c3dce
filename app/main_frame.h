#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QMainWindow>

#include "cmd_target.h"
#include "command_registry.h"

class CChildFrame;
class CDocument;
class CView;
class QMdiArea;
class QMenu;

// The main window: the document windows in an MDI area, the menus, and the
// road every command takes (the active view, its document, this frame, the
// application). It handles the window commands itself.
class CMainFrame : public QMainWindow, public CCmdTarget {
public:
    // `application` is the last stop of the command road; `mayClose` is
    // asked before the window closes (it saves or keeps the documents).
    CMainFrame(CCmdTarget& application, std::function<bool()> mayClose);
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

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateCommands();
    void CreateMenus();
    std::vector<CCmdTarget*> Road() const;
    void OnWindowNew();
    void PlaceNewChildFrame(CChildFrame& frame);

    CCmdTarget& application_;
    std::function<bool()> mayClose_;
    QMdiArea* mdiArea_;
    CommandRegistry commands_;
    QMenu* recentFilesMenu_ = nullptr;
    std::vector<QAction*> recentFileActions_;
    QAction* recentFilesEnd_ = nullptr;
};
