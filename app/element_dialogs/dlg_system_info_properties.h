#pragma once

#include <string>

#include "element_dialog.h"

class QCheckBox;
class QListWidget;

// A system information box: which of the model's totals it shows and
// whether its caption (the element's name) stands in front. The element
// keeps both in one code: the total's index times 2, plus 1 for the
// caption.
class CDlgSystemInfoProperties : public ElementDialog {
public:
    enum ControlId : int { kInfoId = 1148, kShowLabelId = 1103, kLabelId = 1130 };
    static const char* const kTotals[10];

    CDlgSystemInfoProperties(IElement& element, PromptService& prompts, QWidget* parent = nullptr);

protected:
    void LoadMembers() override;
    void ArrangeControls() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool WriteBack() override;

private:
    // The caption is edited only while it is to be shown.
    void EnableLabel();

    int code_ = 0;
    int total_ = -1;
    int showLabel_ = 0;
    std::string label_;
    QListWidget* totalList_;
    QCheckBox* showLabelCheck_;
    QLineEdit* labelField_;
};
