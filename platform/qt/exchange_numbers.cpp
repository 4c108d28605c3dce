#include "exchange_numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// The field's text without the blanks around it and without a leading '+',
// which the C library's readers accept and std::from_chars does not.
std::string NumberText(const QString& text) {
    std::string trimmed = text.trimmed().toStdString();
    if (trimmed.size() > 1 && trimmed[0] == '+' && trimmed[1] != '-' && trimmed[1] != '+') trimmed.erase(0, 1);
    return trimmed;
}

template <typename T>
std::optional<T> ParseWhole(const std::string& text) {
    T value{};
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace

QString FormatNumber(double value) {
    std::array<char, 32> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 15);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

QString FormatInteger(int value) { return QString::number(value); }

std::optional<double> ParseNumber(const QString& text) {
    std::optional<double> value = ParseWhole<double>(NumberText(text));
    if (value && !std::isfinite(*value)) return std::nullopt;
    return value;
}

std::optional<int> ParseInteger(const QString& text) { return ParseWhole<int>(NumberText(text)); }
