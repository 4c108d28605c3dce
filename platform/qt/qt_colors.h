#pragma once

#include <QColor>
#include <QPalette>

#include "color.h"

QColor ToQColor(ColorRef color);
// The alpha channel is dropped: a stored colour is always opaque.
ColorRef ToColorRef(const QColor& color);

// The original platform's system colours by their numbers, as owner-drawn
// controls ask for them.
enum class SystemColor : int {
    ScrollBar = 0,
    Background = 1,
    ActiveCaption = 2,
    InactiveCaption = 3,
    Menu = 4,
    Window = 5,
    WindowFrame = 6,
    MenuText = 7,
    WindowText = 8,
    CaptionText = 9,
    ActiveBorder = 10,
    InactiveBorder = 11,
    AppWorkspace = 12,
    Highlight = 13,
    HighlightText = 14,
    ButtonFace = 15,
    ButtonShadow = 16,
    GrayText = 17,
    ButtonText = 18,
    InactiveCaptionText = 19,
    ButtonHighlight = 20,
    DarkShadow3D = 21,
    Light3D = 22,
    InfoText = 23,
    InfoBackground = 24,
    HotLight = 26,
    GradientActiveCaption = 27,
    GradientInactiveCaption = 28,
    MenuHighlight = 29,
    MenuBar = 30,
};

// The palette role that plays the system colour's part.
QPalette::ColorRole PaletteRoleOf(SystemColor color);
// The system colour as the palette gives it (greyed text from the disabled
// group); by default the application's palette.
QColor SystemQColor(SystemColor color);
QColor SystemQColor(SystemColor color, const QPalette& palette);
ColorRef GetSysColor(SystemColor color);
