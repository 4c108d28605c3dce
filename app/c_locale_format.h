#pragma once

#include <string>

// printf-style formatting with '.' as the decimal point whatever locale the
// process runs in: the numbers of SQL statements and of the comparison
// report are read by other programs and by people in any locale.
std::string FormatCLocale(const char* format, ...) __attribute__((format(printf, 1, 2)));
