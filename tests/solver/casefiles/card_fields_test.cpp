#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "card_field_reference.h"
#include "casefiles/card_fields.h"
#include "decimal_comma_locale.h"
#include "solver.h"

namespace {

using Result = std::variant<std::string, double, int>;

struct Example {
    const char* what;
    Result actual;
    Result expected;
};

// The documented examples of the field readers and the number writer. Built
// when called, so that they run in the locale the test has set.
std::vector<Example> DocumentedExamples() {
    using S = std::string;
    return {
        {"text field: 'BS 12' cols 4-8", GetField("BS 12\n", 4, 5, 5), S("12   ")},
        {"text field: line ends at col 2", GetField("BS\n", 4, 5, 5), S("     ")},
        {"text field: cut to width", GetField("ABCDEFGH\n", 2, 6, 3), S("BCD")},
        {"text field: inner blanks kept", GetField(" A B \n", 1, 5, 7), S(" A B   ")},

        {"real: '  150', 2 dec", GetRealField("  150", 1, 5, 2), 1.5},
        {"real: '1.5', 2 dec", GetRealField("1.5", 1, 3, 2), 1.5},
        {"real: '15   ', 0 dec", GetRealField("15   ", 1, 5, 0), 15000.0},
        {"real: ' 1,5 '", GetRealField(" 1,5 ", 1, 5, 0), 0.0},
        {"real: field after the newline", GetRealField("12\n", 5, 3, 0), 0.0},
        {"real: '  1 5'", GetRealField("  1 5", 1, 5, 0), 105.0},
        {"real: '1.5  '", GetRealField("1.5  ", 1, 5, 0), 1.5},
        {"real: '-  2'", GetRealField("-  2", 1, 4, 0), -2.0},
        {"real: all blank", GetRealField("     \n", 1, 5, 3), 0.0},
        {"real: '12' then newline, 5 cols", GetRealField("12\n", 1, 5, 0), 12000.0},
        {"real: scaled by repeated x0.1", GetRealField("    1", 1, 5, 2), 1 * 0.1 * 0.1},

        {"int: '  12'", GetIntField("  12", 1, 4), 12},
        {"int: '12  '", GetIntField("12  ", 1, 4), 1200},
        {"int: ' 1.2'", GetIntField(" 1.2", 1, 4), 0},

        {"WN(8,2) 1.5", FormatNumber(0, 8, 2, 1.5), S("1.500000")},
        {"WN(8,2) 0.25", FormatNumber(0, 8, 2, 0.25), S(".2500000")},
        {"WN(8,2) -0.25", FormatNumber(0, 8, 2, -0.25), S("-.250000")},
        {"WN(8,2) 0", FormatNumber(0, 8, 2, 0.0), S("0.000000")},
        {"WN(8,2) 1e9", FormatNumber(0, 8, 2, 1e9), S("9999999.")},
        {"WN(8,2) 12345", FormatNumber(0, 8, 2, 12345.0), S("12345.00")},
        {"WN(5,0) 1234", FormatNumber(0, 5, 0, 1234.0), S("1234.")},
        {"WN(5,0) 12345", FormatNumber(0, 5, 0, 12345.0), S("12345")},
        {"WN(5,0) 123456", FormatNumber(0, 5, 0, 123456.0), S("99999")},
        {"WN(2,0) -3", FormatNumber(0, 2, 0, -3.0), S("-3")},
        {"WN(1,2,0) -12", FormatNumber(1, 2, 0, -12.0), S(" -9")},
        {"WN(2,0) -0.0001", FormatNumber(0, 2, 0, -0.0001), S("0")},
        {"WN(3,0) 0.7", FormatNumber(0, 3, 0, 0.7), S(".70")},
        {"WN(2,6,2) 1", FormatNumber(2, 6, 2, 1.0), S("  1.0000")},
        {"WN(5,0) -1e6", FormatNumber(0, 5, 0, -1e6), S("-9999")},
        {"WN(6,2) 1e6", FormatNumber(0, 6, 2, 1e6), S("99999.")},
    };
}

void CheckDocumentedExamples() {
    for (const auto& e : DocumentedExamples()) {
        SCOPED_TRACE(e.what);
        EXPECT_EQ(e.actual, e.expected);
    }
}

TEST(CardFields, DocumentedExamples) { CheckDocumentedExamples(); }

TEST(CardFields, DocumentedExamplesUnderADecimalCommaLocale) {
    DecimalCommaLocale locale;
    if (!locale.Active()) GTEST_SKIP() << "no decimal-comma locale on this machine";
    CheckDocumentedExamples();
}

TEST(CardFields, NumberFieldsRefuseWhatIsNotANumber) {
    struct Case {
        std::string_view field;
        double real;
        int integer;
    };
    const Case cases[] = {
        {"1\t5", 0.0, 0},           // a tab is no blank
        {"1E5", 0.0, 0},            // no exponents on cards
        {std::string_view("1\0" "5", 3), 0.0, 0},
        {"+ 3", 3.0, 3},
        {"+-3", 0.0, 0},            // read no further than the first sign
        {"1-2", 1.0, 1},
        {"99999999999", 99999999999.0, 2147483647},  // the integer saturates
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field));
        int len = static_cast<int>(c.field.size());
        EXPECT_EQ(GetRealField(c.field, 1, len, 0), c.real);
        EXPECT_EQ(GetIntField(c.field, 1, len), c.integer);
    }
}

TEST(CardFields, ALineWithoutItsEndReadsAsOneWithIt) {
    // The last line of a file may lack its newline; a left-justified number
    // in the last field must not change its value for that.
    EXPECT_EQ(GetRealField("  12", 3, 4, 1), GetRealField("  12\n", 3, 4, 1));
    EXPECT_EQ(GetRealField("  12", 3, 4, 1), 120.0);
    EXPECT_EQ(GetIntField("AB 7", 4, 3), 700);
    EXPECT_EQ(GetField("AB 7", 3, 4, 4), " 7  ");
}

// Bits of a double, so that -0 and 0 differ.
std::uint64_t Bits(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The field readers, on the line as given and on the line cut once, agree
// with the column-by-column reading to the bit.
void ExpectFieldsAsReference(std::string_view line, int col, int len, int decimals) {
    namespace reference = card_field_reference;
    SCOPED_TRACE("'" + std::string(line) + "' col " + std::to_string(col) + " len " + std::to_string(len) + " dec " +
                 std::to_string(decimals));
    const FieldLine cut(line);
    const double real = reference::Real(line, col, len, decimals);
    EXPECT_EQ(Bits(GetRealField(line, col, len, decimals)), Bits(real)) << real;
    EXPECT_EQ(Bits(GetRealField(cut, col, len, decimals)), Bits(real)) << real;
    const int integer = reference::Int(line, col, len);
    EXPECT_EQ(GetIntField(line, col, len), integer);
    EXPECT_EQ(GetIntField(cut, col, len), integer);
    const std::string text = reference::Text(line, col, len, len + 2);
    EXPECT_EQ(GetField(line, col, len, len + 2), text);
    EXPECT_EQ(GetField(cut, col, len, len + 2), text);
}

TEST(CardFields, OddFieldsReadAsTheirWorkText) {
    using namespace std::string_literals;
    struct Case {
        std::string line;
        int col;
        int len;
        int decimals;
    };
    const Case cases[] = {
        {"-", 1, 1, 2},           {"-", 1, 3, 2},          {".", 1, 1, 2},           {".", 1, 3, 2},
        {"-.", 1, 2, 0},          {"-. ", 1, 3, 1},        {" - ", 1, 3, 1},         {"  -", 2, 4, 3},
        {"+-", 1, 5, 0},          {"1.2.3", 1, 5, 2},      {"1-2.5", 1, 5, 2},       {"1 . 5", 1, 5, 1},
        {"  -0", 1, 4, 2},        {"-000", 1, 4, 0},       {"  12", 3, 4, 1},        {"12\n34", 1, 6, 0},
        {"12\n34", 4, 2, 0},      {"1\0" "5"s, 1, 3, 0},  {"1\0" "5"s, 3, 1, 0},   {"15\0"s, 1, 2, 0},
        {"15\0"s, 1, 3, 0},      {"\0" "15"s, 2, 2, 0},  {"1\n\0"s, 1, 4, 0},     {"1\r5", 1, 3, 0},
        {"123456789012345", 1, 15, 4},       {"1234567890123456", 1, 16, 4},
        {"1234567890123456789012345", 1, 25, 0}, {"0.1234567890123456789", 1, 21, 0},
        {"12345678901234", 1, 20, 0},        {"-99999999999999999999", 1, 21, 0},
        {"   2147483648", 1, 13, 0},         {"  -2147483648", 1, 13, 0},  {"  -2147483649", 1, 13, 0},
        {"0000000000000000000001", 1, 22, 0}, {"9999999999999999999", 1, 19, 0}, {"-1000000000000000000", 1, 20, 0},
        {"18446744073709551616", 1, 20, 0}, {"1", 0, 3, 0},   {"1", -4, 9, 0},   {"12", 2, 0, 0},
        {"12", 3, 2, 0},          {"12", 2, -1, 0},        {"  7", 1, 3, -2},
    };
    for (const auto& c : cases) ExpectFieldsAsReference(c.line, c.col, c.len, c.decimals);
}

// Random lines of the characters that matter, fields anywhere on them.
TEST(CardFields, RandomFieldsReadAsTheirWorkText) {
    constexpr char kAlphabet[] = "0123456789        ++--..\n\0xE\t";
    std::mt19937 random(16);
    std::uniform_int_distribution<int> pick(0, sizeof kAlphabet - 2);
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> column(-1, 26);
    std::uniform_int_distribution<int> width(-1, 20);
    std::uniform_int_distribution<int> places(0, 7);
    for (int n = 0; n < 100000; ++n) {
        std::string line(static_cast<std::size_t>(length(random)), ' ');
        for (char& c : line) c = kAlphabet[pick(random)];
        // A third of the lines hold nothing that spoils a number, so that
        // their values are read and compared, not only their refusals.
        if (n % 3 == 0)
            std::replace_if(line.begin(), line.end(), [](char c) { return c < ' ' || c == 'x' || c == 'E'; }, ' ');
        ExpectFieldsAsReference(line, column(random), width(random), places(random));
        if (HasFailure()) break;
    }
}

// Every number the writer fits into a field reads back, unscaled, to within
// half a unit of the last place written, and fills the field exactly. (A
// negative number in a field of two or three columns is written shorter, as
// '*', '0' or '0.': see the documented examples.)
TEST(CardFields, WrittenNumbersFillTheirFieldAndReadBack) {
    const double magnitudes[] = {0.000123, 0.0049, 0.5, 0.999, 1.0, 7.25, 42.0, 99.96,
                                 123.456, 9999.4, 12345.678, 654321.0, 3.2e7};
    for (int width = 4; width <= 11; ++width) {
        for (int decimals : {0, 2, 4}) {
            for (double m : magnitudes) {
                for (double value : {m, -m}) {
                    std::string text = FormatNumber(0, width, decimals, value);
                    SCOPED_TRACE(std::to_string(width) + "," + std::to_string(decimals) + ": " +
                                 std::to_string(value) + " -> '" + text + "'");
                    ASSERT_EQ(text.size(), static_cast<size_t>(width));
                    double back = GetRealField(text, 1, width, 0);
                    bool nines = text.find_first_not_of("-9.") == std::string::npos && std::fabs(value) > std::fabs(back);
                    if (nines) continue;
                    size_t point = text.find('.');
                    int places = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
                    EXPECT_LE(std::fabs(back - value), 0.5 * std::pow(10.0, -places) * (1 + 1e-9));
                }
            }
        }
    }
}

TEST(CardFields, SolverWriteNumberWritesToTheFile) {
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    Solver::WriteNumber(file, 1, 6, 4, 1.06);
    Solver::WriteNumber(file, 1, 7, 2, -16.9);
    std::rewind(file);
    char text[32] = {};
    ASSERT_NE(std::fgets(text, sizeof text, file), nullptr);
    std::fclose(file);
    EXPECT_STREQ(text, " 1.0600 -16.900");
}

}  // namespace
