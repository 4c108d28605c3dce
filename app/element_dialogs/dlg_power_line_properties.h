#pragma once

#include <string>

#include "two_port_dialog.h"

// A power line: its name, circuits (1 to 3) and length (km) besides the
// per-km data; its load factor is the end current over the maximum current.
class CDlgPowerLineProperties : public TwoPortDialog {
public:
    enum OwnControlId : int { kNameId = 1052, kCircuitsId = 1022, kLengthId = 1089, kShowNameId = 1042, kLoadFactorId = 1010 };

    CDlgPowerLineProperties(IElement& element, PromptService& prompts, QWidget* parent = nullptr);

protected:
    std::string LoadFactorText() override;
    void LoadMembers() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool WriteBack() override;

private:
    std::string name_;
    int circuits_ = 1;
    double length_ = 0;
    int showName_ = 0;
    QLineEdit* nameField_;
    QLineEdit* circuitsField_;
    QLineEdit* lengthField_;
    QCheckBox* showNameCheck_;
};
