#pragma once

#include <memory>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "ado_database.h"
#include "app_printer.h"
#include "cmd_target.h"
#include "color_map.h"
#include "desktop_actions.h"
#include "document_host.h"
#include "element_list.h"
#include "profile.h"
#include "qt_network_dialogs.h"
#include "qt_text_measurer.h"
#include "recent_file_list.h"
#include "remote_solver_link.h"
#include "splash_window.h"

class CDocTemplate;
class CHelpWindow;
class CDocument;
class CMainFrame;
class IDBReport;
class IMessageSink;
class PromptService;
class QStatusBar;

// The application object: it starts the program (settings, document
// templates, main window, splash, the command line's document), owns what
// every window shares, and handles the commands no window takes: New,
// Open, the recent files, Exit, Help and About.
class CTavrinApp : public QObject, public CCmdTarget, public DocumentHost {
public:
    static constexpr int kRecentFileCount = 5;

    // The prompts are borrowed. An empty profile path means the user's own
    // settings file; an empty database path "Results.db" in the working
    // folder.
    CTavrinApp(PromptService& prompts, const QString& profilePath = {}, const QString& databasePath = {});
    ~CTavrinApp() override;

    // Start-up, with the arguments after the program's name. False when the
    // program cannot start (the main window could not be made); a command
    // line's document that cannot be opened is reported and the program
    // runs on without it.
    bool InitInstance(const QStringList& arguments);

    // A template registered before start-up comes after the program's own.
    void AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate);
    const std::vector<std::unique_ptr<CDocTemplate>>& DocTemplates() const { return templates_; }

    CMainFrame* MainFrame() const { return mainFrame_.get(); }
    // The message window's sink from the main frame's creation on, else
    // null; borrowed by every model and solver run.
    IMessageSink* GetMessageSink() const { return messageSink_; }
    // The main frame's status bar, where the views write their status
    // text; null before the frame is made.
    QStatusBar* StatusBar() const { return statusBar_; }
    // The splash while it is shown, else null.
    CSplashWnd* Splash() const { return splash_; }
    Profile& GetProfile() { return *profile_; }
    // Open for the whole run unless start-up could neither open nor make it.
    CADODataBase& ResultsDatabase() { return resultsDatabase_; }
    const RecentFileList& RecentFiles() const { return recentFiles_; }

    // A results window for the finished report; the document takes over
    // the caller's reference. Null when there is no main window.
    CDocument* OpenResultsDocument(IDBReport* report);

    // The printer the windows print on, as the user last chose it.
    AppPrinter& Printing() { return printer_; }
    // A4 paper on the application's printer, landscape or portrait.
    void SetPrinterPaper(bool landscape) { printer_.SetPaper(landscape); }
    // The number of pages a print preview shows at once when it opens: 1
    // at start-up, then what the last toggle of a preview chose.
    int& PreviewPages() { return previewPages_; }

    // A new untitled network document in a window of its own.
    CDocument* OnFileNew();
    // The document of the file in a window, or the window that shows it
    // already; null (the user has been told why) when it cannot be read or
    // its extension is not one of the document kinds'. A file the user did
    // not choose (one received into a temporary folder) passes
    // `addToRecent` false: offered again later, it would be gone.
    CDocument* OpenDocumentFile(const QString& path, bool addToRecent = true);
    // Asks about every modified document; false when the user cancelled.
    bool SaveAllModified();

    // What every network model shares: the element clipboard (copied or
    // cut elements of any document, owned here), the three colour maps
    // (nominal voltage, loading, bus voltage), and text measuring.
    ElementList& Clipboard() { return clipboard_; }
    bool HasClipboardElements() const { return clipboard_.GetCount() > 0; }
    ColorMap& NominalVoltageMap() { return nominalVoltageMap_; }
    ColorMap& LoadingMap() { return loadingMap_; }
    ColorMap& BusVoltageMap() { return busVoltageMap_; }
    ITextMeasurer& TextMeasurer() { return textMeasurer_; }
    // The beep and the opening of links in the user's own programs.
    DesktopActions& Desktop() { return desktop_; }

    // The manual's window once a Help command opened it, else null.
    CHelpWindow* HelpWindow() const;

    // The connection to a remote solver server, closed while there is none.
    RemoteSolverLink& RemoteLink() { return remoteLink_; }
    // The dialogs every network window opens.
    INetworkDialogs& NetworkDialogs() { return networkDialogs_; }

    // DocumentHost
    PromptService& Prompts() override { return prompts_; }
    void AddToRecentFileList(const QString& path) override;

protected:
    // Offers every event to the splash first, which may swallow it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RegisterCommands();
    void OnFileOpen();
    void OnOpenRecentFile(int index);
    void OnAppAbout();
    void OnFilePrintSetup();
    // Opens the manual at its contents, its index or its search.
    void OnHelp(int command);
    void ShowSplashScreen();
    // Opens the results database (made from its schema when missing) and
    // fills the three colour maps from it.
    void LoadColorMaps();
    CDocTemplate* TemplateFor(const QString& path) const;
    CDocTemplate* NewDocumentTemplate() const;
    CDocument* ShowNewDocument(CDocTemplate& docTemplate, CDocument& document);
    void RecentFilesChanged();

    PromptService& prompts_;
    int previewPages_ = 1;
    QString profilePath_;
    QString databasePath_;
    CADODataBase resultsDatabase_;
    // Declared before the templates: the documents' models refer to them.
    ElementList clipboard_;
    ColorMap nominalVoltageMap_;
    ColorMap loadingMap_;
    ColorMap busVoltageMap_;
    QtTextMeasurer textMeasurer_;
    QtDesktopActions desktop_;
    AppPrinter printer_;
    // Declared before the templates: the documents tell it when they go.
    RemoteSolverLink remoteLink_{*this};
    QtNetworkDialogs networkDialogs_{*this};
    std::unique_ptr<Profile> profile_;
    RecentFileList recentFiles_{kRecentFileCount};
    bool showSplash_ = false;
    CSplashWnd* splash_ = nullptr;  // owned by the main frame
    QPointer<CHelpWindow> helpWindow_;  // owned by the main frame
    // The key whose press was swallowed by the splash in its shortcut
    // stage; its press is swallowed too when it follows.
    int swallowedKey_ = 0;
    std::vector<std::unique_ptr<CDocTemplate>> templates_;
    std::vector<std::unique_ptr<CDocTemplate>> addedTemplates_;
    std::unique_ptr<CMainFrame> mainFrame_;
    QStatusBar* statusBar_ = nullptr;
    IMessageSink* messageSink_ = nullptr;
};
