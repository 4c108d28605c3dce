#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "branch_data.h"
#include "two_port_rules.h"

namespace {

namespace BD = BranchData;

std::vector<double> Record(double rating, double current, double pFrom, double qFrom, double pTo, double qTo) {
    std::vector<double> record(BD::kCount, 0.0);
    record[BD::kRating] = rating;
    record[BD::kCurrent] = current;
    record[BD::kPFrom] = pFrom;
    record[BD::kQFrom] = qFrom;
    record[BD::kPTo] = pTo;
    record[BD::kQTo] = qTo;
    return record;
}

TEST(TwoPortRules, LoadFactorTexts) {
    EXPECT_EQ(LineLoadFactorText(Record(0, 50, 0, 0, 0, 0)), "Imax not defined");
    EXPECT_EQ(LineLoadFactorText(Record(400, 123, 0, 0, 0, 0)), "30.75");
    EXPECT_EQ(TransformerLoadFactorText(Record(0, 0, 30, 40, 0, 0)), "Sn not defined");
    // The larger end power: 50 MVA at the to end over 40 MVA.
    EXPECT_EQ(TransformerLoadFactorText(Record(40, 0, -24, 18, 30, -40)), "125.00");
    EXPECT_EQ(TransformerLoadFactorText(Record(-5, 0, 30, 40, 0, 0)), "Sn not defined");
}

TEST(TwoPortRules, LoadFactorFlagOfTheCheckAndItsStyle) {
    EXPECT_EQ(LoadFactorFlag(false, true), 0);
    EXPECT_EQ(LoadFactorFlag(false, false), 0);
    EXPECT_EQ(LoadFactorFlag(true, true), 2);
    EXPECT_EQ(LoadFactorFlag(true, false), 1);
}

TEST(TwoPortRules, RegulationLayoutByTypeAndTapSide) {
    struct Case {
        int type;
        bool tapAtFrom;
        bool controlledBusEnabled;
        const char* minimumLabel;
        std::optional<bool> fromTapEnabled;
        std::optional<bool> toTapEnabled;
        const char* first;
        const char* second;
        int firstIndex;
    };
    const Case cases[] = {
        {0, true, true, "Min tap [kV]:", false, true, nullptr, nullptr, BD::kBandMinimum},
        {0, false, true, "Min tap [kV]:", true, false, nullptr, nullptr, BD::kBandMinimum},
        {1, true, false, "Min tap [kV]:", false, true, "Scheduled MVAr of 'To' bus:", nullptr, BD::kBandMinimum},
        {2, false, false, "Min tap [kV]:", true, false, "Max MVAr out of 'To' bus:", "Min MVAr out of 'To':",
         BD::kBandMaximum},
        {3, true, false, "Min phase angle [deg]:", std::nullopt, std::nullopt, "Scheduled MW of 'To\" bus:", nullptr,
         BD::kBandMinimum},
        {4, false, false, "Min phase angle [deg]:", std::nullopt, std::nullopt, "Max MW out of 'To' bus:",
         "Min MW out of 'To':", BD::kBandMaximum},
    };
    auto same = [](const char* a, const char* b) { return (a == nullptr) == (b == nullptr) && (!a || !std::strcmp(a, b)); };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << (c.tapAtFrom ? " from" : " to"));
        const RegulationLayout layout = RegulationLayoutFor(c.type, c.tapAtFrom);
        EXPECT_EQ(layout.controlledBusEnabled, c.controlledBusEnabled);
        EXPECT_STREQ(layout.minimumLabel, c.minimumLabel);
        EXPECT_STREQ(layout.maximumLabel, c.type >= 3 ? "Max phase angle [deg]:" : "Max tap [kV]:");
        EXPECT_EQ(layout.fromTapEnabled, c.fromTapEnabled);
        EXPECT_EQ(layout.toTapEnabled, c.toTapEnabled);
        EXPECT_TRUE(same(layout.firstQuantityLabel, c.first)) << layout.firstQuantityLabel;
        EXPECT_TRUE(same(layout.secondQuantityLabel, c.second));
        EXPECT_EQ(layout.firstQuantityIndex, c.firstIndex);
        EXPECT_EQ(layout.secondQuantityIndex, BD::kBandMinimum);
    }
}

}  // namespace
