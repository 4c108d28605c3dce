#pragma once

#include <span>

// One button of a tool bar: its command and the texts shown while the
// mouse rests on it (the tip beside the button, the longer text in the
// status bar; without one, the tip). A command of 0 is a gap between groups of buttons. The
// button's picture is the cell of the bar's image strip with the button's
// place among the non-gap buttons.
struct ToolBarButton {
    int command;
    const char* toolTip;
    const char* statusTip;
};

// The standard bar: file and edit commands, Print, Solve and Edit Mode.
std::span<const ToolBarButton> StandardBarButtons();
// The "Tools" palette: the diagram's drawing tools.
std::span<const ToolBarButton> ToolsPaletteButtons();
