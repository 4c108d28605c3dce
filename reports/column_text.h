#pragma once

#include <string>
#include <string_view>

// A text in n columns (n below 0 counts as 0): cut to its first n
// characters, or padded with blanks after it (left) or before it (right).
std::string LeftInColumns(std::string_view text, int n);
std::string RightInColumns(std::string_view text, int n);
