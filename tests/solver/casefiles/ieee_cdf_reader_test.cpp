#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "case_file_run.h"
#include "ieee_case_text.h"
#include "network_digest.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

constexpr double kDegree = 3.141592654 / 180.0;

class IeeeCdfReaderTest : public ::testing::Test {
protected:
    // Reads `text` as an IEEE case file; false when the run aborted.
    bool Read(const std::string& text, std::vector<std::string> options = {}) {
        WriteFileText(folder_ / "case.cdf", text);
        return ReadFile((folder_ / "case.cdf").string(), std::move(options));
    }
    bool ReadFile(const std::string& path, std::vector<std::string> options = {}) {
        options.insert(options.begin(), "-I");
        arguments_ = std::make_unique<RunArguments>(options);
        return ReadCaseFile(S(), *arguments_, path);
    }
    // A new solver for the next read.
    void Fresh() { solver_.emplace(); }
    Solver& S() const { return **solver_; }
    const Network& Model() const { return *S().GetNetwork(); }
    NetBus& Bus(int number) const { return *S().FindBus(number); }
    NetBranch& Branch(std::size_t index) const { return *S().GetNetwork()->branches.at(index); }

    std::optional<SolverHandle> solver_{std::in_place};
    std::unique_ptr<RunArguments> arguments_;
    ScratchFolder folder_{"ieee_cdf_reader"};
};

TEST_F(IeeeCdfReaderTest, PublicCasesKeepFileOrderAndCounts) {
    struct Case {
        const char* file;
        int buses;
        int branches;
        int transformers;
        int generators;  // buses that hold a voltage, the slack among them
        int slack;
    };
    const Case cases[] = {
        {"case14.cdf", 14, 20, 3, 5, 1},
        {"case30.cdf", 30, 41, 0, 6, 1},
        {"case118.cdf", 118, 186, 11, 54, 69},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Fresh();
        ASSERT_TRUE(ReadFile(TestDataPath(c.file)));
        const Network& n = Model();
        EXPECT_EQ(n.busCount, c.buses);
        EXPECT_EQ(static_cast<int>(n.branches.size()), c.branches);
        EXPECT_EQ(n.branchCount, c.branches);
        EXPECT_EQ(n.generatorBusCount, c.generators);
        EXPECT_EQ(n.slackCount, 1);
        EXPECT_TRUE(n.areas.empty()) << "no interchange section: no areas";
        ASSERT_EQ(n.slackBuses.size(), 1u);
        EXPECT_EQ(n.slackBuses[0]->externalNumber, c.slack);
        EXPECT_EQ(n.slackBuses[0]->code, "BQS");
        EXPECT_EQ(S().GetIterationLimit(), 100);

        // The reader puts each bus at the head of the list; the preparation
        // turns the list round into file order.
        int position = 0;
        for (const auto& bus : n.buses) {
            ++position;
            EXPECT_EQ(bus->number, position);
            EXPECT_EQ(bus->externalNumber, position) << "these cases number their buses 1..n in order";
            EXPECT_EQ(bus->area, nullptr);
        }
        int transformers = 0;
        for (const auto& branch : n.branches) transformers += branch->code == "T";
        EXPECT_EQ(transformers, c.transformers);
    }
}

TEST_F(IeeeCdfReaderTest, Case14ValuesInPerUnitAndRadians) {
    ASSERT_TRUE(ReadFile(TestDataPath("case14.cdf")));
    EXPECT_EQ(Model().title[0], "case14                      ");

    const NetBus& slack = Bus(1);
    EXPECT_EQ(slack.name, "Bus 1     HV");
    EXPECT_EQ(slack.areaCode, "  1");
    EXPECT_EQ(slack.control, 'V');
    EXPECT_FALSE(slack.voltageFree) << "a generator holds its voltage";
    EXPECT_DOUBLE_EQ(slack.voltage, 1.06);
    EXPECT_DOUBLE_EQ(slack.voltageTarget, 1.06);
    EXPECT_DOUBLE_EQ(slack.scheduledP, 2.324);
    EXPECT_DOUBLE_EQ(slack.generationQ, -0.169);
    EXPECT_DOUBLE_EQ(slack.maxQ, 0.1);
    EXPECT_DOUBLE_EQ(slack.minQ, 0.0);

    const NetBus& generator = Bus(2);
    EXPECT_EQ(generator.code, "BQ");
    EXPECT_DOUBLE_EQ(generator.maxQ, 0.5);
    EXPECT_DOUBLE_EQ(generator.minQ, -0.4);
    EXPECT_DOUBLE_EQ(generator.loadP, 0.217);
    EXPECT_DOUBLE_EQ(generator.loadQ, 0.127);

    const NetBus& load = Bus(4);
    EXPECT_EQ(load.code, "B");
    EXPECT_TRUE(load.voltageFree) << "a load bus's voltage floats";
    EXPECT_DOUBLE_EQ(load.voltage, 1.019);
    EXPECT_DOUBLE_EQ(load.angle, -10.33 * kDegree);
    EXPECT_DOUBLE_EQ(load.loadQ, -0.039);
    EXPECT_DOUBLE_EQ(Bus(9).shuntB, 0.19);

    const NetBranch& line = Branch(0);  // 1-2
    EXPECT_EQ(line.code, "L");
    EXPECT_EQ(line.circuit, '1');
    EXPECT_EQ(line.owner, "  0");
    const double r = 0.01938, x = 0.05917;
    EXPECT_DOUBLE_EQ(line.g, r / (r * r + x * x));
    EXPECT_DOUBLE_EQ(line.b, -x / (r * r + x * x));
    EXPECT_DOUBLE_EQ(line.fromShuntB, 0.0264);
    EXPECT_DOUBLE_EQ(line.toShuntB, 0.0264);

    const NetBranch& transformer = Branch(7);  // 4-7, ratio 0.978
    EXPECT_EQ(transformer.from->externalNumber, 4);
    EXPECT_EQ(transformer.to->externalNumber, 7);
    EXPECT_EQ(transformer.code, "T");
    EXPECT_DOUBLE_EQ(transformer.tap, 1.0 / 0.978);
    EXPECT_DOUBLE_EQ(transformer.b, -1.0 / 0.20912);
}

TEST_F(IeeeCdfReaderTest, CrLfLinesReadAsLf) {
    std::string text = FileText(TestDataPath("case14.cdf"));
    ASSERT_TRUE(ReadFile(TestDataPath("case14.cdf")));
    const std::vector<DigestEntry> lf = NetworkDigest(Model());

    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Fresh();
    ASSERT_TRUE(Read(crlf + "\x1A"));
    const std::vector<DigestEntry> read = NetworkDigest(Model());
    ASSERT_EQ(lf.size(), read.size());
    for (std::size_t i = 0; i < lf.size(); ++i) {
        EXPECT_EQ(lf[i].text, read[i].text) << lf[i].label;
        EXPECT_EQ(lf[i].value, read[i].value) << lf[i].label;
    }
}

TEST_F(IeeeCdfReaderTest, OverLongLineIsOneRecord) {
    // Were the line split at its buffer's length, its rest would end the
    // bus section early and bus 3 would be lost.
    CaseText c = TwoBuses();
    c.buses[1] = std::string(c.buses[1]) + std::string(255 - c.buses[1].size(), ' ') + "-999 rest of a long line";
    c.buses.push_back(BusCard(3, 0));
    c.branches.push_back(BranchCard(2, 3, 0));
    ASSERT_TRUE(Read(c.Text()));
    EXPECT_EQ(Model().busCount, 3);
    EXPECT_DOUBLE_EQ(Bus(2).loadP, 0.5);
}

TEST_F(IeeeCdfReaderTest, BusRecordRules) {
    CaseText c = TwoBuses();
    c.buses.push_back(BusCard(3, 2).At(6, "            ").At(85, "1.0200"));            // blank name, open limits
    c.buses.push_back(BusCard(4, 2).At(91, "   20.00").At(99, "   20.00"));            // fixed Mvar
    c.buses.push_back(BusCard(5, 1).At(68, "   10.00").At(91, "    1.10").At(99, "    0.90"));
    c.buses.push_back(BusCard(6, 2).At(85, "1.0300").At(91, "   50.00").At(99, "  -50.00").At(124, "   7"));
    c.buses.push_back(BusCard(7, 0).At(28, "0.9800"));
    c.buses.push_back(BusCard(8, 0).At(28, "0.0000"));
    for (int to = 3; to <= 8; ++to) c.branches.push_back(BranchCard(2, to, 0));
    ASSERT_TRUE(Read(c.Text()));

    EXPECT_EQ(Bus(3).name, "BUS_3       ");
    EXPECT_EQ(Bus(3).code, "BQ");
    EXPECT_DOUBLE_EQ(Bus(3).maxQ, 9999999.0);
    EXPECT_DOUBLE_EQ(Bus(3).minQ, -999999.0);
    EXPECT_DOUBLE_EQ(Bus(3).voltage, 1.02);

    EXPECT_EQ(Bus(4).code, "B") << "equal limits: a fixed output at a load bus";
    EXPECT_TRUE(Bus(4).voltageFree);

    EXPECT_EQ(Bus(5).code, "BV");
    EXPECT_EQ(Bus(5).control, 'Q');
    EXPECT_DOUBLE_EQ(Bus(5).scheduledQ, 0.1);
    EXPECT_DOUBLE_EQ(Bus(5).maxVoltage, 1.1);
    EXPECT_DOUBLE_EQ(Bus(5).minVoltage, 0.9);
    EXPECT_TRUE(Bus(5).voltageFree);

    // Generator 6 holds the voltage of bus 7 at its own setpoint.
    EXPECT_EQ(Bus(6).code, "BG");
    EXPECT_EQ(Bus(6).extras().remoteBus, &Bus(7));
    EXPECT_TRUE(Bus(6).voltageFree);
    EXPECT_DOUBLE_EQ(Bus(6).voltage, 1.0);
    EXPECT_DOUBLE_EQ(Bus(6).extras().participation, 1.0);
    EXPECT_EQ(Bus(7).code, "BC");
    EXPECT_FALSE(Bus(7).voltageFree);
    EXPECT_DOUBLE_EQ(Bus(7).voltage, 1.03);
    EXPECT_EQ(Bus(7).extras().regulatingGeneratorCount, 1);
    EXPECT_EQ(Bus(7).extras().regulatingGenerators, std::vector<NetBus*>{&Bus(6)});

    EXPECT_DOUBLE_EQ(Bus(8).voltage, 1.0) << "no voltage given";
    EXPECT_EQ(Model().generatorBusCount, 3);
}

TEST_F(IeeeCdfReaderTest, MvaBaseComesFromTheTitleCard) {
    CaseText c = TwoBuses();
    c.title = CardLine(c.title).At(32, "  50.0");
    ASSERT_TRUE(Read(c.Text(), {"-$200"}));
    EXPECT_DOUBLE_EQ(Bus(2).loadP, 1.0);
}

TEST_F(IeeeCdfReaderTest, OptionGClearsGeneratorMvar) {
    CaseText c = TwoBuses();
    c.buses[0] = CardLine(c.buses[0]).At(68, "   30.00");
    ASSERT_TRUE(Read(c.Text()));
    EXPECT_DOUBLE_EQ(Bus(1).generationQ, 0.3);
    Fresh();
    ASSERT_TRUE(Read(c.Text(), {"-g"}));
    EXPECT_DOUBLE_EQ(Bus(1).generationQ, 0.0);
}

TEST_F(IeeeCdfReaderTest, TransformerRecords) {
    CaseText c = TwoBuses();
    for (int n = 3; n <= 9; ++n) c.buses.push_back(BusCard(n, 0));
    c.branches = {
        BranchCard(1, 2, 0).At(77, ".95000"),                             // a line with a ratio
        BranchCard(2, 3, 1).At(77, "0.0000").At(84, "  30.00"),           // no ratio given
        BranchCard(2, 4, 2).At(69, "   4").At(77, "1.0500").At(91, "   0.90").At(98, "   0.90"),
        BranchCard(2, 5, 2).At(69, "   5").At(91, "   0.90").At(98, "   1.10").At(113, "0.98000").At(120, "1.02000"),
        BranchCard(2, 6, 2).At(69, "   6").At(91, "   0.90").At(98, "   1.10").At(113, "1.01000").At(120, "1.01000"),
        BranchCard(2, 7, 3).At(69, "   7").At(91, "   0.90").At(98, "   1.10").At(113, "  10.00").At(120, "  20.00"),
        BranchCard(2, 8, 4).At(69, "   8").At(91, " -30.00").At(98, "  30.00").At(113, "  40.00").At(120, "  40.00"),
        BranchCard(2, 9, 0),
    };
    ASSERT_TRUE(Read(c.Text()));

    EXPECT_EQ(Branch(0).code, "T");
    EXPECT_DOUBLE_EQ(Branch(0).tap, 1.0 / 0.95);
    EXPECT_EQ(Branch(1).code, "T");
    EXPECT_DOUBLE_EQ(Branch(1).tap, 1.0) << "a ratio of 0 is the nominal ratio";
    EXPECT_DOUBLE_EQ(Branch(1).shift, 30.0 * kDegree);
    EXPECT_EQ(Branch(2).code, "T") << "equal ratio limits: nothing to move";
    EXPECT_DOUBLE_EQ(Branch(2).tap, 1.0 / 1.05);

    const NetBranch& band = Branch(3);
    EXPECT_EQ(band.code, "RV");
    EXPECT_EQ(band.regulation().regulatedBus, &Bus(5));
    EXPECT_DOUBLE_EQ(band.regulation().controlMin, 0.9);
    EXPECT_DOUBLE_EQ(band.regulation().controlMax, 1.1);
    EXPECT_EQ(Bus(5).code, "BR");
    EXPECT_DOUBLE_EQ(Bus(5).maxVoltage, 1.02);
    EXPECT_DOUBLE_EQ(Bus(5).minVoltage, 0.98);

    EXPECT_EQ(Branch(4).code, "R");
    EXPECT_EQ(Bus(6).code, "BT");
    EXPECT_FALSE(Bus(6).voltageFree) << "the ratio holds its voltage";
    EXPECT_DOUBLE_EQ(Bus(6).voltage, 1.01);
    ASSERT_EQ(Bus(6).regulatingBranches.size(), 1u);
    EXPECT_EQ(Bus(6).regulatingBranches[0].branch, &Branch(4));

    const NetBranch& reactive = Branch(5);
    EXPECT_EQ(reactive.code, "RN");
    EXPECT_EQ(reactive.regulation().regulatedBus, &Bus(7)) << "the named bus is the to end";
    EXPECT_DOUBLE_EQ(reactive.regulation().bandMin, 0.1);
    EXPECT_DOUBLE_EQ(reactive.regulation().bandMax, 0.2);

    const NetBranch& active = Branch(6);
    EXPECT_EQ(active.code, "RP");
    EXPECT_DOUBLE_EQ(active.regulation().controlMin, -30.0 * kDegree);
    EXPECT_DOUBLE_EQ(active.regulation().controlMax, 30.0 * kDegree);
    EXPECT_DOUBLE_EQ(active.regulation().controlTarget, 0.4);
    EXPECT_EQ(Bus(8).controllingBranchCount, 1);

    EXPECT_EQ(Branch(7).code, "L");
    EXPECT_EQ(Model().branchCount, 4);
    EXPECT_EQ(Model().voltageRegulatingCount, 2);
    EXPECT_EQ(Model().regulatingCount, 2);
}

// A blank ratio limit is the default one, as a negative one is, never a
// ratio of 0 whose reciprocal tap would be infinite.
TEST_F(IeeeCdfReaderTest, BlankRatioLimitsAreTheDefaults) {
    CaseText c = TwoBuses();
    c.buses.push_back(BusCard(3, 0));
    c.buses.push_back(BusCard(4, 0));
    c.branches = {
        BranchCard(1, 2, 0),
        BranchCard(2, 3, 2).At(69, "   3").At(98, "   1.05").At(113, "0.98000").At(120, "1.02000"),
        BranchCard(2, 4, 3).At(69, "   4").At(91, "   0.95").At(113, "  10.00").At(120, "  20.00"),
    };
    ASSERT_TRUE(Read(c.Text()));
    EXPECT_EQ(Branch(1).code, "RV");
    EXPECT_DOUBLE_EQ(Branch(1).regulation().controlMin, 0.9);
    EXPECT_DOUBLE_EQ(Branch(1).regulation().controlMax, 1.05);
    EXPECT_EQ(Branch(2).code, "RN");
    EXPECT_DOUBLE_EQ(Branch(2).regulation().controlMin, 0.95);
    EXPECT_DOUBLE_EQ(Branch(2).regulation().controlMax, 1.1);
}

TEST_F(IeeeCdfReaderTest, CardModeCommentsAndTwoLineRecords) {
    CaseText c = TwoBuses();
    c.buses[1] = CardLine(c.buses[1]).At(115, "  0.2000");
    c.branches.push_back(BranchCard(1, 2, 1).At(17, "2").At(77, "1.0500"));
    std::string text;
    auto split = [](const std::string& record) {
        return record.substr(0, 75) + "\n" + (record.size() > 75 ? record.substr(75) : "") + "\n";
    };
    text = "% a comment before everything\nCARD\n" + c.title + "\nBUS DATA FOLLOWS\n";
    text += split(c.buses[0]) + "% a comment between the lines of a record\n" + split(c.buses[1]) + "-999\n";
    text += "BRANCH DATA FOLLOWS\n" + c.branches[0] + "\n" + split(c.branches[1]) + "-999\nEND OF DATA\n";
    ASSERT_TRUE(Read(text));
    EXPECT_EQ(Model().title[0], "Test case                   ");
    EXPECT_DOUBLE_EQ(Bus(2).shuntB, 0.2);
    EXPECT_DOUBLE_EQ(Bus(2).baseKv, 100.0);
    EXPECT_EQ(Branch(0).code, "L");
    EXPECT_EQ(Branch(1).code, "T");
    EXPECT_EQ(Branch(1).circuit, '2');
    EXPECT_DOUBLE_EQ(Branch(1).tap, 1.0 / 1.05);
}

TEST_F(IeeeCdfReaderTest, InterchangeAndTieLines) {
    ASSERT_TRUE(Read(TwoAreas().Text()));
    const Network& n = Model();
    ASSERT_EQ(n.areas.size(), 2u);
    const NetArea& north = *n.areas[0];
    const NetArea& south = *n.areas[1];
    EXPECT_EQ(north.number, 1);
    EXPECT_EQ(north.name, "North" + std::string(25, ' '));
    EXPECT_EQ(north.areaBus, &Bus(1));
    EXPECT_DOUBLE_EQ(north.scheduledExport, 0.125);
    EXPECT_EQ(north.buses, (std::vector<NetBus*>{&Bus(1), &Bus(2)}));
    EXPECT_EQ(south.name, "AREA_2" + std::string(24, ' '));
    EXPECT_EQ(south.areaBus, &Bus(3));
    EXPECT_EQ(south.buses, (std::vector<NetBus*>{&Bus(3), &Bus(4)}));
    EXPECT_EQ(Bus(4).area, &south);
    EXPECT_EQ(Branch(1).meteredBus, &Bus(3));
    EXPECT_EQ(Branch(1).area, &north);
    ASSERT_EQ(north.ties.size(), 1u);
    EXPECT_EQ(north.ties[0].branch, &Branch(1));
}

TEST_F(IeeeCdfReaderTest, FaultsEndTheRun) {
    struct Case {
        const char* what;
        void (*change)(CaseText&);
    };
    const Case cases[] = {
        {"two buses with one number", [](CaseText& c) { c.buses.push_back(BusCard(2, 0)); }},
        {"a branch to a bus that does not exist", [](CaseText& c) { c.branches.push_back(BranchCard(1, 9, 0)); }},
        {"a branch without impedance",
         [](CaseText& c) { c.branches[0] = CardLine(c.branches[0]).At(30, "  0.000000"); }},
        {"both ends at one bus", [](CaseText& c) { c.branches.push_back(BranchCard(2, 2, 0)); }},
        {"a branch in an area no bus lies in", [](CaseText& c) { c.branches[0] = CardLine(c.branches[0]).At(11, " 5"); }},
        {"reactive limits not ordered",
         [](CaseText& c) { c.buses[0] = CardLine(c.buses[0]).At(91, "  -10.00").At(99, "   10.00"); }},
        {"voltage limits not ordered",
         [](CaseText& c) { c.buses.push_back(BusCard(3, 1).At(91, "    0.90").At(99, "    1.10")); }},
        {"an unknown bus type", [](CaseText& c) { c.buses.push_back(BusCard(3, 5)); }},
        {"a second slack bus in one area",
         [](CaseText& c) {
             c.buses[0] = CardLine(c.buses[0]).At(19, " 1");
             c.buses.push_back(BusCard(3, 3).At(19, " 1"));
         }},
        {"a remote bus that does not exist", [](CaseText& c) {
             c.buses.push_back(BusCard(3, 2).At(91, "   10.00").At(124, "   9"));
         }},
        {"a remote bus that is a generator", [](CaseText& c) {
             c.buses.push_back(BusCard(3, 2).At(91, "   10.00").At(124, "   1"));
         }},
        {"a ratio band upside down", [](CaseText& c) {
             c.branches.push_back(BranchCard(1, 2, 2).At(91, "   1.10").At(98, "   0.90"));
         }},
        {"a transformer controlling a bus that does not exist",
         [](CaseText& c) { c.branches.push_back(BranchCard(1, 2, 1).At(69, "   9")); }},
        {"no slack bus", [](CaseText& c) { c.buses[0] = CardLine(c.buses[0]).At(25, " 2"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CaseText text = TwoBuses();
        c.change(text);
        Fresh();
        EXPECT_FALSE(Read(text.Text()));
    }

    const std::vector<std::pair<const char*, std::string>> files = {
        {"the file ends inside the bus section", TwoBuses().Text().substr(0, TwoBuses().Text().find("-999"))},
        {"an interchange record for an area without buses",
         [] {
             CaseText c = TwoAreas();
             c.tail[1] = CardLine(c.tail[1]).At(1, " 7");
             return c.Text();
         }()},
        {"an area's slack bus in another area",
         [] {
             CaseText c = TwoAreas();
             c.tail[1] = CardLine(c.tail[1]).At(4, "   3");
             return c.Text();
         }()},
        {"a tie line without its branch",
         [] {
             CaseText c = TwoAreas();
             c.tail[5] = CardLine(c.tail[5]).At(1, "   4");
             return c.Text();
         }()},
    };
    for (const auto& [what, text] : files) {
        SCOPED_TRACE(what);
        Fresh();
        EXPECT_FALSE(Read(text));
    }
}

// What this build cannot read, or values no network has, end the read with
// a message that says what and where.
TEST_F(IeeeCdfReaderTest, RefusedCardsAndValuesSaySo) {
    struct Case {
        const char* what;
        std::function<void(CaseText&)> change;
        const char* message;
    };
    const Case cases[] = {
        {"a DC card naming no GROUND", [](CaseText& c) { c.tail = {"BD    1    2"}; },
         "line 9: exactly one of the two names of the card must be GROUND"},
        {"a FACTS card naming no bus", [](CaseText& c) { c.tail = {"FS  SVC1"}; }, "line 9: the bus"},
        {"branch type 5", [](CaseText& c) { c.branches[0] = CardLine(c.branches[0]).At(19, "5"); },
         "line 7: branch type 5 is not 0 to 4"},
        {"branch type 9", [](CaseText& c) { c.branches[0] = CardLine(c.branches[0]).At(19, "9"); },
         "line 7: branch type 9"},
        {"an MVA base above 100000", [](CaseText& c) { c.title = CardLine(c.title).At(32, "999999"); },
         "the MVA base of the title card"},
        {"a negative MVA base", [](CaseText& c) { c.title = CardLine(c.title).At(32, "-100.0"); },
         "the MVA base of the title card"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CaseText text = TwoBuses();
        c.change(text);
        Fresh();
        testing::internal::CaptureStderr();
        EXPECT_FALSE(Read(text.Text()));
        EXPECT_NE(testing::internal::GetCapturedStderr().find(c.message), std::string::npos);
    }
}

// Lines ended by CR alone, as some editors write them, read as lines.
TEST_F(IeeeCdfReaderTest, LinesEndedByCarriageReturnsAlone) {
    std::string text = TwoBuses().Text();
    std::replace(text.begin(), text.end(), '\n', '\r');
    ASSERT_TRUE(Read(text));
    EXPECT_EQ(Model().buses.size(), 2u);
    EXPECT_DOUBLE_EQ(Bus(2).loadP, 0.5);
}

// A folder named as the case reads as nothing at all: it is refused by name.
TEST_F(IeeeCdfReaderTest, AFolderIsNotACaseFile) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ReadFile((folder_ / ".").string()));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("is not a readable file"), std::string::npos);
}

}  // namespace
