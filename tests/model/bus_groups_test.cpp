// Bus groups: merging switch by switch, the group's record, its results
// spread back, and the switch flows settled by balance.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bus_groups.h"
#include "drawn_network.h"
#include "generator.h"
#include "load.h"
#include "recording_message_sink.h"

namespace {

struct SwitchPlacing {
    int from;
    int to;
    bool closed = true;
};

std::vector<std::vector<std::string>> MemberNames(const BusGroups& groups) {
    std::vector<std::vector<std::string>> names;
    for (int i = 0; i < groups.GetGroupCount(); ++i) {
        names.emplace_back();
        for (const Bus* bus : groups.GetMembers(i)) names.back().push_back(bus->GetName());
    }
    return names;
}

TEST(BusGroups, SwitchesMergeTheirBusesInKeyOrder) {
    using Names = std::vector<std::vector<std::string>>;
    struct Case {
        const char* name;
        std::vector<SwitchPlacing> switches;
        std::vector<bool> answers;
        Names groups;
    };
    const Case cases[] = {
        {"one switch: a new group", {{0, 1}}, {true}, {{"A", "B"}}},
        {"the second bus joins", {{0, 1}, {1, 2}}, {true, true}, {{"A", "B", "C"}}},
        {"the first bus joins", {{0, 1}, {2, 1}}, {true, true}, {{"A", "B", "C"}}},
        {"a merge leaves an empty entry in the middle", {{0, 1}, {2, 3}, {1, 2}}, {true, true, true},
         {{}, {"C", "D", "A", "B"}}},
        {"an emptied last entry is removed", {{0, 1}, {2, 3}, {2, 0}}, {true, true, true}, {{"A", "B", "C", "D"}}},
        {"a ring of switches", {{0, 1}, {1, 2}, {2, 0}}, {true, true, false}, {{"A", "B", "C"}}},
        {"parallel switches", {{0, 1}, {1, 0}}, {true, false}, {{"A", "B"}}},
        {"an open switch", {{0, 1, false}}, {false}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DrawnNetwork net;
        std::vector<Bus*> buses;
        for (const char* name : {"A", "B", "C", "D"}) buses.push_back(&net.AddBus(name));
        std::vector<Connector*> switches;
        int height = 5;
        for (const SwitchPlacing& s : c.switches) {
            switches.push_back(&net.Join<Connector>(*buses[s.from], *buses[s.to], height += 5));
            switches.back()->SetOn(s.closed);
        }
        BusGroups groups;
        groups.SetOwner(&net.model());
        std::vector<bool> answers;
        for (Connector* s : switches) answers.push_back(groups.AddSwitch(s));
        EXPECT_EQ(answers, c.answers);
        EXPECT_EQ(MemberNames(groups), c.groups);
    }
}

TEST(BusGroups, AFreeEndJoinsNothing) {
    DrawnNetwork net;
    Bus& a = net.AddBus("A");
    Bus& b = net.AddBus("B");
    Connector& connector = net.Join<Connector>(a, b);
    connector.SetEndKey(1, 0);
    b.RemoveConnection(connector.GetKey());
    BusGroups groups;
    groups.SetOwner(&net.model());
    EXPECT_FALSE(groups.AddSwitch(&connector));
    EXPECT_EQ(groups.GetGroup(a.GetKey()), -1);
}

// Three buses joined into one group, the middle one carrying a line out to
// a fourth bus.
struct GroupOfThree {
    GroupOfThree() {
        for (const char* name : {"A", "B", "C"}) members.push_back(&net.AddBus(name));
        outside = &net.AddBus("D");
        net.Join<Connector>(*members[0], *members[1], 10);
        net.Join<Connector>(*members[1], *members[2], 15);
        net.Join<PowerLine>(*members[1], *outside, 30);
        net.model().SetMessageSink(&sink);
        groups.SetOwner(&net.model());
    }
    void Build() {
        for (const auto& [key, element] : net.model().List(PowerSystem::kConnectors).Entries())
            groups.AddSwitch(element);
    }
    // Sets a member's kind, voltage (p.u.), angle (degrees) and voltage band.
    void SetMember(int index, int kind, double voltage, double angle, double vMin, double vMax) {
        double* v = members[static_cast<std::size_t>(index)]->GetValues();
        v[Bus::kKind] = kind;
        v[Bus::kDesiredVoltage] = voltage;
        v[Bus::kAngle] = angle;
        v[Bus::kMinVoltage] = vMin;
        v[Bus::kMaxVoltage] = vMax;
    }

    DrawnNetwork net;
    std::vector<Bus*> members;
    Bus* outside = nullptr;
    RecordingMessageSink sink;
    BusGroups groups;
};

TEST(BusGroups, TheRecordTakesItsKindFromTheSlackOrTheFirstGeneratorBus) {
    struct Case {
        const char* name;
        int kinds[3];
        int kind;         // of the group
        double voltage;   // of the group
        double angle;
        double vMax, vMin;
    };
    // Members: voltage 1.01, 1.02, 1.03; angles 1, 2, 3; bands 0.9-1.1,
    // 0.92-1.12, 0.94-1.08.
    const Case cases[] = {
        {"load buses: the last voltage, the widest band", {1, 1, 1}, 1, 1.03, 3, 1.12, 0.9},
        {"a slack after a generator bus wins", {1, 4, 0}, 0, 1.03, 3, 1.08, 0.94},
        {"the first generator bus sets the kind", {5, 1, 4}, 5, 1.01, 1, 1.1, 0.9},
        {"a slack is kept over a later generator bus", {0, 4, 1}, 0, 1.01, 1, 1.1, 0.9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GroupOfThree g;
        for (int i = 0; i < 3; ++i) g.SetMember(i, c.kinds[i], 1.01 + 0.01 * i, 1.0 + i, 0.9 + 0.02 * i, 1.1 + 0.02 * i - (i == 2 ? 0.06 : 0.0));
        g.Build();
        BusRecord record;
        ASSERT_TRUE(g.groups.FillGroupRecord(0, &record));
        EXPECT_EQ(record.kind, c.kind);
        EXPECT_DOUBLE_EQ(record.voltage, c.voltage);
        EXPECT_DOUBLE_EQ(record.angle, c.angle);
        EXPECT_DOUBLE_EQ(record.maxVoltage, c.vMax);
        EXPECT_DOUBLE_EQ(record.minVoltage, c.vMin);
        EXPECT_EQ(record.number, 0x1000000);
        EXPECT_EQ(record.key, 25);
        EXPECT_STREQ(record.name, "BusGroup 0");
    }
}

TEST(BusGroups, TheRecordSumsTheMembersAndNamesControlsItCannotCarry) {
    GroupOfThree g;
    g.SetMember(2, 6, 1.0, 0.0, 0.95, 1.05);
    Load& load = g.net.Hang<Load>(*g.members[0], 20);
    load.GetValues()[Load::kP] = 30.0;
    load.GetValues()[Load::kQ] = 10.0;
    Generator& generator = g.net.Hang<Generator>(*g.members[1], 20);
    generator.GetValues()[Generator::kP] = 50.0;
    g.Build();
    BusRecord record;
    ASSERT_TRUE(g.groups.FillGroupRecord(0, &record));
    EXPECT_DOUBLE_EQ(record.loadP, 30.0);
    EXPECT_DOUBLE_EQ(record.loadQ, 10.0);
    EXPECT_DOUBLE_EQ(record.generationP, 50.0);
    EXPECT_TRUE(record.hasLoad);
    EXPECT_TRUE(record.hasGeneration);
    ASSERT_EQ(g.sink.messages.size(), 1u);
    EXPECT_EQ(g.sink.messages[0].level, IMessageSink::Warning);
    EXPECT_NE(g.sink.messages[0].text.find("'C'"), std::string::npos);
}

TEST(BusGroups, AGroupWithoutLinesGivesNoRecordAndZeroVoltage) {
    DrawnNetwork net;
    RecordingMessageSink sink;
    net.model().SetMessageSink(&sink);
    Bus& a = net.AddBus("A");
    Bus& b = net.AddBus("B");
    net.Join<Connector>(a, b);
    BusGroups groups;
    groups.SetOwner(&net.model());
    groups.AddSwitch(net.model().List(PowerSystem::kConnectors).Entries().begin()->second);
    BusRecord record;
    EXPECT_FALSE(groups.FillGroupRecord(0, &record));
    EXPECT_FALSE(groups.FillGroupRecord(1, &record));
    EXPECT_EQ(a.GetValues()[Bus::kVoltage], 0.0);
    EXPECT_EQ(b.GetValues()[Bus::kVoltage], 0.0);
    // After the members' limit warnings at zero voltage.
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_EQ(sink.messages.back().text,
              "Bus group consisted of 'A', 'B',  has no connected lines!. Bus group will be ignored!");
}

TEST(BusGroups, ResultsGoToEveryMemberAndTheGenerationToOneGenerator) {
    GroupOfThree g;
    Generator& first = g.net.Hang<Generator>(*g.members[1], 20);
    Generator& second = g.net.Hang<Generator>(*g.members[2], 20);
    g.Build();
    g.members[0]->GetValues()[Bus::kMaxVoltage] = 1.05;
    g.groups.SetGroupResults(0, 1.07, -4.5, 120.0, 30.0);
    for (Bus* bus : g.members) {
        EXPECT_DOUBLE_EQ(bus->GetValues()[Bus::kVoltage], 1.07);
        EXPECT_DOUBLE_EQ(bus->GetValues()[Bus::kAngle], -4.5);
    }
    EXPECT_DOUBLE_EQ(first.GetValues()[Generator::kP], 120.0);
    EXPECT_DOUBLE_EQ(first.GetValues()[Generator::kQ], 30.0);
    EXPECT_DOUBLE_EQ(second.GetValues()[Generator::kP], 1.0);  // its default, untouched
    ASSERT_FALSE(g.sink.messages.empty());
    EXPECT_EQ(g.sink.messages[0].text, "Bus 'A' over maximum voltage limit!");
}

TEST(BusGroups, ARingOfSwitchesCannotBeSettled) {
    DrawnNetwork net;
    RecordingMessageSink sink;
    net.model().SetMessageSink(&sink);
    Bus& a = net.AddBus("A");
    Bus& b = net.AddBus("B");
    Bus& c = net.AddBus("C");
    net.Join<Connector>(a, b, 10);
    net.Join<Connector>(b, c, 15);
    net.Join<Connector>(c, a, 20);
    BusGroups groups;
    groups.SetOwner(&net.model());
    for (const auto& [key, element] : net.model().List(PowerSystem::kConnectors).Entries()) groups.AddSwitch(element);
    groups.SettleAllSwitchFlows();
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text,
              "Cannot calculate power flow for all switches/connectors in  group consisted of 'A', 'B', 'C',  buses!");
}

}  // namespace
