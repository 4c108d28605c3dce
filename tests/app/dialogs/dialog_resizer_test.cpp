#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "dialog_resizer.h"
#include "profile.h"
#include "scripted_prompt_service.h"

namespace {

// A message window in small: a list that grows with the dialog and a
// button that stays in the bottom-right corner.
class ResizableDialog : public CDialogResizer {
public:
    QListWidget* list = new QListWidget(this);
    QPushButton* button = new QPushButton("Clear", this);

    ResizableDialog(PromptService& prompts, Profile* profile) : CDialogResizer(prompts, profile) {
        setWindowTitle("Messages");
        resize(300, 200);
        list->setGeometry(10, 10, 280, 150);
        button->setGeometry(210, 170, 80, 20);
    }

protected:
    void DoDataExchange(DataExchange&) override {}
    void OnInitResizer() override {
        AddControl(Anchor::Stretch, true, list);
        AddControl(Anchor::KeepBottomRight, true, button);
        CDialogResizer::OnInitResizer();
    }
};

class DialogResizerTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    Profile profile{folder.filePath("tavrin.ini")};
    ScriptedPromptService prompts;
};

TEST_F(DialogResizerTest, ControlsFollowTheDialogsSizeByTheirAnchor) {
    ResizableDialog dialog(prompts, &profile);
    dialog.SetUp();
    dialog.resize(340, 230);
    EXPECT_EQ(dialog.list->geometry(), QRect(10, 10, 320, 180));  // 40 wider, 30 higher, same left and top
    EXPECT_EQ(dialog.button->geometry().right(), 289);
    EXPECT_EQ(dialog.button->geometry().bottom(), 189);
    EXPECT_EQ(dialog.button->size(), QSize(120, 50));
}

TEST_F(DialogResizerTest, NothingMovesBeforeTheDialogIsSetUp) {
    ResizableDialog dialog(prompts, &profile);
    dialog.resize(340, 230);
    EXPECT_EQ(dialog.list->geometry(), QRect(10, 10, 280, 150));
}

TEST_F(DialogResizerTest, TheDialogComesBackWhereItWasAndHiddenWhenItWasHidden) {
    QRect frame;
    {
        ResizableDialog dialog(prompts, &profile);
        dialog.SetUp();
        EXPECT_TRUE(dialog.isVisible());  // nothing stored: shown where it was made
        dialog.setGeometry(40, 50, 320, 240);
        frame = dialog.frameGeometry();
        dialog.ShowWindow(false);
    }
    EXPECT_EQ(profile.GetProfileInt("Messages", "Left", -1), frame.left());
    EXPECT_EQ(profile.GetProfileInt("Messages", "Right", -1), frame.left() + frame.width());
    EXPECT_EQ(profile.GetProfileInt("Messages", "Visible", -1), 0);
    {
        ResizableDialog dialog(prompts, &profile);
        dialog.SetUp();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.pos(), frame.topLeft());
        EXPECT_FALSE(dialog.VisibleFlag());
    }
    // Hidden it stays hidden at the next start.
    EXPECT_EQ(profile.GetProfileInt("Messages", "Visible", -1), 0);
}

TEST_F(DialogResizerTest, ClosingHidesAndSavesTheDialog) {
    ResizableDialog dialog(prompts, &profile);
    dialog.SetUp();
    dialog.move(70, 80);  // the frame's top-left
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(profile.GetProfileInt("Messages", "Left", -1), 70);
    EXPECT_EQ(profile.GetProfileInt("Messages", "Visible", -1), 0);
}

TEST_F(DialogResizerTest, WithoutSavingThePlacementNothingIsReadOrWritten) {
    profile.WriteProfileInt("Messages", "Visible", 0);
    {
        ResizableDialog dialog(prompts, &profile);
        dialog.SetSavePlacement(false);
        dialog.SetUp();
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(profile.GetProfileInt("Messages", "Left", -1), -1);
}

}  // namespace
