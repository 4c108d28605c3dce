#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "case_file_run.h"
#include "ieee_case_text.h"
#include "recording_line_writer.h"
#include "scratch_folder.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

class SummaryReportTest : public ::testing::Test {
protected:
    // Solves the IEEE case without writing a listing.
    void Solve(const std::string& file, std::vector<std::string> more = {}) {
        std::vector<std::string> items = {"-I", file, "-s"};
        items.insert(items.end(), more.begin(), more.end());
        arguments_ = std::make_unique<RunArguments>(std::move(items));
        ASSERT_EQ(solver_->Main(arguments_->Count(), arguments_->Items(), 0), 1);
    }

    SolverHandle solver_;
    std::unique_ptr<RunArguments> arguments_;
    RecordingLineWriter writer_;
};

TEST_F(SummaryReportTest, TwoBusReportMatchesTheHandWrittenOne) {
    Solve(TestDataPath("two_bus.cdf"));
    solver_->WriteReport(&writer_);
    EXPECT_EQ(writer_.Text(), FileText(TestDataPath("two_bus_report.txt")));
}

// Every bus has its active and its reactive line, whatever the number of its
// branches; the lines of its further branches start blank.
TEST_F(SummaryReportTest, OneLinePairPerBus) {
    Solve(TestDataPath("case118.cdf"));
    solver_->WriteReport(&writer_);
    const std::vector<std::string> lines = Lines(writer_.Text());
    const std::string separator = "--|----|------------|------|-------|--------|--------|--------|----|------------|-|";
    int separators = 0;
    int busLines = 0;
    int branchLines = 0;
    for (std::size_t i = 14; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        ASSERT_GE(line.size(), 63u);
        EXPECT_EQ(line[62], '|') << line;
        if (line.compare(0, separator.size(), separator) == 0)
            ++separators;
        else if (line.find_first_not_of(' ') < 62)
            ++busLines;
        else
            ++branchLines;
    }
    EXPECT_EQ(separators, 118);
    EXPECT_EQ(busLines, 2 * 118);
    EXPECT_EQ(branchLines + busLines, 2 * 2 * 186) << "each branch seen from both ends";
}

// The report brings a bus angle within -pi..pi and keeps it so; without a
// swing bus its line carries the label alone; nothing is written without a
// solved network.
TEST_F(SummaryReportTest, AnglesSwingLineAndNoNetwork) {
    solver_->WriteReport(&writer_);
    EXPECT_EQ(writer_.Text(), "");
    Solve(TestDataPath("two_bus.cdf"));
    NetBus& load = *solver_->FindBus(2);
    load.angle = 7.0;
    NetBus& slack = *solver_->FindBus(1);
    slack.code = "BQ";
    solver_->WriteReport(&writer_);
    EXPECT_NEAR(load.angle, 7.0 - 2.0 * 3.141592654, 1e-12);
    EXPECT_NE(writer_.Text().find("\n    Swing Bus: \n\n"), std::string::npos);
    EXPECT_NE(writer_.Text().find(" 0    2 Load         0.9659   96.59"), std::string::npos);
    EXPECT_NE(writer_.Text().find("  41.07  0.7168 "), std::string::npos) << "7 - 2 pi in degrees and radians";
}

// A machine behind bus 2 (Xd = Xq = 1 p.u., field limit 1.4 p.u.), joined
// to the slack at 1.0 p.u. by X 0.1 p.u. and sending 50 MW, ends at its
// field limit. By hand: sin(dg) = 0.5 x 1.1 / 1.4, Ia = (1.4 at dg - 1) /
// j1.1 = 0.5642 p.u. at -27.59 deg.
TEST_F(SummaryReportTest, MachineLinesFollowItsBus) {
    ScratchFolder folder("summary_report_machine");
    CaseText c;
    c.buses = {BusCard(1, 3).At(85, "1.0000"), BusCard(2, 2).At(59, "    50.00").At(85, "1.0500")};
    c.branches = {BranchCard(1, 2, 0)};
    WriteFileText(folder / "case.cdf", c.Text());
    WriteFileText(folder / "machines.txt", "2 B2 0 1 1 0 1.4 0\n");
    Solve((folder / "case.cdf").string(), {"-3" + (folder / "machines.txt").string()});
    solver_->WriteReport(&writer_);
    const std::vector<std::string> lines = Lines(writer_.Text());
    ASSERT_GE(lines.size(), 2u);
    const std::string blanks(23, ' ');
    EXPECT_EQ(lines[lines.size() - 2], " Gen.-> Ia= 0.5642[pu]  al= -27.59[deg]" + blanks + "|");
    EXPECT_EQ(lines.back(), "        Eq= 1.4000[pu]H dg=  23.13[deg]" + blanks + "|");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.rfind(" Gen.->", 0) == 0; }),
              1)
        << "the slack has no machine";
}

}  // namespace
