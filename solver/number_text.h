#pragma once

#include <string>
#include <string_view>

// Numbers in option values, case files and listings are read and written in
// the C locale, whatever locale the process runs in.

// A plain decimal of at most this many digits has its digits, as an
// integer, and its power of ten both exact as doubles: one division is then
// the correctly rounded value, the one a full conversion answers.
inline constexpr int kExactDecimalDigits = 15;

inline constexpr double kExactPowersOfTen[kExactDecimalDigits + 1] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// digits * 10^-decimals for at most kExactDecimalDigits digits, of which
// `decimals` stand after the point.
inline double ExactDecimal(unsigned long long digits, int decimals) {
    return static_cast<double>(digits) / kExactPowersOfTen[decimals];
}

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
