#include "results_comparison.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "decimal_comma_locale.h"
#include "fixed_metric_measurer.h"
#include "report_interface.h"
#include "results_database_fixture.h"
#include "stored_cases.h"

namespace {

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Two cases of a three-bus system written by hand.
class ResultsComparison : public ResultsDatabaseFixture {
protected:
    ResultsComparison() {
        Script(R"sql(
INSERT INTO Systems (ID, Name) VALUES (1, 'three_bus.pf');
INSERT INTO Solutions (SystemID, ID, Description) VALUES (1, 1, 'Base case'), (1, 2, 'Line out');
INSERT INTO Buses (SystemID, ID, Name) VALUES (1, 1, 'North'), (1, 2, 'Middle'), (1, 3, 'South');
INSERT INTO Branches (SystemID, ID, Name) VALUES (1, 266, 'North-Middle'), (1, 522, 'T1');
INSERT INTO PFBuses (SystemID, Solution, ID, V, Vpu, Vbase, Angle, Pgen, Qgen, Pload, Qload, Pshunt, Qshunt, Type) VALUES
  (1, 1, 1, 115.5, 1.05, 110.0, 0.0, 100.0, 30.0, 0.0, 0.0, 0.0, 0.0, 0),
  (1, 1, 2, 110.0, 1.0, 110.0, -5.0, 0.0, 0.0, 60.0, 20.0, 0.0, 10.0, 1),
  (1, 1, 3, 19.6, 0.98, 20.0, -8.25, 0.0, 0.0, 38.0, 8.0, 1.5, 0.0, 1),
  (1, 2, 1, 114.4, 1.04, 110.0, 0.0, 101.25, 35.5, 0.0, 0.0, 0.0, 0.0, 0),
  (1, 2, 2, 107.8, 0.98, 110.0, -6.5, 0.0, 0.0, 60.0, 20.0, 0.0, 9.604, 1),
  (1, 2, 3, 19.2, 0.96, 20.0, -10.125, 0.0, 0.0, 39.0, 9.0, 1.44, 0.0, 1);
INSERT INTO PFBranches (SystemID, Solution, ID, Type, Ifrom, Ito, Pfrom, Qfrom, Pto, Qto, BusFromID, BusToID) VALUES
  (1, 1, 266, 0, 321.5, 330.25, 61.5, 15.0, -60.5, -12.0, 1, 2),
  (1, 1, 522, 1, 201.0, 1100.0, 38.2, 9.0, -38.0, -8.0, 2, 3),
  (1, 2, 266, 0, 340.0, 352.5, 62.0, 16.5, -60.75, -12.25, 1, 2),
  (1, 2, 522, 1, 210.5, 1180.0, 39.25, 10.0, -39.0, -9.0, 2, 3);
)sql");
    }

    // The comparison of case 1 with case 2 saved as a text file without
    // form feeds; empty when no report was made.
    std::string CompareAndSave(std::string& failure) {
        IDBReport* report = CompareResultCases(database_, {1, 1, "Base case"}, {1, 2, "Line out"},
                                               [this] { return createReport(display_); }, failure);
        if (!report) return {};
        const std::filesystem::path path = folder_ / "comparison.txt";
        EXPECT_TRUE(report->SaveAs(path.c_str(), false));
        EXPECT_STREQ(report->GetTitle(), "Power Flow Results Comparison");
        report->Release();
        return ReadBytes(path);
    }

    FixedMetricMeasurer display_;
};

TEST_F(ResultsComparison, MatchesTheHandWrittenReportInAnyLocale) {
    const std::string golden = ReadBytes(TEST_DATA_DIR "/results_comparison.txt");
    ASSERT_FALSE(golden.empty());
    std::string failure;
    EXPECT_EQ(CompareAndSave(failure), golden) << failure;

    DecimalCommaLocale comma;
    if (comma.Active()) {
        EXPECT_EQ(CompareAndSave(failure), golden) << "with a decimal comma";
    }
}

TEST_F(ResultsComparison, BusLinesAre145WideWithTheTotalsUnderTheFirstPowerColumn) {
    std::string failure;
    const std::vector<std::string> lines = Lines(CompareAndSave(failure));
    std::size_t header = 0;
    while (header < lines.size() && lines[header].find("Bus Name") == std::string::npos) ++header;
    ASSERT_LT(header, lines.size());
    int busLines = 0;
    for (std::size_t i = header; i < lines.size() && lines[i].rfind("TOTAL", 0) != 0; ++i, ++busLines)
        EXPECT_EQ(lines[i].size(), 145u) << i;
    // The header and the rule under it, three blocks of three lines with two rules between them, the closing rule.
    EXPECT_EQ(busLines, 2 + 3 * 3 + 2 + 1);
    // North's Pgen of case 1, and the case-1 total under it, end at column 85.
    EXPECT_EQ(lines[header + 2].substr(73, 12), "     100.000");
    EXPECT_EQ(lines[header + 2].size() > 85 ? lines[header + 2][85] : '?', ' ');
    const std::string& total = lines[header + busLines];
    ASSERT_EQ(total.rfind("TOTAL [Pg1", 0), 0u) << total;
    EXPECT_EQ(total.substr(73, 12), "     100.000");
}

TEST_F(ResultsComparison, FailingStepsMakeNoReport) {
    Script(StoredCaseSql(1, 3, "without branches", 3, 0) + StoredCaseSql(1, 4, "empty", 0, 0));
    int made = 0;
    struct Case {
        int system2, case2;
        const char* failure;
        int reportsMade;
    };
    const Case cases[] = {
        {1, 4, "Not enough data for comparisson!", 0},
        {2, 1, "Not enough data for comparisson!", 0},  // no such system
        {1, 3, "Not enough data for branch comparison!", 1},
    };
    for (const Case& c : cases) {
        made = 0;
        std::string failure;
        IDBReport* report = CompareResultCases(
            database_, {1, 1, "Base case"}, {c.system2, c.case2, "other"},
            [&]() -> IDBReport* {
                ++made;
                return createReport(display_);
            },
            failure);
        EXPECT_EQ(report, nullptr);
        EXPECT_EQ(failure, c.failure);
        EXPECT_EQ(made, c.reportsMade);
    }

    database_.Close();
    std::string failure;
    EXPECT_EQ(CompareResultCases(database_, {1, 1, ""}, {1, 2, ""}, [] { return nullptr; }, failure), nullptr);
    EXPECT_EQ(failure, "Cannot obtain bus results for case1!");
}

}  // namespace
