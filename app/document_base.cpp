#include "document_base.h"

#include <algorithm>
#include <array>
#include <exception>
#include <filesystem>

#include <QDir>
#include <QFileInfo>

#include "archive.h"
#include "archive_file.h"
#include "child_frame.h"
#include "command_ids.h"
#include "doc_template.h"
#include "document_host.h"
#include "prompt_service.h"
#include "view_base.h"
#include "windows_1250.h"

namespace {

std::filesystem::path FileSystemPath(const QString& path) { return std::filesystem::path(path.toStdU16String()); }

}  // namespace

CDocument::CDocument() {
    OnCommand(Command::FileSave, [this] { DoFileSave(); });
    OnCommand(Command::FileSaveAs, [this] { DoSave({}); });
    OnCommand(Command::FileClose, [this] {
        if (SaveModified()) OnCloseDocument();
    });
}

CDocument::~CDocument() {
    for (CView* view : views_) view->DetachDocument();
}

void CDocument::Attach(CDocTemplate& docTemplate, DocumentHost& host) {
    template_ = &docTemplate;
    host_ = &host;
}

void CDocument::SetTitle(const QString& title) {
    title_ = title;
    UpdateFrameTitles();
}

void CDocument::SetPathName(const QString& path, bool addToRecent) {
    pathName_ = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
    if (addToRecent && host_ != nullptr) host_->AddToRecentFileList(pathName_);
}

void CDocument::SetModifiedFlag(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    UpdateFrameTitles();
}

void CDocument::AddView(CView& view) {
    views_.push_back(&view);
    UpdateFrameTitles();
}

void CDocument::RemoveView(CView& view) {
    std::erase(views_, &view);
    UpdateFrameTitles();
    if (views_.empty() && template_ != nullptr) template_->RemoveDocument(*this);
}

void CDocument::UpdateFrameTitles() {
    for (CView* view : views_) {
        if (CChildFrame* frame = view->Frame()) frame->UpdateTitle();
    }
}

void CDocument::ReportFailure(const QString& what, const QString& path, const std::exception& failure) {
    host_->Prompts().Ask(
        what + '\n' + QDir::toNativeSeparators(path) + '\n' + QString::fromLocal8Bit(failure.what()), {},
        PromptIcon::Error, PromptButtons::Ok);
}

bool CDocument::OnNewDocument() {
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const QString& path) {
    try {
        Archive archive = OpenArchiveFile(FileSystemPath(path));
        archive.SetSourceName(ToWindows1250(QFileInfo(path).fileName()));
        DeleteContents();
        Serialize(archive);
    } catch (const std::exception& failure) {
        DeleteContents();
        ReportFailure("Failed to open document.", path, failure);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const QString& path) {
    try {
        Archive archive = Archive::ForStoring();
        Serialize(archive);
        SaveArchiveFile(archive, FileSystemPath(path));
    } catch (const std::exception& failure) {
        ReportFailure("Failed to save document.", path, failure);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CDocument::OnCloseDocument() {
    // Each frame's closing removes its view from the list.
    std::vector<CView*> views = views_;
    for (CView* view : views) {
        if (CChildFrame* frame = view->Frame()) frame->CloseWithoutAsking();
    }
}

bool CDocument::SaveModified() {
    if (!modified_) return true;
    PromptAnswer answer = host_->Prompts().Ask(QStringLiteral("Save changes to %1?").arg(title_), {},
                                               PromptIcon::Warning, PromptButtons::YesNoCancel);
    switch (answer) {
        case PromptAnswer::Yes: return DoFileSave();
        case PromptAnswer::No: return true;
        default: return false;
    }
}

bool CDocument::DoSave(const QString& path) {
    QString target = path;
    if (target.isEmpty()) {
        QString proposed = pathName_.isEmpty() ? title_ : pathName_;
        if (template_ != nullptr && QFileInfo(proposed).suffix().isEmpty()) proposed += template_->Strings().filterExt;
        std::array<FileFilter, 2> filters{template_ != nullptr ? template_->Filter() : FileFilter{},
                                          FileFilter{"All Files (*.*)", "*"}};
        std::span<const FileFilter> offered(filters);
        if (filters[0].description.isEmpty()) offered = offered.subspan(1);
        std::optional<QString> chosen = host_->Prompts().SaveFileName("Save As", offered, proposed);
        if (!chosen) return false;
        target = *chosen;
        // A name typed without an extension gets the document type's, so
        // the file shows under the type's filter when it is opened again.
        if (template_ != nullptr && QFileInfo(target).suffix().isEmpty()) target += template_->Strings().filterExt;
    }
    if (!OnSaveDocument(target)) return false;
    SetPathName(target);
    return true;
}

bool CDocument::DoFileSave() {
    // A file made read-only since it was opened is saved under a new name.
    QFileInfo file(pathName_);
    if (pathName_.isEmpty() || (file.exists() && !file.isWritable())) return DoSave({});
    return DoSave(pathName_);
}
