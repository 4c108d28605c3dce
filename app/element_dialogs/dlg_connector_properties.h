#pragma once

#include <string>

#include "element_dialog.h"

class QCheckBox;

// A connector or switch: its name and whether its flow label shows.
class CDlgConnectorProperties : public ElementDialog {
public:
    enum ControlId : int { kNameId = 1130, kShowId = 1103 };

    CDlgConnectorProperties(IElement& element, PromptService& prompts, QWidget* parent = nullptr);

protected:
    void LoadMembers() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool WriteBack() override;

private:
    std::string name_;
    int show_ = 0;
    QLineEdit* nameField_;
    QCheckBox* showCheck_;
};
