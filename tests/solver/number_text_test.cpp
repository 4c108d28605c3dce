#include "number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace {

std::string Printed(double value, int width, int precision) {
    char text[512];
    std::snprintf(text, sizeof text, "%*.*f", width, precision, value);
    return text;
}

std::string Appended(double value, int width, int precision) {
    std::string out;
    AppendFixed(out, value, width, precision);
    return out;
}

// Ties and near-ties of the decimal asked for, values that round to zero
// with their sign, carries into a new digit, and values past the range of
// an integer count.
TEST(AppendFixedTest, EdgeValuesAsPrintfWritesThem) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        int width;
        int precision;
    } cases[] = {
        {0.125, 8, 2},     {0.375, 8, 2},      {2.675, 8, 2},      {1.005, 8, 2},       {0.5, 4, 0},
        {1.5, 4, 0},       {2.5, 4, 0},        {-0.0, 8, 2},       {-0.004, 8, 2},      {-0.005, 8, 2},
        {99.995, 8, 2},    {999.9999, 6, 3},   {-9.99995, 7, 4},   {123456.785, -12, 2}, {1e15, 8, 2},
        {9.5e14, 8, 1},    {1e300, 8, 2},      {-1e-300, 8, 4},    {inf, 8, 2},         {-inf, 8, 2},
        {std::nan(""), 8, 2}, {0.0001, 1, 9},  {3.14159265, 0, 12}, {-7.0, -8, 0},      {4503599627370495.5, 8, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Appended(c.value, c.width, c.precision), Printed(c.value, c.width, c.precision))
            << c.value << " precision " << c.precision;
}

// Listing-like values of every magnitude, and decimals that end in a 5.
TEST(AppendFixedTest, ManyValuesAsPrintfWritesThem) {
    std::mt19937_64 random(16);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-8, 16);
    std::uniform_int_distribution<int> precision(0, 9);
    for (int i = 0; i < 200000; ++i) {
        const int p = precision(random);
        double value = mantissa(random) * std::pow(10.0, exponent(random));
        // Every fourth value a decimal half of the last place asked for.
        if (i % 4 == 0) value = (std::round(value * std::pow(10.0, p)) + 0.5) / std::pow(10.0, p);
        ASSERT_EQ(Appended(value, 8, p), Printed(value, 8, p)) << value << " precision " << p;
    }
}

}  // namespace

namespace {

double Parsed(const std::string& text) {
    double value = -12345.0;
    return ParseDouble(text, value) ? value : -12345.0;
}

// The value strtod gives for the number at the start of the text (in the
// C locale, which the tests run in), or the mark when none stands there.
double ReadByC(const std::string& text) {
    const char* start = text.c_str();
    while (*start == ' ') ++start;
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    return end == start ? -12345.0 : value;
}

// Plain decimals, as case files hold them, read to the same bits as the
// C library reads them; exponents, long digit strings and signs beside.
TEST(ParseDoubleTest, DecimalsReadAsTheCLibraryReadsThem) {
    for (const char* text : {"0", "-0", "+1.5", "  12.25", "1.", ".5", "0000012.50", "123456789012345",
                             "1234567890123456", "0.1234567890123456789", "1e3", "2.5E-2", "1.2.3", "12-3",
                             "99999999.99", "-0.000", "0.30000000000000004"}) {
        const double parsed = Parsed(text);
        EXPECT_EQ(std::signbit(parsed), std::signbit(ReadByC(text))) << text;
        EXPECT_EQ(parsed, ReadByC(text)) << text;
    }
    EXPECT_EQ(Parsed("."), -12345.0);
    EXPECT_EQ(Parsed("--1"), -12345.0);
}

TEST(ParseDoubleTest, ManyDecimalsReadAsTheCLibraryReadsThem) {
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-6, 12);
    std::uniform_int_distribution<int> precision(0, 12);
    for (int i = 0; i < 200000; ++i) {
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", precision(random), mantissa(random) * std::pow(10.0, exponent(random)));
        ASSERT_EQ(Parsed(text), ReadByC(text)) << text;
    }
}

}  // namespace
