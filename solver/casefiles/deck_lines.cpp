#include "deck_lines.h"

#include <string_view>

#include "card_fields.h"
#include "solver.h"

namespace {

// Digits with at most one sign before them and at most one point; blanks
// anywhere (a blank after a digit is the digit 0).
bool IsNumberField(std::string_view field, bool pointAllowed) {
    bool started = false;
    bool point = false;
    for (char c : field) {
        if (c == ' ' || (c >= '0' && c <= '9')) {
            started = started || c != ' ';
        } else if (c == '+' || c == '-') {
            if (started) return false;
            started = true;
        } else if (c == '.' && pointAllowed && !point) {
            point = started = true;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

bool DeckLines::Next() {
    if (!lines_.Next(line_)) return false;
    fields_ = FieldLine(line_);
    ++lineNumber_;
    return true;
}

bool DeckLines::Is(const char* code) const {
    return line_.compare(0, std::char_traits<char>::length(code), code) == 0;
}

std::string DeckLines::Text(int col, int len) const {
    return GetField(fields_, col, len, len);
}

double DeckLines::Real(int col, int len, int decimals) const {
    RequireNumber(col, len, true);
    return GetRealField(fields_, col, len, decimals);
}

int DeckLines::Int(int col, int len) const {
    RequireNumber(col, len, false);
    return GetIntField(fields_, col, len);
}

void DeckLines::RequireNumber(int col, int len, bool pointAllowed) const {
    const std::size_t first = static_cast<std::size_t>(col - 1);
    if (first >= line_.size()) return;
    const std::string_view field = std::string_view(line_).substr(first, static_cast<std::size_t>(len));
    if (!IsNumberField(field, pointAllowed))
        Fail("columns " + std::to_string(col) + "-" + std::to_string(col + len - 1) + " hold \"" + std::string(field) +
             "\", not a number");
}

void DeckLines::Fail(const std::string& reason) const {
    std::fprintf(solver_.Diagnostics(), "%s, line %d: %s\n  %s\n", format_, lineNumber_, reason.c_str(),
                 line_.c_str());
    solver_.Abort(1);
}

void DeckLines::FailAfterReading(const std::string& reason) const {
    std::fprintf(solver_.Diagnostics(), "%s: %s\n", format_, reason.c_str());
    solver_.Abort(1);
}

void TakeLoadsAsPolynomial(Network& network) {
    for (const auto& bus : network.buses) {
        bus->loadPolynomial[0] = bus->loadP;
        bus->loadPolynomial[3] = bus->loadQ;
    }
}
