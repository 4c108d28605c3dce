#include "doc_template.h"

#include <algorithm>

#include <QFileInfo>
#include <QStringList>

#include "document_base.h"

DocStrings DocStrings::Parse(const QString& docString) {
    QStringList fields = docString.split('\n');
    while (fields.size() < 7) fields.append(QString());
    return {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]};
}

CDocTemplate::CDocTemplate(int resourceId, const QString& docString, DocumentFactory makeDocument,
                           ViewFactory makeView)
    : resourceId_(resourceId),
      strings_(DocStrings::Parse(docString)),
      makeDocument_(std::move(makeDocument)),
      makeView_(std::move(makeView)) {}

CDocTemplate::~CDocTemplate() = default;

FileFilter CDocTemplate::Filter() const {
    if (strings_.filterExt.isEmpty()) return {};
    return {strings_.filterName, "*" + strings_.filterExt};
}

bool CDocTemplate::MatchesExtension(const QString& path) const {
    if (strings_.filterExt.isEmpty()) return false;
    return ("." + QFileInfo(path).suffix()).compare(strings_.filterExt, Qt::CaseInsensitive) == 0;
}

CDocument& CDocTemplate::CreateNewDocument(DocumentHost& host) {
    std::unique_ptr<CDocument> document = makeDocument_();
    document->Attach(*this, host);
    documents_.push_back(std::move(document));
    return *documents_.back();
}

void CDocTemplate::SetDefaultTitle(CDocument& document) {
    QString base = strings_.docName.isEmpty() ? QStringLiteral("Untitled") : strings_.docName;
    document.SetTitle(base + QString::number(++untitledCount_));
}

void CDocTemplate::RemoveDocument(CDocument& document) {
    auto found = std::find_if(documents_.begin(), documents_.end(),
                              [&](const auto& owned) { return owned.get() == &document; });
    if (found == documents_.end()) return;
    // Out of the list first: the destructor may look at the template.
    std::unique_ptr<CDocument> removed = std::move(*found);
    documents_.erase(found);
}
