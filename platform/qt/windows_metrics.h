#pragma once

#include <optional>

#include <QFont>

// The sizes the original platform's controls were laid out with, in pixels.
inline constexpr int kEdgeWidth = 2;   // a sunken or raised 3-D edge
inline constexpr int kThumbWidth = 16;  // a scroll-bar thumb or arrow

// The font of message boxes and dialog texts: the application's font unless
// a test has put its own in place, so that measured layouts do not depend on
// the machine's fonts.
QFont MessageFont();
void OverrideMessageFont(std::optional<QFont> font);
