#include "finans_doc.h"

#include "archive.h"
#include "report_interface.h"

CFinansDoc::~CFinansDoc() {
    if (report_ != nullptr) report_->Release();
}

void CFinansDoc::SetReport(IDBReport* report) {
    if (report_ != nullptr) report_->Release();
    report_ = report;
}

void CFinansDoc::Serialize(Archive&) {
    throw ArchiveError(ArchiveError::Kind::FileFailure, "A report is saved as text from its window.");
}
