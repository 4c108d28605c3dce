#include <gtest/gtest.h>

#include "about_dialog.h"
#include "control_id.h"
#include "qt_colors.h"
#include "recording_desktop_actions.h"
#include "scripted_prompt_service.h"
#include "static_ex.h"

namespace {

TEST(AboutDialog, TheAuthorLineIsABlueLinkThatTurnsPurpleOnceOpened) {
    ScriptedPromptService prompts;
    RecordingDesktopActions desktop;
    CAboutDlg about(prompts, desktop);
    auto* author = FindControl<CStaticEx>(about, CAboutDlg::kAuthorLineId);
    ASSERT_NE(author, nullptr);
    EXPECT_TRUE(author->Link().startsWith("mailto:"));
    EXPECT_EQ(author->palette().color(QPalette::WindowText), ToQColor(Rgb(0, 0, 255)));
    EXPECT_EQ(author->cursor().shape(), Qt::BitmapCursor);  // the program's own hand

    author->OnClicked();
    EXPECT_EQ(desktop.openedLinks, QStringList{author->Link()});
    EXPECT_EQ(author->palette().color(QPalette::WindowText), ToQColor(Rgb(128, 0, 255)));
    EXPECT_TRUE(prompts.prompts.empty());
}

}  // namespace
