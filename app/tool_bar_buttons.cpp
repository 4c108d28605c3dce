#include "tool_bar_buttons.h"

#include "command_ids.h"

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

// A tool says in the status bar what its tip says.
constexpr ToolBarButton kToolsPalette[] = {
    {Command::ToolBusVertical, "Bus (Vertical)", nullptr},
    {Command::ToolLine, "Transmition Line", nullptr},
    {Command::ToolGenerator, "Power Generator", nullptr},
    {Command::ToolLoad, "Load", nullptr},
    {Command::ToolShunt, "Shunt", nullptr},
    {Command::ToolSelection, "Selection", nullptr},
    {Command::ToolFixedTapTransformer, "Fixed tap transformer", nullptr},
    {Command::ToolSvc, "SVC", nullptr},
    {Command::ToolRegulatingTransformer, "Auto-regulated transformer", nullptr},
    {Command::ToolCondenser, "Condenser", nullptr},
    {Command::ToolSynchronousCompensator, "Synchronous  Compensator", nullptr},
    {Command::ToolReactor, "Reactor", nullptr},
    {Command::ToolFreeDashedLine, "Free Dashed Line", nullptr},
    {Command::ToolFreeText, "Free Text", nullptr},
    {Command::ToolArrowedLine, "Arrowed line", nullptr},
    {Command::ToolBusHorizontal, "Bus (Horizontal)", nullptr},
    {Command::ToolCapacitorBank, "Variable capacitor bank", nullptr},
    {Command::ToolReactorBank, "Variable reactor bank", nullptr},
    {Command::ToolConnectionNode, "Connection node", nullptr},
    {Command::ToolConnector, "Connectior (Z=0)", nullptr},
    {Command::ToolCircuitBreaker, "Circuit breaker", nullptr},
    {Command::ToolDisconnector, "Disconnector", nullptr},
    {Command::ToolNetwork, "Network", nullptr},
    {Command::ToolFuse, "Fuse", nullptr},
    {Command::ToolMoveAll, "Move all", nullptr},
    {Command::ToolPolygon, "Polygon", nullptr},
    {Command::ToolNodeMover, "Move line nodes (requires selected element)", nullptr},
    {Command::ToolSystemInfo, "System Info (Total load, generation...)", nullptr},
    {Command::ToolGrounder, "Grounder", nullptr},
};

}  // namespace

std::span<const ToolBarButton> StandardBarButtons() { return kStandardBar; }

std::span<const ToolBarButton> ToolsPaletteButtons() { return kToolsPalette; }
