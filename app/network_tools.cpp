#include "network_tools.h"

#include <algorithm>
#include <array>

#include "command_ids.h"

namespace {

constexpr std::array kTools{
    NetworkTool{Command::ToolBusVertical, "Bus (Vertical)", 1, 133, 184},
    NetworkTool{Command::ToolLine, "Transmition Line", 10, 137, 191},
    NetworkTool{Command::ToolGenerator, "Power Generator", 4, 139, 190},
    NetworkTool{Command::ToolLoad, "Load", 3, 142, 192},
    NetworkTool{Command::ToolShunt, "Shunt", 7, 145, 194},
    NetworkTool{Command::ToolSelection, "Selection", 0, 104, 104},
    NetworkTool{Command::ToolFixedTapTransformer, "Fixed tap transformer", 11, 173, 197},
    NetworkTool{Command::ToolSvc, "SVC", 6, 167, 198},
    NetworkTool{Command::ToolRegulatingTransformer, "Auto-regulated transformer", 12, 174, 199},
    NetworkTool{Command::ToolCondenser, "Condenser", 8, 170, 186},
    NetworkTool{Command::ToolSynchronousCompensator, "Synchronous  Compensator", 5, 166, 196},
    NetworkTool{Command::ToolReactor, "Reactor", 9, 172, 193},
    NetworkTool{Command::ToolFreeDashedLine, "Free Dashed Line", 13, 177, 188},
    NetworkTool{Command::ToolFreeText, "Free Text", 15, 178, 189},
    NetworkTool{Command::ToolArrowedLine, "Arrowed line", 14, 180, 187},
    NetworkTool{Command::ToolBusHorizontal, "Bus (Horizontal)", 2, 181, 185},
    NetworkTool{Command::ToolCapacitorBank, "Variable capacitor bank", 16, 208, 207},
    NetworkTool{Command::ToolReactorBank, "Variable reactor bank", 17, 209, 210},
    NetworkTool{Command::ToolConnectionNode, "Connection node", 19, 206, 206},
    NetworkTool{Command::ToolConnector, "Connectior (Z=0)", 20, 248, 248},
    NetworkTool{Command::ToolCircuitBreaker, "Circuit breaker", 22, 223, 223},
    NetworkTool{Command::ToolDisconnector, "Disconnector", 21, 245, 245},
    NetworkTool{Command::ToolNetwork, "Network", 18, 247, 247},
    NetworkTool{Command::ToolFuse, "Fuse", 24, 250, 250},
    NetworkTool{Command::ToolMoveAll, "Move all", 26, 255, 255},
    NetworkTool{Command::ToolPolygon, "Polygon", 27, 252, 252},
    NetworkTool{Command::ToolNodeMover, "Move line nodes (requires selected element)", 29, 138, 138},
    NetworkTool{Command::ToolSystemInfo, "System Info (Total load, generation...)", 28, 253, 253},
    NetworkTool{Command::ToolGrounder, "Grounder", 0, 104, 104},
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
