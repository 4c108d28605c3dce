#pragma once

#include <array>

#include "element_dialog.h"

class QCheckBox;

// A load: its P and Q at the present voltage (read-only) and the six parts
// of its voltage characteristic, constant power, current and impedance of
// P (MW) and of Q (Mvar). A remote solver learns of a changed
// characteristic, with the P and Q that the label update recomputes.
class CDlgLoadProperties : public ElementDialog {
public:
    enum ControlId : int {
        kPId = 1014,
        kQId = 1015,
        kPConstantPowerId = 1017,
        kPConstantCurrentId = 1018,
        kPConstantImpedanceId = 1019,
        kQConstantPowerId = 1020,
        kQConstantCurrentId = 1021,
        kQConstantImpedanceId = 1022,
        kShowId = 1016,
    };

    CDlgLoadProperties(IElement& element, PromptService& prompts, QWidget* parent = nullptr);

protected:
    void LoadMembers() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool WriteBack() override;

private:
    double p_ = 0;
    double q_ = 0;
    std::array<double, 6> parts_{};
    int show_ = 0;

    QLineEdit* pField_;
    QLineEdit* qField_;
    std::array<QLineEdit*, 6> partFields_{};
    QCheckBox* showCheck_;
};
