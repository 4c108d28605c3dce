#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QString>

#include "prompt_service.h"

class CDocument;
class CView;
class DocumentHost;

// The fields of a template's document string, in their order, separated
// by '\n': window title, document name (the base of "Untitled1"), the name
// File New offers (empty: not offered), the filter's name and extension,
// and two type names.
struct DocStrings {
    QString windowTitle;
    QString docName;
    QString fileNewName;
    QString filterName;
    QString filterExt;
    QString fileTypeId;
    QString fileTypeName;

    static DocStrings Parse(const QString& docString);
};

// A kind of document: how to make the document and its view. Every
// template's views sit in the same kind of child frame. The template owns
// its open documents.
class CDocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    using ViewFactory = std::function<CView*(CDocument&)>;

    CDocTemplate(int resourceId, const QString& docString, DocumentFactory makeDocument, ViewFactory makeView);
    ~CDocTemplate();

    int ResourceId() const { return resourceId_; }
    const DocStrings& Strings() const { return strings_; }
    // The type list entry of the open and save dialogs; empty description
    // when the template has no file type.
    FileFilter Filter() const;
    // The file's extension is the template's (case ignored).
    bool MatchesExtension(const QString& path) const;

    // A new document owned by the template, not yet loaded or initialised.
    CDocument& CreateNewDocument(DocumentHost& host);
    // Titles a document that has no file: "Untitled1", "Untitled2" ... A
    // document opened from a file takes no number.
    void SetDefaultTitle(CDocument& document);
    // Destroys the document; its views must be gone.
    void RemoveDocument(CDocument& document);
    const std::vector<std::unique_ptr<CDocument>>& Documents() const { return documents_; }

    // A new view of the document, without a parent yet.
    CView* CreateView(CDocument& document) const { return makeView_(document); }

private:
    int resourceId_;
    DocStrings strings_;
    DocumentFactory makeDocument_;
    ViewFactory makeView_;
    int untitledCount_ = 0;
    std::vector<std::unique_ptr<CDocument>> documents_;
};
