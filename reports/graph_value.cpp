#include "graph_value.h"

#include <charconv>
#include <algorithm>
#include <limits>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at;
}

// Roughly where the number's first significant digit stands: positive for a
// number of 1 or more, 0 or less for one below 1. Only the sign is used, to
// tell a number too large for a double from one too small.
long DecimalMagnitude(std::string_view number) {
    long magnitude = 0;
    bool significant = false;
    bool afterPoint = false;
    std::size_t at = 0;
    for (; at < number.size() && number[at] != 'e' && number[at] != 'E'; ++at) {
        char c = number[at];
        if (c == '.') {
            afterPoint = true;
        } else if (!significant && c == '0') {
            if (afterPoint) --magnitude;
        } else if (!significant) {
            significant = true;
            if (!afterPoint) ++magnitude;
        } else if (!afterPoint) {
            ++magnitude;
        }
    }
    long exponent = 0;
    bool negative = false;
    for (++at; at < number.size(); ++at) {
        if (number[at] == '-') negative = true;
        if (IsDigit(number[at]) && exponent < 1000000) exponent = exponent * 10 + (number[at] - '0');
    }
    return magnitude + (negative ? -exponent : exponent);
}

}  // namespace

float GraphValue(std::string_view text) {
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    const std::size_t start = at;

    std::size_t end = SkipDigits(text, at);
    bool anyDigit = end > at;
    if (end < text.size() && text[end] == '.') {
        std::size_t fraction = SkipDigits(text, end + 1);
        anyDigit = anyDigit || fraction > end + 1;
        end = fraction;
    }
    if (!anyDigit) return 0.0f;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        std::size_t digits = SkipDigits(text, exponent);
        if (digits > exponent) end = digits;
    }

    double value = 0.0;
    auto [ptr, error] = std::from_chars(text.data() + start, text.data() + end, value);
    if (error == std::errc::result_out_of_range) {
        value = DecimalMagnitude(text.substr(start, end - start)) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc()) {
        return 0.0f;
    }
    constexpr double kLargest = std::numeric_limits<float>::max();
    value = std::min(value, kLargest);
    return static_cast<float>(negative ? -value : value);
}
