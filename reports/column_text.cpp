#include "column_text.h"

#include <algorithm>

std::string LeftInColumns(std::string_view text, int n) {
    std::size_t columns = static_cast<std::size_t>(std::max(n, 0));
    std::string out(text.substr(0, columns));
    out.resize(columns, ' ');
    return out;
}

std::string RightInColumns(std::string_view text, int n) {
    std::size_t columns = static_cast<std::size_t>(std::max(n, 0));
    if (text.size() >= columns) return std::string(text.substr(0, columns));
    return std::string(columns - text.size(), ' ').append(text);
}
