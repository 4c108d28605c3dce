#pragma once

#include <string>
#include <string_view>

// Numbers in option values, case files and listings are read and written in
// the C locale, whatever locale the process runs in.

// Reads a real as "%lf" would: leading blanks, an optional sign, the longest
// number that stands at the start. False (value untouched) when none does.
bool ParseDouble(std::string_view text, double& value);

// Reads an integer as "%d" would; a value beyond the int range is saturated.
bool ParseInt(std::string_view text, int& value);

// Formats as snprintf would in the C locale ('.' as the decimal point), even
// when the process has switched LC_NUMERIC to the user's locale.
std::string FormatInCLocale(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Append to `out` what snprintf would write for "%*.*f" (width, precision),
// "%*d" and "%*s" (width) in the C locale: right-aligned with blanks before
// it, or left-aligned with blanks after it for a negative width, never cut.
// Numbers through std::to_chars, exact as printf is.
void AppendFixed(std::string& out, double value, int width, int precision);
void AppendInt(std::string& out, long long value, int width);
void AppendText(std::string& out, std::string_view text, int width);
