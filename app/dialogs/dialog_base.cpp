#include "dialog_base.h"

#include <vector>

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// The widgets that take the focus, in the order the layout holds them,
// those inside group boxes and the button box included.
void CollectFocusable(const QLayout& layout, std::vector<QWidget*>& out);

void CollectFocusable(QWidget& widget, std::vector<QWidget*>& out) {
    if (widget.layout() != nullptr) {
        CollectFocusable(*widget.layout(), out);
    } else if (widget.focusPolicy() != Qt::NoFocus) {
        out.push_back(&widget);
    }
}

void CollectFocusable(const QLayout& layout, std::vector<QWidget*>& out) {
    for (int i = 0; i < layout.count(); ++i) {
        QLayoutItem* item = layout.itemAt(i);
        if (QWidget* widget = item->widget()) {
            CollectFocusable(*widget, out);
        } else if (QLayout* inner = item->layout()) {
            CollectFocusable(*inner, out);
        }
    }
}

}  // namespace

DialogBase::DialogBase(PromptService& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {}

void DialogBase::SetUp() {
    if (setUp_) return;
    setUp_ = true;
    // Tab goes through the controls in the order the layout holds them,
    // whatever order they were made in.
    std::vector<QWidget*> controls;
    if (layout() != nullptr) CollectFocusable(*layout(), controls);
    for (std::size_t i = 1; i < controls.size(); ++i) setTabOrder(controls[i - 1], controls[i]);
    OnInitDialog();
    // The first control that can be used has the focus (a field that only
    // shows a value cannot); typing replaces the text of a first field.
    for (QWidget* control : controls) {
        auto* field = qobject_cast<QLineEdit*>(control);
        if (!control->isEnabled() || (field != nullptr && field->isReadOnly())) continue;
        control->setFocus(Qt::TabFocusReason);
        if (field != nullptr) field->selectAll();
        break;
    }
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
