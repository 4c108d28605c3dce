#pragma once

#include <optional>
#include <span>

#include "color.h"
#include "command_ids.h"

// The drawing tools of the network view: the command of each tool button,
// its tool tip, the element type code the document's tool takes, and the
// cursor shown with it (a second one over a dark background).
struct NetworkTool {
    int command;
    const char* tip;
    int code;
    int cursor;
    int darkCursor;  // the same as `cursor` where there is one cursor
};

// Cursor resources the view shows besides the tools' own.
namespace ToolCursor {
inline constexpr int Selection = 104;
inline constexpr int NodeMover = 138;
}  // namespace ToolCursor

std::span<const NetworkTool> NetworkTools();
const NetworkTool* FindNetworkTool(int command);

// Red + green + blue below 128: the tools' light cursors show best.
bool IsDarkBackground(ColorRef background);
int CursorOfTool(const NetworkTool& tool, ColorRef background);

// The cursor the view shows when the model reports a tool state (3 over an
// end of the element being edited, 4 elsewhere, 5 and 6); nothing for the
// other kinds.
std::optional<int> CursorOfToolState(int kind);
