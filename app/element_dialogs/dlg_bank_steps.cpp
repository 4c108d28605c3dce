#include "dlg_bank_steps.h"

#include <QFormLayout>
#include <QLineEdit>

#include "control_id.h"

CDlgBankSteps::CDlgBankSteps(PromptService& prompts, QWidget* parent)
    : DialogBase(prompts, parent), countField_(new QLineEdit(this)), valueField_(new QLineEdit(this)) {
    setWindowTitle("Steps");
    SetControlId(*countField_, kCountId);
    SetControlId(*valueField_, kValueId);
    auto* fields = new QFormLayout;
    fields->addRow("Number of steps:", countField_);
    fields->addRow("Value for each step [MVAr]:", valueField_);
    SetContent(fields);
}

void CDlgBankSteps::DoDataExchange(DataExchange& exchange) {
    exchange.Integer(*countField_, count, FieldRange<int>{1, 9999999});
    ExactNumber(exchange, *valueField_, value);
}
