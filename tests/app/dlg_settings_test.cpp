#include <gtest/gtest.h>

#include <QLineEdit>

#include "control_id.h"
#include "dlg_settings.h"
#include "scripted_prompt_service.h"

namespace {

QLineEdit& Field(const CDlgSettings& dialog, int id) { return *FindControl<QLineEdit>(dialog, id); }

TEST(DuplicationSettings, ShowsTheStepsTakesAnyIntegerAndRefusesFractions) {
    ScriptedPromptService prompts;
    CDlgSettings dialog(prompts, DuplicationSteps{2, 3, 7});
    dialog.SetUp();
    EXPECT_EQ(dialog.windowTitle(), "Duplication");
    EXPECT_EQ(Field(dialog, CDlgSettings::kHorizontalId).text(), "2");
    EXPECT_EQ(Field(dialog, CDlgSettings::kVerticalId).text(), "3");
    EXPECT_EQ(Field(dialog, CDlgSettings::kLongMoveId).text(), "7");

    Field(dialog, CDlgSettings::kVerticalId).setText("1.5");
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "Please enter an integer.");
    EXPECT_EQ(dialog.RefusedField(), &Field(dialog, CDlgSettings::kVerticalId));

    // No range: a negative step and a zero are taken.
    Field(dialog, CDlgSettings::kVerticalId).setText("-4");
    Field(dialog, CDlgSettings::kLongMoveId).setText("0");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Steps(), (DuplicationSteps{2, -4, 0}));
}

}  // namespace
