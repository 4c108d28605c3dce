#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decimal_comma_locale.h"
#include "casefiles/scenario_lines.h"

namespace {

TEST(ScenarioLines, NumberNameAndTheNumbersThatFollow) {
    struct Case {
        const char* text;
        bool data;
        int number;
        const char* name;
        std::vector<double> numbers;
    };
    const Case cases[] = {
        {"12 NORTH 1.5 -2 +3e-1 4", true, 12, "NORTH", {1.5, -2.0, 0.3, 4.0}},
        {"\t7\tA\t1\r", true, 7, "A", {1.0}},
        {"0 0 1 2", true, 0, "0", {1.0, 2.0}},
        {"3 'NORTH 2' 1 2", true, 3, "NORTH 2", {1.0, 2.0}},
        {"3 \"Bus 1 HV\"1 2", true, 3, "Bus 1 HV", {1.0, 2.0}},
        {"3 'it''s' 1", true, 3, "it", {}},          // the name ends at the next quote
        {"3 'open quote 1 2", true, 3, "open quote 1 2", {}},
        {"3 '' 1", true, 3, "", {1.0}},
        // Numbers end at the first item that is not wholly one.
        {"5 B 1 2,5 3", true, 5, "B", {1.0}},
        {"5 B 1 2x 3", true, 5, "B", {1.0}},
        {"5 B 1 nan 3", true, 5, "B", {1.0}},
        {"5 B 1 +-2", true, 5, "B", {1.0}},
        {"C 5 B 1", false, 0, "", {}},
        {"", false, 0, "", {}},
        {"   ", false, 0, "", {}},
        {"5", false, 0, "", {}},
        {"5.0 B 1", false, 0, "", {}},
        {"NORTH 1 2", false, 0, "", {}},
    };
    DecimalCommaLocale comma;  // numbers read the same whatever the locale
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScenarioLine line;
        ASSERT_EQ(ParseScenarioLine(c.text, line), c.data);
        if (!c.data) continue;
        EXPECT_EQ(line.number, c.number);
        EXPECT_EQ(line.name, c.name);
        EXPECT_EQ(line.numbers, c.numbers);
    }
}

}  // namespace
