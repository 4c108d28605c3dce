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
// The print preview's bitmap buttons: four faces each (up, pressed,
// focused, disabled) in the standard button colours.
inline constexpr const char* kPreviewPrint = ":/shell/preview_print.xpm";
inline constexpr const char* kPreviewNext = ":/shell/preview_next.xpm";
inline constexpr const char* kPreviewPrevious = ":/shell/preview_previous.xpm";
inline constexpr const char* kPreviewOnePage = ":/shell/preview_one_page.xpm";
inline constexpr const char* kPreviewTwoPages = ":/shell/preview_two_pages.xpm";
inline constexpr const char* kPreviewZoomIn = ":/shell/preview_zoom_in.xpm";
inline constexpr const char* kPreviewZoomOut = ":/shell/preview_zoom_out.xpm";
}  // namespace ShellImages
