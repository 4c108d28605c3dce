#pragma once

#include "geometry.h"

class IView;

// The edit events the network view sends its model, by number.
namespace EditEvent {
inline constexpr int ButtonDown = 0;
inline constexpr int ButtonUp = 1;
inline constexpr int ContextMenu = 2;  // right button released
inline constexpr int DoubleClick = 3;  // or Ctrl + left button: ends a line drawn node by node
inline constexpr int MouseMove = 4;
inline constexpr int ClearSelection = 5;
inline constexpr int Key = 6;  // a key released
inline constexpr int Switch = 7;
inline constexpr int Disconnect = 8;
inline constexpr int DeleteCurrent = 9;
inline constexpr int Properties = 10;
inline constexpr int FillAndFont = 11;
inline constexpr int FillAndFontAtPoint = 12;  // Ctrl + right button
inline constexpr int Cut = 13;
inline constexpr int Copy = 14;
inline constexpr int Paste = 15;
inline constexpr int Duplicate = 16;
inline constexpr int SelectInRect = 17;
}  // namespace EditEvent

// The mouse flags of an event: the buttons held and the keys down.
namespace MouseFlag {
inline constexpr int LeftButton = 0x01;
inline constexpr int Shift = 0x04;
inline constexpr int RightButton = 0x02;
inline constexpr int Control = 0x08;
inline constexpr int MiddleButton = 0x10;
}  // namespace MouseFlag

// The virtual key codes the model acts on.
namespace VirtualKey {
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Delete = 46;
}  // namespace VirtualKey

// What goes with an edit event. Every field is typed: a diagram point stays
// a point (negative coordinates included), a rectangle a rectangle.
struct EditEventArgs {
    int flags = 0;   // the mouse flags, or with EditEvent::Key the virtual key code
    Point point;     // diagram point of a mouse event, snapped where the tool wants it
    Point screen;    // ContextMenu, FillAndFontAtPoint: where the button was released, screen pixels
    Rect band;       // SelectInRect: the dragged band in diagram units, corners ordered
    int count = 0;   // Key: 0 moves one grid step, n >= 1 n long moves

    static EditEventArgs Mouse(int flags, Point point) {
        EditEventArgs args;
        args.flags = flags;
        args.point = point;
        return args;
    }
    static EditEventArgs RightButton(int flags, Point point, Point screen) {
        EditEventArgs args = Mouse(flags, point);
        args.screen = screen;
        return args;
    }
    static EditEventArgs Band(int flags, const Rect& band) {
        EditEventArgs args;
        args.flags = flags;
        args.band = band;
        return args;
    }
    static EditEventArgs KeyReleased(int virtualKey, int count) {
        EditEventArgs args;
        args.flags = virtualKey;
        args.count = count;
        return args;
    }

    friend bool operator==(const EditEventArgs&, const EditEventArgs&) = default;
};

// Where a network document sends the view's edit events: the document's
// model, or a recorder in tests. True when the document changed.
class IEditEventTarget {
public:
    virtual bool HandleEditEvent(int event, int tool, const EditEventArgs& args, IView* view) = 0;

protected:
    ~IEditEventTarget() = default;
};
