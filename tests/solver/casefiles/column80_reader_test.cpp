#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "card_line.h"
#include "case_file_run.h"
#include "solution_values.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

// A record of the column-80 deck: its fields, and its type in column 80.
std::string Record(CardLine fields, const char* type) {
    return fields.At(80, type);
}

class Column80ReaderTest : public ::testing::Test {
public:
    // Reads `path` with the options; false when the run aborted.
    bool ReadFile(const std::string& path, std::vector<std::string> options) {
        solver_.emplace();
        arguments_ = std::make_unique<RunArguments>(std::move(options));
        return ReadCaseFile(S(), *arguments_, path);
    }
    bool Read(const std::vector<std::string>& records, std::vector<std::string> options = {"-6"}) {
        std::string text;
        for (const std::string& record : records) text += record + "\n";
        WriteFileText(folder_ / "case.c80", text);
        return ReadFile((folder_ / "case.c80").string(), std::move(options));
    }
    // The buses and branches of a solved file run, in list order.
    int Solve(std::vector<std::string> items) {
        solver_.emplace();
        items.push_back((folder_ / "listing.txt").string());
        items.insert(items.end(), {"-q", "-T0.0000000001"});
        arguments_ = std::make_unique<RunArguments>(std::move(items));
        return S().Main(arguments_->Count(), arguments_->Items(), 0);
    }
    Solver& S() const { return **solver_; }
    const Network& Model() const { return *S().GetNetwork(); }
    const NetBranch& Branch(std::size_t index) const { return *Model().branches.at(index); }

    std::optional<SolverHandle> solver_;
    std::unique_ptr<RunArguments> arguments_;
    ScratchFolder folder_{"column80_reader"};
};

// One network written by hand in both forms: the same solution.
TEST_F(Column80ReaderTest, FiveBusNetworkSolvesAsItsIeeeForm) {
    ASSERT_EQ(Solve({"-I", TestDataPath("five_bus.cdf")}), 1);
    std::vector<std::pair<double, double>> ieee;
    for (const auto& bus : Model().buses) ieee.emplace_back(bus->voltage, bus->angle);
    ASSERT_EQ(Solve({"-6", TestDataPath("five_bus.c80")}), 1);
    ASSERT_EQ(Model().buses.size(), ieee.size());
    for (std::size_t i = 0; i < ieee.size(); ++i) {
        SCOPED_TRACE(i);
        const NetBus& bus = *Model().buses[i];
        EXPECT_NEAR(bus.voltage, ieee[i].first, 1e-6);
        EXPECT_NEAR(bus.angle, ieee[i].second, 1e-6);
    }
    const NetBus& first = *Model().buses[0];
    EXPECT_EQ(first.name, "  1A1    100") << "key and base kV";
    EXPECT_EQ(first.code, "BS");
}

TEST_F(Column80ReaderTest, BusesLevelsAndBranches) {
    const std::string levels = Record(CardLine("VNOM").At(7, " 138.").At(12, " 13.8"), "Z");
    const std::string limits = Record(CardLine("VMAX").At(7, " 145."), "Z");
    const std::string minimum = Record(CardLine("VMIN").At(7, " 124."), "Z");
    const std::string slack = Record(CardLine("  1A1").At(23, "T").At(47, "140.7"), "N");
    const std::string load = Record(CardLine("  2A2").At(14, "  30.0").At(36, "  10.0"), "N");
    const std::string transformer = Record(CardLine("  1A1   2A2").At(13, " ").At(52, "   9.522"), "T");
    // Limits left open by the builder start from 0 for an injection.
    const std::string injection = Record(CardLine("  1A1").At(25, "  -50").At(43, "  20").At(47, " -30."), "E");
    ASSERT_TRUE(Read({levels, limits, minimum, slack, load, transformer, injection, Record(CardLine(), "F")}));
    const NetBus& high = *Model().buses[0];
    EXPECT_NEAR(high.voltage, 140.7 / 138.0, 1e-12);
    EXPECT_NEAR(high.displayMaxVoltage, 145.0 / 138.0, 1e-12);
    EXPECT_NEAR(high.displayMinVoltage, 124.0 / 138.0, 1e-12);
    const NetBus& low = *Model().buses[1];
    EXPECT_DOUBLE_EQ(low.loadP, 0.3);
    EXPECT_EQ(low.displayMaxVoltage, 0.0) << "no limits for its level";
    const NetBranch& t = Branch(0);
    EXPECT_EQ(t.from, &low) << "the lower voltage first";
    EXPECT_NEAR(t.nominalRatio, 0.1, 1e-12);
    EXPECT_NEAR(t.b, -1.0 / (9.522 / (138.0 * 138.0 / 100.0)), 1e-9);
    EXPECT_EQ(t.circuit, '0') << "a blank circuit is \"0\"";
    EXPECT_EQ(t.meteredBus, &low);
    EXPECT_EQ(t.tap, 1.0) << "a blank tap is the nominal tap";
    EXPECT_DOUBLE_EQ(high.maxP, 0.5);
    EXPECT_DOUBLE_EQ(high.maxQ, 0.3);
    EXPECT_DOUBLE_EQ(high.minQ, -0.2);
}

// A second record between the same buses with the same circuit is left out
// with a warning that names both buses.
TEST_F(Column80ReaderTest, DuplicateBranchKeepsTheFirst) {
    std::string text = FileText(TestDataPath("five_bus.c80"));
    const std::string first = "  1A1   2A1 1";
    const std::size_t at = text.find(first);
    const std::string line = text.substr(at, text.find('\n', at) - at + 1);
    std::string duplicate = line;
    duplicate.replace(46, 5, "9.000");
    text.insert(at + line.size(), duplicate);
    WriteFileText(folder_ / "duplicate.c80", text);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(ReadFile((folder_ / "duplicate.c80").string(), {"-6"}));
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_NE(diagnostics.find("line 10: a second 'L' record for circuit 1 between   1A1    100 and   2A1    100"),
              std::string::npos)
        << diagnostics;
    EXPECT_EQ(Model().branches.size(), 6u);
    EXPECT_DOUBLE_EQ(Branch(0).g, 1.0 / (0.02 + 0.06 * 0.06 / 0.02)) << "the first record's impedance";
}

// A new base kV for a bus: the admittances of the branches that end at it
// follow by (new/old)^2, its name and voltage by the new kV.
TEST_F(Column80ReaderTest, OperatingPointRescalesABus) {
    ASSERT_TRUE(ReadFile(TestDataPath("five_bus.c80"), {"-6"}));
    std::vector<double> before;
    for (const auto& branch : Model().branches) before.push_back(branch->b);
    const std::string point = (folder_ / "point.txt").string();
    // Every bus in zone " 0", so that the buses stay one area.
    std::string text = Record(CardLine("  2A1").At(7, "     30.").At(15, "     10.").At(23, "     40.").At(31, "T"),
                              "B") + "\n";
    for (const char* key : {"  1A1", "  2A1", "  3A1", "  4A1", "  5A2"})
        text += Record(CardLine(key).At(58, "T").At(66, " 0"), "K") + "\n";
    text += Record(CardLine("  4A1").At(6, "  110.0").At(58, "T"), "K") + "\n";
    // The transformer's from end: its ratio follows, and it has no tap limits.
    text += Record(CardLine("  5A2").At(6, "   11.0").At(58, "T"), "K") + "\n";
    WriteFileText(point, text);
    ASSERT_TRUE(ReadFile(TestDataPath("five_bus.c80"), {"-6" + point}));
    const Network& n = Model();
    for (std::size_t i = 0; i < n.branches.size(); ++i) {
        SCOPED_TRACE(i);
        const bool endsAtFour = n.branches[i]->to->name.compare(0, 5, "  4A1") == 0;
        EXPECT_NEAR(n.branches[i]->b, before[i] * (endsAtFour ? 1.21 : 1.0), 1e-9);
        // Only a regulating branch has tap limits to rescale.
        EXPECT_EQ(n.branches[i]->HasRegulation(), n.branches[i]->code[0] == 'R');
    }
    const NetBus& four = *n.buses[3];
    EXPECT_EQ(four.name, "  4A1    110");
    EXPECT_DOUBLE_EQ(four.baseKv, 110.0);
    EXPECT_NEAR(four.voltage, 100.0 / 110.0, 1e-12);
    const NetBus& two = *n.buses[1];
    EXPECT_EQ(two.code, "BQ") << "the 'B' record on a code that is not \"B\" only adds its Mvar";
    EXPECT_DOUBLE_EQ(two.generationQ, 0.1);
}

// The same HVDC link in both forms: each converter named by its DC bus, the
// rectifier on a 13.8 kV bus whose name in the column-80 deck shows 14 kV
// and whose card comes before the deck's records of that bus.
TEST_F(Column80ReaderTest, DcCardsGiveTheSolutionOfTheIeeeForm) {
    struct Solved {
        std::vector<std::pair<double, double>> voltages;  // buses by role
        NetConverter rectifier, inverter;
    };
    const char* const ieeeNames[] = {"SLACK", "NORTH", "PV", "SOUTH"};
    const char* const keys[] = {"  1A1", "  2A2", "  3B1", "  4B1"};
    auto solved = [&](const char* const (&names)[4]) {
        Solved s;
        for (const char* name : names) {
            const NetBus* bus = nullptr;
            for (const auto& b : Model().buses)
                if (b->name.starts_with(name)) bus = b.get();
            if (!bus) ADD_FAILURE() << name;
            s.voltages.emplace_back(bus ? bus->voltage : 0.0, bus ? bus->angle : 0.0);
        }
        for (const auto& c : Model().converters) (c->code == "R" ? s.rectifier : s.inverter) = *c;
        return s;
    };
    ASSERT_EQ(Solve({"-I", TestDataPath("hvdc_bus_named.cdf")}), 1);
    const Solved ieee = solved(ieeeNames);
    ASSERT_EQ(Solve({"-6", TestDataPath("hvdc_bus_named.c80")}), 1);
    const Solved deck = solved(keys);

    EXPECT_EQ(Model().buses.size(), 4u) << "the DC buses leave with their transformers";
    EXPECT_EQ(Model().busCount, 4);
    const NetBus& north = *deck.rectifier.acBus;
    EXPECT_EQ(north.name, "  2A2     14");
    EXPECT_DOUBLE_EQ(north.baseKv, 13.8) << "the level's kV, not the card's";
    EXPECT_DOUBLE_EQ(deck.rectifier.acKv, 13.8);
    EXPECT_NEAR(deck.rectifier.ratio, 100.0 / 13.8, 1e-12);
    for (std::size_t i = 0; i < ieee.voltages.size(); ++i) {
        SCOPED_TRACE(keys[i]);
        EXPECT_NEAR(deck.voltages[i].first, ieee.voltages[i].first, 1e-6);
        EXPECT_NEAR(deck.voltages[i].second, ieee.voltages[i].second, 1e-6);
    }
    for (const auto& [a, b] : {std::pair{&deck.rectifier, &ieee.rectifier}, std::pair{&deck.inverter, &ieee.inverter}}) {
        SCOPED_TRACE(a->code);
        EXPECT_NEAR(a->tap, b->tap, 1e-6) << "a ratio from 14 kV needs another tap";
        EXPECT_NEAR(a->alpha, b->alpha, 1e-6);
        EXPECT_NEAR(a->gamma, b->gamma, 1e-6);
        EXPECT_NEAR(a->vd, b->vd, 1e-6);
        EXPECT_NEAR(a->p, b->p, 1e-6);
        EXPECT_NEAR(a->q, b->q, 1e-6);
    }
}

// A DC bus leaves the network with its transformer: a deck that joins it to
// anything else fails rather than leave a branch at a bus that is gone.
TEST_F(Column80ReaderTest, DcBusJoinedToMoreThanItsTransformerFails) {
    std::string text = FileText(TestDataPath("hvdc_bus_named.c80"));
    const std::size_t end = text.rfind(Record(CardLine(), "F"));
    text.insert(end, Record(CardLine("  5R1   1A1 1").At(52, "  10.000"), "L") + "\n");
    WriteFileText(folder_ / "joined.c80", text);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Solve({"-6", (folder_ / "joined.c80").string()}), 0);
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_NE(diagnostics.find("Converter   5R1    100: its DC bus is joined to more than its transformer"),
              std::string::npos)
        << diagnostics;

    // The failed run leaves the solver able to run the deck without the branch.
    RunArguments again({"-6", TestDataPath("hvdc_bus_named.c80"), (folder_ / "listing.txt").string(), "-q",
                        "-T0.0000000001"});
    EXPECT_EQ(S().Main(again.Count(), again.Items(), 0), 1);
    EXPECT_EQ(Model().converters.size(), 2u);
    EXPECT_EQ(Model().busCount, 4);
}

// Two buses and the operating point of the second: its 'K' record gives the
// load exponents (P 1.5 in columns 81-87, Q 2.5 in columns 71-77), its 'B'
// record the zone that the 'J' record makes area 1, with the whole load as
// its direction when `percent` is " 100" (none when blank).
class LoadGrowthTest : public Column80ReaderTest {
public:
    LoadGrowthTest() {
        WriteFileText(folder_ / "two_bus.c80",
                      Record(CardLine("VNOM").At(7, " 100."), "Z") + "\n" +
                          Record(CardLine("  1A1").At(23, "T").At(47, "100.0"), "N") + "\n" +
                          Record(CardLine("  2A1").At(14, "  50.0").At(36, "  20.0"), "N") + "\n" +
                          Record(CardLine("  1A1   2A1").At(45, "  1.000").At(52, "  10.000"), "L") + "\n" +
                          Record(CardLine(), "F") + "\n");
    }
    std::string Deck() const { return (folder_ / "two_bus.c80").string(); }
    std::string Point(const char* percent) const {
        const std::string path = (folder_ / "point.txt").string();
        WriteFileText(path, Record(CardLine("  1A1").At(58, "T").At(66, " 1"), "K") + "\n" +
                                CardLine(Record(CardLine("  2A1").At(58, "T").At(71, "  2.500"), "K"))
                                        .At(81, "  1.500")
                                        .Text() +
                                "\n" + Record(CardLine("  2A1").At(35, " 1"), "B") + "\n" +
                                Record(CardLine("AREA ONE").At(34, percent), "J") + "\n");
        return "-6" + path;
    }
    // Load of bus 2 at its solved voltage: what its branch brings it.
    std::pair<double, double> LoadOfBus2() const {
        const EndFlows flows = BranchFlows(Branch(0));
        return {-flows.toP, -flows.toQ};
    }
    double VoltageOfBus2() const { return Model().buses[1]->voltage; }
};

TEST_F(LoadGrowthTest, BusRecordsGiveTheLoadExponents) {
    ASSERT_EQ(Solve({Point(" 100"), Deck()}), 1);
    const double v0 = VoltageOfBus2();
    ASSERT_EQ(Solve({Point(" 100"), Deck(), "-L0.5"}), 1);
    const double v = VoltageOfBus2();
    // The base case rescales the exponential parts to 0.5 and 0.2 p.u. at V0;
    // the direction (0.5, 0.2) grows them by half.
    const auto [p, q] = LoadOfBus2();
    EXPECT_NEAR(p, (0.5 / std::pow(v0, 1.5) + 0.5 * 0.5) * std::pow(v, 1.5), 1e-9);
    EXPECT_NEAR(q, (0.2 / std::pow(v0, 2.5) + 0.5 * 0.2) * std::pow(v, 2.5), 1e-9);
    EXPECT_LT(p, 0.75 - 1e-3) << "a constant load would draw 0.75";

    // A load-characteristic file that opens takes their place: here the
    // whole load follows V^0, a constant load.
    const std::string characteristics = (folder_ / "loads.txt").string();
    WriteFileText(characteristics, " NLBS\n  2A1    100  100  100   0.00000   0.00000\nEDATA\n");
    ASSERT_EQ(Solve({Point(" 100"), Deck(), "-L0.5", "-D" + characteristics}), 1);
    EXPECT_NEAR(LoadOfBus2().first, 0.75, 1e-9);
    EXPECT_NEAR(LoadOfBus2().second, 0.3, 1e-9);
}

// A run whose load must grow (options v, H, c, C without L) ends after
// reading when neither the areas of the operating point nor option K give
// a direction: it answers 0 and writes nothing but its message.
TEST_F(LoadGrowthTest, RunsThatNeedADirection) {
    struct Case {
        const char* percent;
        std::vector<std::string> options;
        int answer;
    };
    const std::string table = "-H" + (folder_ / "table.txt").string();
    const Case cases[] = {
        {"    ", {"-v0.95"}, 0},
        {"    ", {table}, 0},
        {"    ", {"-C"}, 0},
        {"    ", {"-L0.5"}, 1},
        {" 100", {"-v0.95"}, 1},
        {" 100", {table}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.percent) + " " + c.options[0]);
        std::filesystem::remove(folder_ / "listing.txt");
        std::filesystem::remove(folder_ / "table.txt");
        std::vector<std::string> items = {Point(c.percent), Deck()};
        items.insert(items.end(), c.options.begin(), c.options.end());
        testing::internal::CaptureStderr();
        EXPECT_EQ(Solve(items), c.answer);
        const std::string diagnostics = testing::internal::GetCapturedStderr();
        if (c.answer == 0) {
            EXPECT_NE(diagnostics.find("The load-increase direction is zero"), std::string::npos) << diagnostics;
            EXPECT_FALSE(std::filesystem::exists(folder_ / "listing.txt"));
            EXPECT_FALSE(std::filesystem::exists(folder_ / "table.txt"));
        } else if (c.options[0] == table) {
            EXPECT_TRUE(std::filesystem::exists(folder_ / "table.txt")) << "the continuation ran";
        } else if (c.options[0] == "-v0.95") {
            EXPECT_NEAR(VoltageOfBus2(), 0.95, 1e-9);
            EXPECT_GT(S().LoadParameter(), 0.0);
        }
    }
}

TEST_F(Column80ReaderTest, FaultsNameTheirLine) {
    struct Case {
        const char* what;
        std::vector<std::string> records;
        const char* message;
    };
    const std::string levels = Record(CardLine("VNOM").At(7, " 138."), "Z");
    const Case cases[] = {
        {"no nominal voltage for the level", {Record(CardLine("  1A1").At(23, "T"), "N")},
         "line 1: the voltage level of the bus \"  1A1\" has no nominal voltage"},
        {"two bus records", {levels, Record(CardLine("  1A1"), "N"), Record(CardLine("  1A1"), "N")},
         "line 3: a second bus record"},
        {"both ends one bus", {levels, Record(CardLine("  1A1   1A1").At(52, "   1.000"), "L")},
         "line 2: both ends of the branch are one bus"},
        {"no end record", {levels}, "line 1: the deck ends without its end record"},
        {"a field that is not a number", {levels, Record(CardLine("  1A1").At(14, "  3x.0"), "N")},
         "line 2: columns 14-19 hold \"  3x.0\", not a number"},
        {"a DC card the DC reader refuses", {levels, "BD    CONV1   CONV2"},
         "line 2: exactly one of the two names of the card must be GROUND"},
        {"a converter whose DC bus is its AC bus",
         {levels, CardLine("BD ").At(7, "  6I1    100").At(24, " 1").At(51, "  6I1    100")},
         "line 2: the converter   6I1    100 shares a bus between a DC and an AC side"},
    };
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ReadFile(TestDataPath("five_bus.c80"), {"-6" + (folder_ / "missing.txt").string()}));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Cannot open input file"), std::string::npos)
        << "an operating-point file that cannot be read fails the run";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(Read(c.records));
        const std::string diagnostics = testing::internal::GetCapturedStderr();
        EXPECT_NE(diagnostics.find(std::string("Column-80 deck, ") + c.message), std::string::npos) << diagnostics;
    }

    // A bus that only a DC card names, and without kV.
    const std::string converter = CardLine("BD CONV1   GROUND  NOBUS").At(38, " 1").At(45, "1.000");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Read({levels, converter, Record(CardLine(), "F")}));
    std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_NE(diagnostics.find("Column-80 deck: the bus \"NOBUS       \" of a DC card has no base kV"),
              std::string::npos)
        << diagnostics;

    const std::string point = (folder_ / "point.txt").string();
    WriteFileText(point, Record(CardLine("  1A1").At(71, " 10.500"), "K") + "\n");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Read({levels, Record(CardLine("  1A1").At(23, "T"), "N"), Record(CardLine(), "F")}, {"-6" + point}));
    diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_NE(diagnostics.find("Operating point, line 1: a load exponent outside -10 to 10"), std::string::npos)
        << diagnostics;
}

}  // namespace
