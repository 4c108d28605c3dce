#include "background_color_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "colour_picker.h"
#include "control_id.h"

BackgroundColorDlg::BackgroundColorDlg(PromptService& prompts, ColorRef color, QWidget* parent)
    : DialogBase(prompts, parent),
      color_(color),
      picker_(new CColourPicker(prompts)),
      setAsDefaultBox_(new QCheckBox("Set as default")) {
    setWindowTitle("Set Background Color");
    SetControlId(*picker_, kColorId);
    SetControlId(*setAsDefaultBox_, kSetAsDefaultId);
    picker_->setControlId(kColorId);
    picker_->setText("Background Color");
    // Room for its text beside the drop-down arrow.
    picker_->setMinimumWidth(picker_->fontMetrics().horizontalAdvance(picker_->text()) + 4 * picker_->height());

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel("Select background color:"));
    colorRow->addWidget(picker_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(colorRow);
    layout->addWidget(setAsDefaultBox_);
    layout->addWidget(buttons);
}

void BackgroundColorDlg::DoDataExchange(DataExchange& exchange) {
    exchange.Color(*picker_, color_);
    exchange.Check(*setAsDefaultBox_, setAsDefault_);
}
