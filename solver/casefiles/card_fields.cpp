#include "card_fields.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "number_text.h"
#include "solver.h"

namespace {

// Column `col` (1-based) of the line, with the end of the text read as a
// newline: a line without its end reads the same as one with it.
char ColumnAt(std::string_view line, int col) {
    size_t i = static_cast<size_t>(col - 1);
    return i < line.size() ? line[i] : '\n';
}

// True when column col holds a character of the line: the line has not ended
// (at its newline, or at the zero that ends a C text) before it.
bool HasColumn(std::string_view line, int col) {
    if (col <= 0) return true;
    if (static_cast<size_t>(col) > line.size()) return false;
    // Only the columns up to col can end the line before it.
    const std::string_view head = line.substr(0, static_cast<size_t>(col));
    return head.find('\n') == std::string_view::npos && head.find('\0') == std::string_view::npos;
}

// The work text of a numeric field: blanks before the number kept, blanks
// after its first digit, sign or point turned into '0', and the columns after
// the line's end into '0'. Empty when a character other than those (or a
// point, unless `pointAllowed`) stands in the field.
std::string NumberText(std::string_view line, int col, int len, bool pointAllowed, bool& hasPoint) {
    // Exactly one character for each column of the field (short fields
    // stay within the string itself).
    std::string text(static_cast<size_t>(std::max(len, 0)), '0');
    hasPoint = false;
    bool started = false;
    // The columns the line holds; those after its end stay '0'.
    const size_t first = static_cast<size_t>(col - 1);
    const std::string_view field = col >= 1 && first < line.size() ? line.substr(first, text.size()) : std::string_view();
    for (size_t i = 0; i < field.size(); ++i) {
        const char ch = field[i];
        if (ch == '\n') break;
        char& item = text[i];
        if ((ch >= '0' && ch <= '9') || ch == '+' || ch == '-' || (ch == '.' && pointAllowed)) {
            started = true;
            hasPoint = hasPoint || ch == '.';
            item = ch;
        } else if (ch == ' ') {
            item = started ? '0' : ' ';
        } else {
            return {};
        }
    }
    return text;
}

}  // namespace

std::string GetField(std::string_view line, int col, int len, int width) {
    std::string field;
    if (HasColumn(line, col)) {
        for (int c = col; c < col + len; ++c) {
            char ch = ColumnAt(line, c);
            if (ch == '\n' || ch == '\0') break;
            field.push_back(ch);
        }
    }
    field.resize(static_cast<size_t>(width), ' ');
    return field;
}

double GetRealField(std::string_view line, int col, int len, int decimals) {
    if (!HasColumn(line, col)) return 0.0;
    bool hasPoint = false;
    std::string text = NumberText(line, col, len, true, hasPoint);
    double value = 0.0;
    if (!ParseDouble(text, value)) return 0.0;
    if (!hasPoint) {
        // Repeated multiplication rather than one division: stored cases
        // keep reading back to the same bits.
        for (int i = 0; i < decimals; ++i) value *= 0.1;
    }
    return value;
}

int GetIntField(std::string_view line, int col, int len) {
    if (!HasColumn(line, col)) return 0;
    bool hasPoint = false;
    std::string text = NumberText(line, col, len, false, hasPoint);
    int value = 0;
    return ParseInt(text, value) ? value : 0;
}

std::string FormatNumber(int lead, int width, int decimals, double value) {
    std::string out(lead > 0 ? static_cast<size_t>(lead) : 0, ' ');
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
    double threshold = 5.0 * std::pow(10.0, d == 0 ? -w : -w - 1);
    if (value < threshold) {
        if (negative && w >= 2) ++w;
        if (d != 0) ++w;
        out += w == 1 ? std::string("0") : "0." + std::string(static_cast<size_t>(w > 2 ? w - 2 : 0), '0');
        return out;
    }
    if (value >= std::pow(10.0, w) - 0.5) {
        // Too large for the field: nines over every place, the point last.
        if (negative) ++w;
        if (d != 0) ++w;
        std::string nines(static_cast<size_t>(w), '9');
        if (negative) nines.front() = '-';
        if (d != 0) nines.back() = '.';
        return out + nines;
    }

    if (negative) out += '-';
    // As many decimals as the integer part leaves room for.
    int p = 0;
    for (int k = w - 1; k >= 0 && value <= std::pow(10.0, k) - 0.5 * std::pow(10.0, -p); --k) ++p;
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
    return out + text;
}

void Solver::WriteNumber(FILE* file, int lead, int width, int decimals, double value) {
    std::fputs(FormatNumber(lead, width, decimals, value).c_str(), file);
}
