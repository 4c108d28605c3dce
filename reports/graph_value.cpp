#include "graph_value.h"

#include <charconv>
#include <limits>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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
    // Only a decimal number counts: no second sign, no "inf" or "nan".
    if (at == text.size() || !(IsDigit(text[at]) || text[at] == '.')) return 0.0f;

    const char* first = text.data() + at;
    float value = 0.0f;
    auto [end, error] = std::from_chars(first, text.data() + text.size(), value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        value = DecimalMagnitude(std::string_view(first, static_cast<std::size_t>(end - first))) > 0
                    ? std::numeric_limits<float>::max()
                    : 0.0f;
    } else if (error != std::errc()) {
        return 0.0f;
    }
    return negative ? -value : value;
}
