#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "diagram_pages.h"

namespace {

TEST(DiagramPages, ADiagramTwoAndAHalfPagesWideAndOnePointTwoHighTakesSixPagesAcrossThenDown) {
    // 198 mm across is 1000 units; the longer side follows the pixels.
    const DiagramPages pages({{198, 297}, {2000, 3000}}, {2500, 1800});
    EXPECT_EQ(pages.PageSize(), (Size{1000, 1500}));
    EXPECT_EQ(pages.Extent(), 1000);
    EXPECT_EQ(pages.Columns(), 3);
    EXPECT_EQ(pages.Rows(), 2);
    ASSERT_EQ(pages.Count(), 6);
    const std::vector<Point> origins{{0, 0}, {1000, 0}, {2000, 0}, {0, 1500}, {1000, 1500}, {2000, 1500}};
    for (int page = 1; page <= pages.Count(); ++page) EXPECT_EQ(pages.Origin(page), origins[page - 1]) << page;
}

TEST(DiagramPages, PagesFollowThePapersShorterSideAndPixels) {
    struct Case {
        const char* what;
        PrinterPage printer;
        Size diagram;
        Size page;
        int columns;
        int rows;
    };
    const Case cases[] = {
        {"landscape", {{297, 198}, {3000, 2000}}, {2500, 1800}, {1500, 1000}, 2, 2},
        {"an exact fit", {{198, 297}, {2000, 3000}}, {2000, 1500}, {1000, 1500}, 2, 1},
        {"one unit more", {{198, 297}, {2000, 3000}}, {2001, 1501}, {1000, 1500}, 3, 2},
        {"A4 at 600 dpi", {{210, 297}, {4960, 7016}}, {110, 110}, {1060, 1499}, 1, 1},
        {"a square page", {{198, 198}, {500, 500}}, {1000, 1000}, {1000, 1000}, 1, 1},
        {"a page of no size", {{0, 0}, {0, 0}}, {3, 2}, {1, 1}, 3, 2},
        {"a diagram past every page number", {{198, 297}, {2000, 3000}}, {2000000000, 2000000000}, {1000, 1500},
         DiagramPages::kMostPages, DiagramPages::kMostPages},
    };
    for (const Case& c : cases) {
        const DiagramPages pages(c.printer, c.diagram);
        EXPECT_EQ(pages.PageSize(), c.page) << c.what;
        EXPECT_EQ(pages.Extent(), std::min(c.page.cx, c.page.cy)) << c.what;
        EXPECT_EQ(pages.Columns(), c.columns) << c.what;
        EXPECT_EQ(pages.Rows(), c.rows) << c.what;
        EXPECT_EQ(pages.Count(), std::min(static_cast<long long>(c.columns) * c.rows, 1LL * DiagramPages::kMostPages))
            << c.what;
    }
}

}  // namespace
