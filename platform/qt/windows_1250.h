#pragma once

#include <string>
#include <string_view>

#include <QString>

// Names and labels are stored single-byte in the Windows-1250 code page;
// the user interface works in Unicode. Every byte value maps to one
// character and back, the five bytes the code page leaves undefined to the
// control characters of the same number, so no stored name is altered by a
// round trip through the interface.
QString FromWindows1250(std::string_view bytes);

// Characters outside the code page become '?'.
std::string ToWindows1250(const QString& text);
