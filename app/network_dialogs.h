#pragma once

#include <optional>
#include <span>

#include "color.h"

class FontSetting;
class IElement;

// The dialogs the network view opens when the model asks for them: an
// element's properties and its line, fill and fonts. Both run modally and
// have done their work when they return.
class INetworkDialogs {
public:
    // A two-port passes its branch kind (0 line, 1 fixed-tap, 2 regulating
    // transformer). True when the dialog was closed with OK.
    virtual bool OpenProperties(IElement& element, int branchKind) = 0;
    // The fonts are edited in place; the chosen line colour when the element
    // itself takes it, nothing when cancelled.
    virtual std::optional<ColorRef> EditFillAndFont(IElement& element, std::span<FontSetting> fonts) = 0;

protected:
    ~INetworkDialogs() = default;
};
