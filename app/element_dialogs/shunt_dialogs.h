#pragma once

#include "element_dialog.h"

class QCheckBox;

// The fixed shunts: each shows what it takes at the present voltage of its
// bus ("%.6g"; 0 while off or not on exactly one bus) and sends a remote
// solver its new values only when they changed.
class ShuntFamilyDialog : public ElementDialog {
public:
    // The present P and Q (MW, Mvar): 0 when the element gives none.
    struct PresentValues {
        double p = 0;
        double q = 0;
    };

protected:
    using ElementDialog::ElementDialog;
    PresentValues ReadPresentValues();
};

// A shunt admittance: P and Q at 1 p.u., Q positive capacitive.
class CDlgShuntProperties : public ShuntFamilyDialog {
public:
    enum ControlId : int { kPId = 1017, kQId = 1018, kPresentPId = 1020, kPresentQId = 1021, kShowId = 1019 };

    CDlgShuntProperties(IElement& element, PromptService& prompts, QWidget* parent = nullptr);

protected:
    void LoadMembers() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool WriteBack() override;

private:
    double p_ = 0;
    double q_ = 0;
    int show_ = 0;
    QLineEdit* pField_;
    QLineEdit* qField_;
    QLineEdit* presentPField_;
    QLineEdit* presentQField_;
    QCheckBox* showCheck_;
};

// A capacitor or a reactor: one Q at 1 p.u., shown and typed as a
// magnitude and stored with the kind's sign, whatever sign is typed.
class FixedShuntDialog : public ShuntFamilyDialog {
public:
    enum ControlId : int { kQId = 1018, kPresentQId = 1021, kShowId = 1019 };

    // The texts and the stored sign of a kind.
    struct Kind {
        const char* title;
        const char* qLabel;
        const char* presentLabel;
        const char* checkText;
        double sign;  // +1 capacitor, -1 reactor
    };

protected:
    FixedShuntDialog(IElement& element, PromptService& prompts, QWidget* parent, const Kind& kind);

    void LoadMembers() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool WriteBack() override;

private:
    double sign_;
    double q_ = 0;
    int show_ = 0;
    QLineEdit* qField_;
    QLineEdit* presentQField_;
    QCheckBox* showCheck_;
};

class CapacitorPropertiesDlg : public FixedShuntDialog {
public:
    CapacitorPropertiesDlg(IElement& element, PromptService& prompts, QWidget* parent = nullptr);
};

class CDlgReactorProperties : public FixedShuntDialog {
public:
    CDlgReactorProperties(IElement& element, PromptService& prompts, QWidget* parent = nullptr);
};
