#pragma once

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <string_view>

// The fixed-column field readers written the plain way, column by column,
// to check the fast ones against: a number field becomes its work text (blanks
// before the number kept, blanks after its start and columns after the
// line's end as '0'), which the C library reads in the C locale.
namespace card_field_reference {

// Index of the line's end: its first newline or zero byte, else its size.
inline std::size_t LineEnd(std::string_view line) {
    const std::size_t end = line.find_first_of(std::string_view("\n\0", 2));
    return end == std::string_view::npos ? line.size() : end;
}

inline std::string Text(std::string_view line, int col, int len, int width) {
    std::string field;
    const std::size_t end = LineEnd(line);
    for (long long c = col; c < static_cast<long long>(col) + len; ++c) {
        if (c < 1 || static_cast<std::size_t>(c - 1) >= end) break;
        field.push_back(line[static_cast<std::size_t>(c - 1)]);
    }
    field.resize(static_cast<std::size_t>(width), ' ');
    return field;
}

// The work text and whether a point stands in it; nothing when the field
// cannot be a number (the line ends before it, or it holds another
// character, a zero byte among them).
struct WorkText {
    std::string text;
    bool hasPoint = false;
};
inline std::optional<WorkText> NumberText(std::string_view line, int col, int len, bool pointAllowed) {
    if (col < 1 || static_cast<std::size_t>(col - 1) >= LineEnd(line) || len < 1) return std::nullopt;
    WorkText work;
    bool started = false;
    bool ended = false;  // at a newline, or the end of the text
    for (int i = 0; i < len; ++i) {
        const std::size_t at = static_cast<std::size_t>(col - 1 + i);
        ended = ended || at >= line.size() || line[at] == '\n';
        const char c = ended ? '0' : line[at];
        if ((c >= '0' && c <= '9') || c == '+' || c == '-' || (c == '.' && pointAllowed)) {
            started = true;
            work.hasPoint = work.hasPoint || c == '.';
            work.text.push_back(c);
        } else if (c == ' ') {
            work.text.push_back(started ? '0' : ' ');
        } else {
            return std::nullopt;
        }
    }
    return work;
}

inline locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c;
}

inline double Real(std::string_view line, int col, int len, int decimals) {
    const auto work = NumberText(line, col, len, true);
    if (!work) return 0.0;
    char* end = nullptr;
    double value = strtod_l(work->text.c_str(), &end, CLocale());
    if (end == work->text.c_str()) return 0.0;
    if (!work->hasPoint)
        for (int i = 0; i < decimals; ++i) value *= 0.1;
    return value;
}

inline int Int(std::string_view line, int col, int len) {
    const auto work = NumberText(line, col, len, false);
    if (!work) return 0;
    char* end = nullptr;
    const long long value = strtoll_l(work->text.c_str(), &end, 10, CLocale());
    if (end == work->text.c_str()) return 0;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace card_field_reference
