#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "color.h"
#include "geometry.h"

class IElement;
class FontSetting;

// The window messages the view once took from the model, numbered from the
// base that the view gives the model. The typed operations of IView replace
// them; the numbers remain as names.
enum ViewMessage : int {
    kViewMessageBase = 1025,
    kOpenPropertiesMessage = kViewMessageBase + 0,
    kToolStateMessage = kViewMessageBase + 1,
    kFillAndFontMessage = kViewMessageBase + 2,
    kRemoteSendMessage = kViewMessageBase + 3,
    kNodeDrawingMessage = kViewMessageBase + 4,
};

// The diagram's window as the model sees it. Every operation is synchronous:
// it has done its work (a dialog included) when it returns. The pointer is
// borrowed; the model never deletes its view.
class IView {
public:
    // Marks a rectangle of the window (diagram units less the scroll
    // position), or all of it, for repainting.
    virtual void InvalidateRect(const Rect& area) = 0;
    virtual void InvalidateAll() = 0;
    // Repaints what is marked, now.
    virtual void Update() = 0;
    // While a line is drawn node by node the window keeps the mouse.
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    // The size of the whole diagram, logical units, that the scroll bars span.
    virtual void SetScrollSizes(Size total) = 0;
    // The diagram point shown at the window's top-left corner.
    virtual Point GetScrollPosition() = 0;

    // kOpenPropertiesMessage: the element's properties dialog; a two-port
    // passes its branch kind (0 line, 1 fixed-tap, 2 regulating transformer).
    // True when the dialog was closed with OK.
    virtual bool OpenProperties(IElement* element, int branchKind) = 0;
    // kToolStateMessage, two uses: the tool state or the cursor changed ...
    virtual void ToolStateChanged(int flags, int code) = 0;
    // ... or the element's context menu; `restricted` is set for a remote
    // copy or outside edit mode.
    virtual void OpenContextMenu(IElement* element, bool restricted) = 0;
    // kFillAndFontMessage: the fill-and-font dialog over one font setting per
    // label, in label order, which it may edit in place. The chosen line
    // colour when the element itself is to take it; nothing when cancelled or
    // when the choice went to every element of the kind.
    virtual std::optional<ColorRef> EditFillAndFont(IElement* element,
                                                    std::span<FontSetting> fonts) = 0;
    // kRemoteSendMessage: sends the bytes as they are, without a terminator,
    // on the remote-solver connection; they are valid during the call only.
    virtual void SendToRemoteSolver(std::string_view bytes) = 0;
    // kNodeDrawingMessage: node-by-node drawing of a line started or ended.
    virtual void NodeDrawingChanged(bool started) = 0;

protected:
    ~IView() = default;
};
