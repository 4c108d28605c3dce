#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "case_file_run.h"
#include "decimal_comma_locale.h"
#include "ieee_case_text.h"
#include "number_text.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

constexpr double kDegree = 3.141592654 / 180.0;

class SolutionListingTest : public ::testing::Test {
protected:
    bool Read(const std::string& path, std::vector<std::string> options = {}) {
        options.insert(options.begin(), "-I");
        arguments_ = std::make_unique<RunArguments>(std::move(options));
        return ReadCaseFile(*solver_, *arguments_, path);
    }
    bool ReadText(const std::string& text, std::vector<std::string> options = {}) {
        WriteFileText(folder_ / "input.cdf", text);
        return Read((folder_ / "input.cdf").string(), std::move(options));
    }
    std::string Listing() {
        solver_->WriteSolution((folder_ / "listing.txt").c_str());
        return FileText(folder_ / "listing.txt");
    }
    NetBus& Bus(int number) const { return *solver_->FindBus(number); }

    SolverHandle solver_;
    std::unique_ptr<RunArguments> arguments_;
    ScratchFolder folder_{"solution_listing"};
};

TEST_F(SolutionListingTest, TwoBusesMatchTheHandWrittenListing) {
    // Slack 1.0 p.u. at 0 degrees feeding 50 MW over X = 0.5 p.u.: the load
    // bus settles at cos 15 degrees, 15 degrees behind; the line draws
    // 2 (1 - cos^2 15) = 0.134 p.u. of reactive power from the slack.
    ASSERT_TRUE(Read(TestDataPath("two_bus.cdf")));
    NetBus& slack = Bus(1);
    NetBus& load = Bus(2);
    load.voltage = std::cos(15.0 * kDegree);
    load.angle = -15.0 * kDegree;
    slack.generationP = 0.5;
    slack.generationQ = 2.0 * (1.0 - load.voltage * load.voltage);
    const std::string golden = FileText(TestDataPath("two_bus_listing.txt"));
    EXPECT_EQ(Listing(), golden);

    DecimalCommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no decimal-comma locale on this machine";
    EXPECT_EQ(Listing(), golden) << "numbers in the C locale whatever the process locale";
}

TEST_F(SolutionListingTest, AreasListTheirTieLines) {
    ASSERT_TRUE(ReadText(TwoAreas().Text()));
    // 50 MW from area 1 into area 2 over the tie 2-3 (X = 0.1 p.u.).
    Bus(3).voltage = 1.0;
    for (int number : {3, 4}) Bus(number).angle = -std::asin(0.05);
    const std::vector<std::string> lines = Lines(Listing());
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[2].substr(0, 8), " 1    1 ") << "each bus shows its area";
    EXPECT_EQ(lines[8].substr(0, 8), " 2    3 ") << "area by area";
    auto padded = [](std::string text, std::size_t width) {
        text.resize(width, ' ');
        return text;
    };
    const std::string tie = "   3 " + padded("B3", 12) + "    2 " + padded("B2", 12) + " 1 ";
    const std::string blanks51(51, ' ');
    const std::vector<std::string> areaBlock(lines.begin() + 14, lines.end());
    EXPECT_EQ(areaBlock, (std::vector<std::string>{
                             "",
                             "",
                             "AREA DATA",
                             "-99",
                             " 1 " + padded("North", 30) + "    1 " + padded("B1", 12) + "|" + tie + "   50.00  2",
                             blanks51 + "| MW EXPORT : 50.00       MW SCHED  : 12.50     ",
                             "-99",
                             " 2 " + padded("AREA_2", 30) + "    3 " + padded("B3", 12) + "|" + tie + "  -50.00  1",
                             blanks51 + "| MW EXPORT : -50.00      MW SCHED  : -12.50    ",
                             "",
                             "STAT DATA",
                         }));
}

TEST_F(SolutionListingTest, TransformerRowsAndBusesWithoutKv) {
    CaseText c = TwoBuses();
    c.buses[1] = CardLine(c.buses[1]).At(77, "   0.00");
    c.branches = {BranchCard(1, 2, 1).At(77, "1.0500").At(84, "  -5.00")};
    ASSERT_TRUE(ReadText(c.Text()));
    const std::vector<std::string> lines = Lines(Listing());
    ASSERT_GE(lines.size(), 6u);
    // At the from end the ratio is 1 / t when a kV is missing; at the to end
    // its reciprocal. The phase shift follows the reactive losses.
    EXPECT_EQ(lines[2].substr(84), " 1.0500   ");
    EXPECT_EQ(lines[3].substr(84), " -5.000 ");
    EXPECT_EQ(lines[4].substr(15, 7), std::string(7, ' ')) << "no kV value";
    EXPECT_EQ(lines[4].substr(75), std::string(8, ' ') + "  0.9524   ") << "no current without kV";
    EXPECT_EQ(lines[5].substr(84), " -5.000 ");
}

TEST_F(SolutionListingTest, BusWithoutBranchesTakesOneLineWithItsLimitLetter) {
    struct Case {
        const char* what;
        double maxQ, minQ, q;
        double maxS;  // apparent-power limit of the bus, p.u.
        std::vector<std::string> options;
        char letter;
    };
    const double capability = std::sqrt(0.6 * 0.6 - 0.5 * 0.5);
    const Case cases[] = {
        {"at Qmax", 1.0, -1.0, 1.0, kUnlimited, {}, 'H'},
        {"at Qmin", 1.0, -1.0, -1.0, kUnlimited, {}, 'L'},
        {"over Qmax", 1.0, -1.0, 1.5, kUnlimited, {}, 'O'},
        {"under Qmin", 1.0, -1.0, -1.5, kUnlimited, {}, 'U'},
        {"within", 1.0, -1.0, 0.2, kUnlimited, {}, ' '},
        {"equal limits", 0.5, 0.5, 0.7, kUnlimited, {}, ' '},
        {"at its capability", 1.0, -1.0, capability, 0.6, {}, 'H'},
        {"capability not shown with option 9", 1.0, -1.0, 0.4, 0.6, {"-9"}, ' '},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(ReadText(TwoBuses().Text(), c.options));
        NetBus& bus = Bus(1);
        bus.branches.clear();
        Bus(2).branches.clear();
        bus.maxQ = c.maxQ;
        bus.minQ = c.minQ;
        bus.generationQ = c.q;
        bus.generationP = 0.5;
        bus.maxS = c.maxS;
        const std::string line = Lines(Listing())[2];
        const std::string head = " 0    1 1.0500  105.00    50.00     0.00     0.00 ";
        EXPECT_EQ(line, head + std::string(8, ' ') + FormatInCLocale("  0.00  0.0000 %8.2f%c    0.00     0.00 ",
                                                                     c.q * 100.0, c.letter));
    }
}

TEST_F(SolutionListingTest, OutputsFollowTheOptions) {
    struct Case {
        const char* what;
        std::vector<std::string> options;
        bool listing;
        const char* caseFirstLine;  // of the case file written, or null
    };
    const Case cases[] = {
        {"listing only", {}, true, nullptr},
        {"no listing with s", {"-s"}, false, nullptr},
        {"w: the case file in card mode", {"-w@"}, true, "CARD"},
        {"W: the case file in tape mode", {"-s", "-W@"}, false, "TAPE"},
    };
    const std::string caseFile = (folder_ / "case.cdf").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> options;
        for (const std::string& option : c.options) options.push_back(option.back() == '@' ? option.substr(0, 2) + caseFile : option);
        ASSERT_TRUE(ReadText(TwoBuses().Text(), options));
        solver_->WriteOutputs((folder_ / "listing.txt").c_str());
        EXPECT_EQ(std::filesystem::exists(folder_ / "listing.txt"), c.listing);
        if (c.listing) {
            EXPECT_EQ(Lines(FileText(folder_ / "listing.txt")).at(0), "GENERATED BY Quellmark");
        }
        EXPECT_EQ(std::filesystem::exists(caseFile), c.caseFirstLine != nullptr);
        if (c.caseFirstLine) {
            EXPECT_EQ(Lines(FileText(caseFile)).at(0), c.caseFirstLine);
        }
        std::filesystem::remove(folder_ / "listing.txt");
        std::filesystem::remove(caseFile);
    }
}

TEST_F(SolutionListingTest, StandardOutputOnlyWithoutAName) {
    ASSERT_TRUE(ReadText(TwoBuses().Text()));
    testing::internal::CaptureStdout();
    solver_->WriteOutputs(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout().rfind("GENERATED BY Quellmark\nAC DATA\n", 0), 0u);

    testing::internal::CaptureStdout();
    EXPECT_THROW(solver_->WriteOutputs((folder_ / "no_such_folder" / "listing.txt").c_str()), SolverAbort);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace
