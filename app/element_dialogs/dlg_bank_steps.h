#pragma once

#include "dialog_base.h"

class QLineEdit;

// One row of a switched bank's step table: how many steps, and the Mvar of
// each. The caller sets both before DoModal and reads them after OK; a
// value left as shown comes back exactly.
class CDlgBankSteps : public DialogBase {
public:
    enum ControlId : int { kCountId = 1111, kValueId = 1001 };

    explicit CDlgBankSteps(PromptService& prompts, QWidget* parent = nullptr);

    int count = 0;
    double value = 0;

protected:
    void DoDataExchange(DataExchange& exchange) override;

private:
    QLineEdit* countField_;
    QLineEdit* valueField_;
};
