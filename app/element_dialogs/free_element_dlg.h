#pragma once

#include <string>

#include "element_dialog.h"

class QCheckBox;

// A free line, a free text or a polygon: its text, which the caller copies
// from the element's name and back after OK, and, for a kind with a title,
// whether the text shows. A free text has no title: its text always shows.
class FreeElementDlg : public ElementDialog {
public:
    enum ControlId : int { kTextId = 1050, kShowId = 1103 };

    FreeElementDlg(IElement& element, std::string title, PromptService& prompts, QWidget* parent = nullptr);

    std::string text;

protected:
    void LoadMembers() override;
    void ArrangeControls() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool WriteBack() override;

private:
    std::string title_;
    int show_ = 0;
    QLineEdit* textField_;
    QCheckBox* showCheck_;
};
