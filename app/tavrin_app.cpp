#include "tavrin_app.h"

#include <clocale>
#include <filesystem>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QMdiArea>
#include <QPageSetupDialog>

#include "about_dialog.h"
#include "child_frame.h"
#include "color_map_loader.h"
#include "command_ids.h"
#include "command_line.h"
#include "dlg_messages.h"
#include "doc_template.h"
#include "document_base.h"
#include "finans_doc.h"
#include "finans_view.h"
#include "help_window.h"
#include "main_frame.h"
#include "prompt_service.h"
#include "report_interface.h"
#include "results_database_file.h"
#include "splash_window.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"

namespace {

constexpr const char* kApplicationTitle = "Quellmark";
constexpr const char* kResultsDatabaseName = "Results.db";

bool IsSwallowedBySplash(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress:
            return true;
        default:
            return false;
    }
}

}  // namespace

CTavrinApp::CTavrinApp(PromptService& prompts, const QString& profilePath, const QString& databasePath)
    : prompts_(prompts), profilePath_(profilePath), databasePath_(databasePath) {
    clipboard_.SetOwning(true);
    RegisterCommands();
}

CTavrinApp::~CTavrinApp() {
    if (qApp != nullptr) qApp->removeEventFilter(this);
    // The windows go before the documents they show.
    mainFrame_.reset();
}

void CTavrinApp::RegisterCommands() {
    OnCommand(Command::FileNew, [this] { OnFileNew(); });
    OnCommand(Command::FileOpen, [this] { OnFileOpen(); });
    for (int i = 0; i < kRecentFileCount; ++i) {
        OnCommand(Command::FileRecent1 + i, [this, i] { OnOpenRecentFile(i); },
                  [this, i](CmdUI& ui) { ui.Enable(i < recentFiles_.Files().size()); });
    }
    OnCommand(Command::AppExit, [this] {
        if (mainFrame_) mainFrame_->close();
    });
    OnCommand(Command::AppAbout, [this] { OnAppAbout(); });
    OnCommand(Command::FilePrintSetup, [this] { OnFilePrintSetup(); });
    for (int id : {Command::HelpContent, Command::HelpIndex, Command::HelpSearch}) {
        OnCommand(id, [this, id] { OnHelp(id); });
    }
}

bool CTavrinApp::InitInstance(const QStringList& arguments) {
    // Qt took the user's locale for everything; numbers in files, listings
    // and records are written and read in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    // The name, not a display name: Qt would add a display name to every
    // window title, and the main window's title names the program already.
    QCoreApplication::setApplicationName(kApplicationTitle);
    QApplication::setWindowIcon(QIcon(CSplashWnd::Picture().copy(30, 50, 90, 120)));

    CommandLineInfo commandLine = CommandLineInfo::Parse(arguments);
    showSplash_ = commandLine.showSplash;

    profile_ = std::make_unique<Profile>(profilePath_.isEmpty() ? Profile::DefaultPath(kApplicationTitle)
                                                                : profilePath_);
    recentFiles_.ReadList(*profile_);

    templates_.push_back(std::make_unique<CDocTemplate>(
        CTavrinDoc::kResourceId, CTavrinDoc::kDocString, [this] { return std::make_unique<CTavrinDoc>(*this); },
        [this](CDocument& document) {
            auto* view = new CTavrinView(static_cast<CTavrinDoc&>(document));
            view->SetDialogs(&networkDialogs_);
            return view;
        }));
    templates_.push_back(std::make_unique<CDocTemplate>(
        CFinansDoc::kResourceId, CFinansDoc::kDocString, [] { return std::make_unique<CFinansDoc>(); },
        [this](CDocument& document) { return new CFinansView(static_cast<CFinansDoc&>(document), *this); }));
    for (auto& added : addedTemplates_) templates_.push_back(std::move(added));
    addedTemplates_.clear();

    mainFrame_ = std::make_unique<CMainFrame>(
        *this, [this] { return SaveAllModified(); },
        CMainFrame::Services{
            prompts_, profile_.get(), {nominalVoltageMap_, loadingMap_, busVoltageMap_}, &remoteLink_});
    statusBar_ = mainFrame_->statusBar();
    messageSink_ = &mainFrame_->Messages();
    mainFrame_->setWindowTitle(kApplicationTitle);
    RecentFilesChanged();
    qApp->installEventFilter(this);
    ShowSplashScreen();
    LoadColorMaps();

    // Maximised. Shown before the command line's document opens, so its
    // window is sized from the frame's working area (an unshown area has no
    // size yet).
    mainFrame_->showMaximized();
    mainFrame_->update();

    // A document that cannot be opened has said why; the program stays,
    // with its main window, for the user to open another.
    if (!commandLine.fileName.isEmpty()) OpenDocumentFile(commandLine.fileName);
    return true;
}

void CTavrinApp::AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate) {
    addedTemplates_.push_back(std::move(docTemplate));
}

void CTavrinApp::LoadColorMaps() {
    std::filesystem::path path(databasePath_.isEmpty() ? QString(kResultsDatabaseName).toStdString()
                                                       : databasePath_.toStdString());
    if (!OpenResultsDatabase(resultsDatabase_, path, messageSink_, prompts_)) return;
    ::LoadColorMaps(resultsDatabase_, {nominalVoltageMap_, busVoltageMap_, loadingMap_}, prompts_);
}

void CTavrinApp::ShowSplashScreen() {
    if (!showSplash_ || splash_) return;
    splash_ = new CSplashWnd(mainFrame_.get(), [this] { splash_ = nullptr; });
}

bool CTavrinApp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && swallowedKey_ != 0) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == swallowedKey_) {
            swallowedKey_ = 0;
            return true;
        }
    }
    if (splash_ != nullptr && IsSwallowedBySplash(event->type())) {
        // A key is first offered as a shortcut; its press follows and must
        // not reach the program either.
        if (event->type() == QEvent::ShortcutOverride) {
            swallowedKey_ = static_cast<QKeyEvent*>(event)->key();
            event->accept();
        }
        splash_->HideSplashScreen();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

CDocTemplate* CTavrinApp::TemplateFor(const QString& path) const {
    for (const auto& docTemplate : templates_) {
        if (docTemplate->MatchesExtension(path)) return docTemplate.get();
    }
    return nullptr;
}

CDocTemplate* CTavrinApp::NewDocumentTemplate() const {
    for (const auto& docTemplate : templates_) {
        if (!docTemplate->Strings().fileNewName.isEmpty()) return docTemplate.get();
    }
    return nullptr;
}

CDocument* CTavrinApp::ShowNewDocument(CDocTemplate& docTemplate, CDocument& document) {
    mainFrame_->AddChildFrame(*docTemplate.CreateView(document));
    return &document;
}

CDocument* CTavrinApp::OnFileNew() {
    CDocTemplate* docTemplate = NewDocumentTemplate();
    if (docTemplate == nullptr || !mainFrame_) return nullptr;
    CDocument& document = docTemplate->CreateNewDocument(*this);
    docTemplate->SetDefaultTitle(document);
    if (!document.OnNewDocument()) {
        docTemplate->RemoveDocument(document);
        return nullptr;
    }
    return ShowNewDocument(*docTemplate, document);
}

CDocument* CTavrinApp::OpenResultsDocument(IDBReport* report) {
    CDocTemplate* reports = nullptr;
    for (const auto& docTemplate : templates_) {
        if (docTemplate->ResourceId() == CFinansDoc::kResourceId) reports = docTemplate.get();
    }
    if (reports == nullptr || !mainFrame_) {
        if (report != nullptr) report->Release();
        return nullptr;
    }
    auto& document = static_cast<CFinansDoc&>(reports->CreateNewDocument(*this));
    reports->SetDefaultTitle(document);
    document.OnNewDocument();
    document.SetReport(report);
    return ShowNewDocument(*reports, document);
}

CDocument* CTavrinApp::OpenDocumentFile(const QString& path, bool addToRecent) {
    if (!mainFrame_) return nullptr;
    QString absolute = QFileInfo(path).absoluteFilePath();
    for (CChildFrame* frame : mainFrame_->ChildFrames()) {
        CDocument* shown = frame->View().GetDocument();
        if (shown != nullptr && shown->GetPathName() == absolute) {
            mainFrame_->MdiArea().setActiveSubWindow(frame);
            return shown;
        }
    }
    CDocTemplate* docTemplate = TemplateFor(path);
    if (docTemplate == nullptr) {
        // Read as a document of another kind, the file would only fail
        // further on, or be taken for what it is not.
        prompts_.Ask("Failed to open document.\n" + QDir::toNativeSeparators(absolute) +
                         "\nThe program does not open files of this type.",
                     {}, PromptIcon::Error, PromptButtons::Ok);
        return nullptr;
    }
    CDocument& document = docTemplate->CreateNewDocument(*this);
    if (!document.OnOpenDocument(absolute)) {
        docTemplate->RemoveDocument(document);
        return nullptr;
    }
    document.SetPathName(absolute, addToRecent);
    return ShowNewDocument(*docTemplate, document);
}

void CTavrinApp::OnFileOpen() {
    std::vector<FileFilter> filters;
    for (const auto& docTemplate : templates_) {
        FileFilter filter = docTemplate->Filter();
        if (!filter.description.isEmpty()) filters.push_back(filter);
    }
    filters.push_back({"All Files (*.*)", "*"});
    std::optional<QString> path = prompts_.OpenFileName("Open", filters, {});
    if (path) OpenDocumentFile(*path);
}

void CTavrinApp::OnOpenRecentFile(int index) {
    if (index >= recentFiles_.Files().size()) return;
    QString path = recentFiles_.Files()[index];
    if (OpenDocumentFile(path) == nullptr) {
        // A file that can no longer be opened leaves the list.
        recentFiles_.Remove(path);
        RecentFilesChanged();
    }
}

void CTavrinApp::AddToRecentFileList(const QString& path) {
    recentFiles_.Add(path);
    RecentFilesChanged();
}

void CTavrinApp::RecentFilesChanged() {
    if (profile_) recentFiles_.WriteList(*profile_);
    if (mainFrame_) mainFrame_->SetRecentFiles(recentFiles_.Files());
}

bool CTavrinApp::SaveAllModified() {
    for (const auto& docTemplate : templates_) {
        for (const auto& document : docTemplate->Documents()) {
            if (!document->SaveModified()) return false;
        }
    }
    return true;
}

void CTavrinApp::OnAppAbout() {
    CAboutDlg about(prompts_, desktop_, mainFrame_.get());
    prompts_.RunModal(about);
}

// The choice is made on the program's printer itself, so that the next
// print and preview of any window use it.
void CTavrinApp::OnFilePrintSetup() {
    QPageSetupDialog setup(&printer_.Printer(), mainFrame_.get());
    prompts_.RunModal(setup);
}

CHelpWindow* CTavrinApp::HelpWindow() const { return helpWindow_.data(); }

void CTavrinApp::OnHelp(int command) {
    if (!mainFrame_) return;
    if (helpWindow_ == nullptr) helpWindow_ = new CHelpWindow(mainFrame_.get());
    helpWindow_->ShowTab(command == Command::HelpIndex    ? CHelpWindow::Tab::Index
                         : command == Command::HelpSearch ? CHelpWindow::Tab::Search
                                                          : CHelpWindow::Tab::Contents);
}
