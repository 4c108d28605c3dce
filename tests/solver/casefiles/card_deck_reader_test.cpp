#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "card_line.h"
#include "case_file_run.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

constexpr double kDegree = 3.141592654 / 180.0;

const char* const kSlack = "SLACK   100.";
const char* const kLoad = "LOAD    100.";
const char* const kFar = "FAR     100.";

CardLine Card(const char* code, const char* name) {
    return CardLine(code).At(7, name);
}

// A slack bus and a load bus joined by a line: each test adds or changes
// cards before the end card.
struct Deck {
    std::vector<std::string> cards = {
        Card("BS ", kSlack).At(48, "  99.").At(53, " -99.").At(58, "1020"),
        Card("B  ", kLoad).At(21, "  50.").At(26, "  20."),
        Card("L  ", kSlack).At(20, kLoad).At(32, "1").At(39, "  1000").At(45, " 10000"),
    };
    std::string Text() const {
        std::string text;
        for (const std::string& card : cards) text += card + "\n";
        return text + "END\n";
    }
};

class CardDeckReaderTest : public ::testing::Test {
public:
    // Reads `text` as a card deck; false when the run aborted.
    bool Read(const std::string& text, std::vector<std::string> options = {}) {
        WriteFileText(folder_ / "case.deck", text);
        solver_.emplace();
        arguments_ = std::make_unique<RunArguments>(std::move(options));
        return ReadCaseFile(S(), *arguments_, (folder_ / "case.deck").string());
    }
    Solver& S() const { return **solver_; }
    const Network& Model() const { return *S().GetNetwork(); }
    NetBus& Bus(const std::string& name) const {
        for (const auto& bus : Model().buses)
            if (bus->name == name) return *bus;
        throw std::runtime_error("no bus " + name);
    }
    // The branches in deck order.
    NetBranch& Branch(std::size_t index) const { return *Model().branches.at(index); }

    std::optional<SolverHandle> solver_;
    std::unique_ptr<RunArguments> arguments_;
    ScratchFolder folder_{"card_deck_reader"};
};

TEST_F(CardDeckReaderTest, TwoBusDeckInPerUnitOnItsBase) {
    Deck deck;
    deck.cards.insert(deck.cards.begin(), {"HDG", "FIRST TITLE", "SECOND TITLE", "BAS"});
    ASSERT_TRUE(Read(deck.Text(), {"-$50"}));
    const Network& n = Model();
    EXPECT_EQ(n.title[0], "FIRST TITLE");
    EXPECT_EQ(n.title[1], "SECOND TITLE");
    EXPECT_EQ(n.busCount, 2);
    EXPECT_EQ(n.slackCount, 1);
    EXPECT_EQ(n.branchCount, 1);
    EXPECT_EQ(S().MvaBase(), 50.0);
    EXPECT_EQ(S().GetIterationLimit(), 100);
    const NetBus& slack = Bus(kSlack);
    EXPECT_EQ(slack.code, "BS");
    EXPECT_EQ(slack.number, 1);
    EXPECT_EQ(slack.externalNumber, 0);
    EXPECT_DOUBLE_EQ(slack.voltage, 1.02);
    EXPECT_DOUBLE_EQ(slack.maxQ, 99.0 / 50.0);
    EXPECT_DOUBLE_EQ(slack.minQ, -99.0 / 50.0);
    const NetBus& load = Bus(kLoad);
    EXPECT_EQ(load.number, 2);
    EXPECT_DOUBLE_EQ(load.loadP, 1.0);
    EXPECT_DOUBLE_EQ(load.loadQ, 0.4);
    EXPECT_DOUBLE_EQ(load.baseKv, 100.0);
    const NetBranch& line = Branch(0);
    EXPECT_DOUBLE_EQ(line.g, 0.01 / 0.0101);
    EXPECT_DOUBLE_EQ(line.b, -0.1 / 0.0101);
    EXPECT_EQ(line.code, "L");
    EXPECT_EQ(line.circuit, '1');
}

// Each bus code against what it sets: a card for a third bus, joined to the
// load bus by a line.
TEST_F(CardDeckReaderTest, BusCodes) {
    struct Case {
        const char* what;
        std::string card;
        std::function<void(const CardDeckReaderTest&)> check;
    };
    const Case cases[] = {
        {"\"BK \" reads as \"BQ \"", Card("BK ", kFar).At(48, "  40.").At(53, " -10.").At(58, "1050"),
         [](const CardDeckReaderTest& t) {
             const NetBus& bus = t.Bus(kFar);
             EXPECT_EQ(bus.code, "BQ");
             EXPECT_EQ(bus.control, 'V');
             EXPECT_DOUBLE_EQ(bus.maxQ, 0.4);
             EXPECT_DOUBLE_EQ(bus.minQ, -0.1);
             EXPECT_DOUBLE_EQ(bus.voltage, 1.05);
             EXPECT_EQ(t.Model().generatorBusCount, 1);
         }},
        {"\"BE \": a voltage held without limits", Card("BE ", kFar).At(48, "  40."),
         [](const CardDeckReaderTest& t) {
             EXPECT_EQ(t.Bus(kFar).code, "BQ");
             EXPECT_EQ(t.Bus(kFar).maxQ, kUnlimited);
             EXPECT_EQ(t.Bus(kFar).generationQ, 0.0);
         }},
        {"\"BV \": scheduled Mvar within default voltage limits", Card("BV ", kFar).At(48, "  15."),
         [](const CardDeckReaderTest& t) {
             const NetBus& bus = t.Bus(kFar);
             EXPECT_EQ(bus.code, "BV");
             EXPECT_EQ(bus.control, 'Q');
             EXPECT_DOUBLE_EQ(bus.scheduledQ, 0.15);
             EXPECT_DOUBLE_EQ(bus.maxVoltage, 10.0);
             EXPECT_DOUBLE_EQ(bus.minVoltage, 0.001);
         }},
        {"\"BG \": a generator holding a remote bus",
         Card("BG ", kFar).At(48, "  40.").At(53, " -10.").At(66, kLoad).At(78, " 50"),
         [](const CardDeckReaderTest& t) {
             const NetBus& generator = t.Bus(kFar);
             const NetBus& remote = t.Bus(kLoad);
             EXPECT_EQ(generator.code, "BG");
             EXPECT_EQ(generator.extras().remoteBus, &remote);
             EXPECT_DOUBLE_EQ(generator.extras().participation, 0.5);
             EXPECT_TRUE(generator.voltageFree);
             EXPECT_EQ(remote.code, "BC");
             EXPECT_EQ(remote.extras().regulatingGeneratorCount, 1);
             EXPECT_FALSE(remote.voltageFree);
         }},
        {"\"BL \": common fields only", Card("BL ", kFar).At(21, "  10.").At(48, "  40."),
         [](const CardDeckReaderTest& t) {
             EXPECT_EQ(t.Bus(kFar).code, "B");
             EXPECT_DOUBLE_EQ(t.Bus(kFar).loadP, 0.1);
             EXPECT_DOUBLE_EQ(t.Bus(kFar).generationQ, 0.4);
         }},
        {"a Pmax below Pgen is no limit", Card("B  ", kFar).At(39, "  10").At(43, "  20."),
         [](const CardDeckReaderTest& t) { EXPECT_EQ(t.Bus(kFar).maxP, kUnlimited); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Deck deck;
        deck.cards.push_back(c.card);
        deck.cards.push_back(Card("L  ", kLoad).At(20, kFar).At(39, "  1000").At(45, " 10000"));
        // A "+" card adds to the bus of the card before it.
        deck.cards.push_back(CardLine("+").At(21, "   1."));
        ASSERT_TRUE(Read(deck.Text()));
        c.check(*this);
        EXPECT_DOUBLE_EQ(Bus(kLoad).loadP, 0.51) << "the \"+\" card adds to the line's from bus";
    }
}

TEST_F(CardDeckReaderTest, TransformerAndRegulatorCards) {
    struct Case {
        const char* what;
        std::vector<std::string> cards;
        std::function<void(const NetBranch&)> check;
    };
    const CardLine transformer = Card("T  ", kSlack).At(20, kLoad).At(32, "2").At(45, " 10000");
    const Case cases[] = {
        {"30.00 without a to-side tap is a shift", {CardLine(transformer).At(63, "30.00")},
         [](const NetBranch& b) {
             EXPECT_NEAR(b.shift, 30.0 * kDegree, 1e-12);
             EXPECT_EQ(b.tap, 1.0);
             EXPECT_EQ(b.code, "T");
         }},
        {"taps in kV of both windings", {CardLine(transformer).At(63, "95.00").At(68, "110.0")},
         [](const NetBranch& b) {
             EXPECT_DOUBLE_EQ(b.tap, 1.1 / 0.95);
             EXPECT_DOUBLE_EQ(b.nominalRatio, 1.1);
             EXPECT_EQ(b.shift, 0.0);
         }},
        {"\"R  \" with blank limits, after its transformer",
         {transformer, Card("R  ", kSlack).At(20, kLoad).At(32, "2").At(34, kLoad)},
         [](const NetBranch& b) {
             EXPECT_EQ(b.code, "R");
             EXPECT_DOUBLE_EQ(b.regulation().controlMax, 1.1);
             EXPECT_DOUBLE_EQ(b.regulation().controlMin, 0.9);
             EXPECT_EQ(b.regulation().regulatedBus->code, "BT");
             EXPECT_DOUBLE_EQ(b.g, 0.0);
             EXPECT_DOUBLE_EQ(b.b, -10.0);
         }},
        {"\"RP \" before its transformer",
         {Card("RP ", kSlack).At(20, kLoad).At(32, "2").At(34, kLoad).At(46, "30.00").At(51, "-3000").At(58, "   40"),
          transformer},
         [](const NetBranch& b) {
             EXPECT_EQ(b.code, "RP");
             EXPECT_NEAR(b.regulation().controlMax, 30.0 * kDegree, 1e-12);
             EXPECT_NEAR(b.regulation().controlMin, -30.0 * kDegree, 1e-12);
             EXPECT_DOUBLE_EQ(b.regulation().controlTarget, 0.4);
             EXPECT_EQ(b.regulation().regulatedBus, b.to);
             EXPECT_DOUBLE_EQ(b.b, -10.0);
         }},
        {"\"E  \": its own shunt at each end",
         {Card("E  ", kSlack).At(20, kLoad).At(32, "2").At(45, " 10000").At(57, "  1000").At(69, "  3000")},
         [](const NetBranch& b) {
             EXPECT_DOUBLE_EQ(b.fromShuntB, 0.01);
             EXPECT_DOUBLE_EQ(b.toShuntB, 0.03);
             EXPECT_EQ(b.code, "E");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Deck deck;
        deck.cards.insert(deck.cards.end(), c.cards.begin(), c.cards.end());
        ASSERT_TRUE(Read(deck.Text())) << deck.Text();
        ASSERT_EQ(Model().branches.size(), 2u);
        c.check(Branch(1));
    }
}

// Two sections of one line are one branch: the pi circuits in series with
// their middle node eliminated (values worked out by hand from the two
// sections' R + jX and charging).
TEST_F(CardDeckReaderTest, LineSectionsInSeries) {
    const CardLine section = Card("L  ", kSlack).At(20, kFar).At(32, "1");
    Deck deck;
    deck.cards.push_back(Card("B  ", kFar));
    deck.cards.push_back(CardLine(section).At(33, "2").At(39, "  2000").At(45, " 20000").At(57, "  4000"));
    deck.cards.push_back(CardLine(section).At(33, "1").At(39, "  1000").At(45, " 10000").At(57, "  2000"));
    ASSERT_TRUE(Read(deck.Text()));
    ASSERT_EQ(Model().branches.size(), 2u);
    const NetBranch& b = Branch(1);
    EXPECT_NEAR(b.g, 0.33002762704, 1e-10);
    EXPECT_NEAR(b.b, -3.31371691170, 1e-10);
    EXPECT_NEAR(b.fromShuntG, 1.612876952e-05, 1e-13);
    EXPECT_NEAR(b.fromShuntB, 0.06016063609, 1e-10);
    EXPECT_NEAR(b.toShuntG, 8.06438476e-06, 1e-13);
    EXPECT_NEAR(b.toShuntB, 0.06008031805, 1e-10);
    EXPECT_EQ(b.section, 1);
    EXPECT_EQ(Model().branchCount, 2);
}

TEST_F(CardDeckReaderTest, SwitchedShuntSteps) {
    Deck deck;
    deck.cards.push_back(Card("BX ", kFar).At(58, "1050").At(62, " 950"));
    deck.cards.push_back(Card("L  ", kLoad).At(20, kFar).At(45, " 10000"));
    deck.cards.push_back(Card("X  ", kFar).At(33, "2  10.").At(39, "1   5."));
    ASSERT_TRUE(Read(deck.Text()));
    const NetBus& bus = Bus(kFar);
    EXPECT_EQ(bus.code, "BX");
    EXPECT_EQ(bus.control, 'X');
    EXPECT_EQ(bus.extras().bankBus, &bus);
    EXPECT_EQ(bus.extras().bankSteps, (std::vector<double>{1.0, 0.1, 0.1, 0.05}));
    EXPECT_EQ(bus.extras().bankStepCount, 4);
    EXPECT_DOUBLE_EQ(bus.maxVoltage, 1.05);
    EXPECT_EQ(Model().bankBusCount, 1);
}

// Unknown cards and comments are passed over; the solution card names the
// slack and its angle and the iteration limit.
TEST_F(CardDeckReaderTest, SkippedCardsAndTheSolutionCard) {
    Deck deck;
    deck.cards.insert(deck.cards.begin() + 1, {"ZZ 1 2 3", "D   ANYTHING", "9999", "C   A COMMENT"});
    deck.cards.push_back(CardLine("SOL").At(24, "   25").At(31, kSlack).At(46, "    100000"));
    ASSERT_TRUE(Read(deck.Text()));
    EXPECT_EQ(Model().buses.size(), 2u);
    EXPECT_EQ(S().GetIterationLimit(), 25);
    EXPECT_NEAR(Bus(kLoad).angle, 10.0 * kDegree, 1e-12);
    EXPECT_EQ(Model().slackCount, 1) << "the slack bus is counted once";
}

// Faults end the run with the line and the card that hold them.
TEST_F(CardDeckReaderTest, FaultsNameTheirLine) {
    struct Case {
        const char* what;
        std::function<void(Deck&)> change;
        const char* message;
    };
    const Case cases[] = {
        {"two bus cards for one bus", [](Deck& d) { d.cards.push_back(Card("B  ", kLoad)); },
         "line 4: a second bus card"},
        {"a bus card after a switched-shunt card",
         [](Deck& d) { d.cards.insert(d.cards.begin() + 1, Card("X  ", kLoad).At(33, "1  10.")); },
         "line 3: a second bus card"},
        {"a base kV of 0", [](Deck& d) { d.cards.push_back(Card("B  ", "ZERO      0.")); },
         "line 4: the bus \"ZERO      0.\" has no base kV"},
        {"a field that is not a number", [](Deck& d) { d.cards[1] = CardLine(d.cards[1]).At(21, " 5O.0"); },
         "line 2: columns 21-25 hold \" 5O.0\", not a number"},
        {"a line without impedance", [](Deck& d) { d.cards[2] = CardLine(d.cards[2]).At(39, "      ").At(45, "     1"); },
         "line 3: the branch has no impedance"},
        {"both ends at one bus", [](Deck& d) { d.cards.push_back(Card("L  ", kLoad).At(20, kLoad).At(45, " 10000")); },
         "line 4: both ends of the branch"},
        {"reactive limits upside down", [](Deck& d) { d.cards[0] = CardLine(d.cards[0]).At(48, " -99.").At(53, "  99."); },
         "line 1: the reactive limits"},
        {"an \"RQ \" card with blank limits",
         [](Deck& d) { d.cards.push_back(Card("RQ ", kSlack).At(20, kLoad).At(34, kLoad)); },
         "line 4: the tap limits of the transformer are not ordered"},
        {"a \"BG \" card naming no remote bus", [](Deck& d) { d.cards.push_back(Card("BG ", kFar).At(48, "  10.")); },
         "line 4: the card names no remote bus"},
        {"a \"BG \" card whose remote bus is a generator",
         [](Deck& d) { d.cards.push_back(Card("BG ", kFar).At(48, "  10.").At(66, kSlack)); },
         "line 4: the remote bus holds its voltage otherwise"},
        {"a DC card the DC reader refuses", [](Deck& d) { d.cards.push_back("BD    GROUND  CONV1"); },
         "line 4: exactly one of the two names of the card must be GROUND"},
        {"a DC card making a bus without base kV",
         [](Deck& d) { d.cards.push_back(CardLine("BD CONV1   GROUND  ").At(20, "NEW         ").At(38, " 1").At(45, "1.000")); },
         "line 4: the bus \"NEW         \" has no base kV"},
        {"a regulating card without its transformer card",
         [](Deck& d) { d.cards.push_back(Card("R  ", kSlack).At(20, kLoad).At(32, "2").At(34, kLoad)); },
         "no transformer card gives the impedance of the regulating transformer SLACK   100. - LOAD    100."},
        {"a second area of one name",
         [](Deck& d) {
             d.cards.push_back(CardLine("A  NORTH").At(14, kSlack));
             d.cards.push_back(CardLine("A  NORTH").At(14, kLoad));
         },
         "line 5: a second area card"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Deck deck;
        c.change(deck);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(Read(deck.Text()));
        const std::string diagnostics = testing::internal::GetCapturedStderr();
        EXPECT_NE(diagnostics.find(std::string("Card deck") + (c.message[0] == 'l' ? ", " : ": ") + c.message),
                  std::string::npos)
            << diagnostics;
    }

    const std::pair<const char*, std::string> files[] = {
        {"Card deck: the file is empty", ""},
        {"Card deck, line 3: the deck ends without an \"END\" or \"FIM\" card",
         Deck().Text().substr(0, Deck().Text().find("END"))},
        {"Card deck, line 2: the deck ends inside its title", "HDG\nONE TITLE LINE\n"},
    };
    for (const auto& [message, text] : files) {
        SCOPED_TRACE(message);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(Read(text));
        EXPECT_NE(testing::internal::GetCapturedStderr().find(message), std::string::npos);
    }
}

// "FIM" ends a deck as "END" does.
TEST_F(CardDeckReaderTest, FimEndsTheDeck) {
    std::string text = Deck().Text();
    text.replace(text.find("END"), 3, "FIM");
    ASSERT_TRUE(Read(text + "B     NEVER   100.\n"));
    EXPECT_EQ(Model().buses.size(), 2u);
}

// The HVDC link case as a deck: the same buses, areas, lines and converter
// cards, the AC buses named with their base kV. Bus B4 is first named by its
// converter card, which makes it; its own cards find it. It solves as the
// IEEE form does.
TEST_F(CardDeckReaderTest, DcCardsGiveTheSolutionOfTheIeeeForm) {
    const char* const b1 = "B1      100.";
    const char* const b2 = "B2      100.";
    const char* const b3 = "B3      100.";
    const char* const b4 = "B4      100.";
    const std::vector<std::string> cards = {
        Card("BS ", b1).At(19, " 1").At(48, "9999.").At(53, "-999.").At(58, "1050"),
        Card("B  ", b2).At(19, " 1").At(21, "  20.").At(26, "  10."),
        Card("BE ", b3).At(19, " 2").At(58, "1020"),
        CardLine("A  NORTH").At(14, b1).At(27, "   12.50").At(36, " 1"),
        CardLine("A  SOUTH").At(14, b3).At(27, "  -12.50").At(36, " 2"),
        Card("L  ", b1).At(20, b2).At(45, " 10000"),
        Card("L  ", b2).At(20, b3).At(45, " 10000"),
        CardLine("BD REC1    GROUND  B2                 15.0001.0000.0000.9001.100 2.090.0 0.0").At(20, b2),
        CardLine("BZ REC1    GROUND  B2           ALID 15.00300.00R").At(20, b2),
        CardLine("BD INV1    GROUND  B4                 15.0001.0000.0000.9001.10015.0180. 0.0").At(20, b4),
        CardLine("BZ INV1    GROUND  B4           GAVD 18.00125.00I").At(20, b4),
        "LD REC1    INV1               5.00 50.00",
        Card("B  ", b4).At(19, " 2").At(21, "  60.").At(26, "  20."),
        Card("L  ", b3).At(20, b4).At(45, " 10000"),
    };
    std::string text;
    for (const std::string& card : cards) text += card + "\n";
    WriteFileText(folder_ / "link.deck", text + "END\n");

    SolverHandle ieee;
    RunArguments ieeeRun({"-I", TestDataPath("hvdc_link.cdf"), "-s", "-T1e-10"});
    ASSERT_EQ(ieee->Main(ieeeRun.Count(), ieeeRun.Items(), 0), 1);
    SolverHandle deck;
    RunArguments deckRun({(folder_ / "link.deck").string(), "-s", "-T1e-10"});
    ASSERT_EQ(deck->Main(deckRun.Count(), deckRun.Items(), 0), 1);

    const Network& cardNetwork = *deck->GetNetwork();
    EXPECT_EQ(cardNetwork.converters.size(), 2u);
    ASSERT_EQ(cardNetwork.buses.size(), 4u);
    std::vector<int> numbers;
    for (const auto& bus : cardNetwork.buses) numbers.push_back(bus->number);
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 4}));
    for (const auto& bus : ieee->GetNetwork()->buses) {
        SCOPED_TRACE(bus->name);
        const NetBus* same = nullptr;
        for (const auto& card : cardNetwork.buses)
            if (card->name.compare(0, 3, bus->name, 0, 3) == 0) same = card.get();
        ASSERT_NE(same, nullptr);
        EXPECT_NEAR(same->voltage, bus->voltage, 1e-6);
        EXPECT_NEAR(same->angle, bus->angle, 1e-6);
        EXPECT_NEAR(same->generationP, bus->generationP, 1e-6);
        EXPECT_NEAR(same->generationQ, bus->generationQ, 1e-6);
    }
}

}  // namespace
