#include "data_exchange.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "colour_picker.h"
#include "exchange_messages.h"
#include "exchange_numbers.h"
#include "prompt_service.h"
#include "windows_1250.h"

template <typename T, typename Parse, typename Format>
void DataExchange::Numeric(QLineEdit& field, T& value, const std::optional<FieldRange<T>>& range, Parse parse,
                           Format format, const char* notANumber, const char* outOfRange) {
    if (Refused()) return;
    if (!Saving()) {
        field.setText(format(value));
        return;
    }
    std::optional<T> read = parse(field.text());
    if (!read) return Refuse(field, notANumber);
    if (range && !field.isReadOnly() && (*read < range->min || *read > range->max)) {
        return Refuse(field, QString(outOfRange).arg(format(range->min), format(range->max)));
    }
    value = *read;
}

void DataExchange::Number(QLineEdit& field, double& value, std::optional<FieldRange<double>> range) {
    Numeric(field, value, range, ParseNumber, FormatNumber, ExchangeMessage::NotANumber,
            ExchangeMessage::NumberOutOfRange);
}

void DataExchange::Integer(QLineEdit& field, int& value, std::optional<FieldRange<int>> range) {
    Numeric(field, value, range, ParseInteger, FormatInteger, ExchangeMessage::NotAnInteger,
            ExchangeMessage::IntegerOutOfRange);
}

void DataExchange::Text(QLineEdit& field, std::string& value, int maxLength) {
    if (Refused()) return;
    if (!Saving()) {
        field.setText(FromWindows1250(value));
        return;
    }
    // Counted in stored bytes: a character outside the code page is one '?'.
    std::string read = ToWindows1250(field.text());
    if (maxLength > 0 && static_cast<int>(read.size()) > maxLength) {
        return Refuse(field, QString(ExchangeMessage::TooLong).arg(maxLength));
    }
    value = std::move(read);
}

void DataExchange::Check(QCheckBox& box, int& state) {
    if (Refused()) return;
    // The stored states are numbered 0 unchecked, 1 checked, 2 indeterminate;
    // Qt numbers the last two the other way round.
    if (Saving()) {
        Qt::CheckState shown = box.checkState();
        state = shown == Qt::Checked ? 1 : shown == Qt::PartiallyChecked ? 2 : 0;
        return;
    }
    if (state == 2) box.setTristate(true);
    box.setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void DataExchange::Radio(std::span<QRadioButton* const> group, int& index) {
    if (Refused()) return;
    if (Saving()) {
        index = -1;
        for (std::size_t i = 0; i < group.size(); ++i) {
            if (group[i]->isChecked()) index = static_cast<int>(i);
        }
        return;
    }
    for (std::size_t i = 0; i < group.size(); ++i) {
        // Exclusive buttons refuse to be unchecked by hand; none checked is
        // a valid state of the group.
        bool exclusive = group[i]->autoExclusive();
        group[i]->setAutoExclusive(false);
        group[i]->setChecked(static_cast<int>(i) == index);
        group[i]->setAutoExclusive(exclusive);
    }
}

void DataExchange::ComboIndex(QComboBox& combo, int& index) {
    if (Refused()) return;
    if (Saving()) {
        index = combo.currentIndex();
    } else {
        combo.setCurrentIndex(index >= 0 && index < combo.count() ? index : -1);
    }
}

void DataExchange::ListIndex(QListWidget& list, int& index) {
    if (Refused()) return;
    if (Saving()) {
        QListWidgetItem* current = list.currentItem();
        index = current != nullptr && current->isSelected() ? list.row(current) : -1;
    } else if (index >= 0 && index < list.count()) {
        list.setCurrentRow(index);
    } else {
        list.setCurrentRow(-1);
        list.clearSelection();
    }
}

void DataExchange::Color(CColourPicker& picker, ColorRef& color) {
    if (Refused()) return;
    if (Saving()) {
        color = picker.colour();
    } else {
        picker.setColour(color);
    }
}

void DataExchange::Refuse(QWidget& field, const QString& message) {
    prompts_.Ask(message, QString(), PromptIcon::Warning, PromptButtons::Ok);
    field.setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(&field)) edit->selectAll();
    refusedField_ = &field;
}
