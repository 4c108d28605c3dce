#pragma once

#include <string>

#include "two_port_dialog.h"

// A transformer with fixed taps: the rated voltages of its windings at
// their taps (kV) and its angle shift; its load factor is the larger end
// power over the rated power.
class CDlgFixedTapTransformerProperties : public TwoPortDialog {
public:
    enum OwnControlId : int {
        kFromTapId = 1105,
        kToTapId = 1008,
        kAngleShiftId = 1009,
        kShowRatioId = 1125,
        kLoadFactorId = 1010,
    };

    CDlgFixedTapTransformerProperties(IElement& element, PromptService& prompts, QWidget* parent = nullptr);

protected:
    std::string LoadFactorText() override;
    void LoadMembers() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool WriteBack() override;

private:
    double fromTap_ = 0;
    double toTap_ = 0;
    double angleShift_ = 0;
    int showRatio_ = 0;
    QLineEdit* fromTapField_;
    QLineEdit* toTapField_;
    QLineEdit* angleShiftField_;
    QCheckBox* showRatioCheck_;
};
