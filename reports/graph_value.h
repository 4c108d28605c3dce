#pragma once

#include <string_view>

// A number of a graph data file read as the C library's atof reads it in the
// C locale: an optional sign, then the longest decimal number (digits, an
// optional point and digits, an optional exponent), whatever follows being
// ignored; text with no such number is 0, and so are "inf", "nan" and
// hexadecimal numbers past their leading 0. A value beyond the float range is
// the largest float of its sign.
float GraphValue(std::string_view text);
