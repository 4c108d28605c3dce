#pragma once

#include <string>
#include <string_view>

// A fixed-column line built field by field: each text stands from its
// 1-based column on, blanks fill the gaps.
class CardLine {
public:
    CardLine() = default;
    explicit CardLine(std::string_view start) : line_(start) {}

    CardLine& At(int col, std::string_view text) {
        const std::size_t first = static_cast<std::size_t>(col - 1);
        if (line_.size() < first + text.size()) line_.resize(first + text.size(), ' ');
        line_.replace(first, text.size(), text);
        return *this;
    }

    const std::string& Text() const { return line_; }
    operator const std::string&() const { return line_; }

private:
    std::string line_;
};
