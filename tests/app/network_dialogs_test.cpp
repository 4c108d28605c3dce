#include <gtest/gtest.h>

#include <QLineEdit>

#include "command_ids.h"
#include "control_id.h"
#include "dlg_settings.h"
#include "network_view_fixture.h"

namespace {

using namespace Command;

// A program whose network windows open the program's own dialogs, played
// by scripts.
class ProgramDialogs : public NetworkViewTest {
protected:
    void Choose(int id) {
        Frame().Commands().UpdateAll();
        Frame().Commands().Find(id)->trigger();
    }
    static void Type(QDialog& dialog, int id, const QString& text) {
        FindControl<QLineEdit>(dialog, id)->setText(text);
    }
};

TEST_F(ProgramDialogs, DuplicationSettingsShowTheModelsStepsAndStoreThemOnOkOnly) {
    CTavrinView& view = OpenNetwork(false);
    IModel& model = *view.GetDocument()->GetModel();
    model.SetDuplicationSteps(2, 3, 7);
    auto steps = [&model] {
        DuplicationSteps stored;
        model.GetDuplicationSteps(stored.horizontal, stored.vertical, stored.longMove);
        return stored;
    };
    QString shown;
    prompts.dialogScripts.push_back([&](QDialog& dialog) {
        shown = FindControl<QLineEdit>(dialog, CDlgSettings::kLongMoveId)->text();
        Type(dialog, CDlgSettings::kHorizontalId, "5");
        dialog.reject();
    });
    Choose(DuplicationSettings);
    EXPECT_EQ(shown, "7");
    EXPECT_EQ(steps(), (DuplicationSteps{2, 3, 7}));

    prompts.dialogScripts.push_back([&](QDialog& dialog) {
        Type(dialog, CDlgSettings::kHorizontalId, "5");
        dialog.accept();
    });
    Choose(DuplicationSettings);
    EXPECT_EQ(prompts.prompts.back().caption, "Duplication");
    EXPECT_EQ(steps(), (DuplicationSteps{5, 3, 7}));
}

}  // namespace
