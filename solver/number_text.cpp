#include "number_text.h"

#include <locale.h>
#include <stdlib.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>

namespace {

// Made once and kept for the life of the process.
locale_t CLocale() {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return cLocale;
}

// Drops leading white space and answers whether a '-' sign was taken off;
// a '+' is dropped too. `text` keeps what follows.
bool TakeSign(std::string_view& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    text.remove_prefix(i);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        bool negative = text.front() == '-';
        text.remove_prefix(1);
        return negative;
    }
    return false;
}

}  // namespace

namespace {

// A plain decimal of at most kExactDecimalDigits digits (digits, at most
// one point, no exponent), as case files and listings hold them, read by
// one exact division. False where the full conversion must decide.
bool PlainDecimal(std::string_view text, double& value) {
    unsigned long long digits = 0;
    int count = 0;
    int decimals = 0;
    bool point = false;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (++count > kExactDecimalDigits) return false;
            digits = digits * 10 + static_cast<unsigned>(c - '0');
            if (point) ++decimals;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (count == 0 || (i < text.size() && (text[i] == 'e' || text[i] == 'E'))) return false;
    value = ExactDecimal(digits, decimals);
    return true;
}

}  // namespace

bool ParseDouble(std::string_view text, double& value) {
    bool negative = TakeSign(text);
    // from_chars would take a second sign; "%lf" does not.
    if (text.empty() || text.front() == '-' || text.front() == '+') return false;
    double parsed = 0.0;
    if (PlainDecimal(text, parsed)) {
        value = negative ? -parsed : parsed;
        return true;
    }
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (end == text.data()) return false;
    if (error == std::errc::result_out_of_range) {
        // Beyond the range of a double: infinity or zero, as the C library
        // answers. Only the whole number tells which ("0.000...1" with more
        // than 330 zeros is tiny without an exponent, "1000...0e-9" can be
        // huge with a negative one), so the C library reads it.
        const std::string number(text.data(), end);
        parsed = strtod_l(number.c_str(), nullptr, CLocale());
    }
    value = negative ? -parsed : parsed;
    return true;
}

bool ParseInt(std::string_view text, int& value) {
    bool negative = TakeSign(text);
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text.front()))) return false;
    long long parsed = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error == std::errc::result_out_of_range) parsed = std::numeric_limits<long long>::max();
    if (negative) parsed = -parsed;
    if (parsed > std::numeric_limits<int>::max()) parsed = std::numeric_limits<int>::max();
    if (parsed < std::numeric_limits<int>::min()) parsed = std::numeric_limits<int>::min();
    value = static_cast<int>(parsed);
    return true;
}

std::string FormatInCLocale(const char* format, ...) {
    // uselocale switches only the calling thread.
    locale_t previous = uselocale(CLocale());

    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);

    uselocale(previous);
    return text;
}

void AppendText(std::string& out, std::string_view text, int width) {
    const size_t columns = static_cast<size_t>(width < 0 ? -static_cast<long long>(width) : width);
    const size_t blanks = text.size() < columns ? columns - text.size() : 0;
    // One growth of the text, blanks and all.
    const size_t start = out.size();
    out.resize(start + blanks + text.size(), ' ');
    text.copy(out.data() + start + (width > 0 ? blanks : 0), text.size());
}

namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// The common case of a listing, a finite value of modest size with a few
// decimals, as an integer count of its last decimal: the scaled value is
// one rounding away from the exact product, so its rounding to an integer
// is the exact one unless its fraction lies within that rounding of a half
// (a tie or nearly one: left to the full conversion). Writes the text so
// that it ends at `end` and answers its start, or null where the full
// conversion must decide.
char* FixedByScaling(char* end, double value, int precision) {
    if (precision < 0 || precision >= static_cast<int>(std::size(kPowersOfTen))) return nullptr;
    const double magnitude = std::fabs(value);
    const double scaled = magnitude * kPowersOfTen[precision];
    if (!(scaled < 1e15)) return nullptr;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) <= scaled * 0x1p-52 + 0x1p-60) return nullptr;
    auto units = static_cast<unsigned long long>(whole) + (fraction > 0.5 ? 1 : 0);

    // The digits from the last decimal backwards.
    char* start = end;
    for (int i = 0; i < precision; ++i) {
        *--start = static_cast<char>('0' + units % 10);
        units /= 10;
    }
    if (precision > 0) *--start = '.';
    do {
        *--start = static_cast<char>('0' + units % 10);
        units /= 10;
    } while (units);
    // printf keeps the sign of a negative value that rounds to zero.
    if (std::signbit(value)) *--start = '-';
    return start;
}

// The text right-aligned in `width` columns (left-aligned for a negative
// width), appended without filling its room first.
void AppendAligned(std::string& out, const char* text, std::size_t length, int width) {
    const auto columns = static_cast<std::size_t>(width < 0 ? -static_cast<long long>(width) : width);
    const std::size_t blanks = length < columns ? columns - length : 0;
    if (width > 0) out.append(blanks, ' ');
    out.append(text, length);
    if (width < 0) out.append(blanks, ' ');
}

}  // namespace

void AppendFixed(std::string& out, double value, int width, int precision) {
    // Room for the largest double in full: 309 digits, the sign, the point
    // and the decimals asked for.
    char buffer[400];
    char* const bufferEnd = buffer + sizeof buffer;
    if (const char* start = FixedByScaling(bufferEnd, value, precision)) {
        AppendAligned(out, start, static_cast<std::size_t>(bufferEnd - start), width);
        return;
    }
    const auto [end, error] = std::to_chars(buffer, bufferEnd, value, std::chars_format::fixed, precision);
    if (error != std::errc{}) {
        out += FormatInCLocale("%*.*f", width, precision, value);
        return;
    }
    AppendAligned(out, buffer, static_cast<std::size_t>(end - buffer), width);
}

void AppendInt(std::string& out, long long value, int width) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    AppendAligned(out, buffer, static_cast<std::size_t>(end - buffer), width);
}
