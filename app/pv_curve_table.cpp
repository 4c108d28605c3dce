#include "pv_curve_table.h"

#include <charconv>
#include <cstddef>
#include <limits>
#include <string_view>
#include <utility>

namespace {

std::vector<std::string_view> Tokens(std::string_view line) {
    constexpr std::string_view kSeparators = " \t\r\n";
    std::vector<std::string_view> tokens;
    std::size_t at = line.find_first_not_of(kSeparators);
    while (at != std::string_view::npos) {
        std::size_t end = line.find_first_of(kSeparators, at);
        if (end == std::string_view::npos) end = line.size();
        tokens.push_back(line.substr(at, end - at));
        at = line.find_first_not_of(kSeparators, end);
    }
    return tokens;
}

// The power of ten of a decimal number's leading digit (its exponent
// included), to tell a number too large for a double from one too small.
long DecimalExponent(std::string_view digits) {
    long exponent = 0;
    bool seenPoint = false;
    bool seenNonZero = false;
    std::size_t at = 0;
    for (; at < digits.size(); ++at) {
        const char c = digits[at];
        if (c == '.') {
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (!seenNonZero && c != '0') seenNonZero = true;
            if (seenNonZero && !seenPoint) ++exponent;
            if (!seenNonZero && seenPoint) --exponent;
        } else {
            break;
        }
    }
    if (at < digits.size() && (digits[at] == 'e' || digits[at] == 'E')) {
        std::string_view written = digits.substr(at + 1);
        const bool negative = !written.empty() && written.front() == '-';
        if (!written.empty() && (written.front() == '+' || written.front() == '-')) written.remove_prefix(1);
        long value = 0;
        if (std::from_chars(written.data(), written.data() + written.size(), value).ec == std::errc::result_out_of_range) {
            value = std::numeric_limits<long>::max() / 2;
        }
        exponent += negative ? -value : value;
    }
    return exponent;
}

// The value of a token's leading number, as the C runtime's atof reads it
// in the C locale; 0 when it starts with none.
double TokenValue(std::string_view token) {
    bool negative = false;
    if (!token.empty() && (token.front() == '+' || token.front() == '-')) {
        negative = token.front() == '-';
        token.remove_prefix(1);
    }
    // One sign only: the parser below would take a second one.
    if (!token.empty() && (token.front() == '+' || token.front() == '-')) return 0.0;
    double value = 0.0;
    const auto error = std::from_chars(token.data(), token.data() + token.size(), value).ec;
    if (error == std::errc::result_out_of_range) {
        value = DecimalExponent(token) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::vector<double> RowValues(const std::vector<std::string_view>& tokens) {
    std::vector<double> values;
    values.reserve(tokens.size());
    for (std::string_view token : tokens) values.push_back(TokenValue(token));
    return values;
}

// The Y columns ordered by their change, smallest (the largest drop) first:
// a selection sort that moves a column forward only past a strictly larger
// change, so columns of equal change keep their order.
std::vector<std::size_t> OrderByChange(std::vector<double> change) {
    std::vector<std::size_t> order(change.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    for (std::size_t j = 0; j + 1 < change.size(); ++j) {
        std::size_t smallest = j;
        for (std::size_t k = j + 1; k < change.size(); ++k) {
            if (change[k] < change[smallest]) smallest = k;
        }
        if (smallest == j) continue;
        std::swap(change[j], change[smallest]);
        std::swap(order[j], order[smallest]);
    }
    return order;
}

}  // namespace

PvCurveColumns ReadPvCurveColumns(std::istream& table) {
    std::vector<std::string> names;
    std::vector<double> firstRow;
    std::vector<double> lastRow;
    std::size_t rows = 0;
    bool spoiled = false;
    bool noseFound = false;
    for (std::string line; !noseFound && std::getline(table, line);) {
        const std::vector<std::string_view> tokens = Tokens(line);
        if (tokens.empty()) continue;
        if (names.empty()) {
            names.assign(tokens.begin(), tokens.end());
            continue;
        }
        if (tokens.size() != names.size()) {
            spoiled = true;
            break;
        }
        std::vector<double> values = RowValues(tokens);
        ++rows;
        if (rows == 1) {
            firstRow = values;
            lastRow = std::move(values);
        } else if (rows == 2 || values.back() > lastRow.back()) {
            lastRow = std::move(values);
        } else if (values.back() < lastRow.back()) {
            noseFound = true;
        }
    }

    PvCurveColumns columns;
    if (names.size() < 2) return columns;
    columns.usable = noseFound || (rows >= 3 && !spoiled);
    if (!columns.usable) return columns;
    columns.xName = names.back();
    std::vector<double> change(names.size() - 1);
    for (std::size_t i = 0; i < change.size(); ++i) change[i] = lastRow[i] - firstRow[i];
    for (std::size_t column : OrderByChange(std::move(change))) columns.yNames.push_back(names[column]);
    return columns;
}
