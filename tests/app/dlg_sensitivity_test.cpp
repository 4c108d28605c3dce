#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>

#include "dlg_sensitivity.h"
#include "element_type.h"
#include "logging_record_cursor.h"
#include "scripted_prompt_service.h"
#include "test_model.h"

namespace {

QStringList Items(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
    return items;
}

class SensitivityTest : public ::testing::Test {
protected:
    ScriptedPromptService prompts;
    LoggingRecordCursor cursor;
    TestModel model;

    std::unique_ptr<CDlgSensitivity> Dialog(SensitivityMode mode) {
        // The model hands its cursor out grouping.
        cursor.SetGroupBuses(true);
        cursor.TakeCalls();
        auto dialog = std::make_unique<CDlgSensitivity>(prompts, cursor, *model, mode);
        dialog->SetUp();
        return dialog;
    }
};

TEST_F(SensitivityTest, BusModeListsGroupsAndBusesButTheSlackAndOkTakesTheChosenKey) {
    cursor.AddGroup(0, 1);
    cursor.AddBus(0x101, 0, "Slack");
    cursor.AddBus(0x201, 2, "Tuzla");
    cursor.AddBus(0x301, 1, "Banja Luka");
    auto dialog = Dialog(SensitivityMode::Buses);
    EXPECT_EQ(cursor.calls,
              (std::vector<std::string>{"SetTable(0, 0)", "MoveFirst", "Next", "Next", "Next", "Next", "Next"}));
    EXPECT_EQ(Items(dialog->Elements()), (QStringList{"Banja Luka", "BusGroup 0", "Tuzla"}));
    EXPECT_EQ(dialog->Elements().currentIndex(), 0);
    EXPECT_TRUE(dialog->OkButton().isEnabled());
    dialog->Elements().setCurrentIndex(1);
    dialog->OkButton().click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->ChosenKey(), 25);
}

TEST_F(SensitivityTest, OnlyASlackBusLeavesNothingToChooseAndOkDisabled) {
    cursor.AddBus(0x101, 0, "Slack");
    auto dialog = Dialog(SensitivityMode::Buses);
    EXPECT_EQ(dialog->Elements().count(), 0);
    EXPECT_FALSE(dialog->OkButton().isEnabled());
    dialog->accept();  // Enter in the empty list
    EXPECT_NE(dialog->result(), QDialog::Accepted);
}

TEST_F(SensitivityTest, BranchModeNamesEachBranchByItsEndsAFreeEndEmpty) {
    FakeElement& line = model.Add(ElementType::PowerLine);
    line.name = "L1";
    line.endNames = {"A", "B"};
    FakeElement& open = model.Add(ElementType::Transformer);
    open.name = "T1";
    open.endNames[1] = "B";
    cursor.AddBranch(line.key, 0, "L1", "A", "B");
    cursor.AddBranch(open.key, 1, "T1", nullptr, "B");
    cursor.AddBranch(0x7f0a, 0, "gone", "A", "B");  // a key that names no element
    auto dialog = Dialog(SensitivityMode::Branches);
    EXPECT_EQ(cursor.calls, (std::vector<std::string>{"SetTable(1, 0)", "MoveFirst", "Next", "Next", "Next", "Next"}));
    EXPECT_EQ(Items(dialog->Elements()), (QStringList{"L1 (A - B)", "T1 ( - B)"}));
    dialog->Elements().setCurrentIndex(1);
    dialog->accept();
    EXPECT_EQ(dialog->ChosenKey(), open.key);
    EXPECT_EQ(dialog->windowTitle(), "Sensitivity Analysis");
}

}  // namespace
