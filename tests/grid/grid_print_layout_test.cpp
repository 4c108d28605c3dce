#include <gtest/gtest.h>

#include "grid_print_layout.h"

namespace {

TEST(GridPrintLayout, RowsAreLaidIntoBandsThatFitThePage) {
    struct Case {
        const char* name;
        std::vector<int> sizes;
        int first;
        int page;
        std::vector<int> bands;
    };
    const Case cases[] = {
        {"two rows a band", {10, 10, 10, 10, 10}, 0, 25, {0, 2, 4}},
        {"fixed rows left out", {7, 10, 10, 10}, 1, 25, {1, 3}},
        {"a row taller than the page alone", {10, 40, 10}, 0, 25, {0, 1, 2}},
        {"exactly full", {10, 15, 10}, 0, 25, {0, 2}},
        {"page of 0", {10, 10, 10}, 0, 0, {0, 1, 2}},
        {"negative page", {10, 10}, 0, -30, {0, 1}},
        {"hidden rows begin no band", {0, 10, 0, 0, 20, 0}, 0, 25, {0, 4}},
        {"hidden rows on a page of 0", {10, 0, 0, 10}, 0, 0, {0, 3}},
        {"no rows: one band for the headings", {10}, 1, 25, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PrintBands(c.sizes, c.first, c.page), c.bands);
    }
}

}  // namespace
