// The power-flow report of a model holding solved results, saved as the
// report's printer text file and compared with a file written by hand.

#include <gtest/gtest.h>

#include "model_report_fixture.h"

namespace {

using PowerFlowReport = ModelReportTest;

TEST_F(PowerFlowReport, SavedAsTheHandWrittenFile) {
    ReportHandle report(model().PowerFlowReport("Three buses", 0));
    ASSERT_TRUE(report);
    EXPECT_STREQ(report->GetTitle(), "Power Flow Results: Three buses");
    EXPECT_EQ(SavedBytes(*report), FileBytes(TEST_DATA_DIR "/power_flow_report.txt"));
}

TEST_F(PowerFlowReport, ReadsTheBusesOneByOneWithoutATitleText) {
    // A study left grouping on; the report reads every bus on its own.
    model().GetRecordCursor();
    ReportHandle report(model().PowerFlowReport(nullptr, 0));
    ASSERT_TRUE(report);
    EXPECT_STREQ(report->GetTitle(), "Power Flow Results: ");
    EXPECT_FALSE(model().IsGroupingBuses());
}

TEST_F(PowerFlowReport, NoReportWithoutItsMakerOrDisplay) {
    model().SetReportMaker(nullptr);
    EXPECT_EQ(model().PowerFlowReport("x", 0), nullptr);
    model().SetReportMaker(&createReport);
    model().SetTextMeasurer(nullptr);
    EXPECT_EQ(model().PowerFlowReport("x", 0), nullptr);
}

}  // namespace
