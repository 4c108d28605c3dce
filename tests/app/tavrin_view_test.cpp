#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>

#include "fake_element.h"
#include "network_tools.h"
#include "network_view_fixture.h"
#include "scripted_network_dialogs.h"

namespace {

using Event = RecordingEditTarget::Event;
using Args = EditEventArgs;
constexpr int L = MouseFlag::LeftButton;
constexpr int Ctrl = MouseFlag::Control;
constexpr int Shift = MouseFlag::Shift;
constexpr int BusTool = 32771;
constexpr int Bus = 1;

struct InputCase {
    std::string name;
    std::function<void(CTavrinView&)> setUp;
    std::vector<NetworkViewTest::Step> steps;
    std::vector<Event> expected;
};

using NetworkView = NetworkViewTest;
using In = NetworkViewTest::Input;

TEST_F(NetworkView, TurnsMouseAndKeysIntoTheModelsEditEvents) {
    auto none = [](CTavrinView&) {};
    auto busTool = [](CTavrinView& view) { view.Execute(BusTool); };
    auto remote = [](CTavrinView& view) { view.GetDocument()->SetRemote(true); };
    auto viewOnly = [](CTavrinView& view) { view.SetEditMode(false); };
    const Point screen{0, 0};  // replaced by the canvas's own below
    const std::vector<InputCase> cases{
        {"a click with the selection tool is not snapped", none,
         {{In::Press, {13, 17}}, {In::Release, {13, 17}}},
         {{EditEvent::ButtonDown, 0, Args::Mouse(L, {13, 17})}, {EditEvent::ButtonUp, 0, Args::Mouse(0, {13, 17})}}},
        {"a tool's click is snapped to the grid", busTool,
         {{In::Press, {13, 17}}, {In::Release, {14, 16}}},
         {{EditEvent::ButtonDown, Bus, Args::Mouse(L, {10, 20})},
          {EditEvent::ButtonUp, Bus, Args::Mouse(0, {10, 20})}}},
        {"shift goes with the flags", none,
         {{In::Press, {40, 40}, {}, Qt::ShiftModifier}},
         {{EditEvent::ButtonDown, 0, Args::Mouse(L | Shift, {40, 40})}}},
        {"Ctrl + left button ends a drawing as a double click does", busTool,
         {{In::Press, {31, 29}, {}, Qt::ControlModifier}, {In::Release, {31, 29}, {}, Qt::ControlModifier}},
         {{EditEvent::DoubleClick, Bus, Args::Mouse(L | Ctrl, {30, 30})},
          {EditEvent::ButtonUp, Bus, Args::Mouse(Ctrl, {30, 30})}}},
        {"a double click", none,
         {{In::Press, {5, 6}}, {In::Release, {5, 6}}, {In::DoubleClick, {5, 6}}, {In::Release, {5, 6}}},
         {{EditEvent::ButtonDown, 0, Args::Mouse(L, {5, 6})},
          {EditEvent::ButtonUp, 0, Args::Mouse(0, {5, 6})},
          {EditEvent::DoubleClick, 0, Args::Mouse(L, {5, 6})},
          {EditEvent::ButtonUp, 0, Args::Mouse(0, {5, 6})}}},
        {"moves follow the tool, snapped", busTool,
         {{In::Move, {-3, 26}}, {In::Move, {44, 44}, Qt::LeftButton}},
         {{EditEvent::MouseMove, Bus, Args::Mouse(0, {0, 30})},
          {EditEvent::MouseMove, Bus, Args::Mouse(L, {40, 40})}}},
        {"the selection tool's plain moves are not snapped", none,
         {{In::Move, {13, 17}}},
         {{EditEvent::MouseMove, 0, Args::Mouse(0, {13, 17})}}},
        {"a band over empty diagram selects what lies in it", none,
         {{In::Press, {60, 50}}, {In::Move, {61, 52}, Qt::LeftButton}, {In::Move, {20, 90}, Qt::LeftButton},
          {In::Release, {20, 90}}},
         {{EditEvent::ButtonDown, 0, Args::Mouse(L, {60, 50})},
          {EditEvent::SelectInRect, 0, Args::Band(0, Rect{20, 52, 61, 90})}}},
        {"a band of no width sends nothing", none,
         {{In::Press, {60, 50}}, {In::Move, {60, 52}, Qt::LeftButton}, {In::Move, {60, 90}, Qt::LeftButton},
          {In::Release, {60, 90}}},
         {{EditEvent::ButtonDown, 0, Args::Mouse(L, {60, 50})}}},
        {"the right button asks for the element's menu, with Ctrl for its fonts", none,
         {{In::RightUp, {-0, 7}}, {In::RightUp, {8, 9}, {}, Qt::ControlModifier},
          {In::RightUp, {8, 9}, {}, Qt::ShiftModifier}, {In::RightUp, {8, 9}, Qt::LeftButton}},
         {{EditEvent::ContextMenu, 0, Args::RightButton(0, {0, 7}, screen)},
          {EditEvent::FillAndFontAtPoint, 0, Args::RightButton(Ctrl, {8, 9}, screen)}}},
        {"arrow keys and Delete go to the selection tool", none,
         {{In::KeyUp, {}, {}, {}, Qt::Key_Left}, {In::KeyUp, {}, {}, {}, Qt::Key_Delete},
          {In::KeyUp, {}, {}, {}, Qt::Key_Down}, {In::KeyUp, {}, {}, {}, Qt::Key_Shift}},
         {{EditEvent::Key, 0, Args::KeyReleased(VirtualKey::Left, 0)},
          {EditEvent::Key, 0, Args::KeyReleased(VirtualKey::Delete, 0)},
          {EditEvent::Key, 0, Args::KeyReleased(VirtualKey::Down, 0)}}},
        {"keys do nothing with a drawing tool", busTool, {{In::KeyUp, {}, {}, {}, Qt::Key_Left}}, {}},
        {"a remote copy takes button presses and the right button only", remote,
         {{In::Press, {5, 5}}, {In::Release, {5, 5}}, {In::DoubleClick, {5, 5}},
          {In::Press, {5, 5}, {}, Qt::ControlModifier}, {In::Move, {9, 9}}, {In::Move, {9, 9}, Qt::LeftButton},
          {In::KeyUp, {}, {}, {}, Qt::Key_Left}, {In::RightUp, {5, 5}}},
         {{EditEvent::ButtonDown, 0, Args::Mouse(L, {5, 5})},
          {EditEvent::ContextMenu, 0, Args::RightButton(0, {5, 5}, screen)}}},
        {"outside edit mode moves and keys do nothing", viewOnly,
         {{In::Move, {5, 5}}, {In::Move, {9, 9}, Qt::LeftButton}, {In::KeyUp, {}, {}, {}, Qt::Key_Left},
          {In::Press, {5, 5}}},
         {{EditEvent::ButtonDown, 0, Args::Mouse(L, {5, 5})}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTavrinView& view = OpenNetwork();
        c.setUp(view);
        recorder.events.clear();
        for (const auto& step : c.steps) NetworkViewTest::Play(view, step);
        std::vector<Event> expected = c.expected;
        for (Event& e : expected) {
            if (e.event == EditEvent::ContextMenu || e.event == EditEvent::FillAndFontAtPoint) {
                QPoint global = view.Canvas()->mapToGlobal(QPoint(e.args.point.x, e.args.point.y));
                e.args.screen = {global.x(), global.y()};
            }
        }
        EXPECT_EQ(recorder.events, expected);
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
        Windows().back()->CloseWithoutAsking();
        SettleDeletions();
    }
}

TEST_F(NetworkView, PointsAreInDiagramUnitsWhereverTheViewIsScrolled) {
    CTavrinView& view = OpenNetwork();
    view.SetScrollSizes({5000, 4000});
    QAbstractScrollArea* area = qobject_cast<QAbstractScrollArea*>(view.Canvas()->parentWidget());
    ASSERT_NE(area, nullptr);
    area->horizontalScrollBar()->setValue(300);
    area->verticalScrollBar()->setValue(120);
    EXPECT_EQ(view.GetScrollPosition(), (Point{300, 120}));
    view.Execute(BusTool);
    Play(view, {{In::Press, {13, 17}}, {In::Release, {13, 17}}, {In::Move, {0, 0}, Qt::LeftButton}});
    ASSERT_EQ(recorder.events.size(), 3u);
    EXPECT_EQ(recorder.events[0].args.point, (Point{310, 140}));
    // A band is moved into the diagram too.
    view.Execute(Command::ToolSelection);
    recorder.events.clear();
    Play(view, {{In::Press, {10, 10}},
                {In::Move, {10, 10}, Qt::LeftButton},
                {In::Move, {40, 30}, Qt::LeftButton},
                {In::Release, {40, 30}}});
    ASSERT_EQ(recorder.events.size(), 2u);
    EXPECT_EQ(recorder.events[1].args.band, (Rect{310, 130, 340, 150}));
}

TEST_F(NetworkView, TheContextMenuCommandsSendTheirEvents) {
    CTavrinView& view = OpenNetwork();
    for (int command : {33001, 33000, 33002, 33003, 33004}) view.Execute(command);
    std::vector<int> sent;
    for (const Event& e : recorder.events) {
        sent.push_back(e.event);
        EXPECT_EQ(e.args, Args{});
    }
    EXPECT_EQ(sent, (std::vector<int>{7, 8, 9, 10, 11}));
    recorder.answer = true;
    view.Execute(33002);
    EXPECT_TRUE(view.GetDocument()->IsModified());
}

TEST_F(NetworkView, TheModelsContextMenuOffersWhatTheDocumentAllows) {
    CTavrinView& view = OpenNetwork();
    auto texts = [&](bool restricted) {
        view.OpenContextMenu(nullptr, restricted);
        QMenu* menu = view.findChild<QMenu*>();
        QStringList found;
        if (menu == nullptr) return found;
        for (QAction* action : menu->actions()) found << action->text();
        return found;
    };
    EXPECT_EQ(texts(false), (QStringList{"ON/OFF", "Disconnect", "&Delete", "&Properties ...",
                                         "Font, Line and Color Fill ..."}));
    QMenu* menu = view.findChild<QMenu*>();
    menu->actions()[0]->trigger();
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0].event, EditEvent::Switch);
    menu->close();
    SettleDeletions();
    EXPECT_EQ(texts(true), (QStringList{"ON/OFF", "&Properties ..."}));
}

TEST_F(NetworkView, ToolsSetTheDocumentsToolAndACursorThatShowsOnTheBackground) {
    CTavrinView& view = OpenNetwork();
    IModel& model = *view.GetDocument()->GetModel();
    for (ColorRef background : {Rgb(255, 255, 255), Rgb(100, 27, 0), Rgb(0, 0, 127)}) {
        model.SetBackgroundColor(background);
        const bool dark = RedOf(background) + GreenOf(background) + BlueOf(background) < 128;
        for (const NetworkTool& tool : NetworkTools()) {
            if (tool.command == Command::ToolNodeMover) continue;
            SCOPED_TRACE(tool.tip);
            view.Execute(tool.command);
            EXPECT_EQ(view.GetDocument()->GetTool(), tool.code);
            EXPECT_EQ(view.ToolCommand(), tool.command);
            EXPECT_EQ(view.CursorId(), dark ? tool.darkCursor : tool.cursor);
            CmdUI ui{tool.command};
            static_cast<CCmdTarget&>(view).Update(ui);
            EXPECT_TRUE(ui.checked);
        }
    }
    struct Expected {
        int command, code, light, dark;
    };
    for (auto [command, code, light, dark] : {Expected{32771, 1, 133, 184}, Expected{32806, 16, 208, 207},
                                              Expected{32809, 20, 248, 248}, Expected{32819, 0, 104, 104}}) {
        const NetworkTool* tool = FindNetworkTool(command);
        ASSERT_NE(tool, nullptr);
        EXPECT_EQ(tool->code, code);
        EXPECT_EQ(CursorOfTool(*tool, kWhite), light);
        EXPECT_EQ(CursorOfTool(*tool, Rgb(40, 40, 47)), dark);
    }
    EXPECT_STREQ(FindNetworkTool(32795)->tip, "Synchronous  Compensator");

    // A remote copy keeps its tool buttons off.
    view.GetDocument()->SetRemote(true);
    CmdUI ui{BusTool};
    static_cast<CCmdTarget&>(view).Update(ui);
    EXPECT_FALSE(ui.enabled);
}

TEST_F(NetworkView, OutsideEditModeToolsAreRefused) {
    CTavrinView& view = OpenNetwork();
    view.SetEditMode(false);
    EXPECT_FALSE(view.GetDocument()->GetModel()->GetEditMode());
    view.Execute(BusTool);
    EXPECT_EQ(view.GetDocument()->GetTool(), 0);
    EXPECT_EQ(view.CursorId(), ToolCursor::Selection);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text,
              "Switch to Edit Mode to change the one-line diagram.\nUse menu opption Format->Edit Mode or "
              "corresponding toolbar button!");
}

TEST_F(NetworkView, TheNodeMoverWantsAnElementWithFreeNodes) {
    CTavrinView& view = OpenNetwork();
    view.Execute(BusTool);
    view.Execute(Command::ToolNodeMover);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text,
              "This tool requires an element selected with free nodes!\nPlease select an element and then use "
              "this tool!");
    EXPECT_EQ(prompts.Messages()[0].caption, "Node mover");
    EXPECT_EQ(view.ToolCommand(), Command::ToolSelection);
    EXPECT_EQ(view.GetDocument()->GetTool(), EditTool::Selection);
    EXPECT_EQ(view.CursorId(), ToolCursor::Selection);
}

TEST_F(NetworkView, TheModelsRequestsReachTheView) {
    CTavrinView& view = OpenNetwork();
    IView& asModelSeesIt = view;
    FakeElement bus(1, 1, 0x101);
    IElement* element = &bus;

    // Without dialogs a request is answered as cancelled.
    view.SetDialogs(nullptr);
    EXPECT_FALSE(asModelSeesIt.OpenProperties(element, 2));
    EXPECT_FALSE(asModelSeesIt.EditFillAndFont(element, {}).has_value());
    ScriptedNetworkDialogs dialogs;
    dialogs.lineFillFont.lineColor = kRed;
    view.SetDialogs(&dialogs);
    EXPECT_TRUE(asModelSeesIt.OpenProperties(element, 2));
    EXPECT_EQ(dialogs.calls, (std::vector<ScriptedNetworkDialogs::Call>{{"Bus", element}}));
    EXPECT_EQ(asModelSeesIt.EditFillAndFont(element, {}), kRed);

    // Tool states show their cursors; other kinds leave the cursor alone.
    for (auto [kind, cursor] : {std::pair{3, 257}, {4, 138}, {5, 258}, {6, 104}, {2, 104}, {7, 104}}) {
        asModelSeesIt.ToolStateChanged(0, kind);
        EXPECT_EQ(view.CursorId(), cursor) << kind;
    }

    // The model's capture keeps no grab: between clicks the menus and the
    // other windows take the mouse as usual.
    asModelSeesIt.CaptureMouse();
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    asModelSeesIt.ReleaseMouse();
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);

    auto* main = qobject_cast<QMainWindow*>(view.window());
    ASSERT_NE(main, nullptr);
    asModelSeesIt.NodeDrawingChanged(true);
    EXPECT_EQ(main->statusBar()->currentMessage(),
              "To complete drawing press Ctrl+Left mouse button, or lefr mouse button double click, or click on a "
              "node or a busbar.");
    asModelSeesIt.NodeDrawingChanged(false);
    EXPECT_EQ(main->statusBar()->currentMessage(), "Ready");

    auto* area = qobject_cast<QAbstractScrollArea*>(view.Canvas()->parentWidget());
    asModelSeesIt.SetScrollSizes({3000, 2500});
    EXPECT_EQ(area->horizontalScrollBar()->maximum(), 3000 - view.Canvas()->width());
    EXPECT_EQ(area->verticalScrollBar()->maximum(), 2500 - view.Canvas()->height());

    // Sending without a connection to a remote solver does nothing.
    asModelSeesIt.SendToRemoteSolver("SOLVE");
    EXPECT_FALSE(app->RemoteLink().IsOpen());
}

TEST_F(NetworkView, ANewNetworkTakesTheUsersVisualSettings) {
    ASSERT_TRUE(Start());
    app->GetProfile().WriteProfileBackgroundColor(Rgb(0, 0, 64));
    app->GetProfile().WriteProfileColors(Rgb(200, 200, 0), Rgb(0, 255, 0));
    app->GetProfile().WriteProfileLineWidth(3);
    CTavrinView& view = OpenNetwork();
    IModel& model = *view.GetDocument()->GetModel();
    EXPECT_EQ(model.GetBackgroundColor(), Rgb(0, 0, 64));
    EXPECT_EQ(model.GetLineColor(), Rgb(200, 200, 0));
    EXPECT_EQ(model.GetFontColor(), Rgb(0, 255, 0));
    EXPECT_EQ(model.GetLineWidth(), 3);
    EXPECT_EQ(model.GetDiagramSize(), (Size{10, 10}));
    EXPECT_EQ(model.GetGridStep(), 10);
    EXPECT_TRUE(view.GetDocument()->IsNew());
    view.Execute(BusTool);
    EXPECT_EQ(view.CursorId(), 184);  // dark background: the light cursor
}

}  // namespace
