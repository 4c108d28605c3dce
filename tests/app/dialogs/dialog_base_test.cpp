#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "control_id.h"
#include "dialog_base.h"
#include "scripted_prompt_service.h"
#include "up_down.h"

namespace {

// What an element dialog edits: a name, a voltage and a step count.
struct Element {
    std::string name = "Bus 1";
    double voltage = 110;
    int steps = 2;
};

// The smaller dialog the element dialog opens: one factor.
class FactorDialog final : public DialogBase {
public:
    FactorDialog(PromptService& prompts, QWidget* parent) : DialogBase(prompts, parent) {
        setWindowTitle("Factor");
        SetControlId(*factorField, 1020);
    }
    double factor = 1;
    QLineEdit* factorField = new QLineEdit(this);

protected:
    void DoDataExchange(DataExchange& exchange) override {
        exchange.Number(*factorField, factor, FieldRange<double>{0, 10});
    }
};

class ElementDialog final : public DialogBase {
public:
    ElementDialog(Element& element, PromptService& prompts) : DialogBase(prompts), element_(element) {
        setWindowTitle("Element Properties");
        SetControlId(*nameField, 1131);
        SetControlId(*voltageField, 1005);
        SetControlId(*stepsField, 1130);
        stepsArrows->SetBuddy(stepsField);
        stepsArrows->SetRange(1, 4);
        connect(moreButton, &QPushButton::clicked, this, [this] { OnMore(); });
    }

    QLineEdit* nameField = new QLineEdit(this);
    QLineEdit* voltageField = new QLineEdit(this);
    QLineEdit* stepsField = new QLineEdit(this);
    UpDown* stepsArrows = new UpDown(this);
    QPushButton* moreButton = new QPushButton("More...", this);
    int initCount = 0;

protected:
    void OnInitDialog() override {
        ++initCount;
        name_ = element_.name;
        voltage_ = element_.voltage;
        steps_ = element_.steps;
        UpdateData(false);
    }
    void DoDataExchange(DataExchange& exchange) override {
        exchange.Text(*nameField, name_, 300);
        exchange.Number(*voltageField, voltage_, FieldRange<double>{0.1, 9999999});
        exchange.Integer(*stepsField, steps_, FieldRange<int>{1, 4});
    }
    bool Validate() override {
        if (voltage_ > 1000) {
            Message("Voltage too high!");
            return false;
        }
        return true;
    }
    void Commit() override {
        element_.name = name_;
        element_.voltage = voltage_;
        element_.steps = steps_;
    }

private:
    void OnMore() {
        FactorDialog factor(Prompts(), this);
        if (factor.DoModal() != QDialog::Accepted) return;
        if (!UpdateData(true)) return;
        voltage_ *= factor.factor;
        UpdateData(false);
        Message("Voltage scaled.", PromptIcon::Information);
    }

    Element& element_;
    std::string name_;
    double voltage_ = 0;
    int steps_ = 0;
};

// An element dialog set up on a fresh element.
struct OpenDialog {
    Element element;
    ScriptedPromptService prompts;
    ElementDialog dialog{element, prompts};
    OpenDialog() { dialog.SetUp(); }
};

TEST(DialogBase, OkWritesOnlyWhenEveryFieldAndCheckPasses) {
    struct Case {
        const char* voltage;
        const char* steps;
        const char* message;  // null: accepted
    };
    const Case cases[] = {
        {"abc", "2", "Please enter a number."},
        {"220", "5", "Please enter an integer between 1 and 4."},
        {"2000", "2", "Voltage too high!"},
        {"220", "3", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.voltage);
        OpenDialog open;
        auto& [element, prompts, dialog] = open;
        dialog.voltageField->setText(c.voltage);
        dialog.stepsField->setText(c.steps);
        dialog.accept();
        if (c.message != nullptr) {
            EXPECT_NE(dialog.result(), QDialog::Accepted);
            ASSERT_EQ(prompts.Messages().size(), 1u);
            EXPECT_EQ(prompts.Messages()[0].text, c.message);
            EXPECT_EQ(element.voltage, 110);
            EXPECT_EQ(element.steps, 2);
        } else {
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_TRUE(prompts.prompts.empty());
            EXPECT_EQ(element.voltage, 220);
            EXPECT_EQ(element.steps, 3);
        }
    }
}

TEST(DialogBase, CancelWritesNothing) {
    OpenDialog open;
    auto& [element, prompts, dialog] = open;
    dialog.nameField->setText("Other");
    dialog.voltageField->setText("220");
    dialog.reject();
    EXPECT_EQ(element.name, "Bus 1");
    EXPECT_EQ(element.voltage, 110);
}

TEST(DialogBase, FieldsAreLoadedOnceAndChangedOnlyWhenTheirTextDiffers) {
    OpenDialog open;
    ElementDialog& dialog = open.dialog;
    dialog.SetUp();
    EXPECT_EQ(dialog.initCount, 1);
    EXPECT_EQ(dialog.voltageField->text(), "110");
    EXPECT_EQ(FindControl<QLineEdit>(dialog, 1005), dialog.voltageField);

    EXPECT_FALSE(dialog.FieldChanged(*dialog.voltageField));
    dialog.voltageField->setText("110.0");
    EXPECT_TRUE(dialog.FieldChanged(*dialog.voltageField));
    dialog.voltageField->setText("110");
    EXPECT_FALSE(dialog.FieldChanged(*dialog.voltageField));
}

TEST(DialogBase, NestedDialogsAndMessagesRunThroughTheServiceWithoutAScreen) {
    unsetenv("DISPLAY");
    Element element;
    ScriptedPromptService prompts;
    prompts.dialogScripts.push_back([](QDialog& dialog) {
        auto& elementDialog = static_cast<ElementDialog&>(dialog);
        elementDialog.moreButton->click();
        elementDialog.stepsField->setText("4");
        elementDialog.accept();
    });
    prompts.dialogScripts.push_back([](QDialog& dialog) {
        FindControl<QLineEdit>(dialog, 1020)->setText("2");
        dialog.accept();
    });

    ElementDialog dialog(element, prompts);
    EXPECT_EQ(dialog.DoModal(), QDialog::Accepted);

    ASSERT_EQ(prompts.prompts.size(), 3u);
    EXPECT_EQ(prompts.prompts[0].kind, ScriptedPromptService::Kind::Dialog);
    EXPECT_EQ(prompts.prompts[0].caption, "Element Properties");
    EXPECT_EQ(prompts.prompts[1].kind, ScriptedPromptService::Kind::Dialog);
    EXPECT_EQ(prompts.prompts[1].caption, "Factor");
    EXPECT_EQ(prompts.prompts[2].text, "Voltage scaled.");
    EXPECT_EQ(element.voltage, 220);
    EXPECT_EQ(element.steps, 4);
}

TEST(DialogBase, ACancelledSubDialogChangesNothing) {
    Element element;
    ScriptedPromptService prompts;
    prompts.dialogScripts.push_back([](QDialog& dialog) {
        static_cast<ElementDialog&>(dialog).moreButton->click();  // the factor dialog is not scripted: cancelled
        dialog.accept();
    });
    ElementDialog dialog(element, prompts);
    EXPECT_EQ(dialog.DoModal(), QDialog::Accepted);
    EXPECT_EQ(prompts.Messages().size(), 0u);
    EXPECT_EQ(element.voltage, 110);
}

TEST(UpDown, StepsStopAtTheBoundsAndTypingIsLeftToOk) {
    OpenDialog open;
    auto& [element, prompts, dialog] = open;
    UpDown& arrows = *dialog.stepsArrows;
    QLineEdit& buddy = *dialog.stepsField;

    struct Case {
        const char* typed;
        int steps;
        const char* shown;
    };
    const Case cases[] = {
        {"2", 1, "3"},   {"3", 5, "4"},    {"2", -5, "1"},  {"2.7", 1, "3"},
        {"-2.7", 1, "1"}, {"1e12", -1, "4"}, {"9", -1, "4"},
    };
    for (const Case& c : cases) {
        buddy.setText(c.typed);
        arrows.Step(c.steps);
        EXPECT_EQ(buddy.text(), c.shown) << c.typed << " " << c.steps;
    }
    // A buddy without a number steps from the last value written.
    buddy.setText("x");
    arrows.Step(-1);
    EXPECT_EQ(buddy.text(), "3");

    buddy.setText("5");
    EXPECT_EQ(buddy.text(), "5");
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompts.Messages().back().text, "Please enter an integer between 1 and 4.");
    EXPECT_EQ(dialog.RefusedField(), &buddy);
    EXPECT_EQ(element.steps, 2);
}

}  // namespace

namespace {

// A check made before the fields it is laid out under.
class CheckFirstDialog final : public DialogBase {
public:
    explicit CheckFirstDialog(PromptService& prompts) : DialogBase(prompts) {
        auto* fields = new QVBoxLayout;
        fields->addWidget(first);
        fields->addWidget(second);
        SetContent(fields, {check});
    }
    QCheckBox* check = new QCheckBox("Show", this);
    QLineEdit* first = new QLineEdit(this);
    QLineEdit* second = new QLineEdit(this);

protected:
    void DoDataExchange(DataExchange&) override {}
};

TEST(DialogBase, TabFollowsTheLayoutNotTheOrderOfMakingAndStartsAtTheFirstField) {
    ScriptedPromptService prompts;
    CheckFirstDialog dialog(prompts);
    dialog.first->setReadOnly(true);
    dialog.second->setText("110");
    dialog.SetUp();
    EXPECT_EQ(dialog.focusWidget(), dialog.second) << "the first control that can be used";
    EXPECT_EQ(dialog.second->selectedText(), "110");
    std::vector<QWidget*> chain;
    for (QWidget* next = dialog.nextInFocusChain(); next != &dialog && chain.size() < 10; next = next->nextInFocusChain()) {
        if (next->focusPolicy() != Qt::NoFocus) chain.push_back(next);
    }
    ASSERT_GE(chain.size(), 4u);
    EXPECT_EQ(chain[0], dialog.first);
    EXPECT_EQ(chain[1], dialog.second);
    EXPECT_EQ(chain[2], dialog.check);
    EXPECT_NE(qobject_cast<QPushButton*>(chain[3]), nullptr) << "then OK and Cancel";
}

}  // namespace
