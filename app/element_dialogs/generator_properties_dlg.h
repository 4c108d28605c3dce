#pragma once

#include "element_dialog.h"

class QCheckBox;

// A generator's scheduled output and limits (MW and Mvar) and its label
// check. A remote solver learns of a new active output.
class GeneratorPropertiesDlg : public ElementDialog {
public:
    enum ControlId : int {
        kPId = 1009,
        kQId = 1010,
        kQMaxId = 1011,
        kQMinId = 1012,
        kPMaxId = 1014,
        kPMinId = 1015,
        kShowId = 1013,
    };

    GeneratorPropertiesDlg(IElement& element, PromptService& prompts, QWidget* parent = nullptr);

protected:
    void LoadMembers() override;
    void ArrangeControls() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool WriteBack() override;

private:
    double p_ = 0;
    double q_ = 0;
    double qMin_ = 0;
    double qMax_ = 0;
    double pMin_ = 0;
    double pMax_ = 0;
    int show_ = 0;

    QLineEdit* pField_;
    QLineEdit* qField_;
    QLineEdit* qMaxField_;
    QLineEdit* qMinField_;
    QLineEdit* pMaxField_;
    QLineEdit* pMinField_;
    QCheckBox* showCheck_;
};
