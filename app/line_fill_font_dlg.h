#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "color.h"
#include "dialog_base.h"
#include "drawing_records.h"

class CColourPicker;
class CEditEx;
class ColorListBox;
class DesktopActions;
class FontSetting;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class UpDown;

// The appearance of one diagram element, or of the document's defaults:
// the font and colour of each label, the line colour and width, a polygon's
// fill, and whether the result goes to every element of the kind. The
// labels are edited on copies; OK writes them back into the caller's font
// settings, Cancel leaves those untouched.
class LineFillFontDlg : public DialogBase {
public:
    static constexpr int kLabelListId = 1046;
    static constexpr int kPreviewId = 1047;
    static constexpr int kFontId = 1048;
    static constexpr int kUniformId = 1049;
    static constexpr int kLineColorId = 1045;
    static constexpr int kFillColorId = 1050;
    static constexpr int kFillGroupId = 1156;
    static constexpr int kLineWidthId = 1130;
    static constexpr int kLineWidthSpinId = 1145;
    static constexpr int kApplyToAllId = 1104;
    static constexpr int kMinLineWidth = 1;
    static constexpr int kMaxLineWidth = 4;

    // One label per name, as far as the fonts reach: a short font list is
    // never read past its end. The fonts are borrowed until the dialog ends.
    LineFillFontDlg(PromptService& prompts, DesktopActions& desktop, std::span<FontSetting> fonts,
                    std::span<const std::string_view> labelNames, ColorRef lineColor, ColorRef fillColor,
                    bool hasFill, QWidget* parent = nullptr);

    // Set before the dialog runs.
    void SetLineWidth(int width) { lineWidth_ = width; }
    void SetAllowApplyToAll(bool allow) { allowApplyToAll_ = allow; }

    // Read after OK.
    ColorRef LineColor() const { return lineColor_; }
    ColorRef FillColor() const { return fillColor_; }
    int LineWidth() const { return lineWidth_; }
    bool ApplyToAll() const { return applyToAll_ == 1; }

    // "Font..." (and a double click on a label): the font chooser on the
    // selected label; nothing without one.
    void OnFont();
    // "Uniform": the selected label's font and colour to every label.
    void OnUniform();

protected:
    void OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    void Commit() override;

private:
    void ShowPreview();

    std::span<FontSetting> fonts_;
    std::vector<QString> labelNames_;
    std::vector<LogFont> labelFonts_;
    std::vector<ColorRef> labelColors_;
    ColorRef lineColor_;
    ColorRef fillColor_;
    bool hasFill_;
    int lineWidth_ = kMinLineWidth;
    int applyToAll_ = 0;
    bool allowApplyToAll_ = false;

    ColorListBox* labels_;
    CEditEx* preview_;
    QPushButton* uniform_;
    QPushButton* font_;
    CColourPicker* linePicker_;
    CColourPicker* fillPicker_;
    QGroupBox* fillGroup_;
    QLineEdit* lineWidthField_;
    UpDown* lineWidthSpin_;
    QCheckBox* applyToAllBox_;
};
