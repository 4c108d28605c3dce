#pragma once

#include <string>
#include <string_view>
#include <vector>

// Empties `pieces`, then cuts `text` at every run of the separator
// characters and appends the pieces in order; empty pieces never appear.
// The text is consumed: it is empty afterwards.
void SplitToArray(std::string_view separators, std::string& text, std::vector<std::string>& pieces);
