#include <gtest/gtest.h>

#include "bus.h"
#include "bus_properties_dlg.h"
#include "control_id.h"
#include "element_dialog_driver.h"
#include "generator.h"
#include "generator_properties_dlg.h"
#include "network_view_fixture.h"
#include "power_system.h"

namespace {

using ElementDialogs = NetworkViewTest;
using In = NetworkViewTest::Input;

// A user draws a bus and a generator on it, then double-clicks each with
// the selection tool: the program's own dialog opens, and what is typed
// there shows on the diagram.
TEST_F(ElementDialogs, ADoubleClickOpensTheElementsDialogInTheProgram) {
    CTavrinView& view = OpenNetwork(false);
    auto& model = static_cast<PowerSystem&>(*view.GetDocument()->GetModel());
    auto click = [&](QPoint at) { Play(view, {{In::Move, at}, {In::Press, at}, {In::Release, at}}); };
    auto doubleClick = [&](QPoint at) {
        click(at);
        Play(view, {{In::DoubleClick, at}, {In::Release, at}});
    };
    view.Execute(Command::ToolBusVertical);
    click({98, 103});
    view.Execute(Command::ToolGenerator);
    click({104, 111});  // on the bar: the symbol hangs below the stub
    view.Execute(Command::ToolSelection);
    ASSERT_EQ(model.List(PowerSystem::kBuses).GetCount(), 1);
    auto& bus = dynamic_cast<Bus&>(*model.List(PowerSystem::kBuses).Entries().begin()->second);
    auto& generator = dynamic_cast<Generator&>(*model.List(PowerSystem::kGenerators).Entries().begin()->second);

    prompts.dialogScripts.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Bus Properties");
        Type(dialog, BusPropertiesDlg::kNameId, "North");
        dialog.accept();
    });
    doubleClick({100, 110});
    EXPECT_EQ(bus.GetName(), "North");
    EXPECT_EQ(bus.GetLabel(0)->GetText(), "North");

    prompts.dialogScripts.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Generator Properties");
        Type(dialog, GeneratorPropertiesDlg::kPId, "75");
        dialog.accept();
    });
    ASSERT_EQ(generator.GetEndKeys()[0], bus.GetKey());
    const Rect body = generator.GetBoundingRect();
    doubleClick({body.right - 5, body.bottom - 5});  // clear of the bar
    EXPECT_EQ(generator.GetValues()[Generator::kP], 75);
    EXPECT_EQ(generator.GetLabel(0)->GetText().rfind("Sg=75.00/", 0), 0u) << generator.GetLabel(0)->GetText();
    EXPECT_TRUE(prompts.dialogScripts.empty()) << "both dialogs opened";
}

}  // namespace
