#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The longest line the case-file readers look at. A longer line is still read
// to its end, so that its rest never turns into a record of its own.
inline constexpr std::size_t kCaseLineLength = 255;

// Reads the next line of a case file into `line`, without its end: LF, CR
// LF, a CR alone, or the end of the file. Only
// the first kCaseLineLength characters are kept. A lone Ctrl-Z line at the
// end of the file, as old editors left there, counts as the end of the file.
// False at the end of the file.
bool ReadCaseLine(FILE* file, std::string& line);
