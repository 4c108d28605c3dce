#pragma once

#include "dialog_base.h"

class QLabel;
class QLineEdit;

// Go to page: the page to show, between 1 and the page count; the counts
// shown in bold. OK with a number outside the pages says so and keeps the
// dialog open.
class CDlgIdiNaStranu : public DialogBase {
public:
    static constexpr int kPageFieldId = 1127;
    static constexpr int kPageCountId = 1128;
    static constexpr int kCurrentPageId = 1129;

    CDlgIdiNaStranu(PromptService& prompts, int currentPage, int pageCount, QWidget* parent = nullptr);

    // The page entered; the current page until OK.
    int EnteredPage() const { return enteredPage_; }

protected:
    void DoDataExchange(DataExchange& exchange) override;
    void OnInitDialog() override;
    bool Validate() override;

private:
    int enteredPage_;
    int currentPage_;
    int pageCount_;
    QLineEdit* pageField_;
    QLabel* pageCountText_;
    QLabel* currentPageText_;
};
