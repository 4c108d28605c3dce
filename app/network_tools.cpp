#include "network_tools.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array kTools{
    NetworkTool{32771, "Bus (Vertical)", 1, 133, 184},
    NetworkTool{32772, "Transmition Line", 10, 137, 191},
    NetworkTool{32773, "Power Generator", 4, 139, 190},
    NetworkTool{32774, "Load", 3, 142, 192},
    NetworkTool{32775, "Shunt", 7, 145, 194},
    NetworkTool{32776, "Selection", 0, 104, 104},
    NetworkTool{32789, "Fixed tap transformer", 11, 173, 197},
    NetworkTool{32790, "SVC", 6, 167, 198},
    NetworkTool{32792, "Auto-regulated transformer", 12, 174, 199},
    NetworkTool{32794, "Condenser", 8, 170, 186},
    NetworkTool{32795, "Synchronous  Compensator", 5, 166, 196},
    NetworkTool{32796, "Reactor", 9, 172, 193},
    NetworkTool{32802, "Free Dashed Line", 13, 177, 188},
    NetworkTool{32803, "Free Text", 15, 178, 189},
    NetworkTool{32804, "Arrowed line", 14, 180, 187},
    NetworkTool{32805, "Bus (Horizontal)", 2, 181, 185},
    NetworkTool{32806, "Variable capacitor bank", 16, 208, 207},
    NetworkTool{32807, "Variable reactor bank", 17, 209, 210},
    NetworkTool{32808, "Connection node", 19, 206, 206},
    NetworkTool{32809, "Connectior (Z=0)", 20, 248, 248},
    NetworkTool{32810, "Circuit breaker", 22, 223, 223},
    NetworkTool{32811, "Disconnector", 21, 245, 245},
    NetworkTool{32813, "Network", 18, 247, 247},
    NetworkTool{32814, "Fuse", 24, 250, 250},
    NetworkTool{32815, "Move all", 26, 255, 255},
    NetworkTool{32816, "Polygon", 27, 252, 252},
    NetworkTool{32817, "Move line nodes (requires selected element)", 29, 138, 138},
    NetworkTool{32818, "System Info (Total load, generation...)", 28, 253, 253},
    NetworkTool{32819, "Grounder", 0, 104, 104},
};

}  // namespace

std::span<const NetworkTool> NetworkTools() { return kTools; }

const NetworkTool* FindNetworkTool(int command) {
    auto found = std::find_if(kTools.begin(), kTools.end(), [command](const auto& t) { return t.command == command; });
    return found != kTools.end() ? &*found : nullptr;
}

bool IsDarkBackground(ColorRef background) {
    return RedOf(background) + GreenOf(background) + BlueOf(background) < 128;
}

int CursorOfTool(const NetworkTool& tool, ColorRef background) {
    return IsDarkBackground(background) ? tool.darkCursor : tool.cursor;
}

std::optional<int> CursorOfToolState(int kind) {
    switch (kind) {
        case 3: return 257;
        case 4: return ToolCursor::NodeMover;
        case 5: return 258;
        case 6: return ToolCursor::Selection;
        default: return std::nullopt;
    }
}
