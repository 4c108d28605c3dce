#include "line_fill_font_dlg.h"

#include <algorithm>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "color_list_box.h"
#include "colour_picker.h"
#include "control_id.h"
#include "edit_ex.h"
#include "font_setting.h"
#include "up_down.h"
#include "windows_1250.h"

namespace {

constexpr int kSwatchGap = 3;

}  // namespace

LineFillFontDlg::LineFillFontDlg(PromptService& prompts, DesktopActions& desktop, std::span<FontSetting> fonts,
                                 std::span<const std::string_view> labelNames, ColorRef lineColor,
                                 ColorRef fillColor, bool hasFill, QWidget* parent)
    : DialogBase(prompts, parent),
      fonts_(fonts.first(std::min(fonts.size(), labelNames.size()))),
      lineColor_(lineColor),
      fillColor_(fillColor),
      hasFill_(hasFill),
      labels_(new ColorListBox),
      preview_(new CEditEx(desktop)),
      uniform_(new QPushButton("Uniform")),
      font_(new QPushButton("Font...")),
      linePicker_(new CColourPicker(prompts)),
      fillPicker_(new CColourPicker(prompts)),
      fillGroup_(new QGroupBox("Fill Color")),
      lineWidthField_(new QLineEdit),
      lineWidthSpin_(new UpDown),
      applyToAllBox_(new QCheckBox("Apply to all existing")) {
    setWindowTitle("Line, Fill  And Font Properties");
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        labelNames_.push_back(FromWindows1250(labelNames[i]));
        labelFonts_.push_back(fonts_[i].font);
        labelColors_.push_back(fonts_[i].color);
    }

    SetControlId(*labels_, kLabelListId);
    SetControlId(*preview_, kPreviewId);
    SetControlId(*uniform_, kUniformId);
    SetControlId(*font_, kFontId);
    SetControlId(*linePicker_, kLineColorId);
    SetControlId(*fillPicker_, kFillColorId);
    SetControlId(*fillGroup_, kFillGroupId);
    SetControlId(*lineWidthField_, kLineWidthId);
    SetControlId(*lineWidthSpin_, kLineWidthSpinId);
    SetControlId(*applyToAllBox_, kApplyToAllId);
    linePicker_->setControlId(kLineColorId);
    fillPicker_->setControlId(kFillColorId);
    for (CColourPicker* picker : {linePicker_, fillPicker_}) picker->setText("Select Color ");
    // The preview only shows the label's font; the font chooser changes it.
    preview_->setReadOnly(true);
    fillPicker_->setEnabled(false);
    fillGroup_->setEnabled(false);

    connect(uniform_, &QPushButton::clicked, this, &LineFillFontDlg::OnUniform);
    connect(font_, &QPushButton::clicked, this, &LineFillFontDlg::OnFont);
    connect(labels_, &QListWidget::itemDoubleClicked, this, &LineFillFontDlg::OnFont);
    connect(labels_, &QListWidget::currentRowChanged, this, &LineFillFontDlg::ShowPreview);

    auto* fontButtons = new QHBoxLayout;
    fontButtons->addWidget(uniform_);
    fontButtons->addWidget(font_);
    auto* fontColumn = new QVBoxLayout;
    fontColumn->addWidget(new QLabel("Elements:"));
    fontColumn->addWidget(labels_);
    fontColumn->addWidget(new QLabel("Font preview:"));
    fontColumn->addWidget(preview_);
    fontColumn->addLayout(fontButtons);

    auto* fillLayout = new QHBoxLayout(fillGroup_);
    fillLayout->addWidget(fillPicker_);
    // The arrows stand beside the field, as high as it is.
    lineWidthField_->setFixedWidth(60);
    lineWidthSpin_->setFixedHeight(lineWidthField_->sizeHint().height());
    auto* widthRow = new QHBoxLayout;
    widthRow->setSpacing(0);
    widthRow->addWidget(lineWidthField_);
    widthRow->addWidget(lineWidthSpin_);
    widthRow->addStretch();
    auto* lineFields = new QGridLayout;
    lineFields->addWidget(new QLabel("Line color:"), 0, 0);
    lineFields->addWidget(linePicker_, 0, 1);
    lineFields->addWidget(new QLabel("Line width:"), 1, 0);
    lineFields->addLayout(widthRow, 1, 1);
    auto* lineColumn = new QVBoxLayout;
    lineColumn->addLayout(lineFields);
    lineColumn->addWidget(fillGroup_);
    lineColumn->addWidget(applyToAllBox_);
    lineColumn->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(fontColumn, 3);
    columns->addLayout(lineColumn, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
}

void LineFillFontDlg::OnInitDialog() {
    if (!allowApplyToAll_) applyToAllBox_->hide();
    // Labels are previewed on what they are drawn on: the diagram's
    // background, or a polygon's fill.
    preview_->SetBackColor(fillColor_);

    for (std::size_t i = 0; i < labelNames_.size(); ++i) {
        ColorListItem item;
        item.color = fillColor_;
        item.textColor = labelColors_[i];
        item.format1 = TextFormat::Left;
        item.format2 = TextFormat::VerticalCenter;
        labels_->AddItem(labelNames_[i], item);
    }
    labels_->SetDrawFocus(true);
    labels_->SetSwatchGap(kSwatchGap);
    labels_->setCurrentRow(0);

    lineWidth_ = std::max(lineWidth_, kMinLineWidth);
    lineWidthSpin_->SetBuddy(lineWidthField_);
    lineWidthSpin_->SetRange(kMinLineWidth, kMaxLineWidth);
    ShowPreview();

    if (hasFill_) {
        // A fill belongs to the one polygon edited.
        applyToAllBox_->setEnabled(false);
        fillPicker_->setEnabled(true);
        fillGroup_->setEnabled(true);
    }
    UpdateData(false);
}

void LineFillFontDlg::DoDataExchange(DataExchange& exchange) {
    exchange.Color(*linePicker_, lineColor_);
    exchange.Color(*fillPicker_, fillColor_);
    exchange.Integer(*lineWidthField_, lineWidth_, FieldRange<int>{kMinLineWidth, kMaxLineWidth});
    exchange.Check(*applyToAllBox_, applyToAll_);
}

void LineFillFontDlg::ShowPreview() {
    int label = labels_->currentRow();
    if (label < 0 || label >= static_cast<int>(labelFonts_.size())) return;
    preview_->SetTextColor(labelColors_[label]);
    preview_->SetFocusTextColor(labelColors_[label]);
    preview_->SetFont(&labelFonts_[label]);
    preview_->setText(FromWindows1250(labelFonts_[label].FaceName()));
}

void LineFillFontDlg::OnFont() {
    int label = labels_->currentRow();
    if (label < 0 || label >= static_cast<int>(labelFonts_.size())) return;
    std::optional<FontChoice> chosen = Prompts().ChooseFont({labelFonts_[label], labelColors_[label]});
    if (!chosen) return;
    labelFonts_[label] = chosen->font;
    labelColors_[label] = chosen->color;
    labels_->SetItemTextColor(chosen->color);
    ShowPreview();
}

void LineFillFontDlg::OnUniform() {
    int label = labels_->currentRow();
    if (label < 0 || label >= static_cast<int>(labelFonts_.size())) return;
    const LogFont font = labelFonts_[label];
    const ColorRef color = labelColors_[label];
    std::fill(labelFonts_.begin(), labelFonts_.end(), font);
    std::fill(labelColors_.begin(), labelColors_.end(), color);
    for (int i = 0; i < labels_->count(); ++i) labels_->SetItemTextColor(color, i);
}

void LineFillFontDlg::Commit() {
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        fonts_[i].font = labelFonts_[i];
        fonts_[i].color = labelColors_[i];
    }
}
