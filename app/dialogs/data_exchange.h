#pragma once

#include <optional>
#include <span>
#include <string>

#include <QString>

#include "color.h"

class CColourPicker;
class PromptService;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QWidget;

// The inclusive bounds a field's value must lie within.
template <typename T>
struct FieldRange {
    T min;
    T max;
};

// Moves a dialog's values between its members and its controls. Loading
// shows the members; saving reads the controls back and checks each field.
// The first field refused on saving gets a message, the focus and its text
// selected, and stops the exchange: every later call does nothing, and the
// caller writes nothing when Refused() is set.
class DataExchange {
public:
    enum class Direction { Load, Save };

    DataExchange(Direction direction, PromptService& prompts) : direction_(direction), prompts_(prompts) {}

    bool Saving() const { return direction_ == Direction::Save; }
    bool Refused() const { return refusedField_ != nullptr; }
    QWidget* RefusedField() const { return refusedField_; }

    // Numbers as "%.15g" and "%d". A read-only field is read but never
    // range-checked: it shows a solved value, which the user cannot mend.
    void Number(QLineEdit& field, double& value, std::optional<FieldRange<double>> range = std::nullopt);
    void Integer(QLineEdit& field, int& value, std::optional<FieldRange<int>> range = std::nullopt);
    // A name kept single-byte (Windows-1250); a maximum length of 0 is none.
    void Text(QLineEdit& field, std::string& value, int maxLength = 0);
    // Check state: 0 unchecked, 1 checked, 2 indeterminate.
    void Check(QCheckBox& box, int& state);
    // The index of the checked button of a group; -1 for none.
    void Radio(std::span<QRadioButton* const> group, int& index);
    // The current entry; -1 for none.
    void ComboIndex(QComboBox& combo, int& index);
    void ListIndex(QListWidget& list, int& index);
    // The picker's colour (its text colour when it picks one).
    void Color(CColourPicker& picker, ColorRef& color);

private:
    // The number fields' common road; the kind's reader, writer and messages.
    template <typename T, typename Parse, typename Format>
    void Numeric(QLineEdit& field, T& value, const std::optional<FieldRange<T>>& range, Parse parse,
                 Format format, const char* notANumber, const char* outOfRange);
    void Refuse(QWidget& field, const QString& message);

    Direction direction_;
    PromptService& prompts_;
    QWidget* refusedField_ = nullptr;
};
