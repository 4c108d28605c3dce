#pragma once

#include <string_view>

// Numbers in option values, case files and listings are read in the C locale,
// whatever locale the process runs in.

// Reads a real as "%lf" would: leading blanks, an optional sign, the longest
// number that stands at the start. False (value untouched) when none does.
bool ParseDouble(std::string_view text, double& value);

// Reads an integer as "%d" would; a value beyond the int range is saturated.
bool ParseInt(std::string_view text, int& value);
