#pragma once

#include "document_base.h"

class IDBReport;

// The results document: one finished report, shown page by page. It takes
// over the reference its maker held and releases it when it goes. A report
// is made by a study, never read from a file.
class CFinansDoc : public CDocument {
public:
    // The document string of the report template (resource 220): no file
    // type, and not offered by File New.
    static constexpr const char* kDocString = "\nReport\n\n\n\nReport.Document\nReport";
    static constexpr int kResourceId = 220;

    CFinansDoc() = default;
    ~CFinansDoc() override;

    // Takes over the caller's reference; a report held before is released.
    void SetReport(IDBReport* report);
    IDBReport* GetReport() const { return report_; }

protected:
    // Reports are saved as text from their window, not as documents.
    void Serialize(Archive& archive) override;

private:
    IDBReport* report_ = nullptr;
};
