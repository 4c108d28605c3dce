#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "bus.h"
#include "bus_fixture.h"
#include "connection_node.h"
#include "drawn_network.h"
#include "generator.h"
#include "load.h"
#include "network_equivalent.h"
#include "recording_message_sink.h"
#include "recording_prompt.h"
#include "test_model.h"

namespace {

void ExpectSameRecord(const BusRecord& expected, const BusRecord& actual) {
    constexpr double kTolerance = 1e-12;
    EXPECT_EQ(actual.recordTag, expected.recordTag);
    EXPECT_EQ(actual.kind, expected.kind);
    EXPECT_EQ(actual.number, expected.number);
    EXPECT_EQ(actual.key, expected.key);
    ASSERT_NE(actual.name, nullptr);
    EXPECT_STREQ(actual.name, expected.name);
    const double BusRecord::*doubles[] = {
        &BusRecord::generationP, &BusRecord::generationQ, &BusRecord::loadP,        &BusRecord::loadQ,
        &BusRecord::shuntPProduct, &BusRecord::shuntQ,    &BusRecord::voltage,      &BusRecord::voltageCopy,
        &BusRecord::angle,       &BusRecord::baseKv,      &BusRecord::maxP,         &BusRecord::maxQ,
        &BusRecord::minP,        &BusRecord::minQ,        &BusRecord::regulatedBaseKv, &BusRecord::participation,
        &BusRecord::maxVoltage,  &BusRecord::minVoltage,  &BusRecord::shuntG,       &BusRecord::shuntB,
        &BusRecord::voltageCopy2, &BusRecord::firstBankBlock, &BusRecord::generationShare, &BusRecord::pLoadShare,
        &BusRecord::qLoadShare};
    for (std::size_t i = 0; i < std::size(doubles); ++i) {
        EXPECT_NEAR(actual.*doubles[i], expected.*doubles[i], kTolerance) << "double field " << i;
    }
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(actual.direction[i], expected.direction[i], kTolerance) << i;
    for (int i = 0; i < 2; ++i) EXPECT_NEAR(actual.bankReserved[i], expected.bankReserved[i], kTolerance) << i;
    EXPECT_EQ(actual.reserved136, expected.reserved136);
    EXPECT_EQ(actual.area, expected.area);
    EXPECT_EQ(actual.regulatedBus, expected.regulatedBus);
    EXPECT_EQ(actual.reserved208, expected.reserved208);
    EXPECT_EQ(actual.reserved212, expected.reserved212);
    EXPECT_EQ(actual.bankTag, expected.bankTag);
    EXPECT_EQ(actual.bankStep, expected.bankStep);
    EXPECT_EQ(actual.bankBlocks, expected.bankBlocks);
    EXPECT_EQ(actual.bankBlockCount, expected.bankBlockCount);
    EXPECT_EQ(actual.hasLoad, expected.hasLoad);
    EXPECT_EQ(actual.hasGeneration, expected.hasGeneration);
}

// A 110 kV bus named "B1" (the model's first bus: number 1, key 0x101) at
// 1.02 p.u. and -2 degrees, set to 1.0 p.u., with one line attached.
class BusRecordTest : public ::testing::Test {
protected:
    BusRecordTest() {
        model->SetMessageSink(&sink);
        model->SetPrompt(&prompt);
    }

    template <typename Kind = Bus>
    Kind& MakeBus(int kind) {
        Kind& made = [this]() -> Kind& {
            if constexpr (std::is_same_v<Kind, Bus>) return AddBus<Bus>(*model, Point{100, 100}, true);
            else return AddBus<Kind>(*model, Point{100, 100});
        }();
        made.SetName("B1");
        double* v = made.GetValues();
        v[Bus::kNominalKv] = 110.0;
        v[Bus::kVoltage] = 1.02;
        v[Bus::kAngle] = -2.0;
        v[Bus::kKind] = kind;
        Attach(*model, made, ElementType::PowerLine, Category::Line, {100, 101});
        return made;
    }
    void ExpectOneMessage(int level, const std::string& text) {
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].level, level);
        EXPECT_EQ(sink.messages[0].text, text);
    }
    AttachedElement& Add(Bus& to, int classType, int category) {
        return Attach(*model, to, classType, category, {100, 100 + ++placed});
    }

    // What every record of the fixture's bus holds, before what its kind
    // and attachments add.
    static BusRecord Base(int kind) {
        BusRecord r;
        r.kind = kind;
        r.number = 1;
        r.key = 0x101;
        r.name = "B1";
        r.voltage = 1.0;
        r.voltageCopy = 1.02;
        r.angle = -2.0;
        r.baseKv = 110.0;
        r.maxVoltage = 1.1;
        r.minVoltage = 0.95;
        r.voltageCopy2 = 1.0;
        return r;
    }

    TestModel model;
    RecordingMessageSink sink;
    RecordingPrompt prompt;
    int placed = 1;
};

TEST_F(BusRecordTest, LoadBusSumsLoadsAndShuntsAndLeavesTheBankBlockAlone) {
    Bus& bus = MakeBus(1);
    AttachedElement& load = Add(bus, ElementType::Load, Category::Load);
    load.values[0] = 50;
    load.values[1] = 20;
    load.values[7] = 30;
    load.values[8] = 40;
    for (int i = 0; i < 6; ++i) load.values[11 + i] = i + 1;
    Add(bus, ElementType::Load, Category::Load).SetOn(false);
    AttachedElement& shunt = Add(bus, ElementType::Shunt, Category::Shunt);
    shunt.values[0] = 5;
    shunt.values[1] = 10;
    Add(bus, ElementType::Capacitor, Category::Capacitor).values[1] = 20;
    Add(bus, ElementType::Reactor, Category::Reactor).values[1] = -10;  // inductive: stored negative

    BusRecord record;
    record.bankStep = 77;  // the record is not cleared first
    ASSERT_TRUE(bus.FillSolverRecord(&record, 1));

    BusRecord expected = Base(1);
    expected.loadP = 50;
    expected.loadQ = 20;
    expected.shuntG = 0.05;
    expected.shuntB = 0.2;  // (10 + 20 - 10) / 100
    expected.shuntPProduct = 0.05 * 1.02 * 1.02 * 100;
    expected.shuntQ = 0.2 * 1.02 * 1.02 * 100;
    expected.hasLoad = true;
    expected.pLoadShare = 30;
    expected.qLoadShare = 40;
    for (int i = 0; i < 6; ++i) expected.direction[i] = i + 1;
    expected.bankStep = 77;
    ExpectSameRecord(expected, record);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(BusRecordTest, GeneratorBusSumsGenerationAndLimitsOfItsMachines) {
    Bus& bus = MakeBus(4);
    AttachedElement& generator = Add(bus, ElementType::Generator, Category::Generator);
    double g[] = {80, 15, -30, 50, 10, 120};
    std::copy(std::begin(g), std::end(g), generator.values.begin());
    generator.values[13] = 25;
    AttachedElement& condenser = Add(bus, ElementType::SyncCompensator, Category::SyncCompensator);
    condenser.values[1] = 5;
    condenser.values[2] = -10;
    condenser.values[3] = 20;
    AttachedElement& svc = Add(bus, ElementType::VarCompensator, Category::VarCompensator);
    svc.values[1] = 2;
    svc.values[2] = -5;
    svc.values[3] = 5;

    BusRecord record;
    ASSERT_TRUE(bus.FillSolverRecord(&record, 1));
    BusRecord expected = Base(4);
    expected.generationP = 80;
    expected.generationQ = 22;
    expected.maxQ = 75;
    expected.minQ = -45;
    expected.maxP = 120;
    expected.minP = 10;
    expected.generationShare = 25;
    expected.hasGeneration = true;
    ExpectSameRecord(expected, record);
}

TEST_F(BusRecordTest, SwingBusNeedsAGeneratorButANetworkEquivalentIsOne) {
    Bus& bus = MakeBus(0);
    BusRecord record;
    EXPECT_FALSE(bus.FillSolverRecord(&record, 1));
    ExpectOneMessage(3, "Generator must be connected to the swing bus!\nBus Name: B1");
    Add(bus, ElementType::Generator, Category::Generator).values[0] = 10;
    EXPECT_TRUE(bus.FillSolverRecord(&record, 1));
    EXPECT_EQ(record.kind, 0);

    NetworkEquivalent& equivalent = MakeBus<NetworkEquivalent>(0);
    equivalent.GetValues()[Bus::kMaxVoltage] = 100;  // MW
    equivalent.GetValues()[Bus::kMinVoltage] = 30;   // Mvar
    BusRecord fromEquivalent;
    ASSERT_TRUE(equivalent.FillSolverRecord(&fromEquivalent, 1));
    BusRecord expected = Base(0);
    expected.number = 2;
    expected.key = 0x201;
    expected.generationP = 100;
    expected.generationQ = 30;
    expected.maxP = expected.maxQ = 999999;
    expected.minP = expected.minQ = -999999;
    expected.maxVoltage = 2.0;
    expected.minVoltage = 0.0;
    expected.hasGeneration = true;
    ExpectSameRecord(expected, fromEquivalent);
}

TEST_F(BusRecordTest, BankBusTakesTheBanksBlockAndIsRefusedWithoutOne) {
    Bus& bus = MakeBus(7);
    BusRecord record;
    EXPECT_FALSE(bus.FillSolverRecord(&record, 1));
    ExpectOneMessage(
        3, "Capacitor or reactor bank must be connected to bus with remote or local voltage control!\nBus Name: B1");

    Bus& banked = MakeBus(1);
    std::vector<BankBlock> steps{{3, 10.0}, {2, 15.0}};
    AttachedElement& bank = Add(banked, ElementType::VariableBank, Category::CapacitorBank);
    bank.bankRecord = {true, 3, 0.3, 30.0, 10.0, &steps};
    ASSERT_TRUE(banked.FillSolverRecord(&record, 1));
    EXPECT_EQ(banked.GetValues()[Bus::kKind], 7.0);
    BusRecord expected = Base(7);
    expected.number = 2;
    expected.key = 0x201;
    expected.bankTag = 1;
    expected.bankStep = 3;
    expected.bankReserved[0] = 0.3;
    expected.bankReserved[1] = 30.0;
    expected.firstBankBlock = 10.0;
    expected.bankBlocks = steps.data();
    expected.bankBlockCount = 2;
    ExpectSameRecord(expected, record);
}

TEST_F(BusRecordTest, VoltageBandAndRemoteRegulationCarryLimitsAndTheRegulatedBus) {
    Bus& band = MakeBus(6);
    band.GetValues()[Bus::kMinVoltage] = 0.97;
    band.GetValues()[Bus::kMaxVoltage] = 1.04;
    BusRecord record;
    ASSERT_TRUE(band.FillSolverRecord(&record, 1));
    BusRecord expected = Base(6);
    expected.minVoltage = 0.97;
    expected.maxVoltage = 1.04;
    ExpectSameRecord(expected, record);

    Bus& regulating = MakeBus(8);  // 0x201
    Bus& far = MakeBus(1);         // 0x301
    far.GetValues()[Bus::kNominalKv] = 220;
    regulating.GetValues()[Bus::kRegulatedBusKey] = far.GetKey();
    regulating.GetValues()[Bus::kRegulationShare] = 50;
    ASSERT_TRUE(regulating.FillSolverRecord(&record, 1));
    expected = Base(8);
    expected.number = 2;
    expected.key = 0x201;
    expected.regulatedBus = 3;
    expected.regulatedBaseKv = 220;
    expected.participation = 50;
    ExpectSameRecord(expected, record);

    regulating.GetValues()[Bus::kRegulatedBusKey] = 0x901;  // no such bus
    ASSERT_TRUE(regulating.FillSolverRecord(&record, 1));
    EXPECT_EQ(record.regulatedBus, 0);
    EXPECT_EQ(record.regulatedBaseKv, 0.0);
}

TEST_F(BusRecordTest, BusesWithoutElementsOrBranchesAreSkipped) {
    Bus& lonely = AddBus<Bus>(*model, Point{0, 0}, true);
    lonely.SetName("L");
    BusRecord record;
    EXPECT_FALSE(lonely.FillSolverRecord(&record, 1));
    EXPECT_EQ(lonely.GetValues()[Bus::kVoltage], 0.0);

    Bus& switched = AddBus<Bus>(*model, Point{0, 0}, true);
    Attach(*model, switched, ElementType::CircuitBreaker, Category::Connector, {0, 10}).SetOn(false);
    EXPECT_FALSE(switched.FillSolverRecord(&record, 1));

    Bus& loadOnly = AddBus<Bus>(*model, Point{0, 0}, true);
    loadOnly.SetName("S");
    Attach(*model, loadOnly, ElementType::Load, Category::Load, {0, 10}).values[0] = 5;
    EXPECT_FALSE(loadOnly.FillSolverRecord(&record, 1));
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[0].level, 2);
    EXPECT_EQ(sink.messages[0].text, "Bus 'L' has no connected elements!. Bus will be ignored!");
    EXPECT_EQ(sink.messages[1].level, 2);
    EXPECT_EQ(sink.messages[1].text, "Bus S has no branches connected. Bus will be ignored!");

    loadOnly.GetValues()[Bus::kVoltage] = 1.0;
    ASSERT_TRUE(loadOnly.FillSolverRecord(&record, 0));  // a bus group's record: no checks
    EXPECT_EQ(record.loadP, 5.0);
    EXPECT_EQ(sink.messages.size(), 2u);
}

TEST_F(BusRecordTest, AReactorStaysInductiveInTheRecordAndTheCard) {
    Bus& bus = MakeBus(1);
    Add(bus, ElementType::Reactor, Category::Reactor).values[1] = -10;
    BusRecord record;
    ASSERT_TRUE(bus.FillSolverRecord(&record, 1));
    EXPECT_DOUBLE_EQ(record.shuntB, -0.1);
    std::string card;
    ASSERT_TRUE(bus.WriteCDFCard(card, nullptr));
    EXPECT_EQ(card.substr(card.size() - 13, 8), " -0.1000");
}

TEST_F(BusRecordTest, IeeeCardsOfEachKind) {
    Bus& load = MakeBus(1);
    load.SetName("  North Bus 1  ");
    AttachedElement& demand = Add(load, ElementType::Load, Category::Load);
    demand.values[0] = 50;
    demand.values[1] = 20;
    Add(load, ElementType::Shunt, Category::Shunt).values[0] = 5;
    std::string card;
    int flags = 0;
    ASSERT_TRUE(load.WriteCDFCard(card, &flags));
    EXPECT_EQ(card,
              "   1 North_Bus_1   1  1  0 1.0200  -2.00    50.00    20.00     0.00    0.00  110.00 1.0000"
              "    0.00    0.00  0.0500  0.0000    0");
    EXPECT_EQ(flags, 0);

    Bus& generating = MakeBus(4);
    generating.SetName("A_very_long_name");
    AttachedElement& generator = Add(generating, ElementType::Generator, Category::Generator);
    double g[] = {80, 15, -30, 50};
    std::copy(std::begin(g), std::end(g), generator.values.begin());
    ASSERT_TRUE(generating.WriteCDFCard(card, nullptr));
    EXPECT_EQ(card,
              "   2 A_very_long_  1  1  2 1.0200  -2.00     0.00     0.00    80.00    0.00  110.00 1.0000"
              "   50.00  -30.00  0.0000  0.0000    2");

    Bus& swing = MakeBus(0);
    AttachedElement& slack = Add(swing, ElementType::Generator, Category::Generator);
    slack.values[0] = 80;
    ASSERT_TRUE(swing.WriteCDFCard(card, &flags));
    EXPECT_EQ(card.substr(0, 26), "   3 B1            1  1  3");
    EXPECT_EQ(card.substr(40, 35), "     0.00     0.00     0.00    0.00");
    EXPECT_EQ(flags, 1);
    EXPECT_TRUE(prompt.boxes.empty());
}

TEST_F(BusRecordTest, IeeeCardRefusalsWriteNothing) {
    Bus& swing = MakeBus(0);
    Add(swing, ElementType::Load, Category::Load);
    std::string card = "untouched";
    EXPECT_FALSE(swing.WriteCDFCard(card, nullptr));
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].text, "Generator must be connected to the swing bus!");

    Bus& single = MakeBus(1);
    card = "untouched";
    EXPECT_FALSE(single.WriteCDFCard(card, nullptr));
    EXPECT_EQ(card, "untouched");

    NetworkEquivalent& equivalent = MakeBus<NetworkEquivalent>(0);
    Add(equivalent, ElementType::Load, Category::Load);
    EXPECT_TRUE(equivalent.WriteCDFCard(card, nullptr));
    EXPECT_EQ(prompt.boxes.size(), 1u);
}

TEST_F(BusRecordTest, SharesHandedBackReachTheGeneratorAndTheLoadOnly) {
    Bus& bus = MakeBus(4);
    AttachedElement& generator = Add(bus, ElementType::Generator, Category::Generator);
    AttachedElement& load = Add(bus, ElementType::Load, Category::Load);
    BusRecord shares;
    shares.key = bus.GetKey();
    shares.voltage = shares.voltageCopy = 0.5;
    shares.baseKv = 1.0;
    shares.hasGeneration = true;
    shares.generationShare = 40;
    shares.pLoadShare = 20;
    shares.qLoadShare = 10;
    model->ApplyRecordToElement(shares);
    EXPECT_EQ(generator.values[13], 40.0);
    EXPECT_EQ(load.values[7], 0.0);
    shares.hasLoad = true;
    model->ApplyRecordToElement(shares);
    EXPECT_EQ(load.values[7], 20.0);
    EXPECT_EQ(load.values[8], 10.0);
    EXPECT_EQ(bus.GetValues()[Bus::kVoltage], 1.02);
    EXPECT_EQ(bus.GetValues()[Bus::kNominalKv], 110.0);

    shares.key = load.GetKey();  // not a bus
    shares.generationShare = 99;
    model->ApplyRecordToElement(shares);
    shares.key = 0x7701;  // no element
    model->ApplyRecordToElement(shares);
    EXPECT_EQ(generator.values[13], 40.0);
}

TEST_F(BusRecordTest, SwitchFlowBalanceFillsTheOneUnknownSwitch) {
    Bus& bus = MakeBus(1);
    AttachedElement& load = Add(bus, ElementType::Load, Category::Load);
    load.flowP = 10;
    load.flowQ = 5;
    AttachedElement& first = Add(bus, ElementType::CircuitBreaker, Category::Connector);
    AttachedElement& second = Add(bus, ElementType::Disconnector, Category::Connector);
    bus.ResetSwitchFlows(false);
    EXPECT_TRUE(load.flowKnown);
    EXPECT_FALSE(bus.BalanceSwitchFlow());
    EXPECT_EQ(first.flowSetBy, 0);
    EXPECT_EQ(second.flowSetBy, 0);

    second.SetFlowKnown(true);
    second.flowP = 1;
    second.flowQ = 2;
    EXPECT_TRUE(bus.BalanceSwitchFlow());
    EXPECT_EQ(first.flowSetBy, bus.GetKey());
    EXPECT_EQ(first.flowP, 11.0);
    EXPECT_EQ(first.flowQ, 7.0);

    NetworkEquivalent& equivalent = MakeBus<NetworkEquivalent>(0);
    equivalent.GetValues()[Bus::kMaxVoltage] = 100;
    equivalent.GetValues()[Bus::kMinVoltage] = 30;
    AttachedElement& tie = Add(equivalent, ElementType::CircuitBreaker, Category::Connector);
    tie.SetFlowKnown(false);
    EXPECT_TRUE(equivalent.BalanceSwitchFlow());
    EXPECT_EQ(tie.flowP, 100.0);
    EXPECT_EQ(tie.flowQ, 30.0);
}

TEST_F(BusRecordTest, GenerationWrittenBackAndTheKindRaisedByWhatAttaches) {
    Bus& bus = MakeBus(1);
    EXPECT_FALSE(bus.SetConnectedGeneration(5, 6));
    AttachedElement& off = Add(bus, ElementType::Generator, Category::Generator);
    off.SetOn(false);
    AttachedElement& condenser = Add(bus, ElementType::SyncCompensator, Category::SyncCompensator);
    EXPECT_TRUE(bus.SetConnectedGeneration(5, 6));
    EXPECT_EQ(off.values[0], 0.0);
    EXPECT_EQ(condenser.values[0], 5.0);
    EXPECT_EQ(condenser.values[1], 6.0);

    struct Case {
        double kind;
        int classType;
        double expected;
    };
    for (Case c : {Case{1, ElementType::Generator, 4}, Case{1, ElementType::VarCompensator, 4},
                   Case{0, ElementType::Generator, 0}, Case{6, ElementType::SyncCompensator, 6},
                   Case{1, ElementType::VariableReactorBank, 7}, Case{4, ElementType::VariableBank, 7},
                   Case{1, ElementType::Load, 1}}) {
        bus.GetValues()[Bus::kKind] = c.kind;
        bus.AdjustBusKind(c.classType);
        EXPECT_EQ(bus.GetValues()[Bus::kKind], c.expected) << c.kind << " " << c.classType;
    }
    ConnectionNode& node = AddBus<ConnectionNode>(*model, Point{0, 0});
    node.AdjustBusKind(ElementType::Generator);
    EXPECT_EQ(node.GetValues()[Bus::kKind], 1.0);
}

// The record of a bus as the model's cursor reads it for a listing.
BusRecord ListedRecord(Bus& bus) {
    BusRecord record;
    EXPECT_TRUE(bus.FillSolverRecord(&record, 0));
    return record;
}

TEST(BusDirectionTotals, AnEditedTotalIsSpreadOverTheElementsTheRecordSums) {
    enum Field { kPg, kPl, kQl };
    struct Case {
        const char* what;
        Field field;
        std::vector<double> shares;
        std::vector<bool> on;
        double total;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {"two loads share the total", kPl, {1.0, 1.0}, {true, true}, 3.0, {1.5, 1.5}},
        {"in proportion to their shares", kQl, {1.0, 3.0}, {true, true}, 8.0, {2.0, 6.0}},
        {"a switched-off load keeps its share", kPl, {1.0, 5.0}, {true, false}, 3.0, {3.0, 5.0}},
        {"shares that cancel: the first takes it", kQl, {1.0, -1.0}, {true, true}, 2.0, {2.0, 0.0}},
        {"zero shares: the first takes it", kPl, {0.0, 0.0}, {true, true}, 4.0, {4.0, 0.0}},
        {"two generators", kPg, {1.0, 3.0}, {true, true}, 8.0, {2.0, 6.0}},
        {"a generator that is off keeps its share", kPg, {1.0, 2.0}, {true, false}, 4.0, {4.0, 2.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DrawnNetwork network;
        Bus& bus = network.AddBus("B1");
        std::vector<double*> shares;
        for (std::size_t i = 0; i < c.shares.size(); ++i) {
            const int height = 10 + 10 * static_cast<int>(i);
            IElement& element = c.field == kPg ? static_cast<IElement&>(network.Hang<Generator>(bus, height))
                                               : static_cast<IElement&>(network.Hang<Load>(bus, height));
            const int index = c.field == kPg   ? int{Generator::kGenerationShare}
                              : c.field == kPl ? int{Load::kPShare}
                                                 : int{Load::kQShare};
            shares.push_back(&element.GetValues()[index]);
            *shares.back() = c.shares[i];
            element.SetOn(c.on[i]);
        }
        BusRecord record = ListedRecord(bus);
        double& total = c.field == kPg ? record.generationShare : c.field == kPl ? record.pLoadShare : record.qLoadShare;
        total = c.total;
        network.model().ApplyRecordToElement(record);
        for (std::size_t i = 0; i < shares.size(); ++i) EXPECT_EQ(*shares[i], c.expected[i]) << i;

        const BusRecord reread = ListedRecord(bus);
        const double& listed = c.field == kPg ? reread.generationShare : c.field == kPl ? reread.pLoadShare : reread.qLoadShare;
        EXPECT_EQ(listed, c.total);
    }
}

TEST(BusDirectionTotals, AnUntouchedTotalLeavesEveryShareToTheLastBit) {
    DrawnNetwork network;
    Bus& bus = network.AddBus("B1");
    // Spread as total x share / total, the first of these would change in
    // its last bit.
    const double active[] = {-0.123456789, 0.3, 0.1};
    std::vector<Load*> loads;
    for (int i = 0; i < 3; ++i) {
        Load& load = network.Hang<Load>(bus, 10 + 10 * i);
        load.GetValues()[Load::kPShare] = active[i];
        load.GetValues()[Load::kQShare] = 1.0;
        loads.push_back(&load);
    }
    BusRecord record = ListedRecord(bus);
    record.qLoadShare = 6.0;
    network.model().ApplyRecordToElement(record);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(loads[i]->GetValues()[Load::kPShare]),
                  std::bit_cast<std::uint64_t>(active[i]));
        EXPECT_EQ(loads[i]->GetValues()[Load::kQShare], 2.0);
    }
}

}  // namespace
