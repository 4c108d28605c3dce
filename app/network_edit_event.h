#pragma once

#include "geometry.h"
#include "model_interface.h"

class IView;

// The mouse flags the model does not look at, beside its own.
namespace MouseFlag {
inline constexpr int RightButton = 0x02;
inline constexpr int Control = 0x08;
inline constexpr int MiddleButton = 0x10;
}  // namespace MouseFlag

// The virtual key codes the model acts on.
namespace VirtualKey {
inline constexpr int Escape = 27;
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

// Where a network document sends the view's edit events (EditEvent): the
// document's model, or a recorder in tests. True when the document changed.
class IEditEventTarget {
public:
    virtual bool HandleEditEvent(int event, int tool, const EditEventArgs& args, IView* view) = 0;

protected:
    ~IEditEventTarget() = default;
};
