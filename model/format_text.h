#pragma once

#include <string>

// printf-style formatting into a string that grows to fit: element names in
// labels, limit texts and commands may be of any length.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
