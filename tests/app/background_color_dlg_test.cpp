#include <gtest/gtest.h>

#include <QCheckBox>

#include "background_color_dlg.h"
#include "colour_picker.h"
#include "control_id.h"
#include "scripted_prompt_service.h"

namespace {

TEST(BackgroundColorDlg, OkReadsThePickerAndTheDefaultCheckCancelNeither) {
    ScriptedPromptService prompts;
    for (bool ok : {true, false}) {
        SCOPED_TRACE(ok);
        BackgroundColorDlg dialog(prompts, Rgb(255, 255, 224));
        dialog.SetUp();
        auto& picker = *FindControl<CColourPicker>(dialog, BackgroundColorDlg::kColorId);
        auto& setAsDefault = *FindControl<QCheckBox>(dialog, BackgroundColorDlg::kSetAsDefaultId);
        EXPECT_EQ(picker.colour(), Rgb(255, 255, 224));
        EXPECT_FALSE(setAsDefault.isChecked());
        picker.setColour(Rgb(0, 0, 64));
        setAsDefault.setChecked(true);
        ok ? dialog.accept() : dialog.reject();
        EXPECT_EQ(dialog.Color(), ok ? Rgb(0, 0, 64) : Rgb(255, 255, 224));
        EXPECT_EQ(dialog.SetAsDefault(), ok);
    }
}

}  // namespace
