#include "scenario_lines.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr std::string_view kWhiteSpace = " \t\r\f\v";

// The next item of `text`, which keeps what follows it; empty at the end.
std::string_view NextItem(std::string_view& text) {
    const auto start = text.find_first_not_of(kWhiteSpace);
    if (start == std::string_view::npos) {
        text = {};
        return {};
    }
    text.remove_prefix(start);
    const auto end = std::min(text.find_first_of(kWhiteSpace), text.size());
    std::string_view item = text.substr(0, end);
    text.remove_prefix(end);
    return item;
}

// An item that is a number from its first character to its last; a '+'
// sign is allowed as "%d" and "%lf" allow it.
template <class Number>
bool WholeNumber(std::string_view item, Number& value) {
    if (item.size() > 1 && item.front() == '+' && item[1] != '-') item.remove_prefix(1);
    const char* end = item.data() + item.size();
    auto [stop, error] = std::from_chars(item.data(), end, value);
    return error == std::errc{} && stop == end;
}

}  // namespace

bool ParseScenarioLine(std::string_view text, ScenarioLine& line) {
    line = ScenarioLine{};
    if (!text.empty() && text.front() == 'C') return false;
    if (!WholeNumber(NextItem(text), line.number)) return false;

    const auto start = text.find_first_not_of(kWhiteSpace);
    if (start == std::string_view::npos) return false;
    text.remove_prefix(start);
    if (text.front() == '\'' || text.front() == '"') {
        const auto close = text.find(text.front(), 1);
        line.name = std::string(text.substr(1, close == std::string_view::npos ? close : close - 1));
        text.remove_prefix(close == std::string_view::npos ? text.size() : close + 1);
    } else {
        line.name = std::string(NextItem(text));
    }

    double value = 0.0;
    for (std::string_view item = NextItem(text); WholeNumber(item, value) && std::isfinite(value);
         item = NextItem(text))
        line.numbers.push_back(value);
    return true;
}
