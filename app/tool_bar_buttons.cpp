#include "tool_bar_buttons.h"

#include <vector>

#include "command_ids.h"
#include "network_tools.h"

namespace {

constexpr ToolBarButton kStandardBar[] = {
    {Command::FileNew, "New", "Create a new network document"},
    {Command::FileOpen, "Open", "Open an existing network document"},
    {Command::FileSave, "Save", "Save the active document"},
    {0, nullptr, nullptr},
    {Command::EditCut, "Cut", "Cut the selected elements to the clipboard"},
    {Command::EditCopy, "Copy", "Copy the selected elements to the clipboard"},
    {Command::EditPaste, "Paste", "Paste the elements of the clipboard"},
    {0, nullptr, nullptr},
    {Command::FilePrint, "Print", "Print the active document"},
    {0, nullptr, nullptr},
    {Command::SolveProblem, "Solve Problem", "Solve the power flow of the active network"},
    {Command::EditMode, "Edit Mode", "Switch the editing of the one-line diagram on or off"},
};


}  // namespace

std::span<const ToolBarButton> StandardBarButtons() { return kStandardBar; }

// The palette shows the network view's tools in their table's order; a
// tool says in the status bar what its tip says.
std::span<const ToolBarButton> ToolsPaletteButtons() {
    static const std::vector<ToolBarButton> buttons = [] {
        std::vector<ToolBarButton> made;
        for (const NetworkTool& tool : NetworkTools()) made.push_back({tool.command, tool.tip, nullptr});
        return made;
    }();
    return buttons;
}
