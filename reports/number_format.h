#pragma once

#include <string>

// Numbers as "%*.*f" and "%*d" write them, whatever the process's locale,
// with the report's decimal character in place of the point. A negative
// width pads on the right; a negative number of decimals means 6. Widths
// and decimals beyond 1023 count as 1023.
std::string FormatFixed(double value, int width, int decimals);
std::string FormatInteger(long value, int width);
