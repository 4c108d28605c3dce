#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "case_file_run.h"
#include "decimal_comma_locale.h"
#include "ieee_case_text.h"
#include "network_digest.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

constexpr double kDegree = 3.141592654 / 180.0;

// Every line but the title card, which carries the date of writing.
std::vector<std::string> LinesButTitle(const std::string& text) {
    std::vector<std::string> lines = Lines(text);
    if (lines.size() > 1) lines.erase(lines.begin() + 1);
    return lines;
}

// Two areas with a generator holding a remote voltage, a bus with
// scheduled Mvar, transformers of every kind, a rating and a 50 MVA base.
CaseText RichCase() {
    CaseText c = TwoAreas();
    c.title = CardLine(c.title).At(32, "  50.0");
    c.buses[0] = CardLine(c.buses[0]).At(91, "   80.00").At(99, "  -20.00");
    c.buses[2] = CardLine(c.buses[2]).At(91, "   60.00").At(99, "  -30.00");
    c.buses[1] = CardLine(c.buses[1]).At(41, "    20.00").At(50, "     5.00").At(115, "  0.0500");
    c.buses.push_back(BusCard(5, 1).At(19, " 2").At(68, "   10.00").At(91, "    1.10").At(99, "    0.90"));
    c.buses.push_back(BusCard(6, 2).At(19, " 2").At(85, "1.0300").At(91, "   50.00").At(99, "  -50.00").At(124, "   7"));
    c.buses.push_back(BusCard(7, 0).At(19, " 2").At(34, " -12.30"));
    c.buses.push_back(BusCard(8, 0).At(19, " 2"));
    c.buses.push_back(BusCard(9, 0).At(19, " 2"));
    c.branches[0] = CardLine(c.branches[0]).At(20, "  0.012000").At(41, "  0.04000").At(51, "   33");
    c.branches.push_back(BranchCard(4, 5, 0));
    c.branches.push_back(BranchCard(4, 6, 1).At(77, "0.9750").At(84, "  -5.00"));
    c.branches.push_back(BranchCard(6, 7, 0));
    c.branches.push_back(
        BranchCard(4, 8, 2).At(69, "   8").At(91, "   0.90").At(98, "   1.10").At(113, "0.98000").At(120, "1.02000"));
    c.branches.push_back(
        BranchCard(4, 9, 2).At(69, "   9").At(91, "   0.90").At(98, "   1.10").At(113, "1.01000").At(120, "1.01000"));
    c.branches.push_back(
        BranchCard(8, 9, 3).At(69, "   9").At(91, "   0.90").At(98, "   1.10").At(113, "  10.00").At(120, "  20.00"));
    c.branches.push_back(
        BranchCard(7, 9, 4).At(69, "   9").At(91, " -30.00").At(98, "  30.00").At(113, "  40.00").At(120, "  40.00"));
    return c;
}

class IeeeCdfWriterTest : public ::testing::Test {
protected:
    bool Read(const std::string& path, std::vector<std::string> options = {}) {
        Fresh();
        options.insert(options.begin(), "-I");
        arguments_.emplace(std::move(options));
        return ReadCaseFile(S(), *arguments_, path);
    }
    bool ReadText(const std::string& text, std::vector<std::string> options = {}) {
        WriteFileText(folder_ / "input.cdf", text);
        return Read((folder_ / "input.cdf").string(), std::move(options));
    }
    // Writes the model read last; the file's text.
    std::string Write(const std::string& name, int cardFlag) {
        EXPECT_EQ(S().WriteIeeeCdf((folder_ / name).c_str(), cardFlag), 0);
        return FileText(folder_ / name);
    }
    void Fresh() { solver_ = std::make_unique<SolverHandle>(); }
    Solver& S() const { return **solver_; }
    NetBus& Bus(int number) const { return *S().FindBus(number); }

    std::unique_ptr<SolverHandle> solver_;
    std::optional<RunArguments> arguments_;
    ScratchFolder folder_{"ieee_cdf_writer"};
};

TEST_F(IeeeCdfWriterTest, TwoBusesInTapeAndCardMode) {
    const std::vector<std::string> tape = {
        "TAPE",
        "BUS DATA FOLLOWS                      2 ITEMS",
        // Number, name, area, zone, type, V, angle, load MW and Mvar, generation MW and Mvar (to column 75),
        // kV, desired V, Qmax and Qmin (open limits as nines), shunt G and B, remote bus.
        "   1 B1            0  1  3 1.0500 0.0000 0.000000 0.000000 0.000000 0.00000"
        " 100.000 1.0500 999999. -99999. 0.00000 0.00000    0",
        "   2 B2            0  1  0 1.0000 0.0000 50.00000 0.000000 0.000000 0.00000"
        " 100.000 1.0000 0.00000 0.00000 0.00000 0.00000    0",
        "-999",
        "BRANCH DATA FOLLOWS                   1 ITEMS",
        // From, to, area, zone, circuit, type, R, X, charging, rating, blanks, controlled bus, side.
        "   1    2  0  1 1 0 0.0000000 .10000000 0.0000000     0" + std::string(12, ' ') + "    0 0 ",
        "-999",
        "LOSS ZONES FOLLOW                     0 ITEMS",
        "-99",
        "INTERCHANGE DATA FOLLOWS              0 ITEMS",
        "-9",
        "TIE LINES FOLLOW                      0 ITEMS",
        "-999",
        "END OF DATA",
    };
    ASSERT_TRUE(ReadText(TwoBuses().Text()));
    const std::string text = Write("tape.cdf", 0);
    EXPECT_EQ(LinesButTitle(text), tape);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\r'), std::string::npos);

    // Date in 2-9, originator, the base in 32-37, year, season, title 46-73.
    const std::string title = Lines(text)[1];
    ASSERT_EQ(title.size(), 73u);
    EXPECT_EQ(title[3], '/');
    EXPECT_EQ(title[6], '/');
    EXPECT_EQ(title.substr(9, 22), " Quellmark" + std::string(12, ' '));
    EXPECT_EQ(title.substr(31, 6), "100.00");
    EXPECT_EQ(title.substr(45), "Test case                   ");
    EXPECT_TRUE(title[43] == 'W' || title[43] == 'S');

    // Card mode: a bus record breaks after its generator Mvar (column 75).
    std::vector<std::string> card = tape;
    card[0] = "CARD";
    for (int i : {3, 2}) {
        card.insert(card.begin() + i + 1, card[i].substr(75));
        card[i].resize(75);
    }
    EXPECT_EQ(LinesButTitle(Write("card.cdf", 1)), card);
}

TEST_F(IeeeCdfWriterTest, ReadBackGivesTheSameModel) {
    WriteFileText(folder_ / "rich.cdf", RichCase().Text());
    const std::string sources[] = {TestDataPath("case14.cdf"), TestDataPath("case30.cdf"), TestDataPath("case118.cdf"),
                                   (folder_ / "rich.cdf").string()};
    for (const std::string& source : sources) {
        for (int cardFlag : {0, 1}) {
            SCOPED_TRACE(source + (cardFlag ? " card" : " tape"));
            ASSERT_TRUE(Read(source));
            std::unique_ptr<SolverHandle> original = std::move(solver_);
            EXPECT_EQ((**original).WriteIeeeCdf((folder_ / "first.cdf").c_str(), cardFlag), 0);
            const std::string first = FileText(folder_ / "first.cdf");

            ASSERT_TRUE(Read((folder_ / "first.cdf").string()));
            ExpectSameNetwork(*(**original).GetNetwork(), *S().GetNetwork(), 1e-9);
            EXPECT_EQ(LinesButTitle(Write("second.cdf", cardFlag)), LinesButTitle(first));
        }
    }
}

TEST_F(IeeeCdfWriterTest, RichCaseKeepsItsControls) {
    WriteFileText(folder_ / "rich.cdf", RichCase().Text());
    ASSERT_TRUE(Read((folder_ / "rich.cdf").string()));
    const std::vector<std::string> lines = Lines(Write("rich_out.cdf", 0));
    auto line = [&](const char* start) {
        for (const auto& l : lines)
            if (l.rfind(start, 0) == 0) return l;
        return std::string();
    };
    EXPECT_EQ(lines[1].substr(31, 6), "50.000");
    EXPECT_EQ(line("   6 ").substr(84, 6), "1.0300") << "a remote generator's desired voltage";
    EXPECT_EQ(line("   6 ").substr(123, 4), "   7");
    EXPECT_EQ(line("   5 ").substr(24, 2), " 1");
    EXPECT_EQ(line("   5 ").substr(91, 15), "1.10000 .900000") << "Vmax and Vmin of a bus with scheduled Mvar";
    EXPECT_EQ(line("   1    2 ").substr(49, 6), "    33") << "a whole rating is not rounded up";
    EXPECT_EQ(line("   7    9 ").substr(18, 1), "4");
    EXPECT_EQ(line("   7    9 ").substr(91, 13), "-30.00 30.000");
    const std::vector<std::string> tail(lines.end() - 8, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "INTERCHANGE DATA FOLLOWS              2 ITEMS",
                        " 1    1 B1           12.5000" + std::string(17, ' ') + "North" + std::string(25, ' '),
                        " 2    3 B3           -12.500" + std::string(17, ' ') + "AREA_2" + std::string(24, ' '),
                        "-9",
                        "TIE LINES FOLLOW                      1 ITEMS",
                        "   3   2     2   1  1",
                        "-999",
                        "END OF DATA",
                    }));
}

TEST_F(IeeeCdfWriterTest, OneAreaWritesNoAreas) {
    // Every bus and the tie 2-3 in area 1: a single area is dropped, with
    // the links of buses and branches to it.
    CaseText c = TwoAreas();
    for (int i : {2, 3}) c.buses[i] = CardLine(c.buses[i]).At(19, " 1");
    c.tail = {"INTERCHANGE DATA FOLLOWS", c.tail[1], "-9"};
    ASSERT_TRUE(ReadText(c.Text()));
    EXPECT_TRUE(S().GetNetwork()->areas.empty());
    for (const auto& branch : S().GetNetwork()->branches) EXPECT_EQ(branch->area, nullptr);
    const std::vector<std::string> lines = Lines(Write("one_area.cdf", 0));
    ASSERT_EQ(lines.size(), 20u);
    for (int i = 3; i <= 6; ++i) EXPECT_EQ(lines[i].substr(18, 2), " 0") << lines[i];
    for (int i = 9; i <= 11; ++i) EXPECT_EQ(lines[i].substr(10, 2), " 0") << lines[i];
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 15, lines.end()),
              (std::vector<std::string>{"INTERCHANGE DATA FOLLOWS              0 ITEMS", "-9",
                                        "TIE LINES FOLLOW                      0 ITEMS", "-999", "END OF DATA"}));
}

TEST_F(IeeeCdfWriterTest, ValuesFormedForTheFileOnly) {
    ASSERT_TRUE(ReadText(TwoBuses().Text()));
    Network& network = *S().GetNetwork();
    NetBranch& line = *network.branches[0];
    line.fromShuntB = 0.01;
    line.toShuntB = 0.02;
    line.rating = kUnlimited;
    struct Case {
        double angleDegrees;
        const char* written;
    };
    NetBus& load = Bus(2);
    for (const Case& c : {Case{370.0, " 10.000"}, Case{-190.0, " 170.00"}, Case{190.0, " -170.0"}}) {
        SCOPED_TRACE(c.angleDegrees);
        load.angle = c.angleDegrees * kDegree;
        const std::vector<std::string> lines = Lines(Write("values.cdf", 0));
        EXPECT_EQ(lines[4].substr(33, 7), c.written);
        EXPECT_DOUBLE_EQ(load.angle, c.angleDegrees * kDegree) << "the model keeps its angle";
        EXPECT_EQ(lines[3].substr(114, 8), " .010000") << "the from end's susceptance joins the bus shunt";
        EXPECT_EQ(lines[4].substr(114, 8), " .020000");
        EXPECT_EQ(lines[7].substr(39, 10), " 0.0000000") << "no charging with unequal ends";
        EXPECT_EQ(lines[7].substr(49, 6), " 99999") << "no rating";
    }
    load.externalNumber = 12345;
    EXPECT_EQ(Lines(Write("values.cdf", 0))[4].substr(0, 4), "****");
    load.externalNumber = 0;
    EXPECT_EQ(Lines(Write("values.cdf", 0))[4].substr(0, 4), "   2") << "the internal number stands in";
}

TEST_F(IeeeCdfWriterTest, FileChoiceAndFailures) {
    const std::string missing = (folder_ / "no_such_folder" / "case.cdf").string();
    struct Case {
        const char* what;
        std::vector<std::string> options;
        const char* name;  // argument of WriteIeeeCdf
        int result;
        const char* written;   // file expected, or null
        const char* firstLine;
    };
    const Case cases[] = {
        {"named file, card flag in the low byte", {}, "named.cdf", 0, "named.cdf", "CARD"},
        {"option W without a value", {"-W"}, nullptr, 1, nullptr, nullptr},
        {"option W: tape", {"-Woption_w.cdf", "-wother.cdf"}, nullptr, 0, "option_w.cdf", "TAPE"},
        {"option w: card", {"-woption_c.cdf"}, nullptr, 0, "option_c.cdf", "CARD"},
        {"no name and no option", {}, nullptr, 1, nullptr, nullptr},
        {"a folder that does not exist", {}, "missing", 1, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> options;
        for (const std::string& option : c.options) {
            // Option values name files in the test's folder.
            bool named = option.size() > 2;
            options.push_back(named ? option.substr(0, 2) + (folder_ / option.substr(2)).string() : option);
        }
        ASSERT_TRUE(ReadText(TwoBuses().Text(), options));
        std::string name;
        if (c.name) name = std::string(c.name) == "missing" ? missing : (folder_ / c.name).string();
        testing::internal::CaptureStdout();
        EXPECT_EQ(S().WriteIeeeCdf(c.name ? name.c_str() : nullptr, 0x101), c.result);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        if (c.written) {
            EXPECT_EQ(Lines(FileText(folder_ / c.written)).at(0), c.firstLine);
            std::filesystem::remove(folder_ / c.written);
        }
    }

    SolverHandle unread;
    EXPECT_EQ(unread->WriteIeeeCdf((folder_ / "nothing.cdf").c_str(), 0), 1) << "no network read";
    EXPECT_FALSE(std::filesystem::exists(folder_ / "nothing.cdf"));
}

TEST_F(IeeeCdfWriterTest, NumbersInTheCLocaleWhateverTheProcessLocale) {
    ASSERT_TRUE(Read(TestDataPath("case14.cdf")));
    const std::string plain = Write("plain.cdf", 0);
    DecimalCommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no decimal-comma locale on this machine";
    ASSERT_TRUE(Read(TestDataPath("case14.cdf")));
    EXPECT_EQ(LinesButTitle(Write("comma.cdf", 0)), LinesButTitle(plain));
}

}  // namespace
