#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "decimal_comma_locale.h"
#include "pv_curve_table.h"

namespace {

struct Case {
    const char* what;
    std::string table;
    bool usable;
    std::vector<std::string> yNames;  // in the order offered
    std::string xName;
};

TEST(PvCurveTable, OffersTheColumnsOfACurveLargestDropFirst) {
    // Numbers are read in the C locale whatever the user's is.
    DecimalCommaLocale comma;
    const Case cases[] = {
        {"header only", "V1\tV2\tP\n", false, {}, ""},
        {"fewer than two names", "P\n1\n2\n3\n", false, {}, ""},
        {"a row of another width", "V1 P\n1 1\n0.9 2 5\n0.8 3\n", false, {}, ""},
        {"a row of another width after three rows", "V1 P\n1 1\n0.9 2\n0.8 3\n0.7\n", false, {}, ""},
        {"two rows without a nose", "V1 P\n1 1\n0.9 2\n", false, {}, ""},
        {"three rising rows", "V1 V2 P\n1 1 1\n0.9 0.95 2\n0.8 0.97 3\n", true, {"V1", "V2"}, "P"},
        // The changes run to the row of highest load, not to the nose, and
        // what follows the nose is not read.
        {"a nose", "V1 V2 P\n1 1 1\n0.99 0.9 2\n0.9 0.8 3\n0.2 0.9 2.5\nbad\n", true, {"V2", "V1"}, "P"},
        {"an equal load does not replace the row", "V1 V2 P\n1 1 1\n0.9 0.95 2\n0.99 0.5 2\n", true, {"V1", "V2"}, "P"},
        {"an equal load does not end the reading", "V1 V2 P\n1 1 1\n0.9 0.95 2\n0.99 0.5 2\n0.95 0.6 3\n", true,
         {"V2", "V1"}, "P"},
        {"CR LF, blank lines and trailing tabs", "V1\tV2\tP\t\r\n\r\n1\t1\t1\t\r\n0.9\t0.8\t2\t\r\n0.95\t0.7\t3\t\r\n",
         true, {"V2", "V1"}, "P"},
        {"a last line without a line end", "V1 V2 P\n1 1 1\n0.9 0.8 2\n0.7 0.9 3", true, {"V1", "V2"}, "P"},
        {"a token that is no number reads as 0", "V1 V2 P\nn/a 1 1\n0.9 0.9 2\n0.8 0.95 3\n", true, {"V2", "V1"}, "P"},
        // Changes [-1, -2, -2, 0]: equal changes keep their order.
        {"the selection sort", "A B C D P\n0 0 0 0 1\n0 0 0 0 2\n-1 -2 -2 0 3\n", true, {"B", "C", "A", "D"}, "P"},
    };
    for (const Case& c : cases) {
        std::istringstream table(c.table);
        const PvCurveColumns columns = ReadPvCurveColumns(table);
        EXPECT_EQ(columns.usable, c.usable) << c.what;
        EXPECT_EQ(columns.yNames, c.yNames) << c.what;
        EXPECT_EQ(columns.xName, c.xName) << c.what;
    }
}

}  // namespace
