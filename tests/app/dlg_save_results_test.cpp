#include "dlg_save_results.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <cstdlib>
#include <string>

#include "c_locale_format.h"
#include "control_id.h"
#include "db_combo.h"
#include "results_database_fixture.h"
#include "solved_three_bus_model.h"

namespace {

using Messages = std::vector<QString>;

class SaveResultsDialog : public ResultsDatabaseFixture {
protected:
    // Runs the dialog in save mode as the user does: a description, then OK.
    // True when the dialog closed.
    bool Save(const std::string& title, const QString& description = "case") {
        CDlgSaveResults dialog(prompts_, database_, title, *model_.net.model().GetRecordCursor(),
                               CDlgSaveResults::Mode::Save);
        dialog.SetUp();
        FindControl<QLineEdit>(dialog, CDlgSaveResults::kDescriptionId)->setText(description);
        dialog.accept();
        return dialog.result() == QDialog::Accepted;
    }

    // Delete mode: the case at `index` of the list, or every result of the
    // model. True when the dialog closed.
    bool Delete(const std::string& title, int index, bool all = false) {
        CDlgSaveResults dialog(prompts_, database_, title, *model_.net.model().GetRecordCursor(),
                               CDlgSaveResults::Mode::Delete);
        dialog.SetUp();
        FindControl<CDBCombo>(dialog, CDlgSaveResults::kCaseListId)->setCurrentIndex(index);
        FindControl<QCheckBox>(dialog, CDlgSaveResults::kDeleteAllId)->setChecked(all);
        dialog.accept();
        return dialog.result() == QDialog::Accepted;
    }

    // The case numbers of a system, in order, as "1 2 3".
    std::string Cases(int system) {
        CADORecordset rows(&database_);
        EXPECT_TRUE(rows.Open(FormatCLocale("SELECT ID FROM Solutions WHERE SystemID=%d ORDER BY ID", system)));
        std::string ids;
        for (rows.MoveFirst(); !rows.IsEof(); rows.MoveNext()) {
            int id = 0;
            rows.GetFieldValue("ID", id);
            ids += (ids.empty() ? "" : " ") + std::to_string(id);
        }
        return ids;
    }

    SolvedThreeBusModel model_;
};

TEST_F(SaveResultsDialog, FirstSaveMakesTheSystemLaterSavesOnlyCases) {
    ASSERT_TRUE(Save("three_bus.pf", "Base"));
    EXPECT_EQ(TakeMessages(), Messages{"Results saved!"});
    EXPECT_EQ(Number("SELECT count(*) AS N FROM Systems WHERE ID=1 AND Name='three_bus.pf'"), 1);
    EXPECT_EQ(Cases(1), "1");
    EXPECT_EQ(Rows("Buses"), 3);
    EXPECT_EQ(Rows("Branches"), 2);
    EXPECT_EQ(Number("SELECT count(*) AS N FROM Buses WHERE Name IN ('North', 'Middle', 'South')"), 3);
    EXPECT_EQ(Number("SELECT count(*) AS N FROM Branches WHERE Name IN ('North-Middle', 'T1')"), 2);
    EXPECT_EQ(Rows("PFBuses"), 3);
    EXPECT_EQ(Rows("PFBranches"), 2);

    ASSERT_TRUE(Save("three_bus.pf", "Again"));
    EXPECT_EQ(Cases(1), "1 2");
    EXPECT_EQ(Rows("Buses"), 3);
    EXPECT_EQ(Rows("Branches"), 2);
    EXPECT_EQ(Number("SELECT count(*) AS N FROM PFBuses WHERE Solution=2"), 3);
    EXPECT_EQ(Number("SELECT count(*) AS N FROM PFBranches WHERE Solution=2"), 2);

    ASSERT_TRUE(Save("other.pf"));
    EXPECT_EQ(Number("SELECT ID AS N FROM Systems WHERE Name='other.pf'"), 2);
    EXPECT_EQ(Cases(2), "1");
    EXPECT_EQ(Rows("Buses"), 6);

    // V is the model's Vpu times Vbase, written with six decimals.
    CADORecordset rows(&database_);
    ASSERT_TRUE(rows.Open("SELECT V, Vpu, Vbase, Angle FROM PFBuses WHERE SystemID=1 AND Solution=1 ORDER BY ID"));
    int checked = 0;
    for (rows.MoveFirst(); !rows.IsEof(); rows.MoveNext(), ++checked) {
        double v = 0, vpu = 0, vbase = 0;
        rows.GetFieldValue("V", v);
        rows.GetFieldValue("Vpu", vpu);
        rows.GetFieldValue("Vbase", vbase);
        EXPECT_EQ(v, std::strtod(FormatCLocale("%f", vpu * vbase).c_str(), nullptr)) << vpu << " x " << vbase;
    }
    EXPECT_EQ(checked, 3);
    EXPECT_EQ(Number("SELECT count(*) AS N FROM PFBuses WHERE SystemID=1 AND Solution=1 AND ((ID=1 AND Vpu=1.05 AND Vbase=110) OR "
                     "(ID=3 AND Vpu=0.98 AND Vbase=20 AND Angle=-8.25))"),
              2);
}

TEST_F(SaveResultsDialog, QuotesAndLongTitlesAreStoredAsTypedAndFoundAgain) {
    struct Case {
        std::string title;
        QString description;
    };
    const Case cases[] = {
        {"O'Brien's case.pf", "plain"},
        {std::string(57, 'x') + ".pf", "sixty characters"},  // 60 characters
        {"quoted.pf", "Tom's \"peak\" -- load"},
    };
    int system = 0;
    for (const Case& c : cases) {
        ++system;
        ASSERT_TRUE(Save(c.title, c.description)) << c.title;
        ASSERT_TRUE(Save(c.title, c.description)) << c.title;
        EXPECT_EQ(Cases(system), "1 2") << c.title;
        CADORecordset rows(&database_);
        ASSERT_TRUE(rows.Open(FormatCLocale(
            "SELECT s.Name AS Name, c.Description AS Description FROM Systems s JOIN Solutions c ON c.SystemID=s.ID "
            "WHERE s.ID=%d AND c.ID=2",
            system)));
        std::string name, description;
        rows.GetFieldValue("Name", name);
        rows.GetFieldValue("Description", description);
        EXPECT_EQ(name, c.title);
        EXPECT_EQ(QString::fromStdString(description), c.description);
    }
    EXPECT_EQ(Rows("Systems"), 3);
}

TEST_F(SaveResultsDialog, DeletingCasesKeepsTheSystemAndNumbersOnFromTheRest) {
    {
        // A model never saved has nothing to offer.
        CDlgSaveResults dialog(prompts_, database_, "never.pf", *model_.net.model().GetRecordCursor(),
                               CDlgSaveResults::Mode::Delete);
        dialog.SetUp();
        EXPECT_EQ(dialog.windowTitle(), "Delete Results");
        EXPECT_FALSE(dialog.OkButton()->isEnabled());
        EXPECT_TRUE(FindControl<QLineEdit>(dialog, CDlgSaveResults::kDescriptionId)->isHidden());
    }
    for (const char* description : {"b", "c", "a"}) ASSERT_TRUE(Save("three_bus.pf", description));
    TakeMessages();

    // The list is ordered by description: a (case 3), b (1), c (2).
    ASSERT_TRUE(Delete("three_bus.pf", 0));
    EXPECT_EQ(TakeMessages(), Messages{"Case deleted!"});
    EXPECT_EQ(Cases(1), "1 2");
    EXPECT_EQ(Number("SELECT count(*) AS N FROM PFBuses WHERE Solution=3"), 0);
    ASSERT_TRUE(Save("three_bus.pf"));
    EXPECT_EQ(Cases(1), "1 2 3");

    for (int remaining = 3; remaining > 0; --remaining) ASSERT_TRUE(Delete("three_bus.pf", 0));
    EXPECT_EQ(Cases(1), "");
    EXPECT_EQ(Rows("Systems") + Rows("Buses") + Rows("Branches"), 1 + 3 + 2);
    EXPECT_EQ(Rows("PFBuses") + Rows("PFBranches"), 0);
    TakeMessages();
    ASSERT_TRUE(Delete("three_bus.pf", 0));
    EXPECT_EQ(TakeMessages(), Messages{"There is nothing to delete!"});
    ASSERT_TRUE(Save("three_bus.pf"));
    EXPECT_EQ(Cases(1), "1");

    ASSERT_TRUE(Save("other.pf"));
    TakeMessages();
    ASSERT_TRUE(Delete("three_bus.pf", 0, true));
    EXPECT_EQ(TakeMessages(), Messages{"All results for this model are deleted!"});
    EXPECT_EQ(Number("SELECT count(*) AS N FROM Systems WHERE Name='three_bus.pf'"), 0);
    EXPECT_EQ(Number("SELECT count(*) AS N FROM Buses WHERE SystemID=1"), 0);
    EXPECT_EQ(Rows("Buses"), 3);  // the other model's
}

TEST_F(SaveResultsDialog, AFailingStepUndoesTheWholeSaveOrDelete) {
    ASSERT_TRUE(Save("three_bus.pf"));
    TakeMessages();
    const int solutions = Rows("Solutions");
    const int busRows = Rows("PFBuses");

    Exec("CREATE TRIGGER ThirdBusFails BEFORE INSERT ON PFBuses "
         "WHEN (SELECT count(*) FROM PFBuses WHERE SystemID=NEW.SystemID AND Solution=NEW.Solution) = 2 "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_FALSE(Save("three_bus.pf"));
    EXPECT_EQ(TakeMessages(), Messages{"Cannot add bus South into PFBuses!"});
    EXPECT_EQ(Rows("Solutions"), solutions);
    EXPECT_EQ(Rows("PFBuses"), busRows);
    // A new system's own rows go with the failed case.
    EXPECT_FALSE(Save("new.pf"));
    EXPECT_EQ(Rows("Systems") + Rows("Buses") + Rows("Branches"), 1 + 3 + 2);
    Exec("DROP TRIGGER ThirdBusFails");

    Exec("CREATE TRIGGER NoDelete BEFORE DELETE ON Solutions BEGIN SELECT RAISE(ABORT, 'refused'); END");
    TakeMessages();
    for (bool all : {false, true}) {
        EXPECT_FALSE(Delete("three_bus.pf", 0, all));
        EXPECT_EQ(TakeMessages(), Messages{"Cannot delete results!"});
        EXPECT_EQ(Rows("Systems") + Rows("Solutions") + Rows("Buses") + Rows("Branches"), 1 + 1 + 3 + 2);
        EXPECT_EQ(Rows("PFBuses") + Rows("PFBranches"), 3 + 2);
    }

    // Without a database the lookup cannot run, and nothing is made.
    database_.Close();
    EXPECT_FALSE(Save("three_bus.pf"));
    EXPECT_EQ(TakeMessages(), Messages{"Cannot execute getSystem!"});
}

}  // namespace
