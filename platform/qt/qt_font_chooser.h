#pragma once

#include <QDialog>

#include "prompt_service.h"

class QFontDialog;
class QPushButton;

// The standard font dialog with a colour for the text, as the label font
// settings need: screen fonts with their effects, started from a LOGFONT.
// Only what the dialog shows is changed in the answer (face, height, weight,
// italic, underline, strike-out and the colour); the record's other fields
// are those it was started with.
class FontChooser final : public QDialog {
public:
    // The colour button asks `prompts` for the colour.
    FontChooser(const FontChoice& initial, PromptService& prompts, QWidget* parent = nullptr);

    FontChoice Choice() const;

private:
    void ShowColor();

    FontChoice initial_;
    ColorRef color_;
    PromptService& prompts_;
    QFontDialog* fonts_;
    QPushButton* colorButton_;
};
