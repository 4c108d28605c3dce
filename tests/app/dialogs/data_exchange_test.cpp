#include <gtest/gtest.h>

#include <optional>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QRadioButton>
#include <QWidget>

#include "colour_picker.h"
#include "colour_picker_popup.h"
#include "data_exchange.h"
#include "decimal_comma_locale.h"
#include "scripted_prompt_service.h"

namespace {

using Direction = DataExchange::Direction;

enum class Field { Number, Integer, Text };

struct Case {
    const char* typed;
    Field field;
    const char* refusal;  // null: accepted
    double accepted = 0;  // the value read, when accepted
};

// One form with a field before the one under test, so that the focus has
// somewhere else to be.
struct Form {
    QWidget window;
    QLineEdit* before = new QLineEdit(&window);
    QLineEdit* field = new QLineEdit(&window);
    ScriptedPromptService prompts;

    Form() { before->setFocus(); }

    // Saves the field as the case's kind; the refusal message, if any.
    std::optional<QString> Save(const Case& c, double& number, int& integer, std::string& text) {
        field->setText(QString::fromUtf8(c.typed));
        DataExchange exchange(Direction::Save, prompts);
        switch (c.field) {
            case Field::Number: exchange.Number(*field, number, FieldRange<double>{1, 4}); break;
            case Field::Integer: exchange.Integer(*field, integer, FieldRange<int>{1, 4}); break;
            case Field::Text: exchange.Text(*field, text, 300); break;
        }
        if (!exchange.Refused()) return std::nullopt;
        EXPECT_EQ(exchange.RefusedField(), field);
        return prompts.Messages().back().text;
    }
};

TEST(DataExchange, FieldsAreReadInTheCLocaleAndRefusedWithTheStandardMessages) {
    const std::string longName(301, 'x');
    const std::string fullName(300, 'x');
    const Case cases[] = {
        {"abc", Field::Number, "Please enter a number."},
        {"nan", Field::Number, "Please enter a number."},
        {"inf", Field::Number, "Please enter a number."},
        {"-inf", Field::Number, "Please enter a number."},
        {"1e999", Field::Number, "Please enter a number."},
        {"", Field::Number, "Please enter a number."},
        {"2.5x", Field::Number, "Please enter a number."},
        {"5", Field::Number, "Please enter a number between 1 and 4."},
        {"0.999", Field::Number, "Please enter a number between 1 and 4."},
        {" 2.5 ", Field::Number, nullptr, 2.5},
        {"+4", Field::Number, nullptr, 4},
        {"1", Field::Number, nullptr, 1},
        {"2.5", Field::Integer, "Please enter an integer."},
        {"99999999999", Field::Integer, "Please enter an integer."},
        {"5", Field::Integer, "Please enter an integer between 1 and 4."},
        {"\t3 ", Field::Integer, nullptr, 3},
        {longName.c_str(), Field::Text, "Please enter no more than 300 characters."},
        {fullName.c_str(), Field::Text, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed).substr(0, 12));
        Form form;
        double number = 3;
        int integer = 3;
        std::string text = "kept";
        std::optional<QString> refusal = form.Save(c, number, integer, text);
        if (c.refusal != nullptr) {
            ASSERT_TRUE(refusal.has_value());
            EXPECT_EQ(*refusal, QString::fromUtf8(c.refusal));
            EXPECT_EQ(form.prompts.Messages().back().caption, QString());  // the program's name
            // The member keeps its value and the field is put before the user.
            EXPECT_EQ(number, 3);
            EXPECT_EQ(integer, 3);
            EXPECT_EQ(text, "kept");
            EXPECT_EQ(form.window.focusWidget(), form.field);
            EXPECT_EQ(form.field->selectedText(), form.field->text());
        } else {
            EXPECT_FALSE(refusal.has_value()) << refusal->toStdString();
            switch (c.field) {
                case Field::Number: EXPECT_EQ(number, c.accepted); break;
                case Field::Integer: EXPECT_EQ(integer, c.accepted); break;
                case Field::Text: EXPECT_EQ(text, c.typed); break;
            }
            EXPECT_EQ(form.window.focusWidget(), form.before);
        }
    }
}

TEST(DataExchange, ADecimalCommaLocaleChangesNothing) {
    DecimalCommaLocale locale;
    if (!locale.Active()) GTEST_SKIP() << "no decimal-comma locale on this machine";
    QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Form form;
    double number = 0;
    int integer = 0;
    std::string text;
    EXPECT_FALSE(form.Save({"2.5", Field::Number, nullptr}, number, integer, text).has_value());
    EXPECT_EQ(number, 2.5);
    EXPECT_EQ(form.Save({"2,5", Field::Number, nullptr}, number, integer, text), "Please enter a number.");

    DataExchange load(Direction::Load, form.prompts);
    double shown = 1234.5;
    load.Number(*form.field, shown);
    EXPECT_EQ(form.field->text(), "1234.5");
    QLocale::setDefault(previous);
}

TEST(DataExchange, NumbersAreShownWithFifteenDigits) {
    ScriptedPromptService prompts;
    QLineEdit field;
    DataExchange load(Direction::Load, prompts);
    struct Shown {
        double value;
        const char* text;
    };
    for (const Shown& s : {Shown{0.1, "0.1"}, Shown{1.0 / 3, "0.333333333333333"}, Shown{1e20, "1e+20"},
                           Shown{-0.0, "-0"}, Shown{380, "380"}}) {
        double value = s.value;
        load.Number(field, value);
        EXPECT_EQ(field.text(), s.text);
    }
    int count = -42;
    load.Integer(field, count);
    EXPECT_EQ(field.text(), "-42");
}

TEST(DataExchange, AReadOnlyFieldIsNeverRangeChecked) {
    ScriptedPromptService prompts;
    QLineEdit solved("1.35");
    solved.setReadOnly(true);
    double voltage = 0;
    DataExchange save(Direction::Save, prompts);
    save.Number(solved, voltage, FieldRange<double>{0.8, 1.2});
    EXPECT_FALSE(save.Refused());
    EXPECT_EQ(voltage, 1.35);
    EXPECT_TRUE(prompts.prompts.empty());
}

TEST(DataExchange, TheFirstRefusalStopsTheExchange) {
    ScriptedPromptService prompts;
    QLineEdit first("x");
    QLineEdit second("y");
    double a = 1;
    double b = 2;
    DataExchange save(Direction::Save, prompts);
    save.Number(first, a);
    save.Number(second, b);
    EXPECT_EQ(save.RefusedField(), &first);
    EXPECT_EQ(prompts.Messages().size(), 1u);
}

TEST(DataExchange, NamesPassThroughTheCodePage) {
    ScriptedPromptService prompts;
    QLineEdit field;
    std::string name = "\xC8" "a\xE8" "ak";  // Windows-1250
    DataExchange(Direction::Load, prompts).Text(field, name);
    EXPECT_EQ(field.text(), QString::fromUtf8("\u010Ca\u010Dak"));
    field.setText(QString::fromUtf8("\u0160ibenik"));
    DataExchange(Direction::Save, prompts).Text(field, name);
    EXPECT_EQ(name, "\x8A" "ibenik");
}

TEST(DataExchange, ChoicesGoBothWays) {
    ScriptedPromptService prompts;
    QCheckBox check;
    QWidget group;
    QRadioButton* radios[] = {new QRadioButton(&group), new QRadioButton(&group), new QRadioButton(&group)};
    QComboBox combo;
    combo.addItems({"a", "b", "c"});
    QListWidget list;
    list.addItems({"x", "y"});

    int state = 1;
    int radio = 2;
    int comboIndex = 1;
    int listIndex = 1;
    DataExchange load(Direction::Load, prompts);
    load.Check(check, state);
    load.Radio(radios, radio);
    load.ComboIndex(combo, comboIndex);
    load.ListIndex(list, listIndex);
    EXPECT_TRUE(check.isChecked());
    EXPECT_TRUE(radios[2]->isChecked());
    EXPECT_EQ(combo.currentIndex(), 1);
    EXPECT_EQ(list.currentRow(), 1);

    check.setChecked(false);
    radios[0]->setChecked(true);
    combo.setCurrentIndex(2);
    list.setCurrentRow(0);
    DataExchange save(Direction::Save, prompts);
    save.Check(check, state);
    save.Radio(radios, radio);
    save.ComboIndex(combo, comboIndex);
    save.ListIndex(list, listIndex);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(radio, 0);
    EXPECT_EQ(comboIndex, 2);
    EXPECT_EQ(listIndex, 0);

    // Checked and indeterminate keep their stored numbers.
    for (int stored : {1, 2, 0}) {
        int read = -1;
        load.Check(check, stored);
        save.Check(check, read);
        EXPECT_EQ(read, stored);
    }

    // None chosen is a state of its own both ways.
    radio = -1;
    comboIndex = -1;
    listIndex = -1;
    load.Radio(radios, radio);
    load.ComboIndex(combo, comboIndex);
    load.ListIndex(list, listIndex);
    save.Radio(radios, radio);
    save.ComboIndex(combo, comboIndex);
    save.ListIndex(list, listIndex);
    EXPECT_EQ(radio, -1);
    EXPECT_EQ(comboIndex, -1);
    EXPECT_EQ(listIndex, -1);
}

TEST(DataExchange, ColoursGoBothWaysThroughThePicker) {
    ScriptedPromptService prompts;
    CColourPicker picker(prompts);
    ColorRef color = Rgb(10, 20, 30);
    DataExchange(Direction::Load, prompts).Color(picker, color);
    EXPECT_EQ(picker.colour(), Rgb(10, 20, 30));
    picker.setColour(kAutomaticColor);
    DataExchange(Direction::Save, prompts).Color(picker, color);
    EXPECT_EQ(color, kAutomaticColor);
}

}  // namespace
