#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFocusEvent>
#include <QPushButton>

#include "dlg_bank_steps.h"
#include "dlg_var_condenser_properties.h"
#include "document_model.h"
#include "element_dialog_driver.h"
#include "grid_list_ctrl.h"
#include "scripted_prompt_service.h"
#include "variable_bank.h"

// Steps compare exactly, count and value.
static bool operator==(const BankBlock& a, const BankBlock& b) { return a.count == b.count && a.mvar == b.mvar; }

namespace {

using Dlg = CDlgVarCondenserProperties;
using Steps = std::vector<BankBlock>;

// A bank of the kind from a model of every kind, holding `steps`.
struct BankFixture {
    explicit BankFixture(int classType, Steps steps) {
        FillWithEveryKind(*model);
        for (const auto& [key, element] : model->List(PowerSystem::kVariableBanks).Entries()) {
            if (element->GetElementType() == classType) bank = dynamic_cast<VariableBank*>(&*element);
        }
        if (bank == nullptr) throw std::logic_error("no bank");
        bank->Steps() = std::move(steps);
        dialog = std::make_unique<Dlg>(*bank, prompts);
        dialog->SetUp();
    }
    CGridListCtrl& List() { return *FindControl<CGridListCtrl>(*dialog, Dlg::kStepListId); }
    QStringList Row(int row) { return {List().item(row, 0)->text(), List().item(row, 1)->text()}; }
    void Select(int row) {
        List().clearSelection();
        List().selectRow(row);
    }
    // The Steps dialog, when it opens, sees the row's texts and types these.
    void ScriptSteps(const char* count, const char* value, QStringList* shown = nullptr) {
        prompts.dialogScripts.push_back([=](QDialog& steps) {
            if (shown) *shown = {Field(steps, CDlgBankSteps::kCountId).text(), Field(steps, CDlgBankSteps::kValueId).text()};
            if (count) Type(steps, CDlgBankSteps::kCountId, count);
            if (value) Type(steps, CDlgBankSteps::kValueId, value);
            steps.accept();
        });
    }
    bool PressOk() {
        dialog->accept();
        return dialog->result() == QDialog::Accepted;
    }

    DocumentModel model;
    VariableBank* bank = nullptr;
    ScriptedPromptService prompts;
    std::unique_ptr<Dlg> dialog;
};

TEST(BankDialog, AddEditAndDeleteRowsThroughTheStepsDialog) {
    BankFixture f(ElementType::VariableBank, {{2, 0.5}, {3, 0.1234567891}, {2, 1.0}});
    ASSERT_EQ(f.List().rowCount(), 2);
    EXPECT_EQ(f.Row(0), (QStringList{"3", "0.123457"}));

    QStringList offered;
    f.ScriptSteps("4", "0.25", &offered);
    f.dialog->OnAdd();
    EXPECT_EQ(offered, (QStringList{"10", "0.1"}));
    EXPECT_EQ(f.Row(2), (QStringList{"4", "0.250000"}));

    // Only the count is retyped: the value keeps all its digits.
    f.Select(0);
    f.ScriptSteps("5", nullptr, &offered);
    f.dialog->OnEdit();
    EXPECT_EQ(offered, (QStringList{"3", "0.1234567891"}));
    EXPECT_EQ(f.Row(0), (QStringList{"5", "0.123457"}));

    f.Select(1);
    f.dialog->OnDelete();
    ASSERT_EQ(f.List().rowCount(), 2);
    ASSERT_TRUE(f.PressOk());
    EXPECT_EQ(f.bank->Steps(), (Steps{{0, 0.5}, {5, 0.1234567891}, {4, 0.25}})) << "position 0 after OK";
}

TEST(BankDialog, UpOnTheFirstRowAndDownOnTheLastDoNothing) {
    BankFixture f(ElementType::VariableBank, {{0, 1}, {1, 0.1}, {2, 0.2}, {3, 0.3}});
    f.Select(0);
    f.dialog->OnUp();
    f.Select(2);
    f.dialog->OnDown();
    f.Select(1);
    f.dialog->OnUp();
    EXPECT_EQ(f.List().selectionModel()->selectedRows().front().row(), 0);
    ASSERT_TRUE(f.PressOk());
    EXPECT_EQ(f.bank->Steps(), (Steps{{0, 1}, {2, 0.2}, {1, 0.1}, {3, 0.3}}));
}

TEST(BankDialog, ButtonRule) {
    struct Case {
        int selected;
        int row;
        BankButtons buttons;
    };
    const Case cases[] = {
        {0, -1, {false, false, false, false}},
        {1, 0, {true, true, false, true}},
        {1, 1, {true, true, true, true}},
        {1, 2, {true, true, true, false}},
        {2, 0, {false, true, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.selected << " at " << c.row);
        EXPECT_EQ(BankButtonsFor(c.selected, c.row, 3), c.buttons);
    }
    BankFixture f(ElementType::VariableBank, {{0, 1}, {1, 0.1}, {2, 0.2}});
    auto enabled = [&](int id) { return FindControl<QPushButton>(*f.dialog, id)->isEnabled(); };
    EXPECT_FALSE(enabled(Dlg::kDeleteId));
    // No row looks chosen while the buttons say none is.
    EXPECT_EQ(f.List().currentRow(), -1);
    f.Select(1);
    EXPECT_TRUE(enabled(Dlg::kUpId));
    EXPECT_FALSE(enabled(Dlg::kDownId));
    f.List().selectAll();
    EXPECT_TRUE(enabled(Dlg::kDeleteId));
    EXPECT_FALSE(enabled(Dlg::kEditId));
}

TEST(BankDialog, AReactorBankShowsMagnitudesAndStoresEveryValueNegative) {
    BankFixture f(ElementType::VariableReactorBank, {{1, -2}, {3, -0.5}});
    EXPECT_EQ(f.dialog->windowTitle(), "Variable Reactor Properties");
    EXPECT_EQ(Check(*f.dialog, Dlg::kShowId).text(), "Show Ql:");
    EXPECT_EQ(Field(*f.dialog, Dlg::kValueAtZeroId).text(), "2");
    EXPECT_EQ(Field(*f.dialog, Dlg::kPositionId).text(), "1");
    EXPECT_EQ(f.Row(0), (QStringList{"3", "0.500000"}));
    f.ScriptSteps("2", "0.75");
    f.dialog->OnAdd();
    ASSERT_TRUE(f.PressOk());
    EXPECT_EQ(f.bank->Steps(), (Steps{{0, -2}, {3, -0.5}, {2, -0.75}}));
}

TEST(BankDialog, AnEmptyTableStoresOnlyTheValueAtPositionZero) {
    BankFixture f(ElementType::VariableBank, {{2, 0.5}, {3, 0.1}});
    f.List().selectAll();
    f.dialog->OnDelete();
    ASSERT_TRUE(f.PressOk());
    EXPECT_EQ(f.bank->Steps(), (Steps{{0, 0.5}}));
}

TEST(BankDialog, TheValueAtPositionZeroIsAPositiveMagnitude) {
    BankFixture f(ElementType::VariableBank, {{0, 0.0}});
    QLineEdit& value = Field(*f.dialog, Dlg::kValueAtZeroId);
    EXPECT_FALSE(f.PressOk()) << "a new bank needs a value at position 0";
    EXPECT_EQ(f.prompts.Messages().size(), 1u);
    value.setText("-5");
    QFocusEvent focusOut(QEvent::FocusOut);
    QCoreApplication::sendEvent(&value, &focusOut);
    EXPECT_EQ(value.text(), "5");
    ASSERT_TRUE(f.PressOk());
    EXPECT_EQ(f.bank->Steps(), (Steps{{0, 5}}));
}

TEST(BankDialog, OkWithoutChangesKeepsTheStepsAtPositionZero) {
    BankFixture f(ElementType::VariableBank, {{2, 0.1 + 0.2}, {3, 0.1234567891}, {2, 1.0 / 3}});
    ASSERT_TRUE(f.PressOk());
    EXPECT_EQ(f.bank->Steps(), (Steps{{0, 0.1 + 0.2}, {3, 0.1234567891}, {2, 1.0 / 3}}));
}

}  // namespace
