#include "dlg_settings.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "control_id.h"
#include "dialog_buttons.h"

CDlgSettings::CDlgSettings(PromptService& prompts, const DuplicationSteps& steps, QWidget* parent)
    : DialogBase(prompts, parent),
      steps_(steps),
      horizontal_(new QLineEdit),
      vertical_(new QLineEdit),
      longMove_(new QLineEdit) {
    setWindowTitle("Duplication");
    SetControlId(*horizontal_, kHorizontalId);
    SetControlId(*vertical_, kVerticalId);
    SetControlId(*longMove_, kLongMoveId);
    auto* fields = new QFormLayout;
    fields->addRow("Move horizontaly steps:", horizontal_);
    fields->addRow("Move verticaly steps:", vertical_);
    fields->addRow("Long move:", longMove_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(MakeDialogButtons(*this).box);
}

void CDlgSettings::DoDataExchange(DataExchange& exchange) {
    exchange.Integer(*horizontal_, steps_.horizontal);
    exchange.Integer(*vertical_, steps_.vertical);
    exchange.Integer(*longMove_, steps_.longMove);
}
