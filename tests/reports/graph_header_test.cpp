#include <string>
#include <vector>

#include "graph_fixture.h"
#include "graph_header.h"

namespace {

using Names = std::vector<std::string>;

// The designer lists what the plot will find its columns by.
TEST_F(GraphPlotTest, ColumnNamesAreLineOneOrTwoCutAsThePlotCutsThem) {
    struct Case {
        const char* what;
        std::string contents;
        Names names;
    };
    const Case cases[] = {
        {"every separator", "U1;U2 U3\tU4\n1 2 3 4\n", {"U1", "U2", "U3", "U4"}},
        {"runs and ends", ";; A  ;\t B ;\n", {"A", "B"}},
        {"parameter line", "PARAMETER: Load 3\nV1 V2\n1 2\n", {"V1", "V2"}},
        {"parameter line alone", "PARAMETER: Load 3\n", {}},
        {"lower-case marker", "parameter: Load\nV1\n", {"parameter:", "Load"}},
        {"CR LF", "A\tB\r\n1\t2\r\n", {"A", "B"}},
        {"no line end", "A B", {"A", "B"}},
        {"single-byte names", "U1 \x8A\xE8 U3\n", {"U1", "\x8A\xE8", "U3"}},
        {"empty", "", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadColumnNames(WriteFile("data.txt", c.contents).c_str()), c.names) << c.what;
    }
    EXPECT_EQ(ReadColumnNames(WriteFile("missing/none.txt", "").c_str()), Names{});
    EXPECT_EQ(ReadColumnNames(nullptr), Names{});
}

}  // namespace
