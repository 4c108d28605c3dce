#pragma once

// What the grid tells its owner: the code and the cell it concerns (-1 for
// none). A negative answer refuses what the code announces (an edit about to
// start, an edit about to be stored).
class IGridNotifySink {
public:
    virtual ~IGridNotifySink() = default;
    virtual int notify(int code, int row, int column) = 0;
};

namespace GridNotify {
inline constexpr int Click = -2;              // left button released
inline constexpr int DoubleClick = -3;
inline constexpr int RightClick = -5;         // right button released
inline constexpr int SelectionChanging = -100;
inline constexpr int SelectionChanged = -101;
inline constexpr int BeginEdit = -105;        // a negative answer refuses the edit
inline constexpr int EndEdit = -106;
inline constexpr int BeginDrag = -109;
}  // namespace GridNotify
