#include "dlg_system_info_properties.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "control_id.h"
#include "element_interface.h"

namespace {
constexpr int kCaptionBit = 1;
}  // namespace

const char* const CDlgSystemInfoProperties::kTotals[10] = {
    "System active load",
    "System reactive load",
    "System active generation",
    "System reactive generation",
    "System active loss",
    "System reactive loss",
    "System shunt active generation",
    "System shunt reactive generation",
    "System active import",
    "System reactive import",
};

CDlgSystemInfoProperties::CDlgSystemInfoProperties(IElement& element, PromptService& prompts, QWidget* parent)
    : ElementDialog(element, prompts, parent),
      totalList_(new QListWidget(this)),
      showLabelCheck_(new QCheckBox("Show label in front", this)) {
    setWindowTitle("System Info Properties");
    for (const char* total : kTotals) totalList_->addItem(QString::fromLatin1(total));
    SetControlId(*totalList_, kInfoId);
    SetControlId(*showLabelCheck_, kShowLabelId);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Info:", this), 0, 0, Qt::AlignTop);
    grid->addWidget(totalList_, 0, 1);
    grid->addWidget(showLabelCheck_, 1, 1);
    labelField_ = AddField(*grid, 2, 0, "Label:", kLabelId);
    SetContent(grid);
    connect(showLabelCheck_, &QCheckBox::toggled, this, [this] { EnableLabel(); });
}

void CDlgSystemInfoProperties::LoadMembers() {
    code_ = static_cast<int>(Arrays().Value(0));
    showLabel_ = code_ & kCaptionBit;
    label_ = Element().GetName();
    total_ = code_ >> 1;
}

void CDlgSystemInfoProperties::ArrangeControls() { EnableLabel(); }

void CDlgSystemInfoProperties::EnableLabel() { labelField_->setEnabled(showLabelCheck_->isChecked()); }

void CDlgSystemInfoProperties::DoDataExchange(DataExchange& exchange) {
    exchange.ListIndex(*totalList_, total_);
    exchange.Check(*showLabelCheck_, showLabel_);
    exchange.Text(*labelField_, label_);
}

bool CDlgSystemInfoProperties::WriteBack() {
    // With no total chosen (a stored index past the list) the box keeps the
    // one it has; only the caption bit follows the check.
    const int index = total_ >= 0 ? total_ : code_ >> 1;
    int code = index * 2;
    if (showLabel_ != 0) {
        Element().SetName(label_);
        code += kCaptionBit;
    }
    Arrays().SetValue(0, code);
    return false;
}
