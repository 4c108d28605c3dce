// Linked against the shared library alone: everything the program uses must
// be exported by it.

#include <gtest/gtest.h>

#include <string>

#include "fixed_metric_measurer.h"
#include "report_fixture.h"
#include "report_text.h"

namespace {

TEST(LibraryExports, AReportIsWrittenThroughTheExports) {
    FixedMetricMeasurer display;
    ReportHandle report = NewReport(display);
    ASSERT_NE(report, nullptr);
    report->SetPageType(2);
    *report << fmtHighStart << "TITLE" << fmtHighEnd << NL << fmtBoldStart << "bold" << fmtBoldEnd
            << PakStr("x", 3) << Space(1) << Repli('*', 2) << PakLStr("y", 2) << NL;
    EXPECT_EQ(report->GetPageCount(), 1);
    EXPECT_NE(report->GetPageMetafile(1), nullptr);
    EXPECT_EQ(SavedBytes(*report).substr(3), "\x0ETITLE\x14\r\n\x1BGbold\x1BH  x **y \r\n");
    EXPECT_FALSE(BrToSl(1.0).empty());
    EXPECT_NE(Str(1L), nullptr);
    EXPECT_TRUE(Date().IsValid());
    EXPECT_NE(DTOC(Date(), true), nullptr);
    EXPECT_NE(DTOCDM(Date()), nullptr);
    EXPECT_NE(Str(1.0, 3, 1), nullptr);
    EXPECT_NE(Str(1L, 3), nullptr);
    const char* const markers[] = {fmtBoldStart,       fmtBoldEnd,       fmtItalicStart, fmtItalicEnd,
                                   fmtBoldItalicStart, fmtBoldItalicEnd, fmtHighStart,   fmtHighEnd};
    for (const char* marker : markers) EXPECT_GT(std::string(marker).size(), 0u);
}

}  // namespace
