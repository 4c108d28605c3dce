#include "dialog_base.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

DialogBase::DialogBase(PromptService& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {}

void DialogBase::SetUp() {
    if (setUp_) return;
    setUp_ = true;
    OnInitDialog();
    for (const QLineEdit* field : findChildren<QLineEdit*>()) shownTexts_[field] = field->text();
}

int DialogBase::DoModal() {
    SetUp();
    return prompts_.RunModal(*this);
}

void DialogBase::OnInitDialog() { UpdateData(false); }

void DialogBase::accept() {
    if (!UpdateData(true) || !Validate()) return;
    Commit();
    QDialog::accept();
}

PromptAnswer DialogBase::Message(const QString& text, PromptIcon icon, PromptButtons buttons) {
    return prompts_.Ask(text, QString(), icon, buttons);
}

void DialogBase::SetContent(QLayout* content, std::initializer_list<QWidget*> below) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(content);
    for (QWidget* widget : below) layout->addWidget(widget);
    layout->addWidget(buttons);
}

bool DialogBase::FieldChanged(const QLineEdit& field) const {
    auto shown = shownTexts_.find(&field);
    return shown != shownTexts_.end() && shown->second != field.text();
}

void DialogBase::ExactNumber(DataExchange& exchange, QLineEdit& field, double& value,
                             std::optional<FieldRange<double>> range, RangeCheck check) {
    if (!exchange.Saving() || FieldChanged(field)) return exchange.Number(field, value, range);
    if (check == RangeCheck::WhenTyped) return;
    double shown = value;  // checked as shown, kept as it was
    exchange.Number(field, shown, range);
}

bool DialogBase::UpdateData(bool save) {
    DataExchange exchange(save ? DataExchange::Direction::Save : DataExchange::Direction::Load, prompts_);
    DoDataExchange(exchange);
    refusedField_ = exchange.RefusedField();
    return !exchange.Refused();
}
