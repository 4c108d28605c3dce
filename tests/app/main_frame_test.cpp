#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "color_list_box.h"
#include "column_tool_bar.h"
#include "command_ids.h"
#include "dlg_messages.h"
#include "message_list.h"
#include "shell_fixture.h"

namespace {

using MainFrame = ShellTest;

std::vector<QAction*> PaletteActions(CColumnToolBar& palette) {
    std::vector<QAction*> actions;
    for (QToolButton* button : palette.findChildren<QToolButton*>()) actions.push_back(button->defaultAction());
    return actions;
}

TEST_F(MainFrame, HasTheStandardBarTheStatusBarAndAFloatingTwoColumnPalette) {
    ASSERT_TRUE(Start());
    QToolBar& standard = Frame().StandardBar();
    EXPECT_TRUE(standard.isVisible());
    EXPECT_EQ(Frame().toolBarArea(&standard), Qt::TopToolBarArea);
    EXPECT_EQ(standard.windowTitle(), "Standard");
    ASSERT_NE(app->StatusBar(), nullptr);
    EXPECT_EQ(app->StatusBar(), Frame().statusBar());
    EXPECT_EQ(app->StatusBar()->currentMessage(), "Ready");

    CColumnToolBar& palette = Frame().ToolsBar();
    EXPECT_TRUE(palette.isWindow());
    EXPECT_TRUE(palette.isVisible());
    EXPECT_EQ(palette.windowTitle(), "Tools");
    EXPECT_EQ(palette.Columns(), 2);
    const QScreen* screen = QGuiApplication::primaryScreen();
    EXPECT_EQ(palette.pos(), QPoint(10, screen->geometry().height() / 8));
    EXPECT_EQ(palette.CellOf(0), QPoint(0, 0));
    EXPECT_EQ(palette.CellOf(1), QPoint(1, 0));
    EXPECT_EQ(palette.CellOf(28), QPoint(0, 14));

    // The buttons in the tool table's order, each with its tip and picture;
    // without a network window nobody takes them.
    const std::vector<QAction*> tools = PaletteActions(palette);
    ASSERT_EQ(tools.size(), 29u);
    const std::pair<int, const char*> some[] = {
        {0, "Bus (Vertical)"}, {1, "Transmition Line"}, {5, "Selection"}, {10, "Synchronous  Compensator"},
        {19, "Connectior (Z=0)"}, {28, "Grounder"},
    };
    for (auto [place, tip] : some) EXPECT_EQ(tools[static_cast<size_t>(place)]->toolTip(), tip);
    EXPECT_EQ(tools[0]->data().toInt(), Command::ToolBusVertical);
    EXPECT_EQ(tools[28]->data().toInt(), Command::ToolGrounder);
    for (QAction* tool : tools) {
        EXPECT_FALSE(tool->icon().isNull());
        EXPECT_TRUE(tool->isCheckable());
        EXPECT_FALSE(tool->isEnabled());
    }
    QAction* editMode = Frame().Commands().Find(Command::EditMode);
    ASSERT_NE(editMode, nullptr);
    EXPECT_TRUE(editMode->isCheckable());
    EXPECT_TRUE(standard.actions().contains(editMode));
    EXPECT_TRUE(standard.actions().contains(Frame().Commands().Find(Command::SolveProblem)));
}

TEST_F(MainFrame, AButtonsTipGoesOnceItsCommandRanThoughThePointerStays) {
    ASSERT_TRUE(Start());
    QStatusTipEvent tip("Create a new document");
    QCoreApplication::sendEvent(&Frame(), &tip);
    EXPECT_EQ(app->StatusBar()->currentMessage(), "Create a new document");
    Frame().Commands().Find(Command::FileNew)->trigger();
    EXPECT_EQ(app->StatusBar()->currentMessage(), "Ready");
}

TEST_F(MainFrame, TheMessageWindowIsTheApplicationsSink) {
    ASSERT_TRUE(Start());
    ASSERT_EQ(app->GetMessageSink(), static_cast<IMessageSink*>(&Frame().Messages()));
    app->GetMessageSink()->AddMessage(IMessageSink::Success, "Power Flow successfully solved");
    const MessageList& rows = Frame().Messages().Messages();
    EXPECT_EQ(rows.At(rows.Count() - 1).text, "Power Flow successfully solved");
}

TEST_F(MainFrame, TheViewCommandsShowAndHideTheTwoWindowsAndAreCheckedWhileShown) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame().Legend().List().count(), 0);  // normal mode, nothing shown yet
    struct Case {
        int command;
        QWidget* window;
    };
    const Case cases[] = {{Command::ViewMessages, &Frame().Messages()},
                          {Command::ViewColorMapLegend, &Frame().Legend()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        QAction* item = Frame().Commands().Find(c.command);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(c.window->isVisible());  // a first run shows both
        EXPECT_TRUE(item->isChecked());
        item->trigger();
        EXPECT_FALSE(c.window->isVisible());
        EXPECT_FALSE(item->isChecked());
        item->trigger();
        EXPECT_TRUE(c.window->isVisible());
        EXPECT_TRUE(item->isChecked());

        // Escape hides it as well; the menu follows when the program is idle.
        QTest::keyClick(c.window, Qt::Key_Escape);
        EXPECT_FALSE(c.window->isVisible());
        Idle();
        EXPECT_FALSE(item->isChecked());
    }
}

TEST_F(MainFrame, AWindowHiddenWhenTheProgramEndedStaysHiddenNextTime) {
    ASSERT_TRUE(Start());
    Frame().Commands().Execute(Command::ViewMessages);
    app.reset();
    SettleDeletions();

    ASSERT_TRUE(Start());
    EXPECT_FALSE(Frame().Messages().isVisible());
    EXPECT_FALSE(Frame().Commands().StateOf(Command::ViewMessages).checked);
    EXPECT_TRUE(Frame().Legend().isVisible());
}

TEST_F(MainFrame, ExitKeepsTheTwoWindowsAsTheUserLeftThem) {
    auto exitAndStartAgain = [this] {
        Frame().Commands().Execute(Command::AppExit);
        // As the program's event loop ends, the toolkit closes the windows
        // still open.
        QApplication::closeAllWindows();
        app.reset();
        SettleDeletions();
        ASSERT_TRUE(Start());
    };
    ASSERT_TRUE(Start());
    exitAndStartAgain();
    EXPECT_TRUE(Frame().Messages().isVisible());
    EXPECT_TRUE(Frame().Legend().isVisible());

    Frame().Commands().Execute(Command::ViewColorMapLegend);
    exitAndStartAgain();
    EXPECT_TRUE(Frame().Messages().isVisible());
    EXPECT_FALSE(Frame().Legend().isVisible());
    EXPECT_FALSE(Frame().Commands().StateOf(Command::ViewColorMapLegend).checked);
}

TEST_F(MainFrame, OpensMaximisedAndRestoresToThreeQuartersOfTheScreen) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame().isMaximized());
    Frame().showNormal();
    EXPECT_EQ(Frame().size(), QGuiApplication::primaryScreen()->availableSize() * 3 / 4);
}

}  // namespace
