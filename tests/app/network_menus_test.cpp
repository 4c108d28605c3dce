#include <algorithm>
#include <array>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QTest>
#include <QToolBar>

#include "color_list_box.h"
#include "column_tool_bar.h"
#include "counting_report.h"
#include "element_type.h"
#include "fake_element.h"
#include "finans_view.h"
#include "font_setting.h"
#include "label_names.h"
#include "network_tools.h"
#include "network_view_fixture.h"
#include "power_system.h"
#include "qt_network_dialogs.h"
#include "recording_message_sink.h"
#include "scripted_network_dialogs.h"

namespace {

using namespace Command;
using In = NetworkViewTest::Input;

std::vector<IElement*> ElementsOf(const ElementList& list) {
    std::vector<IElement*> found;
    for (const auto& [key, element] : list.Entries()) found.push_back(element);
    return found;
}

std::vector<int> KeysOf(const ElementList& list) {
    std::vector<int> keys;
    for (const auto& [key, element] : list.Entries()) keys.push_back(key);
    return keys;
}

// A program with network windows whose edits reach their real models, and
// whose dialogs are scripted.
class NetworkMenus : public NetworkViewTest {
protected:
    ScriptedNetworkDialogs dialogs;

    CTavrinView& Open() {
        CTavrinView& view = OpenNetwork(false);
        view.SetDialogs(&dialogs);
        return view;
    }
    static PowerSystem& ModelOf(CTavrinView& view) {
        return static_cast<PowerSystem&>(*view.GetDocument()->GetModel());
    }
    static void Click(CTavrinView& view, QPoint at) {
        Play(view, {{In::Move, at}, {In::Press, at}, {In::Release, at}});
    }
    // A vertical bar placed with its tool; the selection tool is taken again.
    static IElement* PlaceBus(CTavrinView& view, QPoint at) {
        view.Execute(ToolBusVertical);
        Click(view, at);
        view.Execute(ToolSelection);
        return ElementsOf(ModelOf(view).List(PowerSystem::kBuses)).back();
    }

    CmdUI State(int id) { return Frame().Commands().StateOf(id); }
    // As a menu item does: nothing while the command is disabled.
    void Choose(int id) {
        Frame().Commands().UpdateAll();
        Frame().Commands().Find(id)->trigger();
    }
};

TEST_F(NetworkMenus, CommandsAreEnabledAndCheckedByTheActiveWindowsState) {
    CTavrinView& view = Open();
    CChildFrame* first = Windows().back();
    IElement* bus = PlaceBus(view, {100, 100});
    ModelOf(view).ClearSelection();
    struct Expect {
        int id;
        bool enabled;
        bool checked = false;
    };
    auto expect = [&](const char* when, std::initializer_list<Expect> expected) {
        for (const Expect& e : expected) {
            const CmdUI ui = State(e.id);
            EXPECT_EQ(ui.enabled, e.enabled) << when << ": command " << e.id;
            EXPECT_EQ(ui.checked, e.checked) << when << ": command " << e.id;
        }
    };

    expect("nothing selected", {{EditCopy, false}, {EditCut, false}, {EditGlue, false}, {EditDuplicate, false},
                                {EditPaste, false}, {EditMode, true, true}, {SnapToGrid, true, true},
                                {ToolsPalette, true, true}, {NormalColorMap, true, true},
                                {VoltageLevelColorMap, true, false}, {FileNew, true}, {FileOpen, true}});
    ModelOf(view).AddToSelection(bus);
    expect("a bus selected", {{EditCopy, true}, {EditCut, true}, {EditGlue, true}, {EditDuplicate, true},
                              {EditPaste, false}});
    Choose(EditCopy);
    expect("the bus copied", {{EditPaste, true}, {EditCopy, true}});
    Choose(EditMode);
    expect("edit mode off", {{EditCopy, false}, {EditCut, false}, {EditGlue, false}, {EditDuplicate, false},
                             {EditPaste, false}, {EditMode, true, false}});
    Choose(EditMode);
    Choose(SnapToGrid);
    Choose(ToolsPalette);
    Choose(LoadingColorMap);
    expect("snapping off, palette hidden, the loading map",
           {{SnapToGrid, true, false}, {ToolsPalette, true, false}, {LoadingColorMap, true, true},
            {NormalColorMap, true, false}});

    // Another window has its own state; a remote copy offers neither New,
    // Open nor the palette.
    CTavrinView& remote = Open();
    remote.GetDocument()->SetRemote(true);
    expect("a remote document", {{FileNew, false}, {FileOpen, false}, {ToolsPalette, false, false},
                                 {NormalColorMap, true, true}, {LoadingColorMap, true, false},
                                 {SnapToGrid, true, true}, {EditMode, true, true}});
    Frame().MdiArea().setActiveSubWindow(first);
    expect("the first window again", {{FileNew, true}, {LoadingColorMap, true, true}, {SnapToGrid, true, false}});
}

TEST_F(NetworkMenus, EachWindowKindKeepsItsOwnKeys) {
    CTavrinView& view = Open();
    Idle();
    const std::pair<QKeySequence, int> keys[] = {
        {Qt::Key_F5, SolvePowerFlow},
        {Qt::Key_F6, PvCurves},
        {Qt::Key_F7, TransferCapability},
        {Qt::Key_F8, SupplementaryMotionSensitivity},
        {Qt::Key_F9, BusSensitivityFactors},
        {Qt::CTRL | Qt::Key_T, ShowResultsInTable},
        {Qt::CTRL | Qt::Key_R, PreviewResults},
        {Qt::CTRL | Qt::Key_End, SnapToGrid},
        {Qt::CTRL | Qt::Key_PageDown, SnapToGrid},
        {Qt::CTRL | Qt::Key_D, EditDuplicate},
        {Qt::CTRL | Qt::Key_X, EditCut},
        {Qt::SHIFT | Qt::Key_Delete, EditCut},
        {Qt::CTRL | Qt::Key_C, EditCopy},
        {Qt::CTRL | Qt::Key_Insert, EditCopy},
        {Qt::CTRL | Qt::Key_V, EditPaste},
        {Qt::SHIFT | Qt::Key_Insert, EditPaste},
        {Qt::CTRL | Qt::Key_B, EditSendToClipboardAsEmf},
        {Qt::CTRL | Qt::Key_G, EditGlue},
        {Qt::ALT | Qt::Key_R, EditRefresh},
        {Qt::CTRL | Qt::Key_Down, EndOfPageDown},
        {Qt::ALT | Qt::Key_End, EndOfPageDown},
        {Qt::CTRL | Qt::Key_Right, EndOfPageRight},
        {Qt::CTRL | Qt::Key_Left, StartOfPageLeft},
        {Qt::CTRL | Qt::Key_Up, StartOfPageUp},
        {Qt::ALT | Qt::Key_Home, StartOfPageUp},
        {Qt::CTRL | Qt::Key_P, FilePrint},
    };
    // Each key belongs to one command only, or Qt would run none.
    for (const auto& [key, command] : keys) {
        std::vector<int> holders;
        for (QAction* action : Frame().actions()) {
            if (action->shortcuts().contains(key)) holders.push_back(action->data().toInt());
        }
        EXPECT_EQ(holders, std::vector<int>{command}) << key.toString().toStdString();
    }

    // Ctrl+End snaps in the network window and turns to the last page in
    // the report window.
    QTest::keyClick(&Frame(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_FALSE(State(SnapToGrid).checked);
    CountingReport report(4, 2);
    app->OpenResultsDocument(&report);
    auto& reportView = dynamic_cast<CFinansView&>(Windows().back()->View());
    Idle();
    QTest::keyClick(&Frame(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(reportView.CurrentPage(), 4);
    Frame().MdiArea().setActiveSubWindow(Windows().front());
    QTest::keyClick(&Frame(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(State(SnapToGrid).checked);
    // Shift+Ins pastes into the network window what Ctrl+Ins copied.
    IElement* bus = PlaceBus(view, {100, 100});
    ModelOf(view).AddToSelection(bus);
    Frame().Commands().UpdateAll();
    QTest::keyClick(&Frame(), Qt::Key_Insert, Qt::ControlModifier);
    Frame().Commands().UpdateAll();
    QTest::keyClick(&Frame(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(ModelOf(view).List(PowerSystem::kBuses).GetCount(), 2);
    for (auto& window : Windows()) window->CloseWithoutAsking();
    SettleDeletions();
}

TEST_F(NetworkMenus, ADocumentStoredOutsideEditModeCanBeEditedAgain) {
    CTavrinView& view = Open();
    view.Execute(ToolGenerator);
    Choose(EditMode);
    // Leaving edit mode takes the selection tool again.
    EXPECT_FALSE(view.EditMode());
    EXPECT_EQ(view.ToolCommand(), ToolSelection);
    EXPECT_EQ(view.CursorId(), ToolCursor::Selection);
    EXPECT_EQ(view.GetDocument()->GetTool(), EditTool::Selection);
    const QString path = folder.filePath("viewing.pf");
    ASSERT_TRUE(view.GetDocument()->DoSave(path));
    Windows().back()->CloseWithoutAsking();
    SettleDeletions();

    ASSERT_NE(app->OpenDocumentFile(path), nullptr);
    auto& reopened = dynamic_cast<CTavrinView&>(Windows().back()->View());
    EXPECT_FALSE(reopened.EditMode());
    EXPECT_FALSE(State(EditMode).checked);
    Choose(EditMode);  // from the menu
    EXPECT_TRUE(reopened.EditMode());
    EXPECT_TRUE(reopened.GetDocument()->GetModel()->GetEditMode());
    QAction* button = nullptr;
    for (QAction* action : Frame().StandardBar().actions()) {
        if (action->data().toInt() == EditMode) button = action;
    }
    ASSERT_NE(button, nullptr);
    button->trigger();  // and from the tool bar, off and on
    EXPECT_FALSE(reopened.EditMode());
    button->trigger();
    EXPECT_TRUE(reopened.EditMode());
    PlaceBus(reopened, {200, 200});
    EXPECT_EQ(ModelOf(reopened).List(PowerSystem::kBuses).GetCount(), 1);
}

TEST_F(NetworkMenus, TheLegendShowsTheColourMapOfTheActiveWindow) {
    ASSERT_TRUE(Start());
    ASSERT_NE(app->OpenDocumentFile(EXAMPLES_DIR "/ieee14.pf"), nullptr);
    CChildFrame* sample = Windows().back();
    auto& view = dynamic_cast<CTavrinView&>(sample->View());
    Choose(VoltageLevelColorMap);
    EXPECT_EQ(view.GetDocument()->GetModel()->GetColorMapMode(), kBusVoltageColors);
    CColorMapLegend& legend = Frame().Legend();
    EXPECT_EQ(legend.MapType(), kBusVoltageColors);
    EXPECT_EQ(legend.windowTitle(), "Voltage Profile Color Map");
    ColorMap& map = app->BusVoltageMap();
    int bands = 0;
    for (map.MoveFirst(); !map.IsAtEnd(); map.MoveNext()) ++bands;
    ASSERT_GT(bands, 0);
    ASSERT_EQ(legend.List().count(), bands);
    EXPECT_TRUE(legend.List().item(0)->text().contains(" < voltage profile [p.u.] < "));

    // A window in the normal mode takes the bands away; back in the sample
    // they show again.
    Frame().Commands().Execute(FileNew);
    EXPECT_EQ(legend.MapType(), kNormalColors);
    EXPECT_EQ(legend.windowTitle(), "User Color Map");
    EXPECT_EQ(legend.List().item(0)->text(), "Default line color");
    Frame().MdiArea().setActiveSubWindow(sample);
    EXPECT_EQ(legend.MapType(), kBusVoltageColors);
    EXPECT_EQ(legend.List().count(), bands);
}

struct PropertiesCase {
    int classType;
    int category;
    const char* dialog;  // none: no properties
    const char* title = "";
};

TEST_F(NetworkMenus, ThePropertiesRequestOpensTheDialogOfTheElementsKind) {
    CTavrinView& view = Open();
    IView& asModelSeesIt = view;
    const PropertiesCase cases[] = {
        {ElementType::Bus, 1, "Bus"},
        {ElementType::HorizontalBus, 1, "Bus"},
        {ElementType::HorizontalBus, 2, "Bus"},
        {ElementType::NetworkEquivalent, 1, "Bus"},
        {ElementType::ConnectionNode, 1, "Bus"},
        {ElementType::Load, 3, "Load"},
        {ElementType::Generator, 4, "Generator"},
        {ElementType::SyncCompensator, 5, "SynchronousCompensator"},
        {ElementType::VarCompensator, 6, "Svc"},
        {ElementType::Shunt, 7, "Shunt"},
        {ElementType::Capacitor, 8, "Capacitor"},
        {ElementType::Reactor, 9, "Reactor"},
        {ElementType::PowerLine, 10, "PowerLine"},
        {ElementType::Transformer, 10, "FixedTapTransformer"},
        {ElementType::RegulatedTransformer, 10, "RegulatingTransformer"},
        {ElementType::FreeLine, 13, "FreeElement", "Free Line Properties"},
        {ElementType::ArrowedFreeLine, 13, "FreeElement", "Free Line Properties"},
        {ElementType::FreeText, 15, "FreeElement", ""},
        {ElementType::VariableBank, 16, "VariableBank"},
        {ElementType::VariableReactorBank, 17, "VariableBank"},
        {ElementType::Connector, 20, "Connector"},
        {ElementType::Disconnector, 20, "Connector"},
        {ElementType::CircuitBreaker, 20, "Connector"},
        {ElementType::Fuse, 20, "Connector"},
        {ElementType::PolygonElement, 27, "FreeElement", "Polygon/Polyline Properties"},
        {ElementType::SystemInfo, 28, "SystemInfo"},
        {ElementType::ArrowedFreeLine, 14, nullptr},
        {23, 23, nullptr},
        {0, 0, nullptr},
        {99, 99, nullptr},
    };
    for (const PropertiesCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.classType << ", category " << c.category);
        for (bool confirm : {true, false}) {
            dialogs.calls.clear();
            dialogs.confirm = confirm;
            prompts.prompts.clear();
            FakeElement element(c.classType, c.category);
            element.name = "Before";
            const bool answered = asModelSeesIt.OpenProperties(&element, 2);
            if (c.dialog == nullptr) {
                EXPECT_FALSE(answered);
                EXPECT_TRUE(dialogs.calls.empty());
                ASSERT_EQ(prompts.Messages().size(), 1u);
                EXPECT_EQ(prompts.Messages()[0].text, "No properties for this object");
                continue;
            }
            EXPECT_EQ(answered, confirm);
            EXPECT_TRUE(prompts.Messages().empty());
            const bool paged = c.classType == ElementType::RegulatedTransformer;
            EXPECT_EQ(dialogs.calls, (std::vector<ScriptedNetworkDialogs::Call>{
                                         {c.dialog, &element, paged ? 2 : 0, c.title}}));
            // The free element's dialog edits the name, kept on Cancel.
            if (std::string(c.dialog) == "FreeElement") {
                EXPECT_EQ(element.name, confirm ? "Typed" : "Before");
            }
        }
    }
    EXPECT_FALSE(asModelSeesIt.OpenProperties(nullptr, 0));
}

struct FillAndFontCase {
    std::vector<int> classTypes;
    std::optional<LabelFamily> family;  // none: an unknown type
};

TEST_F(NetworkMenus, TheFillAndFontRequestOffersTheLabelsOfTheElementsKind) {
    CTavrinView& view = Open();
    IView& asModelSeesIt = view;
    ModelOf(view).SetBackgroundColor(Rgb(1, 2, 3));
    const FillAndFontCase cases[] = {
        {{1, 2, 19}, LabelFamily::Bus},
        {{3}, LabelFamily::Load},
        {{4, 5, 6, 16, 17}, LabelFamily::Generator},
        {{7, 8, 9}, LabelFamily::Shunt},
        {{10}, LabelFamily::PowerLine},
        {{11, 12}, LabelFamily::Transformer},
        {{13}, LabelFamily::FreeLine},
        {{15, 27, 28}, LabelFamily::TextAndDrawing},
        {{18}, LabelFamily::NetworkEquivalent},
        {{20, 21, 22, 24}, LabelFamily::SwitchingDevice},
        {{0, 14, 23, 25, 99}, std::nullopt},
    };
    dialogs.lineFillFont = {Rgb(200, 0, 0), Rgb(0, 200, 0), 3, false};
    for (const FillAndFontCase& c : cases) {
        for (int type : c.classTypes) {
            SCOPED_TRACE(testing::Message() << "type " << type);
            dialogs.seenLineFillFont.reset();
            prompts.prompts.clear();
            FakeElement element(type, type);
            element.color = Rgb(9, 9, 9);
            element.fillColor = Rgb(8, 8, 8);
            element.penWidth = 2;
            std::vector<FontSetting> fonts(4);
            const std::optional<ColorRef> line = asModelSeesIt.EditFillAndFont(&element, fonts);
            if (!c.family) {
                EXPECT_FALSE(line.has_value());
                EXPECT_FALSE(dialogs.seenLineFillFont.has_value());
                ASSERT_EQ(prompts.Messages().size(), 1u);
                EXPECT_EQ(prompts.Messages()[0].text, "Unknown element type obtained");
                EXPECT_EQ(prompts.Messages()[0].caption, "FillAndFontProperties");
                continue;
            }
            ASSERT_TRUE(dialogs.seenLineFillFont.has_value());
            const auto& seen = *dialogs.seenLineFillFont;
            const auto names = LabelNames(*c.family);
            EXPECT_EQ(seen.labelNames, std::vector<std::string>(names.begin(), names.end()));
            EXPECT_EQ(seen.fontCount, 4u);
            EXPECT_EQ(seen.lineColor, Rgb(9, 9, 9));
            const bool polygon = type == ElementType::PolygonElement;
            EXPECT_EQ(seen.fillEditable, polygon);
            EXPECT_EQ(seen.fillColor, polygon ? Rgb(8, 8, 8) : Rgb(1, 2, 3));
            EXPECT_EQ(seen.lineWidth, 2);
            EXPECT_TRUE(seen.allowApplyToAll);
            // For this element only: it takes width and fill, and the line
            // colour is handed back for it to apply.
            EXPECT_EQ(line, Rgb(200, 0, 0));
            EXPECT_EQ(element.penWidth, 3);
            EXPECT_EQ(element.fillColor, Rgb(0, 200, 0));
        }
    }
    FakeElement bus(ElementType::Bus, 1);
    dialogs.confirm = false;
    EXPECT_FALSE(asModelSeesIt.EditFillAndFont(&bus, {}).has_value());
    EXPECT_EQ(bus.penWidth, 0);
    EXPECT_FALSE(asModelSeesIt.EditFillAndFont(nullptr, {}).has_value());
}

TEST_F(NetworkMenus, FillAndFontForEveryElementOfTheKindRestylesTheModelsElements) {
    CTavrinView& view = Open();
    IElement* first = PlaceBus(view, {100, 100});
    IElement* second = PlaceBus(view, {300, 100});
    dialogs.lineFillFont = {Rgb(200, 0, 0), Rgb(0, 200, 0), 4, true};
    std::vector<FontSetting> fonts(LabelNames(LabelFamily::Bus).size());
    EXPECT_FALSE(static_cast<IView&>(view).EditFillAndFont(first, fonts).has_value());
    for (IElement* bus : {first, second}) {
        EXPECT_EQ(bus->GetColor(), Rgb(200, 0, 0));
        EXPECT_EQ(bus->GetPenWidth(), 4);
    }
}

TEST_F(NetworkMenus, CutCopyPasteDuplicateAndGlueThroughTheMenusAreSaved) {
    CTavrinView& view = Open();
    PowerSystem& model = ModelOf(view);
    IElement* left = PlaceBus(view, {100, 100});
    PlaceBus(view, {300, 100});
    view.Execute(ToolLine);
    Click(view, {100, 120});
    Click(view, {300, 120});
    Play(view, {{In::DoubleClick, {300, 120}}, {In::Release, {300, 120}}});
    view.Execute(ToolSelection);
    IElement* line = ElementsOf(model.List(PowerSystem::kLines)).front();
    const std::array<int, 2> ends = line->GetEndKeys();

    // Glue connects again the ends that lie on the bars.
    line->DisconnectAll();
    EXPECT_TRUE(line->HasFreeEnd());
    model.AddToSelection(line);
    Choose(EditGlue);
    EXPECT_EQ(line->GetEndKeys(), ends);

    model.ClearSelection();
    model.AddToSelection(left);
    Choose(EditCopy);
    Choose(EditPaste);
    Choose(EditDuplicate);
    const std::vector<int> buses = KeysOf(model.List(PowerSystem::kBuses));
    ASSERT_EQ(buses.size(), 4u);
    EXPECT_EQ(std::set<int>(buses.begin(), buses.end()).size(), 4u);  // new keys
    model.ClearSelection();
    model.AddToSelection(line);
    Choose(EditCut);
    EXPECT_EQ(model.List(PowerSystem::kLines).GetCount(), 0);
    EXPECT_TRUE(view.GetDocument()->IsModified());

    const QString path = folder.filePath("edited.pf");
    ASSERT_TRUE(view.GetDocument()->DoSave(path));
    Windows().back()->CloseWithoutAsking();
    SettleDeletions();
    auto* reopened = dynamic_cast<CTavrinDoc*>(app->OpenDocumentFile(path));
    ASSERT_NE(reopened, nullptr);
    auto& saved = static_cast<PowerSystem&>(*reopened->GetModel());
    EXPECT_EQ(KeysOf(saved.List(PowerSystem::kBuses)), buses);
    EXPECT_EQ(saved.List(PowerSystem::kLines).GetCount(), 0);
}

TEST_F(NetworkMenus, WithSnappingOffADragMovesByWhatTheMouseMoved) {
    CTavrinView& view = Open();
    IElement* bus = PlaceBus(view, {100, 100});
    Choose(SnapToGrid);
    const Rect before = bus->GetBoundingRect();
    // Picked off the grid, moved by one pixel.
    const QPoint picked{before.left + 1, before.top + 14};
    const QPoint moved = picked + QPoint(1, 0);
    Play(view, {{In::Press, picked}, {In::Move, moved, Qt::LeftButton}, {In::Release, moved}});
    EXPECT_EQ(bus->GetBoundingRect().left, before.left + 1);
    EXPECT_EQ(bus->GetBoundingRect().top, before.top);
}

TEST_F(NetworkMenus, ThePageEndCommandsMoveTheSelectionOneLongStride) {
    CTavrinView& view = Open();
    IElement* bus = PlaceBus(view, {400, 400});
    PowerSystem& model = ModelOf(view);
    // One grid step of 10 times the long move less one.
    const std::tuple<int, int, int> moves[] = {
        {EndOfPageDown, 0, 90}, {EndOfPageRight, 90, 0}, {StartOfPageLeft, -90, 0}, {StartOfPageUp, 0, -90}};
    for (const auto& [command, dx, dy] : moves) {
        SCOPED_TRACE(command);
        model.ClearSelection();
        const Rect before = bus->GetBoundingRect();
        Choose(command);  // nothing selected
        EXPECT_EQ(bus->GetBoundingRect().left, before.left);
        model.AddToSelection(bus);
        Choose(command);
        EXPECT_EQ(bus->GetBoundingRect().left, before.left + dx);
        EXPECT_EQ(bus->GetBoundingRect().top, before.top + dy);
    }
}

TEST_F(NetworkMenus, RefreshSizesTheDiagramToWhatItHolds) {
    CTavrinView& view = Open();
    PowerSystem& model = ModelOf(view);
    Choose(EditRefresh);
    EXPECT_EQ(model.GetDiagramSize(), (Size{100, 100}));  // nothing in it
    IElement* bus = PlaceBus(view, {600, 500});
    Choose(EditRefresh);
    Rect bounds;
    model.GetBoundingRect(bounds);
    EXPECT_EQ(model.GetDiagramSize(), (Size{bounds.right, bounds.bottom}));
    EXPECT_GE(bounds.bottom, bus->GetBoundingRect().bottom);
}

TEST_F(NetworkMenus, TheDiagramsAppearanceIsSetThroughItsDialogs) {
    CTavrinView& view = Open();
    PowerSystem& model = ModelOf(view);
    CTavrinDoc& document = *view.GetDocument();
    Profile& profile = app->GetProfile();

    // Background colour: cancelled, then chosen as the default too.
    dialogs.confirm = false;
    document.SetModifiedFlag(false);
    const ColorRef background = model.GetBackgroundColor();
    Choose(BackgroundColor);
    EXPECT_EQ(model.GetBackgroundColor(), background);
    EXPECT_FALSE(document.IsModified());
    dialogs.confirm = true;
    dialogs.backgroundColor = {Rgb(0, 0, 80), true};
    Choose(BackgroundColor);
    EXPECT_EQ(dialogs.seenBackgroundColor, background);
    EXPECT_EQ(model.GetBackgroundColor(), Rgb(0, 0, 80));
    EXPECT_EQ(profile.GetProfileColors().background, Rgb(0, 0, 80));
    EXPECT_TRUE(document.IsModified());

    // The visual defaults: one font, the default labels, nothing to apply
    // to the existing elements.
    model.SetLineWidth(2);
    dialogs.lineFillFont = {Rgb(10, 20, 30), Rgb(0, 0, 0), 3, false};
    Choose(ElementVisualProperties);
    ASSERT_TRUE(dialogs.seenLineFillFont.has_value());
    const auto names = LabelNames(LabelFamily::Defaults);
    EXPECT_EQ(dialogs.seenLineFillFont->labelNames, std::vector<std::string>(names.begin(), names.end()));
    EXPECT_EQ(dialogs.seenLineFillFont->fontCount, 1u);
    EXPECT_EQ(dialogs.seenLineFillFont->lineWidth, 2);
    EXPECT_EQ(dialogs.seenLineFillFont->fillColor, Rgb(0, 0, 80));
    EXPECT_FALSE(dialogs.seenLineFillFont->fillEditable);
    EXPECT_FALSE(dialogs.seenLineFillFont->allowApplyToAll);
    EXPECT_EQ(model.GetLineColor(), Rgb(10, 20, 30));
    EXPECT_EQ(model.GetLineWidth(), 3);
    EXPECT_EQ(profile.GetProfileColors().line, Rgb(10, 20, 30));
    EXPECT_EQ(profile.GetProfileLineWidth(), 3);

    // Layers: a change marks the document, whichever button closed it.
    document.SetModifiedFlag(false);
    int repaints = 0;
    dialogs.layersEdit = [&](BackgroundPictures& pictures, const std::function<void()>& repaint) {
        EXPECT_EQ(&pictures, &model.GetBackgroundPictures());
        repaint();
        ++repaints;
        return false;
    };
    Choose(Layers);
    EXPECT_FALSE(document.IsModified());
    dialogs.layersEdit = [](BackgroundPictures&, const std::function<void()>&) { return true; };
    Choose(Layers);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(repaints, 1);

    // The duplication steps go to the model.
    dialogs.duplicationSteps = {2, 3, 7};
    Choose(DuplicationSettings);
    EXPECT_EQ(dialogs.seenDuplicationSteps, (DuplicationSteps{1, 1, 10}));
    int horizontal = 0, vertical = 0, longMove = 0;
    model.GetDuplicationSteps(horizontal, vertical, longMove);
    EXPECT_EQ((DuplicationSteps{horizontal, vertical, longMove}), (DuplicationSteps{2, 3, 7}));
}

TEST_F(NetworkMenus, ThePaletteTheSolveButtonsAndTheGraphDesignerAreReached) {
    CTavrinView& view = Open();
    Choose(ToolsPalette);
    EXPECT_FALSE(Frame().ToolsBar().isVisible());
    Choose(ToolsPalette);
    EXPECT_TRUE(Frame().ToolsBar().isVisible());

    // The standard bar's buttons run the menu's Solve.
    RecordingMessageSink sink;
    ModelOf(view).SetMessageSink(&sink);
    Choose(SolveProblem);
    Choose(SolveLoadFlow);
    ModelOf(view).SetMessageSink(nullptr);
    EXPECT_EQ(std::count(sink.messages.begin(), sink.messages.end(),
                         RecordingMessageSink::Message{IMessageSink::Information, "Started solving PF"}),
              2);

    Choose(GenerateGraphFromFile);  // asks for the data file; cancelled
    ASSERT_FALSE(prompts.prompts.empty());
    EXPECT_EQ(prompts.prompts.back().kind, ScriptedPromptService::Kind::OpenFile);
}

TEST_F(NetworkMenus, TheProgramsNetworkWindowsUseItsOwnDialogs) {
    CTavrinView& view = OpenNetwork(false);
    EXPECT_EQ(view.Dialogs(), &app->NetworkDialogs());
    EXPECT_NE(dynamic_cast<QtNetworkDialogs*>(view.Dialogs()), nullptr);
}

}  // namespace
