#pragma once

#include "child_frame.h"
#include "recording_graph.h"
#include "scripted_network_dialogs.h"
#include "shell_fixture.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"

// A program with a network window opened from a file, whose dialogs are
// scripted and whose graph windows are recorded instead of shown.
class StudyWindowTest : public ShellTest {
protected:
    ScriptedNetworkDialogs dialogs;
    RecordingGraphFactory graphs;
    CChildFrame* networkWindow = nullptr;
    CTavrinView* view = nullptr;
    IModel* model = nullptr;

    void OpenStudyWindow(const QString& path) {
        ASSERT_TRUE(Start());
        ASSERT_NE(app->OpenDocumentFile(path), nullptr);
        networkWindow = Windows().back();
        view = dynamic_cast<CTavrinView*>(&networkWindow->View());
        ASSERT_NE(view, nullptr);
        view->SetDialogs(&dialogs);
        view->GetDocument()->SetGraphMaker(
            [this](CReferenceManager*, QWidget*, PromptService&) { return graphs.Make(); });
        model = view->GetDocument()->GetModel();
    }

    // The command, from the network window however many report windows
    // were opened over it.
    void Run(int command) {
        Frame().MdiArea().setActiveSubWindow(networkWindow);
        ASSERT_TRUE(Frame().Commands().Execute(command)) << command;
    }

    void TearDown() override {
        model = nullptr;
        view = nullptr;
        networkWindow = nullptr;
        ShellTest::TearDown();
    }
};
