#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "control_id.h"
#include "dlg_transfer_capability.h"
#include "dlg_transfer_capability_results.h"
#include "logging_record_cursor.h"
#include "scripted_prompt_service.h"
#include "up_down.h"

namespace {

class TransferCapabilityTest : public ::testing::Test {
protected:
    ScriptedPromptService prompts;
    LoggingRecordCursor cursor;

    // Buses "b", "A", "a" (the slack among them) and a bus group.
    void AddBuses() {
        cursor.AddGroup(0, 1);
        cursor.AddBus(0x101, 1, "b");
        cursor.AddBus(0x201, 0, "A");
        cursor.AddBus(0x301, 2, "a");
    }
    std::unique_ptr<CDlgTransferCapability> Dialog() {
        auto dialog = std::make_unique<CDlgTransferCapability>(prompts, cursor);
        dialog->SetUp();
        return dialog;
    }
    template <typename Control>
    static Control& Find(const CDlgTransferCapability& dialog, int id) {
        return *FindControl<Control>(dialog, id);
    }
    static QStringList Items(const QComboBox& combo) {
        QStringList items;
        for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
        return items;
    }
};

TEST_F(TransferCapabilityTest, ListsGroupsAndBusesSortedWithKeysAndStartsOnTheDefaults) {
    AddBuses();
    auto dialog = Dialog();
    EXPECT_EQ(cursor.calls, (std::vector<std::string>{"SetTable(0, 0)", "MoveFirst", "SetMode(0)",
                                                      "SetGroupBuses(true)", "Next", "Next", "Next", "Next", "Next",
                                                      "SetMode(1)"}));
    for (int id : {CDlgTransferCapability::kSourceId, CDlgTransferCapability::kDestinationId}) {
        const auto& combo = Find<QComboBox>(*dialog, id);
        // Equal names ignoring case keep the order they came in.
        EXPECT_EQ(Items(combo), (QStringList{"A", "a", "b", "BusGroup 0"}));
        EXPECT_EQ(combo.itemData(0).toInt(), 0x201);
        EXPECT_EQ(combo.itemData(1).toInt(), 0x301);
        EXPECT_EQ(combo.itemData(3).toInt(), 25);
    }
    EXPECT_EQ(Find<QComboBox>(*dialog, CDlgTransferCapability::kSourceId).currentIndex(), 0);
    EXPECT_EQ(Find<QComboBox>(*dialog, CDlgTransferCapability::kDestinationId).currentIndex(), 1);
    EXPECT_EQ(Find<QLineEdit>(*dialog, CDlgTransferCapability::kStepId).text(), "10");
    EXPECT_EQ(Find<QLineEdit>(*dialog, CDlgTransferCapability::kStopId).text(), "50");
    EXPECT_FALSE(Find<QCheckBox>(*dialog, CDlgTransferCapability::kStopEnabledId).isChecked());
    EXPECT_FALSE(Find<QLineEdit>(*dialog, CDlgTransferCapability::kStopId).isEnabled());
    EXPECT_FALSE(Find<UpDown>(*dialog, CDlgTransferCapability::kStopSpinId).isEnabled());
    for (int id : {CDlgTransferCapability::kVoltageChartId, CDlgTransferCapability::kAngleChartId,
                   CDlgTransferCapability::kReactiveChartId, CDlgTransferCapability::kLineLoadChartId})
        EXPECT_FALSE(Find<QCheckBox>(*dialog, id).isChecked()) << id;
}

TEST_F(TransferCapabilityTest, TheStopCheckEnablesTheStopValueAndItsArrows) {
    AddBuses();
    auto dialog = Dialog();
    auto& check = Find<QCheckBox>(*dialog, CDlgTransferCapability::kStopEnabledId);
    for (bool on : {true, false}) {
        check.click();
        EXPECT_EQ(Find<QLineEdit>(*dialog, CDlgTransferCapability::kStopId).isEnabled(), on);
        EXPECT_EQ(Find<UpDown>(*dialog, CDlgTransferCapability::kStopSpinId).isEnabled(), on);
    }
}

TEST_F(TransferCapabilityTest, OkTakesTheChosenBusesStepStopAndCharts) {
    AddBuses();
    auto dialog = Dialog();
    Find<QComboBox>(*dialog, CDlgTransferCapability::kSourceId).setCurrentIndex(3);
    Find<QComboBox>(*dialog, CDlgTransferCapability::kDestinationId).setCurrentIndex(2);
    Find<QLineEdit>(*dialog, CDlgTransferCapability::kStepId).setText("20.5");
    Find<QCheckBox>(*dialog, CDlgTransferCapability::kStopEnabledId).click();
    Find<QLineEdit>(*dialog, CDlgTransferCapability::kStopId).setText("0");
    Find<QCheckBox>(*dialog, CDlgTransferCapability::kAngleChartId).click();
    Find<QCheckBox>(*dialog, CDlgTransferCapability::kLineLoadChartId).click();
    dialog->accept();
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(prompts.Messages().empty());
    const TransferCapabilityChoice& choice = dialog->Choice();
    EXPECT_EQ(choice.sourceKey, 25);
    EXPECT_EQ(choice.sourceName, "BusGroup 0");
    EXPECT_EQ(choice.destinationKey, 0x101);
    EXPECT_EQ(choice.destinationName, "b");
    EXPECT_EQ(choice.initialStep, 20.5);
    EXPECT_TRUE(choice.stopEnabled);
    EXPECT_EQ(choice.stopTransfer, 0.0);
    EXPECT_FALSE(choice.voltageChart);
    EXPECT_TRUE(choice.angleChart);
    EXPECT_FALSE(choice.reactiveChart);
    EXPECT_TRUE(choice.lineLoadChart);
}

TEST_F(TransferCapabilityTest, OkRefusesTooFewBusesOneBusTwiceAndStepsOrStopsOutOfRange) {
    struct Case {
        const char* what;
        int buses;  // of "b", "A", "a"
        const char* step;
        const char* stop;
        const char* message;  // null: accepted
    };
    const Case cases[] = {
        {"no bus", 0, "10", "50", "There is not enough information to proceed with calculation!"},
        {"one bus", 1, "10", "50", "Source and destination buses should be different!"},
        {"step 0", 3, "0", "50", "Please enter a number between 1 and 1000."},
        {"step 1001", 3, "1001", "50", "Please enter a number between 1 and 1000."},
        {"stop above its limit", 3, "10", "1000001", "Please enter a number between 0 and 1000000."},
        {"negative stop", 3, "10", "-1", "Please enter a number between 0 and 1000000."},
        {"step 1, stop 0", 3, "1", "0", nullptr},
        {"step 1000, stop beyond the arrows' reach", 3, "1000", "1000000", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompts.prompts.clear();
        LoggingRecordCursor buses;
        const char* names[] = {"b", "A", "a"};
        for (int i = 0; i < c.buses; ++i) buses.AddBus((i + 1) << 8 | 1, 1, names[i]);
        auto dialog = std::make_unique<CDlgTransferCapability>(prompts, buses);
        dialog->SetUp();
        Find<QLineEdit>(*dialog, CDlgTransferCapability::kStepId).setText(c.step);
        Find<QLineEdit>(*dialog, CDlgTransferCapability::kStopId).setText(c.stop);
        dialog->accept();
        if (!c.message) {
            EXPECT_EQ(dialog->result(), QDialog::Accepted);
            EXPECT_TRUE(prompts.Messages().empty());
            continue;
        }
        EXPECT_NE(dialog->result(), QDialog::Accepted);
        ASSERT_EQ(prompts.Messages().size(), 1u);
        EXPECT_EQ(prompts.Messages()[0].text, c.message);
    }
}

TEST(TransferCapabilityResults, ShowsTheCallersTextsAndCreateReportAccepts) {
    ScriptedPromptService prompts;
    // "Šid" in the single-byte code page the model keeps names in.
    const TransferCapabilityTexts texts{"\x8A" "id", "Tuzla", "123.457", "L7(Tuzla-Zenica)", "98.25"};
    for (bool report : {true, false}) {
        CDlgTransferCapabilityResults dialog(prompts, texts);
        const std::pair<int, QString> shown[] = {{CDlgTransferCapabilityResults::kSourceId, "Šid"},
                                                 {CDlgTransferCapabilityResults::kDestinationId, "Tuzla"},
                                                 {CDlgTransferCapabilityResults::kTransferId, "123.457"},
                                                 {CDlgTransferCapabilityResults::kLineId, "L7(Tuzla-Zenica)"},
                                                 {CDlgTransferCapabilityResults::kLoadFactorId, "98.25"}};
        for (const auto& [id, text] : shown) {
            const QLineEdit& field = *FindControl<QLineEdit>(dialog, id);
            EXPECT_EQ(field.text(), text);
            EXPECT_TRUE(field.isReadOnly());
        }
        EXPECT_EQ(dialog.ReportButton().text(), "Create Report");
        EXPECT_EQ(dialog.CloseButton().text(), "Close");
        prompts.dialogScripts.push_back(
            [&](QDialog&) { (report ? dialog.ReportButton() : dialog.CloseButton()).click(); });
        EXPECT_EQ(dialog.DoModal(), report ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(prompts.prompts.back().caption, "Transfer Capability Results");
    }
}

}  // namespace
