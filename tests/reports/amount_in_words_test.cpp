#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "report_text.h"

namespace {

// Windows-1250 letters of the expected texts.
#define C_CARON "\xE8"
#define S_CAPITAL "\x8A"
#define C_CAPITAL "\xC8"

TEST(AmountInWords, WritesTheAmountInBosnianWords) {
    struct Case {
        double amount;
        std::string words;
    };
    const Case cases[] = {
        {1234.56, "Hiljadadvjestotrideset" C_CARON "etiri i 56/100"},
        {21000, "Dvadesethiljada i 00/100"},
        {600, S_CAPITAL "esto i 00/100"},
        {0, " i 00/100"},
        {0.4, " i 40/100"},
        {11, "Jedanaest i 00/100"},
        {100000, "Stohiljada i 00/100"},
        {2000000000, "Dvijemilijarde i 00/100"},
        {15000, "Petnaesthiljada i 00/100"},
        {4000000, C_CAPITAL "etirimiliona i 00/100"},
        {1001001, "Milionhiljadajedan i 00/100"},
        {999999999999.99, "Devetstodevedesetdevetmilijardidevetstodevedesetdevetmiliona"
                          "devetstodevedesetdevethiljadadevetstodevedesetdevet i 99/100"},
    };
    for (const auto& c : cases) EXPECT_EQ(BrToSl(c.amount), c.words) << c.amount;
}

TEST(AmountInWords, AnAmountOutOfRangeGivesNoText) {
    const double outside[] = {-0.01, 1e12, 999999999999.999, 1e300,
                              std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity()};
    for (double amount : outside) EXPECT_EQ(BrToSl(amount), "") << amount;
}

}  // namespace
