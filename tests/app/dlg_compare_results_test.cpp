#include "dlg_compare_results.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>

#include <memory>

#include "counting_report.h"
#include "db_combo.h"
#include "results_database_fixture.h"
#include "stored_cases.h"

namespace {

using Messages = std::vector<QString>;

// Systems by name order: A (two cases), B (one case), C (cases of 3 and 2
// buses), D (3 buses each, 2 and 1 branches), E (no case).
class CompareResultsDialog : public ResultsDatabaseFixture {
protected:
    CompareResultsDialog() {
        Script(StoredSystemSql(1, "A.pf", 3) + StoredCaseSql(1, 1, "first", 3, 2) + StoredCaseSql(1, 2, "second", 3, 2));
        Script(StoredSystemSql(2, "B.pf", 3) + StoredCaseSql(2, 1, "only", 3, 2));
        Script(StoredSystemSql(3, "C.pf", 3) + StoredCaseSql(3, 1, "whole", 3, 2) + StoredCaseSql(3, 2, "cut", 2, 1));
        Script(StoredSystemSql(4, "D.pf", 3) + StoredCaseSql(4, 1, "two", 3, 2) + StoredCaseSql(4, 2, "one", 3, 1));
        Script(StoredSystemSql(5, "E.pf", 3));
    }

    std::unique_ptr<CDlgCompareResults> Dialog(int system) {
        auto dialog = std::make_unique<CDlgCompareResults>(prompts_, database_, system, [this]() -> IDBReport* {
            ++reportsMade_;
            return &report_;
        });
        dialog->SetUp();
        return dialog;
    }

    // The user picks a system on one side.
    static void Choose(CDlgCompareResults& dialog, int side, int system) {
        CDBCombo& choice = *dialog.SystemChoice(side);
        ASSERT_TRUE(choice.SelectByItemData(system));
        emit choice.activated(choice.currentIndex());
    }

    CountingReport report_{1};
    int reportsMade_ = 0;
};

TEST_F(CompareResultsDialog, OpensOnTheModelsSystemAndEnablesCompareWithCasesOnBothSides) {
    struct Case {
        int system;
        int rows1, rows2;    // entries of the case lists
        int chosen1, chosen2;  // their selected rows
        bool canCompare;
    };
    const Case cases[] = {
        {-1, 0, 0, -1, -1, false},  // a model never stored
        {1, 2, 2, 0, 1, true},
        {2, 1, 1, 0, 0, true},
        {5, 0, 0, -1, -1, false},
    };
    for (const Case& c : cases) {
        auto dialog = Dialog(c.system);
        int selected = 0;
        EXPECT_EQ(dialog->SystemChoice(1)->GetSelectedItemData(selected), c.system > 0) << c.system;
        EXPECT_EQ(dialog->SystemChoice(2)->count(), 5);
        EXPECT_EQ(dialog->CaseList(1)->count(), c.rows1) << c.system;
        EXPECT_EQ(dialog->CaseList(2)->count(), c.rows2) << c.system;
        EXPECT_EQ(dialog->CaseList(1)->currentRow(), c.chosen1) << c.system;
        EXPECT_EQ(dialog->CaseList(2)->currentRow(), c.chosen2) << c.system;
        EXPECT_EQ(dialog->CompareButton()->isEnabled(), c.canCompare) << c.system;
    }

    // Choosing systems later decides again.
    auto dialog = Dialog(-1);
    Choose(*dialog, 1, 1);
    EXPECT_FALSE(dialog->CompareButton()->isEnabled());
    Choose(*dialog, 2, 2);
    EXPECT_TRUE(dialog->CompareButton()->isEnabled());
    EXPECT_EQ(dialog->CaseList(2)->currentItem()->text(), "only");
    Choose(*dialog, 2, 5);
    EXPECT_FALSE(dialog->CompareButton()->isEnabled());
}

TEST_F(CompareResultsDialog, ComparePressesAndTheirOutcomes) {
    struct Case {
        const char* name;
        int system1, system2;
        Messages messages;
        int reportsMade;
        bool closed;
        int releases;  // of the report, by the dialog itself
    };
    const Case cases[] = {
        {"one case twice", 2, 2, {"Case1 = case2! No need to compare!"}, 0, false, 0},
        {"different bus counts", 3, 3, {"System not consisted in both cases!"}, 0, false, 0},
        {"different branch counts", 4, 4, {"Branches: system not consisted in both cases!"}, 1, false, 1},
        {"two cases of one system", 1, 1, {}, 1, true, 0},
        {"cases of two systems", 1, 2, {}, 1, true, 0},
    };
    for (const Case& c : cases) {
        report_.releases = 0;
        reportsMade_ = 0;
        auto dialog = Dialog(c.system1);
        if (c.system2 != c.system1) Choose(*dialog, 2, c.system2);
        dialog->accept();
        EXPECT_EQ(TakeMessages(), c.messages) << c.name;
        EXPECT_EQ(reportsMade_, c.reportsMade) << c.name;
        EXPECT_EQ(dialog->result() == QDialog::Accepted, c.closed) << c.name;
        EXPECT_EQ(report_.releases, c.releases) << c.name;
        if (c.closed) {
            EXPECT_STREQ(report_.GetTitle(), "Power Flow Results Comparison") << c.name;
            EXPECT_EQ(report_.GetPageType(), 2) << c.name;
        }
    }
}

TEST_F(CompareResultsDialog, AReportNotTakenIsReleasedOnce) {
    {
        auto dialog = Dialog(1);
        dialog->accept();
        ASSERT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(report_.releases, 0);
    }
    EXPECT_EQ(report_.releases, 1);

    auto dialog = Dialog(1);
    dialog->accept();
    EXPECT_EQ(dialog->TakeReport(), &report_);
    EXPECT_EQ(dialog->TakeReport(), nullptr);
    dialog.reset();
    EXPECT_EQ(report_.releases, 1);

    // Nothing chosen: nothing to compare, and the dialog closes without a report.
    dialog = Dialog(-1);
    dialog->accept();
    EXPECT_EQ(TakeMessages(), Messages{"Nothing to compare!"});
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->TakeReport(), nullptr);
}

}  // namespace
