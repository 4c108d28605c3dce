#pragma once

#include <exception>
#include <vector>

#include <QString>

#include "cmd_target.h"

class Archive;
class CDocTemplate;
class CView;
class DocumentHost;

// A document: its title, the file it was read from or saved to, whether
// it holds changes not saved, and the views that show it. It handles Save,
// Save As and Close; a kind of document says how its content is read and
// written (Serialize) over the document archive.
class CDocument : public CCmdTarget {
public:
    CDocument();
    ~CDocument() override;

    // Set once by the template that makes the document.
    void Attach(CDocTemplate& docTemplate, DocumentHost& host);
    CDocTemplate* GetDocTemplate() const { return template_; }

    const QString& GetTitle() const { return title_; }
    void SetTitle(const QString& title);
    // An empty path until the document was read or saved.
    const QString& GetPathName() const { return pathName_; }
    // Takes the path, its file name as the title, and puts it first in the
    // recent-file list unless `addToRecent` is false.
    void SetPathName(const QString& path, bool addToRecent = true);

    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true);

    const std::vector<CView*>& Views() const { return views_; }
    void AddView(CView& view);
    // When the last view goes, the document closes.
    void RemoveView(CView& view);
    // Tells every view's frame that the title or the modified state changed.
    void UpdateFrameTitles();

    // A fresh, empty document.
    virtual bool OnNewDocument();
    // Reads the file; on failure tells the user why and answers false.
    virtual bool OnOpenDocument(const QString& path);
    // Writes the file without harming the one it replaces; on failure tells
    // the user why and answers false (the document stays modified).
    virtual bool OnSaveDocument(const QString& path);
    // Closes every view without asking; the document goes with the last.
    virtual void OnCloseDocument();
    // When modified, asks "Save changes to <title>?": Yes saves, No
    // discards, Cancel keeps the document open. True when it may close.
    virtual bool SaveModified();

    // Saves to `path`, or asks for a name when it is empty.
    bool DoSave(const QString& path);
    // Saves under the document's path, or asks for a name when it has none.
    bool DoFileSave();

protected:
    // Reads (a loading archive) or writes (a storing one) the whole content;
    // throws ArchiveError on failure.
    virtual void Serialize(Archive& archive) = 0;
    // Empties the content before a new or a loaded document fills it.
    virtual void DeleteContents() {}

private:
    // Tells the user what failed, on which file and why.
    void ReportFailure(const QString& what, const QString& path, const std::exception& failure);

    DocumentHost* host_ = nullptr;
    CDocTemplate* template_ = nullptr;
    QString title_;
    QString pathName_;
    bool modified_ = false;
    std::vector<CView*> views_;
};
