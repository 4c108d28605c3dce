#include <vector>

#include <gtest/gtest.h>

#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

#include "column_tool_bar.h"
#include "main_frame.h"

#include "branch_data.h"
#include "bus.h"
#include "generator.h"
#include "load.h"
#include "network_tools.h"
#include "network_view_fixture.h"
#include "power_system.h"

namespace {

using NetworkEditing = NetworkViewTest;
using In = NetworkViewTest::Input;

std::vector<IElement*> ElementsOf(const ElementList& list) {
    std::vector<IElement*> found;
    for (const auto& [key, element] : list.Entries()) found.push_back(element);
    return found;
}

TEST_F(NetworkEditing, ALineBeingDrawnLeavesTheMenusAndThePaletteAloneAndEscapeCancelsIt) {
    CTavrinView& view = OpenNetwork(false);
    auto& model = static_cast<PowerSystem&>(*view.GetDocument()->GetModel());
    auto click = [&](QPoint at) { Play(view, {{In::Move, at}, {In::Press, at}, {In::Release, at}}); };
    const ElementList& lines = model.List(PowerSystem::kFreeLines);

    view.Execute(Command::ToolFreeDashedLine);
    click({100, 100});
    click({200, 100});
    ASSERT_EQ(lines.GetCount(), 1);
    IElement* line = lines.Entries().begin()->second;
    const int nodes = line->GetNodeCount();
    // Clicks as the window system delivers them: on an empty stretch of the
    // menu bar, on the status bar and on the palette's frame.
    auto clickIn = [](QWidget& part, QPoint at) {
        QTest::mouseClick(part.window()->windowHandle(), Qt::LeftButton, {}, part.mapTo(part.window(), at));
    };
    clickIn(*Frame().menuBar(), QPoint(Frame().menuBar()->width() - 4, 4));
    clickIn(*Frame().statusBar(), QPoint(200, 4));
    clickIn(Frame().ToolsBar(), QPoint(1, 1));
    EXPECT_EQ(line->GetNodeCount(), nodes);

    Play(view, {{In::KeyUp, {}, {}, {}, Qt::Key_Escape}});
    EXPECT_EQ(lines.GetCount(), 0);
    EXPECT_EQ(Frame().statusBar()->currentMessage(), "Ready");
    // The tool stays: the next click starts a new line.
    click({100, 200});
    EXPECT_EQ(lines.GetCount(), 1);
}

TEST_F(NetworkEditing, ABusALineAGeneratorAndALoadPlacedWithTheMouseSaveAndSolve) {
    CTavrinView& view = OpenNetwork(false);
    CTavrinDoc& document = *view.GetDocument();
    auto& model = static_cast<PowerSystem&>(*document.GetModel());
    auto click = [&](QPoint at) { Play(view, {{In::Move, at}, {In::Press, at}, {In::Release, at}}); };

    view.Execute(Command::ToolBusVertical);
    click({98, 103});
    click({302, 99});
    view.Execute(Command::ToolLine);  // from the first bar to the second
    click({100, 120});
    click({300, 120});
    Play(view, {{In::DoubleClick, {300, 120}}, {In::Release, {300, 120}}});
    view.Execute(Command::ToolGenerator);  // beside the first bar
    click({104, 111});
    view.Execute(Command::ToolLoad);  // beside the second bar
    click({304, 111});
    view.Execute(Command::ToolSelection);
    EXPECT_TRUE(document.IsModified());

    const std::vector<IElement*> buses = ElementsOf(model.List(PowerSystem::kBuses));
    const std::vector<IElement*> lines = ElementsOf(model.List(PowerSystem::kLines));
    const std::vector<IElement*> generators = ElementsOf(model.List(PowerSystem::kGenerators));
    const std::vector<IElement*> loads = ElementsOf(model.List(PowerSystem::kLoads));
    ASSERT_EQ(buses.size(), 2u);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(generators.size(), 1u);
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(buses[0]->GetCenter().x, 100);  // snapped to the grid
    EXPECT_EQ(lines[0]->GetEndKeys(), (std::array<int, 2>{buses[0]->GetKey(), buses[1]->GetKey()}));
    EXPECT_EQ(generators[0]->GetEndKeys()[0], buses[0]->GetKey());
    EXPECT_EQ(loads[0]->GetEndKeys()[0], buses[1]->GetKey());

    // The data the element dialogs would take: a slack bus feeding 40 MW
    // over a 110 kV line.
    for (IElement* bus : buses) {
        bus->GetValues()[Bus::kNominalKv] = 110.0;
        bus->GetValues()[Bus::kVoltage] = bus->GetValues()[Bus::kDesiredVoltage] = 1.0;
    }
    buses[0]->GetValues()[Bus::kKind] = 0;
    double* line = lines[0]->GetValues();
    line[BranchData::kLength] = 1.0;
    line[BranchData::kResistance] = 0.01;
    line[BranchData::kReactance] = 0.05;
    line[BranchData::kRating] = 1000.0;
    double* load = loads[0]->GetValues();
    load[Load::kP] = load[Load::kPConstantPower] = 40.0;
    load[Load::kQ] = load[Load::kQConstantPower] = 10.0;

    const QString path = folder.filePath("placed.pf");
    ASSERT_TRUE(document.DoSave(path));
    ASSERT_NE(app->OpenDocumentFile(path), nullptr);  // the window that shows it already
    Windows().back()->CloseWithoutAsking();
    SettleDeletions();
    auto* reopened = dynamic_cast<CTavrinDoc*>(app->OpenDocumentFile(path));
    ASSERT_NE(reopened, nullptr);
    auto& saved = static_cast<PowerSystem&>(*reopened->GetModel());
    EXPECT_EQ(saved.List(PowerSystem::kBuses).GetCount(), 2);
    EXPECT_EQ(saved.List(PowerSystem::kLines).GetCount(), 1);
    ASSERT_EQ(saved.RunSolver(nullptr, nullptr, nullptr), 1);
    const std::vector<IElement*> solved = ElementsOf(saved.List(PowerSystem::kBuses));
    const double* far = solved[1]->GetValues();
    EXPECT_LT(far[Bus::kVoltage], 1.0);  // the load's end sags
    EXPECT_GT(far[Bus::kVoltage], 0.9);
}

}  // namespace
