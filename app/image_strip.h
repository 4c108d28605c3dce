#pragma once

#include <vector>

#include <QIcon>
#include <QString>

// A row of equal square images drawn side by side in one picture (the tool
// bars' buttons, the message levels), cut into one icon per cell. The cell
// is as wide as the picture is high. A picture that cannot be read gives
// no icons.
std::vector<QIcon> LoadImageStrip(const QString& path);

// The program's own pictures.
namespace ShellImages {
inline constexpr const char* kStandardBar = ":/shell/standard_bar.svg";
inline constexpr const char* kToolsPalette = ":/shell/tools_palette.svg";
inline constexpr const char* kMessageLevels = ":/shell/message_levels.svg";
}  // namespace ShellImages
