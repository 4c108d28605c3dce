// The model's record cursor: the tables and their filters, bus groups in
// place of their buses, and the branch ends renumbered to them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawn_network.h"
#include "generator.h"
#include "recording_message_sink.h"
#include "transformer.h"

namespace {

struct BusRow {
    std::string name;
    int kind;
    int number;
    int key;
    int regulatedBus;
};

std::vector<BusRow> BusRows(PowerSystem& model, int filter = 0) {
    IRecordCursor* cursor = model.GetRecordCursor();
    cursor->SetTable(IRecordCursor::BusTable, filter);
    cursor->MoveFirst();
    std::vector<BusRow> rows;
    BusRecord record;
    while (cursor->Next(record)) rows.push_back({record.name, record.kind, record.number, record.key, record.regulatedBus});
    return rows;
}

std::vector<BranchRecord> BranchRows(PowerSystem& model, int filter = 0) {
    IRecordCursor* cursor = model.GetRecordCursor();
    cursor->SetTable(IRecordCursor::BranchTable, filter);
    cursor->MoveFirst();
    std::vector<BranchRecord> rows;
    BranchRecord record;
    while (cursor->Next(record)) rows.push_back(record);
    return rows;
}

std::vector<std::string> Names(const std::vector<BusRow>& rows) {
    std::vector<std::string> names;
    for (const BusRow& row : rows) names.push_back(row.name);
    return names;
}

int Serial(const IElement& element) { return static_cast<int>(KeySerial(element.GetKey())); }

// A -switch- B -line- C: A the slack with a generator.
TEST(ModelCursor, AClosedSwitchSendsOneGroupInPlaceOfItsBuses) {
    struct Case {
        const char* name;
        int switchType;
        bool closed;
        bool freeEnd;
        std::vector<std::string> buses;
        bool lineFromGroup;
    };
    const Case cases[] = {
        {"closed connector", ElementType::Connector, true, false, {"BusGroup 0", "C"}, true},
        {"closed circuit breaker", ElementType::CircuitBreaker, true, false, {"BusGroup 0", "C"}, true},
        {"open disconnector", ElementType::Disconnector, false, false, {"B", "C"}, false},
        {"connector with a free end", ElementType::Connector, true, true, {"A", "B", "C"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DrawnNetwork net;
        Bus& a = net.AddBus("A");
        Bus& b = net.AddBus("B");
        Bus& cBus = net.AddBus("C");
        net.Hang<Generator>(a, 10);
        a.GetValues()[Bus::kKind] = Bus::kSwingKind;
        Connector* sw = nullptr;
        if (c.switchType == ElementType::CircuitBreaker) sw = &net.Join<CircuitBreaker>(a, b);
        else if (c.switchType == ElementType::Disconnector) sw = &net.Join<Disconnector>(a, b);
        else sw = &net.Join<Connector>(a, b);
        sw->SetOn(c.closed);
        if (c.freeEnd) {
            sw->SetEndKey(1, 0);
            b.RemoveConnection(sw->GetKey());
        }
        net.Join<PowerLine>(b, cBus, 30);
        net.model().BuildBusGroups();

        const auto buses = BusRows(net.model());
        EXPECT_EQ(Names(buses), c.buses);
        const auto branches = BranchRows(net.model());
        ASSERT_EQ(branches.size(), 1u);
        EXPECT_EQ(branches[0].fromBus, c.lineFromGroup ? 0x1000000 : Serial(b));
        EXPECT_EQ(branches[0].toBus, Serial(cBus));
        if (c.lineFromGroup) {
            EXPECT_EQ(buses[0].number, 0x1000000);
            EXPECT_EQ(buses[0].key, 25);
            EXPECT_EQ(buses[0].kind, 0);
        }
    }
}

TEST(ModelCursor, TheEmptyEntryOfAMergedGroupIsSkipped) {
    DrawnNetwork net;
    std::vector<Bus*> buses;
    for (const char* name : {"A", "B", "C", "D", "E"}) buses.push_back(&net.AddBus(name));
    net.Join<Connector>(*buses[0], *buses[1], 10);
    net.Join<Connector>(*buses[2], *buses[3], 15);
    net.Join<Connector>(*buses[1], *buses[2], 20);
    PowerLine& line = net.Join<PowerLine>(*buses[3], *buses[4], 30);
    net.model().BuildBusGroups();
    EXPECT_EQ(Names(BusRows(net.model())), (std::vector<std::string>{"BusGroup 1", "E"}));
    EXPECT_EQ(BusRows(net.model())[0].key, (1 << 8) | 25);
    EXPECT_EQ(BranchRows(net.model())[0].fromBus, 0x1000001);
    // Without grouping the buses go as themselves.
    IRecordCursor* cursor = net.model().GetRecordCursor();
    cursor->SetGroupBuses(false);
    cursor->SetTable(IRecordCursor::BranchTable, 0);
    cursor->MoveFirst();
    BranchRecord record;
    ASSERT_TRUE(cursor->Next(record));
    EXPECT_EQ(record.key, line.GetKey());
    EXPECT_EQ(record.fromBus, Serial(*buses[3]));
}

// Buses of kinds 0, 4, 1, 6 and 3; a line, a transformer, a line out of
// service and a regulating transformer.
TEST(ModelCursor, FiltersChooseBusKindsAndBranchKinds) {
    DrawnNetwork net;
    const int kinds[] = {0, 4, 1, 6, 3};
    std::vector<Bus*> buses;
    for (const char* name : {"K0", "K4", "K1", "K6", "K3"}) buses.push_back(&net.AddBus(name));
    net.Hang<Generator>(*buses[0], 10);
    net.Hang<Generator>(*buses[1], 10);
    for (std::size_t i = 0; i < buses.size(); ++i) buses[i]->GetValues()[Bus::kKind] = kinds[i];
    PowerLine& first = net.Join<PowerLine>(*buses[0], *buses[1], 15);
    Transformer& transformer = net.Join<Transformer>(*buses[1], *buses[2], 20);
    PowerLine& off = net.Join<PowerLine>(*buses[2], *buses[3], 25);
    off.SetOn(false);
    PowerLine& last = net.Join<PowerLine>(*buses[2], *buses[3], 30);
    RegulatedTransformer& regulating = net.Join<RegulatedTransformer>(*buses[3], *buses[4], 35);
    net.model().BuildBusGroups();

    struct BusCase {
        int filter;
        std::vector<std::string> names;
    };
    for (const BusCase& c : {BusCase{0, {"K0", "K4", "K1", "K6", "K3"}}, BusCase{1, {"K1", "K6", "K3"}},
                             BusCase{2, {"K0", "K4"}}, BusCase{5, {}}}) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(Names(BusRows(net.model(), c.filter)), c.names);
    }
    struct BranchCase {
        int filter;
        std::vector<int> keys;
    };
    for (const BranchCase& c :
         {BranchCase{0, {first.GetKey(), transformer.GetKey(), last.GetKey(), regulating.GetKey()}},
          BranchCase{3, {first.GetKey(), last.GetKey()}}, BranchCase{4, {transformer.GetKey(), regulating.GetKey()}},
          BranchCase{1, {}}}) {
        SCOPED_TRACE(c.filter);
        std::vector<int> keys;
        for (const BranchRecord& r : BranchRows(net.model(), c.filter)) keys.push_back(r.key);
        EXPECT_EQ(keys, c.keys);
    }
}

// A and B joined by a connector; C outside. A line from A to B falls inside
// the group; a regulating transformer from B to C regulates B; a generator
// bus C regulates B remotely.
TEST(ModelCursor, GroupedEndsAndRegulatedBusesTakeTheGroupNumber) {
    DrawnNetwork net;
    RecordingMessageSink sink;
    net.model().SetMessageSink(&sink);
    Bus& a = net.AddBus("A");
    Bus& b = net.AddBus("B");
    Bus& c = net.AddBus("C");
    Bus& d = net.AddBus("D");
    net.Join<Connector>(a, b, 10);
    net.Join<PowerLine>(a, b, 15).SetName("Inside");
    RegulatedTransformer& regulating = net.Join<RegulatedTransformer>(b, c, 20);
    regulating.GetValues()[BranchData::kRegulatedEnd] = 0;
    net.Join<PowerLine>(c, d, 25);
    net.Hang<Generator>(c, 10);
    c.GetValues()[Bus::kKind] = 8;
    c.GetValues()[Bus::kRegulatedBusKey] = a.GetKey();
    net.model().BuildBusGroups();

    const auto buses = BusRows(net.model());
    ASSERT_EQ(Names(buses), (std::vector<std::string>{"BusGroup 0", "C", "D"}));
    EXPECT_EQ(buses[1].regulatedBus, 0x1000000);
    const auto branches = BranchRows(net.model());
    ASSERT_EQ(branches.size(), 2u);
    EXPECT_EQ(branches[0].key, regulating.GetKey());
    EXPECT_EQ(branches[0].fromBus, 0x1000000);
    EXPECT_EQ(branches[0].regulatedBus, 0x1000000);
    EXPECT_EQ(branches[0].toBus, Serial(c));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].level, IMessageSink::Warning);
    EXPECT_NE(sink.messages[0].text.find("'Inside'"), std::string::npos);
}

TEST(ModelCursor, TheConnectorTableGivesTheClosedSwitches) {
    DrawnNetwork net;
    Bus& a = net.AddBus("A");
    Bus& b = net.AddBus("B");
    Connector& closed = net.Join<Connector>(a, b, 10);
    net.Join<Disconnector>(a, b, 20);  // starts open
    IRecordCursor* cursor = net.model().GetRecordCursor();
    cursor->SetTable(IRecordCursor::ConnectorTable, 0);
    EXPECT_EQ(cursor->MoveFirst(), 2);
    BranchRecord record;
    ASSERT_TRUE(cursor->Next(record));
    EXPECT_EQ(record.key, closed.GetKey());
    EXPECT_FALSE(cursor->Next(record));
    BusRecord bus;
    EXPECT_FALSE(cursor->Next(bus));
}

}  // namespace
