#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "solver.h"
#include "solver_handle.h"

namespace {

// Sets the solver's options from a list; item 0 is the program name.
class Options {
public:
    Options(Solver& solver, std::vector<std::string> items) : texts_(std::move(items)) {
        texts_.insert(texts_.begin(), "ostrand");
        for (auto& t : texts_) pointers_.push_back(t.c_str());
        solver.SetArguments(static_cast<int>(pointers_.size()), pointers_.data());
        solver.SetSwitchesFromOptions();
    }

private:
    std::vector<std::string> texts_;
    std::vector<const char*> pointers_;
};

// A slack bus and a load bus joined by a line, built as a case-file reader
// would: buses found or added with search, so they stay in this order.
struct Base {
    NetBus* slack;
    NetBus* load;
    NetBranch* line;
};

NetBus* AddBus(Solver& solver, int number, const char* code, Search search) {
    NetBus* bus = solver.FindOrAddBus(number, "BUS" + std::to_string(number), 110.0, search);
    bus->number = ++solver.GetNetwork()->busCount;
    bus->externalNumber = number;
    bus->code = code;
    bus->voltage = 1.0;
    return bus;
}

NetBranch* AddLine(Solver& solver, NetBus* from, NetBus* to, const char* code = "L") {
    NetBranch* branch = solver.FindOrAddBranch(from, to, Search::No, "", '1');
    branch->code = code;
    branch->owner = "  ";
    branch->key = static_cast<int>(solver.GetNetwork()->branches.size());
    return branch;
}

Base BuildBase(Solver& solver) {
    solver.NewNetwork();
    Base base;
    base.slack = AddBus(solver, 1, "BS", Search::Yes);
    base.slack->voltageFree = false;
    solver.GetNetwork()->slackCount = 1;
    base.load = AddBus(solver, 2, "B", Search::Yes);
    base.load->voltageFree = true;
    base.load->loadP = 0.5;
    base.line = AddLine(solver, base.slack, base.load);
    return base;
}

TEST(NetworkPreparation, AValidNetworkPasses) {
    SolverHandle solver;
    BuildBase(*solver);
    EXPECT_TRUE(solver->PrepareNetwork());
}

// Each fault bus is put at the head of the list, before the buses of the
// base, so that what the pass does to those shows that it went on.
struct FaultCase {
    const char* name;
    std::function<void(Solver&, Base&)> makeFault;
};

TEST(NetworkPreparation, FaultsFailOnlyAfterTheWholePass) {
    const FaultCase cases[] = {
        {"voltage 0",
         [](Solver& s, Base& b) {
             NetBus* bus = AddBus(s, 9, "B", Search::No);
             bus->voltage = 0.0;
             AddLine(s, bus, b.load);
         }},
        {"isolated bus", [](Solver& s, Base&) { AddBus(s, 9, "B", Search::No); }},
        {"G without a C regulated bus",
         [](Solver& s, Base& b) {
             NetBus* bus = AddBus(s, 9, "BG", Search::No);
             bus->EditExtras().remoteBus = b.load;  // code "B"
             AddLine(s, bus, b.load);
         }},
        {"G without a regulated bus",
         [](Solver& s, Base& b) { AddLine(s, AddBus(s, 9, "BG", Search::No), b.load); }},
        {"C without generators", [](Solver& s, Base& b) { AddLine(s, AddBus(s, 9, "BC", Search::No), b.load); }},
        {"T without a transformer", [](Solver& s, Base& b) { AddLine(s, AddBus(s, 9, "BT", Search::No), b.load); }},
        {"X without steps",
         [](Solver& s, Base& b) {
             NetBus* bus = AddBus(s, 9, "BX", Search::No);
             bus->EditExtras().bankBus = bus;
             bus->maxVoltage = 1.1;
             bus->minVoltage = 0.9;
             AddLine(s, bus, b.load);
         }},
        {"X with fewer steps than its count",
         [](Solver& s, Base& b) {
             NetBus* bus = AddBus(s, 9, "BX", Search::No);
             bus->EditExtras().bankBus = bus;
             bus->EditExtras().bankStepCount = 2;
             bus->EditExtras().bankSteps = {0.1};
             bus->maxVoltage = 1.1;
             bus->minVoltage = 0.9;
             AddLine(s, bus, b.load);
         }},
        {"X with unordered limits",
         [](Solver& s, Base& b) {
             NetBus* bus = AddBus(s, 9, "BX", Search::No);
             bus->EditExtras().bankBus = bus;
             bus->EditExtras().bankStepCount = 1;
             bus->EditExtras().bankSteps = {0.1};
             bus->maxVoltage = 0.9;
             bus->minVoltage = 1.1;
             AddLine(s, bus, b.load);
         }},
        {"regulating branch without owner",
         [](Solver& s, Base& b) { AddLine(s, b.slack, b.load, "RP")->owner.clear(); }},
        {"SVC without voltage links",
         [](Solver& s, Base& b) { s.FindOrAddSvc("SVC", Search::No, b.load, b.slack); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SolverHandle solver;
        Base base = BuildBase(*solver);
        c.makeFault(*solver, base);
        EXPECT_FALSE(solver->PrepareNetwork());

        const Network& network = *solver->GetNetwork();
        EXPECT_EQ(network.slackBuses, (std::vector<NetBus*>{base.slack}));
        EXPECT_DOUBLE_EQ(base.load->loadPCopy, 0.5);
        EXPECT_EQ(network.branches.front().get(), base.line);  // back in reading order
    }
}

TEST(NetworkPreparation, NetworksThatCannotBeSolvedEndTheRunAtOnce) {
    const FaultCase cases[] = {
        {"no buses", [](Solver& s, Base&) { s.NewNetwork(); }},
        {"no branch",
         [](Solver& s, Base&) {
             s.NewNetwork();
             AddBus(s, 1, "BS", Search::Yes);
             s.GetNetwork()->slackCount = 1;
         }},
        {"no slack", [](Solver& s, Base&) { s.GetNetwork()->slackCount = 0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SolverHandle solver;
        Base base = BuildBase(*solver);
        c.makeFault(*solver, base);
        EXPECT_THROW(solver->PrepareNetwork(), SolverAbort);
    }
}

TEST(NetworkPreparation, CompletesBusesAndBranches) {
    SolverHandle solver;
    Base base = BuildBase(*solver);
    Network& network = *solver->GetNetwork();
    network.referenceAngle = 0.25;
    base.load->angle = kAngleNotGiven;
    base.slack->angle = 0.0;
    base.slack->maxP = 0.0;
    base.slack->maxPCopy = -1.0;
    base.load->scheduledP = 0.3;
    base.load->loadQ = 0.2;

    // Regulating transformers of every code, each between the two buses.
    const char* codes[] = {"R", "RV", "RP", "RM", "RQ", "RN", "T"};
    const char letters[] = {'V', 'V', 'P', 'P', 'Q', 'Q', 0};
    std::vector<NetBranch*> branches{base.line};
    for (const char* code : codes) branches.push_back(AddLine(*solver, base.slack, base.load, code));
    // Tags pick the end whose area code the branch owns.
    base.slack->areaCode = "001";
    base.slack->owner = "X";
    base.load->areaCode = "002";
    branches[1]->tag = "X";
    branches[2]->tag = "1";

    ASSERT_TRUE(solver->PrepareNetwork());
    EXPECT_DOUBLE_EQ(base.load->angle, 0.25);
    EXPECT_DOUBLE_EQ(base.slack->angle, 0.0);
    EXPECT_DOUBLE_EQ(base.slack->generationDirection, 1.0);  // the slack takes the mismatch
    EXPECT_DOUBLE_EQ(base.slack->shareInUse, 1.0);
    EXPECT_DOUBLE_EQ(base.load->generationDirection, 0.0);
    EXPECT_DOUBLE_EQ(base.slack->maxP, kUnlimited);
    EXPECT_DOUBLE_EQ(base.slack->maxPCopy, kUnlimited);
    EXPECT_DOUBLE_EQ(base.load->generationP, 0.3);
    EXPECT_DOUBLE_EQ(base.load->loadPCopy, 0.5);
    EXPECT_DOUBLE_EQ(base.load->loadQCopy, 0.2);

    ASSERT_EQ(network.branches.size(), branches.size());
    for (std::size_t i = 0; i < branches.size(); ++i) EXPECT_EQ(network.branches[i].get(), branches[i]) << i;
    for (std::size_t i = 0; i < std::size(codes); ++i) EXPECT_EQ(branches[i + 1]->control, letters[i]) << codes[i];
    EXPECT_EQ(branches[1]->owner, "001");
    EXPECT_EQ(branches[2]->owner, "002");
    EXPECT_EQ(branches[3]->owner, "  ");  // no tag: the owner stays
}

TEST(NetworkPreparation, RemoteRegulationLinksGeneratorsAndShares) {
    struct Case {
        std::vector<std::string> options;
        bool sums;
        double share1, share2, negativeShare1;
    };
    const Case cases[] = {
        {{}, false, 0.4, 0.6, 0.4},         // shares as read
        {{}, true, 0.25, 0.75, 0.8},        // shares from the limits: 1/4, 3/4; minima -4/-5
        {{"-N"}, false, 0.4, 0.6, 0.0},     // remote control off: untouched
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.empty() ? (c.sums ? "sums" : "plain") : c.options[0]);
        SolverHandle solver;
        Options options(*solver, c.options);
        Base base = BuildBase(*solver);
        solver->GetNetwork()->remoteVoltageSums = c.sums;
        NetBus* held = base.load;
        held->code = "BC";
        held->voltageFree = false;
        held->EditExtras().regulatingGeneratorCount = 2;
        held->EditExtras().sumMaxQ = 0.4;
        held->EditExtras().sumMinQ = -0.5;
        NetBus* g1 = AddBus(*solver, 3, "BG", Search::Yes);
        NetBus* g2 = AddBus(*solver, 4, "BG", Search::Yes);
        g1->maxQ = 0.1;
        g1->minQ = -0.4;
        g1->generationQ = 0.05;
        g1->EditExtras().participation = 0.4;
        g2->maxQ = 0.3;
        g2->minQ = -0.1;
        g2->generationQ = 0.02;
        g2->EditExtras().participation = 0.6;
        for (NetBus* g : {g1, g2}) {
            g->EditExtras().remoteBus = held;
            g->voltageFree = true;
            AddLine(*solver, g, held);
        }
        ASSERT_TRUE(solver->PrepareNetwork());
        EXPECT_EQ(held->extras().regulatingGenerators, (std::vector<NetBus*>{g1, g2}));
        EXPECT_DOUBLE_EQ(g1->extras().participation, c.share1);
        EXPECT_DOUBLE_EQ(g2->extras().participation, c.share2);
        EXPECT_DOUBLE_EQ(g1->extras().participationNegative, c.negativeShare1);
        if (c.options.empty()) {
            EXPECT_DOUBLE_EQ(held->extras().regulatedGenerationQ, 0.07);
            EXPECT_TRUE(g1->voltageFree);
            EXPECT_FALSE(held->voltageFree);
        } else {
            EXPECT_FALSE(g1->voltageFree);  // each holds its own voltage
            EXPECT_TRUE(held->voltageFree);  // the regulated bus floats
        }
        EXPECT_EQ(g1->extras().remoteBus, held);
    }
}

TEST(NetworkPreparation, TransformerAndBankBuses) {
    for (bool keepLink : {false, true}) {
        SCOPED_TRACE(keepLink ? "option R" : "no option");
        SolverHandle solver;
        Options options(*solver, keepLink ? std::vector<std::string>{"-R"} : std::vector<std::string>{});
        Base base = BuildBase(*solver);
        NetBus* held = AddBus(*solver, 3, "BT", Search::Yes);
        held->voltageFree = true;
        NetBranch* transformer = AddLine(*solver, base.load, held, "R");
        Solver::LinkBranch(held->regulatingBranches, transformer);

        NetBus* bank = AddBus(*solver, 4, "BX", Search::Yes);
        bank->voltageFree = true;
        bank->EditExtras().bankBus = bank;
        bank->EditExtras().bankStepCount = 2;
        bank->EditExtras().bankSteps = {0.1, 0.05};
        bank->maxVoltage = 1.05;
        bank->minVoltage = 0.95;
        NetBus* remote = AddBus(*solver, 5, "BX", Search::Yes);
        remote->voltageFree = true;
        remote->EditExtras().bankBus = bank;  // held by the bank at bus 4
        AddLine(*solver, bank, held);
        AddLine(*solver, remote, bank);

        ASSERT_TRUE(solver->PrepareNetwork());
        EXPECT_EQ(held->voltageFree, keepLink);
        EXPECT_DOUBLE_EQ(remote->maxVoltage, 1.05);
        EXPECT_DOUBLE_EQ(remote->minVoltage, 0.95);
    }
}

TEST(NetworkPreparation, IeeeReaderBusListIsReversed) {
    SolverHandle solver;
    Options options(*solver, {"-I"});
    solver->NewNetwork();
    NetBus* first = AddBus(*solver, 1, "BS", Search::No);
    NetBus* second = AddBus(*solver, 2, "B", Search::No);
    solver->GetNetwork()->slackCount = 1;
    AddLine(*solver, first, second);
    ASSERT_TRUE(solver->PrepareNetwork());
    const auto& buses = solver->GetNetwork()->buses;
    EXPECT_EQ(buses[0].get(), first);
    EXPECT_EQ(buses[1].get(), second);
}

// Zones 01, 02, 03 and 02 at buses 1-4; lines 1-2 and 3-4 tie the areas,
// line 2-4 lies inside area 02. Each area's first bus is its area bus.
struct AreaNetwork {
    NetArea* areas[3];
    NetBus* buses[4];
};

AreaNetwork BuildAreas(Solver& solver) {
    solver.NewNetwork();
    AreaNetwork n;
    const char* zones[] = {"01", "02", "03", "02"};
    const char* codes[] = {"BS", "BA", "BA", "B"};
    for (int i = 0; i < 4; ++i) {
        n.buses[i] = AddBus(solver, i + 1, codes[i], Search::Yes);
        n.buses[i]->areaCode = zones[i];
        n.buses[i]->voltageFree = true;
    }
    solver.GetNetwork()->slackCount = 1;
    for (int i = 0; i < 3; ++i) {
        n.areas[i] = solver.FindOrAddArea(0, std::string("AREA") + zones[i], Search::No);
        n.areas[i]->number = i + 1;
        n.areas[i]->codes[1] = zones[i];  // any slot may list a code
        n.areas[i]->areaBus = n.buses[i];
    }
    AddLine(solver, n.buses[0], n.buses[1])->tag = "1";
    AddLine(solver, n.buses[1], n.buses[3]);
    AddLine(solver, n.buses[2], n.buses[3]);
    return n;
}

TEST(NetworkPreparation, AreasCollectBusesAndTies) {
    SolverHandle solver;
    AreaNetwork n = BuildAreas(*solver);
    ASSERT_TRUE(solver->PrepareNetwork());
    EXPECT_EQ(n.areas[1]->buses, (std::vector<NetBus*>{n.buses[1], n.buses[3]}));
    EXPECT_EQ(n.buses[3]->area, n.areas[1]);
    EXPECT_EQ(n.areas[0]->ties.size(), 1u);
    EXPECT_EQ(n.areas[1]->ties.size(), 2u);
    EXPECT_EQ(n.areas[2]->ties.size(), 1u);
    EXPECT_EQ(n.areas[0]->slackCount, 1);
    const Network& network = *solver->GetNetwork();
    EXPECT_EQ(network.branches[0]->meteredBus, n.buses[1]);  // tag "1" is not the from bus's text
    // Every area is tied: no area bus becomes a slack.
    EXPECT_EQ(n.buses[1]->code, "BA");
    EXPECT_EQ(n.buses[2]->code, "BA");
    EXPECT_EQ(n.areas[1]->areaBus, n.buses[1]);
}

TEST(NetworkPreparation, WithoutAreaControlTheSlackHoldsTiedAreas) {
    SolverHandle solver;
    Options options(*solver, {"-A"});
    AreaNetwork n = BuildAreas(*solver);
    ASSERT_TRUE(solver->PrepareNetwork());
    for (NetArea* area : n.areas) EXPECT_EQ(area->areaBus, n.buses[0]);
}

TEST(NetworkPreparation, AnAreaWithoutTiesHoldsItsOwnAngle) {
    // Two islands: zone 01 (buses 1, 4) and zone 02 (buses 2, 3).
    SolverHandle solver;
    solver->NewNetwork();
    NetBus* buses[4];
    const char* zones[] = {"01", "02", "02", "01"};
    const char* codes[] = {"BS", "BA", "B", "B"};
    for (int i = 0; i < 4; ++i) {
        buses[i] = AddBus(*solver, i + 1, codes[i], Search::Yes);
        buses[i]->areaCode = zones[i];
    }
    solver->GetNetwork()->slackCount = 1;
    AddLine(*solver, buses[0], buses[3]);
    AddLine(*solver, buses[1], buses[2]);
    for (int i = 0; i < 2; ++i) {
        NetArea* area = solver->FindOrAddArea(0, zones[i], Search::No);
        area->codes[0] = zones[i];
        area->areaBus = buses[i];
    }
    ASSERT_TRUE(solver->PrepareNetwork());
    EXPECT_EQ(buses[1]->code, "BAS");
    EXPECT_EQ(solver->GetNetwork()->slackCount, 2);
    EXPECT_EQ(solver->GetNetwork()->slackBuses, (std::vector<NetBus*>{buses[0], buses[1]}));
}

TEST(NetworkPreparation, AreaFaults) {
    struct Case {
        const char* name;
        std::function<void(AreaNetwork&)> makeFault;
    };
    const Case cases[] = {
        {"a zone no area lists", [](AreaNetwork& n) { n.buses[3]->areaCode = "09"; }},
        {"a second slack in an area",
         [](AreaNetwork& n) {
             n.buses[3]->areaCode = "01";
             n.buses[3]->code = "BS";
         }},
        {"an area without area bus", [](AreaNetwork& n) { n.areas[2]->areaBus = nullptr; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SolverHandle solver;
        AreaNetwork n = BuildAreas(*solver);
        c.makeFault(n);
        EXPECT_FALSE(solver->PrepareNetwork());
    }
}

TEST(NetworkPreparation, OneAreaIsNoAreaAtAll) {
    SolverHandle solver;
    Base base = BuildBase(*solver);
    NetArea* only = solver->FindOrAddArea(0, "ONLY", Search::No);
    base.slack->area = only;
    ASSERT_TRUE(solver->PrepareNetwork());
    EXPECT_TRUE(solver->GetNetwork()->areas.empty());
    EXPECT_EQ(base.slack->area, nullptr);
}

}  // namespace
