#pragma once

#include "color.h"
#include "dialog_base.h"

class CColourPicker;
class QCheckBox;

// The diagram's background colour, and whether new documents take it too.
class BackgroundColorDlg : public DialogBase {
public:
    static constexpr int kColorId = 1049;
    static constexpr int kSetAsDefaultId = 1103;

    BackgroundColorDlg(PromptService& prompts, ColorRef color, QWidget* parent = nullptr);

    // Read after OK.
    ColorRef Color() const { return color_; }
    bool SetAsDefault() const { return setAsDefault_ == 1; }

protected:
    void DoDataExchange(DataExchange& exchange) override;

private:
    ColorRef color_;
    int setAsDefault_ = 0;
    CColourPicker* picker_;
    QCheckBox* setAsDefaultBox_;
};
