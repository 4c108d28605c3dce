#include "field_value.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// Fixed notation when it fits the digits, exponent notation otherwise;
// trailing zeros of the fraction dropped, the decimal point always kept.
std::string DoubleText(double value) {
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 20);
    const std::string_view written(text, error == std::errc{} ? static_cast<std::size_t>(end - text) : 0);
    if (!std::isfinite(value)) return std::string(written);
    const std::string_view mantissa = written.substr(0, written.find('e'));
    std::string result(mantissa);
    if (mantissa.find('.') == std::string_view::npos) result += '.';
    result += written.substr(mantissa.size());
    return result;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::optional<double> AsDouble(const FieldValue& value) {
    return std::visit(Overloaded{
                          [](std::monostate) -> std::optional<double> { return 0.0; },
                          [](std::int64_t v) -> std::optional<double> { return static_cast<double>(v); },
                          [](double v) -> std::optional<double> { return v; },
                          [](const auto&) -> std::optional<double> { return std::nullopt; },
                      },
                      value);
}

std::optional<int> AsInt(const FieldValue& value) {
    constexpr auto lowest = std::numeric_limits<int>::min();
    constexpr auto highest = std::numeric_limits<int>::max();
    return std::visit(Overloaded{
                          [](std::monostate) -> std::optional<int> { return 0; },
                          [](std::int64_t v) -> std::optional<int> {
                              if (v < lowest || v > highest) return std::nullopt;
                              return static_cast<int>(v);
                          },
                          [](double v) -> std::optional<int> {
                              if (!(v >= lowest && v <= highest) || std::trunc(v) != v) return std::nullopt;
                              return static_cast<int>(v);
                          },
                          [](const auto&) -> std::optional<int> { return std::nullopt; },
                      },
                      value);
}

std::optional<std::string> AsText(const FieldValue& value) {
    return std::visit(Overloaded{
                          [](std::monostate) -> std::optional<std::string> { return std::string(); },
                          [](std::int64_t v) -> std::optional<std::string> { return std::to_string(v); },
                          [](double v) -> std::optional<std::string> { return DoubleText(v); },
                          [](const std::string& v) -> std::optional<std::string> {
                              return v.substr(0, v.find_last_not_of(' ') + 1);
                          },
                          [](const Blob&) -> std::optional<std::string> { return std::nullopt; },
                      },
                      value);
}

int RowSet::ColumnIndex(const std::string& name) const {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (EqualIgnoringCase(columns[i], name)) return static_cast<int>(i);
    return -1;
}
