#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "decimal_character.h"
#include "decimal_comma_locale.h"
#include "report_text.h"

namespace {

// Runs a test under a chosen decimal character and puts the user's back.
class UnderDecimal {
public:
    explicit UnderDecimal(char decimal) : saved_(DecimalCharacter()) { SetDecimalCharacter(decimal); }
    ~UnderDecimal() { SetDecimalCharacter(saved_); }

private:
    char saved_;
};

TEST(TextFunctions, FillAndJustifyIntoColumns) {
    struct Case {
        std::string got;
        std::string expected;
    };
    const Case cases[] = {
        {Space(3), "   "},
        {Space(0), ""},
        {Space(-4), ""},
        {PakStr("ab", 5), "   ab"},
        {PakStr("abcdef", 3), "abc"},
        {PakStr(std::string("ab"), 2), "ab"},
        {PakStr(static_cast<const char*>(nullptr), 2), "  "},
        {PakLStr("ab", 4), "ab  "},
        {PakLStr(std::string("abcdef"), 3), "abc"},
        {PakLStr("ab", -1), ""},
        {Repli('=', 4), "===="},
        {Repli('x', -2), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected);
}

TEST(TextFunctions, ResultsAreCutToTheirBuffers) {
    EXPECT_EQ(std::string(Space(5000)).size(), 1023u);
    EXPECT_EQ(std::string(PakStr("x", 2000)).size(), 1023u);
    EXPECT_EQ(std::string(Str(1.0, 400, 2)).size(), 255u);
}

TEST(TextFunctions, ASecondCallOverwritesTheSharedBuffer) {
    const char* first = PakStr("ab", 5);
    const char* second = Space(2);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "  ");
    // The number buffer is apart from the text buffer.
    const char* number = Str(7L);
    Space(3);
    EXPECT_STREQ(number, "7");
}

TEST(TextFunctions, NumbersUseTheDecimalCharacter) {
    struct Case {
        char decimal;
        double value;
        int width;
        int decimals;
        const char* expected;
    };
    const Case cases[] = {
        {',', 2.5, 6, 1, "   2,5"},
        {'.', 2.5, 6, 1, "   2.5"},
        {',', -1234.567, 0, 2, "-1234,57"},
        {',', 3.0, 4, 0, "   3"},
        {',', 0.5, -6, 2, "0,50  "},  // a negative width pads on the right
        {',', 1.0, 0, -1, "1,000000"},  // a negative count of decimals means 6
    };
    for (const auto& c : cases) {
        UnderDecimal decimal(c.decimal);
        EXPECT_STREQ(Str(c.value, c.width, c.decimals), c.expected) << c.value;
    }
    EXPECT_STREQ(Str(42L, 5), "   42");
    EXPECT_STREQ(Str(-42L), "-42");
}

TEST(TextFunctions, TheProcessLocaleChangesNoNumber) {
    DecimalCommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no decimal-comma locale on this machine";
    UnderDecimal decimal('.');
    EXPECT_STREQ(Str(2.5, 6, 1), "   2.5");
    EXPECT_EQ(BrToSl(21000), "Dvadesethiljada i 00/100");
}

// The user's decimal character comes from the locale the environment names.
TEST(TextFunctions, TheDecimalCharacterIsTheUsersLocales) {
    const char* saved = std::getenv("LC_ALL");
    const std::string previous = saved != nullptr ? saved : "";
    struct Case {
        const char* locale;
        char decimal;
    };
    const Case cases[] = {{"C", '.'}, {"de_DE.UTF-8", ','}, {"no_SUCH.locale", ','}};
    for (const auto& c : cases) {
        ::setenv("LC_ALL", c.locale, 1);
        EXPECT_EQ(UserDecimalCharacter(), c.decimal) << c.locale;
    }
    if (saved != nullptr) {
        ::setenv("LC_ALL", previous.c_str(), 1);
    } else {
        ::unsetenv("LC_ALL");
    }
}

TEST(TextFunctions, DatesAsDayMonthYear) {
    const DateTime march5{2024, 3, 5, 10, 30, 0};
    EXPECT_STREQ(DTOC(march5, true), "05.03.2024");
    EXPECT_STREQ(DTOC(march5, false), "05.03.24");
    EXPECT_STREQ(DTOCDM(march5), "05.03");

    const DateTime february30{2023, 2, 30, 0, 0, 0};
    EXPECT_STREQ(DTOC(february30, true), "-1.-1.-001");
    EXPECT_STREQ(DTOC(february30, false), "-1.-1.-1");
    EXPECT_STREQ(DTOCDM(DateTime{}), "-1.-1");

    EXPECT_TRUE(Date().IsValid());
}

TEST(TextFunctions, MarkersAreThePrinterCodes) {
    struct Case {
        const char* marker;
        const char* bytes;
    };
    const Case cases[] = {
        {fmtBoldStart, "\x1B\x47"},         {fmtBoldEnd, "\x1B\x48"},
        {fmtItalicStart, "\x1B\x34"},       {fmtItalicEnd, "\x1B\x35"},
        {fmtBoldItalicStart, "\x1B\x47\x1B\x34"}, {fmtBoldItalicEnd, "\x1B\x48\x1B\x35"},
        {fmtHighStart, "\x0E"},             {fmtHighEnd, "\x14"},
    };
    for (const auto& c : cases) EXPECT_STREQ(c.marker, c.bytes);
}

}  // namespace
