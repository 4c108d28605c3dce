#pragma once

#include <array>

#include <QDialog>

#include "data_view.h"

class IRecordCursor;
class PromptService;
class QPushButton;
class QTabWidget;

// "Data tabular view": the model's buses and branches with their solved
// values on four tabbed pages. "Print" closes it with Accepted, and the
// caller then previews the power-flow report; "Close" rejects it. A page
// is filled when it is first shown.
class CDataDlg : public QDialog {
public:
    // The cursor is the model's, borrowed; null leaves every page empty.
    CDataDlg(PromptService& prompts, IRecordCursor* cursor, QWidget* parent = nullptr, int firstPage = 0);

    // Fills the first page shown; DoModal calls it, tests call it to look
    // at the sheet without running it.
    void SetUp();
    int DoModal();

    QTabWidget& Tabs() const { return *tabs_; }
    CDataView& Page(int index) const { return *pages_[static_cast<std::size_t>(index)]; }
    QPushButton& PrintButton() const { return *print_; }
    QPushButton& CloseButton() const { return *close_; }

private:
    PromptService& prompts_;
    int firstPage_;
    QTabWidget* tabs_;
    std::array<CDataView*, CDataView::kPageCount> pages_{};
    QPushButton* print_;
    QPushButton* close_;
};
