#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>

#include "qt_colors.h"
#include "recording_desktop_actions.h"
#include "scripted_prompt_service.h"
#include "static_ex.h"

namespace {

class StaticExTest : public ::testing::Test {
protected:
    ScriptedPromptService prompts;
    RecordingDesktopActions desktop;
    CStaticEx text{prompts, desktop};
    QWidget window;
    QDialog dialog;
    QStringList steps;

    void SetUp() override {
        text.setText("Messages");
        text.resize(100, 20);
        window.show();
        text.SetToggleWindow(&window);
        text.SetDialog(&dialog);
        dialog.setWindowTitle("Details");
        prompts.dialogScripts = {[this](QDialog&) { steps << (window.isVisible() ? "dialog, shown" : "dialog, hidden"); }};
        text.SetMessage([this] { steps << "message"; });
    }
};

TEST_F(StaticExTest, WithoutALinkAClickTogglesRunsAndSendsInThatOrder) {
    QTest::mouseClick(&text, Qt::LeftButton);
    EXPECT_EQ(steps, (QStringList{"dialog, hidden", "message"}));
    EXPECT_TRUE(desktop.openedLinks.isEmpty());
    EXPECT_FALSE(text.Visited());
    text.OnClicked();
    EXPECT_TRUE(window.isVisible());
}

TEST_F(StaticExTest, AnOpenedLinkTurnsVisitedBeforeTheMessage) {
    text.SetLink("https://www.example.org/");
    text.SetMessage([this] { steps << (text.Visited() ? "message, visited" : "message"); });
    text.OnClicked();
    EXPECT_EQ(steps, (QStringList{"dialog, hidden", "message, visited"}));
    EXPECT_EQ(desktop.openedLinks, QStringList{"https://www.example.org/"});
    EXPECT_EQ(text.palette().color(QPalette::WindowText), ToQColor(CStaticEx::kVisitedColor));
    EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(StaticExTest, ALinkThatCannotBeOpenedBeepsOnceSaysSoAndStaysUnvisited) {
    text.SetTextColor(kBlue);
    text.SetLink("/no/such/file.txt");
    desktop.opens = false;
    text.OnClicked();
    EXPECT_EQ(desktop.beeps, 1);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "Unable to open /no/such/file.txt.");
    EXPECT_EQ(prompts.Messages()[0].icon, PromptIcon::Information);
    EXPECT_FALSE(text.Visited());
    EXPECT_EQ(text.palette().color(QPalette::WindowText), ToQColor(kBlue));
    EXPECT_EQ(steps.last(), "message");  // the message is still sent
}

TEST_F(StaticExTest, TheHandCursorIsShownOnlyWhenAskedFor) {
    EXPECT_EQ(text.cursor().shape(), Qt::ArrowCursor);
    text.SetHandCursor(true);
    EXPECT_EQ(text.cursor().shape(), Qt::BitmapCursor);
    EXPECT_FALSE(text.cursor().pixmap().isNull());
    text.SetHandCursor(false);
    EXPECT_EQ(text.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(StaticExTest, AClickOutsideTheTextOrWithTheRightButtonDoesNothing) {
    QTest::mouseClick(&text, Qt::RightButton);
    QTest::mouseRelease(&text, Qt::LeftButton, {}, QPoint(150, 10));
    EXPECT_TRUE(steps.isEmpty());
}

}  // namespace
