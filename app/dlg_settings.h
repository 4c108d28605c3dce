#pragma once

#include "dialog_base.h"
#include "network_dialogs.h"

class QLineEdit;

// "Duplication": how far the Duplicate command and the arrow keys move the
// selection, in grid steps. Any integer is taken.
class CDlgSettings : public DialogBase {
public:
    static constexpr int kHorizontalId = 1130;
    static constexpr int kVerticalId = 1131;
    static constexpr int kLongMoveId = 1132;

    CDlgSettings(PromptService& prompts, const DuplicationSteps& steps, QWidget* parent = nullptr);

    // Read after OK.
    const DuplicationSteps& Steps() const { return steps_; }

protected:
    void DoDataExchange(DataExchange& exchange) override;

private:
    DuplicationSteps steps_;
    QLineEdit* horizontal_;
    QLineEdit* vertical_;
    QLineEdit* longMove_;
};
