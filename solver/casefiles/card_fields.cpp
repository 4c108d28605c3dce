#include "card_fields.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "number_text.h"
#include "solver.h"

namespace {

// The columns of a field that the line holds before its end, and how many
// of the field's columns come after that end (they read as '0' in a number).
struct FieldColumns {
    std::string_view held;
    std::size_t missing = 0;
};

// Empty when the line ends before column col, or the field has no columns.
FieldColumns ColumnsOf(const FieldLine& line, int col, int len) {
    const std::string_view text = line.Text();
    if (col < 1 || len < 1 || static_cast<std::size_t>(col - 1) >= text.size()) return {};
    const std::string_view held = text.substr(static_cast<std::size_t>(col - 1), static_cast<std::size_t>(len));
    return {held, static_cast<std::size_t>(len) - held.size()};
}

// The line as far as a field ending at column col+len-1 can see it: a
// newline or zero byte after the field changes nothing in it.
FieldLine LineUpToField(std::string_view line, int col, int len) {
    const long long reach = std::clamp(static_cast<long long>(col) - 1 + len, 0LL, static_cast<long long>(line.size()));
    return FieldLine(line.substr(0, static_cast<std::size_t>(reach)));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSign(char c) {
    return c == '+' || c == '-';
}

// The work text of a numeric field: blanks before the number kept, blanks
// after its first digit, sign or point turned into '0', and the columns after
// the line's end into '0'. Empty when a character other than those (or a
// point, unless `pointAllowed`) stands in the field. Only numbers with more
// digits than ScanNumber holds exactly are read through it.
std::string NumberText(const FieldColumns& field, bool pointAllowed) {
    std::string text(field.held.size() + field.missing, '0');
    bool started = false;
    for (std::size_t i = 0; i < field.held.size(); ++i) {
        const char ch = field.held[i];
        if (IsDigit(ch) || IsSign(ch) || (ch == '.' && pointAllowed)) {
            started = true;
            text[i] = ch;
        } else if (ch == ' ') {
            text[i] = started ? '0' : ' ';
        } else {
            return {};
        }
    }
    return text;
}

// Any this many decimal digits make an exact 64-bit integer.
constexpr std::size_t kExactIntegerDigits = 19;

// A number field as "%lf" (or "%d") reads its work text: blanks before the
// number skipped, one sign, then digits (a blank among them the digit 0)
// with at most one point, up to the first character that cannot continue
// them. The rest of the field is still looked at: a character no number
// field may hold makes the field 0, and a point anywhere keeps the implied
// decimals away.
struct ScannedNumber {
    bool found = false;  // false: the field reads as 0 ("-", ".", "+-1", "1x")
    bool negative = false;
    bool hasPoint = false;
    unsigned long long digits = 0;  // as an integer: exact for up to kExactIntegerDigits of them
    std::size_t count = 0;     // digits read, the columns after the line's end among them
    std::size_t decimals = 0;  // of them after the point
};

ScannedNumber ScanNumber(const FieldLine& line, int col, int len, bool pointAllowed) {
    const FieldColumns field = ColumnsOf(line, col, len);
    // A zero byte that ends the line within the field spoils it.
    if (field.held.empty() || (field.missing > 0 && line.EndsAtZero())) return {};
    const char* next = field.held.data();
    const char* const end = next + field.held.size();
    ScannedNumber number;

    // Blanks before the number, then its sign.
    while (next != end && *next == ' ') ++next;
    if (next != end && IsSign(*next)) {
        number.negative = *next++ == '-';
        // A second sign right after the first: no number at all.
        if (next != end && IsSign(*next)) return {};
    }

    // The digits and their point.
    const char* const first = next;
    const char* point = nullptr;
    unsigned long long digits = 0;
    for (; next != end; ++next) {
        const unsigned digit = static_cast<unsigned>(static_cast<unsigned char>(*next)) - '0';
        if (digit <= 9)
            digits = digits * 10 + digit;
        else if (*next == ' ')
            digits *= 10;
        else if (*next == '.' && pointAllowed && !point)
            point = next;
        else
            break;
    }
    const char* const stop = next;

    // What follows the number must still be fit for a number field.
    for (; next != end; ++next) {
        if (*next == '.' && pointAllowed)
            number.hasPoint = true;
        else if (!IsDigit(*next) && *next != ' ' && !IsSign(*next))
            return {};
    }

    number.hasPoint = number.hasPoint || point;
    number.count = static_cast<std::size_t>(stop - first) - (point ? 1 : 0);
    number.decimals = point ? static_cast<std::size_t>(stop - point - 1) : 0;
    if (stop == end) {
        // The number runs on into the columns after the line's end, each
        // the digit 0.
        number.count += field.missing;
        if (point) number.decimals += field.missing;
        if (number.count <= kExactIntegerDigits)
            for (std::size_t i = 0; i < field.missing; ++i) digits *= 10;
    }
    number.digits = digits;
    number.found = number.count > 0;
    return number;
}

// 10^k as std::pow gives it, taken from a table over the exponents a field
// width reaches: a long table row formats tens of thousands of numbers,
// each asking for a dozen powers.
double PowerOfTen(int k) {
    constexpr int kLargest = 40;
    static const std::array<double, 2 * kLargest + 1> powers = [] {
        std::array<double, 2 * kLargest + 1> table{};
        for (int i = -kLargest; i <= kLargest; ++i) table[i + kLargest] = std::pow(10.0, i);
        return table;
    }();
    return k >= -kLargest && k <= kLargest ? powers[k + kLargest] : std::pow(10.0, k);
}

}  // namespace

FieldLine::FieldLine(std::string_view line) : text_(line) {
    if (line.empty()) return;
    const auto* newline = static_cast<const char*>(std::memchr(line.data(), '\n', line.size()));
    const std::size_t end = newline ? static_cast<std::size_t>(newline - line.data()) : line.size();
    const auto* zero = static_cast<const char*>(std::memchr(line.data(), '\0', end));
    endsAtZero_ = zero != nullptr;
    text_ = line.substr(0, zero ? static_cast<std::size_t>(zero - line.data()) : end);
}

std::string GetField(const FieldLine& line, int col, int len, int width) {
    std::string field(static_cast<size_t>(width), ' ');
    const std::string_view held = ColumnsOf(line, col, len).held;
    held.copy(field.data(), field.size());
    return field;
}

std::string GetField(std::string_view line, int col, int len, int width) {
    return GetField(LineUpToField(line, col, len), col, len, width);
}

double GetRealField(const FieldLine& line, int col, int len, int decimals) {
    const ScannedNumber number = ScanNumber(line, col, len, true);
    if (!number.found) return 0.0;
    double value = 0.0;
    if (number.count <= static_cast<std::size_t>(kExactDecimalDigits)) {
        value = ExactDecimal(number.digits, static_cast<int>(number.decimals));
        if (number.negative) value = -value;
    } else if (!ParseDouble(NumberText(ColumnsOf(line, col, len), true), value)) {
        return 0.0;
    }
    if (!number.hasPoint) {
        // Repeated multiplication rather than one division: stored cases
        // keep reading back to the same bits.
        for (int i = 0; i < decimals; ++i) value *= 0.1;
    }
    return value;
}

double GetRealField(std::string_view line, int col, int len, int decimals) {
    return GetRealField(LineUpToField(line, col, len), col, len, decimals);
}

int GetIntField(const FieldLine& line, int col, int len) {
    const ScannedNumber number = ScanNumber(line, col, len, false);
    if (!number.found) return 0;
    if (number.count > kExactIntegerDigits) {
        int value = 0;
        return ParseInt(NumberText(ColumnsOf(line, col, len), false), value) ? value : 0;
    }
    // Beyond the int range the value saturates, as "%d" reads it here.
    constexpr auto kMaxInt = static_cast<unsigned long long>(std::numeric_limits<int>::max());
    if (number.negative)
        return number.digits > kMaxInt ? std::numeric_limits<int>::min() : -static_cast<int>(number.digits);
    return number.digits > kMaxInt ? std::numeric_limits<int>::max() : static_cast<int>(number.digits);
}

int GetIntField(std::string_view line, int col, int len) {
    return GetIntField(LineUpToField(line, col, len), col, len);
}

std::string FormatNumber(int lead, int width, int decimals, double value) {
    std::string out;
    AppendNumber(out, lead, width, decimals, value);
    return out;
}

void AppendNumber(std::string& out, int lead, int width, int decimals, double value) {
    out.append(lead > 0 ? static_cast<size_t>(lead) : 0, ' ');
    int w = std::abs(width);
    int d = std::abs(decimals);
    bool negative = value < 0.0;
    if (negative) {
        --w;  // the sign's place
        value = -value;
    }
    if (w <= d) d = w - 1;
    if (d != 0) --w;  // the point's place

    // Below half a unit of the last place that could be shown: a zero.
    double threshold = 5.0 * PowerOfTen(d == 0 ? -w : -w - 1);
    if (value < threshold) {
        if (negative && w >= 2) ++w;
        if (d != 0) ++w;
        out += w == 1 ? std::string("0") : "0." + std::string(static_cast<size_t>(w > 2 ? w - 2 : 0), '0');
        return;
    }
    if (value >= PowerOfTen(w) - 0.5) {
        // Too large for the field: nines over every place, the point last.
        if (negative) ++w;
        if (d != 0) ++w;
        std::string nines(static_cast<size_t>(w), '9');
        if (negative) nines.front() = '-';
        if (d != 0) nines.back() = '.';
        out += nines;
        return;
    }

    if (negative) out += '-';
    // As many decimals as the integer part leaves room for.
    int p = 0;
    for (int k = w - 1; k >= 0 && value <= PowerOfTen(k) - 0.5 * PowerOfTen(-p); --k) ++p;
    if (d != 0) {
        ++w;
    } else if (p > 0) {
        --p;  // the point takes one of the places of the digits
    }

    std::string text;
    AppendFixed(text, value, -w, p);
    if (text.compare(0, 2, "0.") == 0) {
        text.erase(0, 1);  // ".25": the point stands where the zero was
    } else if (text.size() == static_cast<size_t>(w) && text.find(' ') != std::string::npos) {
        // A whole number padded by the left-justification ends in a point,
        // so that a reader with implied decimals takes it unscaled.
        text.back() = '.';
    }
    if (text.size() < static_cast<size_t>(w)) out.append(static_cast<size_t>(w) - text.size(), ' ');
    out += text;
}

void Solver::WriteNumber(FILE* file, int lead, int width, int decimals, double value) {
    std::fputs(FormatNumber(lead, width, decimals, value).c_str(), file);
}
