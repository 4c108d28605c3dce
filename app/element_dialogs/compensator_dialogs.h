#pragma once

#include "element_dialog.h"

class QCheckBox;

// The reactive sources without active output: the solved Q (read-only),
// the limits for 1 p.u. and the label check. They store no active power
// and send no change command.
class CompensatorDialog : public ElementDialog {
public:
    enum ControlId : int { kQId = 1010, kQMaxId = 1011, kQMinId = 1012, kShowId = 1013 };

protected:
    CompensatorDialog(IElement& element, PromptService& prompts, QWidget* parent, const char* title,
                      const char* qLabel);

    void LoadMembers() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool WriteBack() override;

    QLineEdit* qField_;
    QLineEdit* qMaxField_;
    QLineEdit* qMinField_;

private:
    double q_ = 0;
    double qMax_ = 0;
    double qMin_ = 0;
    int show_ = 0;
    QCheckBox* showCheck_;
};

class CDlgSynchronousCompensatorProperties : public CompensatorDialog {
public:
    CDlgSynchronousCompensatorProperties(IElement& element, PromptService& prompts, QWidget* parent = nullptr);

protected:
    void ArrangeControls() override;
};

class CDlgSVCProperties : public CompensatorDialog {
public:
    CDlgSVCProperties(IElement& element, PromptService& prompts, QWidget* parent = nullptr);

protected:
    void ArrangeControls() override;
};
