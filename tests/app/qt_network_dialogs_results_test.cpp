#include "qt_network_dialogs.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>

#include "child_frame.h"
#include "command_ids.h"
#include "control_id.h"
#include "dlg_save_results.h"
#include "report_interface.h"
#include "shell_fixture.h"
#include "solved_three_bus_model.h"

namespace {

class ResultsDialogsOfTheProgram : public ShellTest {
protected:
    // The user types a description and presses OK, or cancels.
    void ScriptSave(const QString& description) {
        prompts.dialogScripts.push_back([description](QDialog& dialog) {
            FindControl<QLineEdit>(dialog, CDlgSaveResults::kDescriptionId)->setText(description);
            dialog.accept();
        });
    }
    void ScriptPress(bool ok) {
        prompts.dialogScripts.push_back([ok](QDialog& dialog) { ok ? dialog.accept() : dialog.reject(); });
    }

    SolvedThreeBusModel model;
};

TEST_F(ResultsDialogsOfTheProgram, SaveThenCompareMakesTheComparisonReport) {
    ASSERT_TRUE(Start());
    INetworkDialogs& dialogs = app->NetworkDialogs();
    IRecordCursor& cursor = *model.net.model().GetRecordCursor();

    ScriptPress(false);
    EXPECT_FALSE(dialogs.SaveOrDeleteResults("three_bus.pf", cursor, ResultsAction::Save));
    ScriptSave("morning");
    EXPECT_TRUE(dialogs.SaveOrDeleteResults("three_bus.pf", cursor, ResultsAction::Save));
    ScriptSave("evening");
    EXPECT_TRUE(dialogs.SaveOrDeleteResults("three_bus.pf", cursor, ResultsAction::Save));
    ASSERT_EQ(prompts.Messages().size(), 2u);
    EXPECT_EQ(prompts.Messages()[1].text, "Results saved!");

    ScriptPress(false);
    EXPECT_EQ(dialogs.CompareResults(1), nullptr);
    ScriptPress(true);
    IDBReport* report = dialogs.CompareResults(1);
    ASSERT_NE(report, nullptr);
    EXPECT_STREQ(report->GetTitle(), "Power Flow Results Comparison");
    EXPECT_EQ(report->GetPageType(), 2);
    report->Release();

    ScriptPress(true);
    EXPECT_TRUE(dialogs.SaveOrDeleteResults("three_bus.pf", cursor, ResultsAction::Delete));
    EXPECT_EQ(prompts.Messages().back().text, "Case deleted!");
    const auto& shown = prompts.prompts;
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[shown.size() - 2].kind, ScriptedPromptService::Kind::Dialog);
    EXPECT_EQ(shown[shown.size() - 2].caption, "Delete Results");
}

// The user's road on the sample: solve, save two cases, compare them.
TEST_F(ResultsDialogsOfTheProgram, SaveThenCompareFromTheMenusOpensTheComparisonWindow) {
    const QString path = folder.filePath("ieee14.pf");
    ASSERT_TRUE(QFile::copy(EXAMPLES_DIR "/ieee14.pf", path));
    ASSERT_TRUE(Start());
    ASSERT_NE(app->OpenDocumentFile(path), nullptr);
    ASSERT_TRUE(Frame().Commands().Execute(Command::SolvePowerFlow));
    for (const char* description : {"Base case", "Again"}) {
        ScriptSave(description);
        ASSERT_TRUE(Frame().Commands().Execute(Command::SaveResultsToDatabase));
    }
    ScriptPress(true);
    ASSERT_TRUE(Frame().Commands().Execute(Command::CompareResults));
    ASSERT_EQ(Windows().size(), 2u);
    EXPECT_EQ(Windows().back()->View().GetDocument()->GetTitle(), "Power Flow Results Comparison");
}

}  // namespace
