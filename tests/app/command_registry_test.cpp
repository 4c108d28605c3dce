#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QAction>
#include <QMdiArea>
#include <QTest>

#include "command_ids.h"
#include "shell_fixture.h"
#include "view_base.h"

namespace {

constexpr int kZoom = 39001;  // a command both kinds of view bind to one key
constexpr int kSolve = 39002;  // handled by one kind of document only
constexpr int kNobody = 39003;

using CommandRoad = ShellTest;

TEST_F(CommandRoad, ACommandGoesToTheActiveViewThenItsDocumentThenFrameThenApplication) {
    QString path = WriteTextFile("notes.tst", "x");
    ASSERT_TRUE(Start({"-nosplash", path}));
    Frame().Commands().Add(kZoom, "Zoom", QKeySequence(Qt::CTRL | Qt::Key_K));
    Frame().Commands().Add(kSolve, "Solve");
    Frame().Commands().Add(kNobody, "Nobody");

    std::vector<std::string> calls;
    CView& textView = Windows()[0]->View();
    CDocument& textDocument = *textView.GetDocument();
    textView.OnCommand(kZoom, [&] { calls.push_back("text view"); });
    textDocument.OnCommand(kZoom, [&] { calls.push_back("text document"); });
    textDocument.OnCommand(kSolve, [&] { calls.push_back("text document"); },
                           [](CmdUI& ui) { ui.SetCheck(true); });
    Frame().OnCommand(kSolve, [&] { calls.push_back("frame"); }, [](CmdUI& ui) { ui.Enable(false); });

    ASSERT_TRUE(Frame().Commands().Execute(Command::FileNew));  // a network window, now active
    ASSERT_EQ(Windows().size(), 2u);
    CView& networkView = Windows()[1]->View();
    networkView.OnCommand(kZoom, [&] { calls.push_back("network view"); });
    Idle();  // the states are brought up to date

    // The key works in each kind of window, each time in the active one.
    QTest::keyClick(&Frame(), Qt::Key_K, Qt::ControlModifier);
    Frame().MdiArea().setActiveSubWindow(Windows()[0]);
    QTest::keyClick(&Frame(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(calls, (std::vector<std::string>{"network view", "text view"}));

    // The text document comes before the frame; the network one has no
    // handler, so the frame's update handler decides.
    EXPECT_TRUE(Frame().Commands().StateOf(kSolve).enabled);
    EXPECT_TRUE(Frame().Commands().StateOf(kSolve).checked);
    Frame().Commands().Execute(kSolve);
    EXPECT_EQ(calls.back(), "text document");
    Frame().MdiArea().setActiveSubWindow(Windows()[1]);
    EXPECT_FALSE(Frame().Commands().StateOf(kSolve).enabled);
    EXPECT_FALSE(Frame().Commands().Find(kSolve)->isEnabled());

    // Nobody on the road: disabled, and running it does nothing.
    EXPECT_FALSE(Frame().Commands().StateOf(kNobody).enabled);
    EXPECT_FALSE(Frame().Commands().Execute(kNobody));
}

TEST_F(CommandRoad, StatesAreBroughtUpToDateWhenTheProgramIsIdle) {
    ASSERT_TRUE(Start());
    bool ready = false;
    QAction* action = Frame().Commands().Add(kSolve, "Solve");
    Frame().OnCommand(kSolve, [] {}, [&](CmdUI& ui) { ui.Enable(ready); });
    Idle();
    EXPECT_FALSE(action->isEnabled());
    ready = true;
    Idle();
    EXPECT_TRUE(action->isEnabled());
}

TEST_F(CommandRoad, DocumentCommandsNeedADocumentWindow) {
    ASSERT_TRUE(Start());
    for (int id : {Command::FileSave, Command::FileSaveAs, Command::FileClose}) {
        EXPECT_FALSE(Frame().Commands().StateOf(id).enabled) << id;
    }
    EXPECT_TRUE(Frame().Commands().StateOf(Command::FileNew).enabled);
    Frame().Commands().Execute(Command::FileNew);
    for (int id : {Command::FileSave, Command::FileSaveAs, Command::FileClose}) {
        EXPECT_TRUE(Frame().Commands().StateOf(id).enabled) << id;
        EXPECT_TRUE(Frame().Commands().Find(id)->isEnabled()) << id;
    }
}

}  // namespace
