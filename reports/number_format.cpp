#include "number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "decimal_character.h"

namespace {

constexpr int kMaxField = 1023;

std::string Padded(std::string digits, int width) {
    bool onTheRight = width < 0;
    std::size_t columns = static_cast<std::size_t>(std::min(std::abs(static_cast<long>(width)), long{kMaxField}));
    if (digits.size() >= columns) return digits;
    std::string blanks(columns - digits.size(), ' ');
    return onTheRight ? digits + blanks : blanks + digits;
}

}  // namespace

std::string FormatFixed(double value, int width, int decimals) {
    if (decimals < 0) decimals = 6;
    decimals = std::min(decimals, kMaxField);
    std::string digits;
    if (std::isnan(value) || std::isinf(value)) {
        digits = std::signbit(value) ? "-" : "";
        digits += std::isnan(value) ? "nan" : "inf";
    } else {
        // 309 integer digits at most, the decimals, sign and point.
        std::array<char, 320 + kMaxField> buffer;
        auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
        digits.assign(buffer.data(), result.ptr);
        std::size_t point = digits.find('.');
        if (point != std::string::npos) digits[point] = DecimalCharacter();
    }
    return Padded(std::move(digits), width);
}

std::string FormatInteger(long value, int width) { return Padded(std::to_string(value), width); }
