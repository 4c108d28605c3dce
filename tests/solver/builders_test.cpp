#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "solver.h"
#include "solver_handle.h"

namespace {

std::vector<std::string> BusNames(const Network& network) {
    std::vector<std::string> names;
    for (const auto& bus : network.buses) names.push_back(bus->name);
    return names;
}

std::vector<int> BranchKeys(const AdjacencyList& list) {
    std::vector<int> keys;
    for (const AdjacencyNode& node : list) keys.push_back(node.branch->key);
    return keys;
}

TEST(Builders, BusOrderWithAndWithoutSearch) {
    SolverHandle solver;
    solver->NewNetwork();
    // Without search every bus is new and goes to the head.
    solver->FindOrAddBus(1, "A", 110.0, Search::No);
    solver->FindOrAddBus(2, "B", 110.0, Search::No);
    solver->FindOrAddBus(1, "C", 110.0, Search::No);  // same number: still a new bus
    EXPECT_EQ(BusNames(*solver->GetNetwork()), (std::vector<std::string>{"C", "B", "A"}));

    // With search new buses go to the tail; known numbers are found.
    NetBus* d = solver->FindOrAddBus(4, "D", 220.0, Search::Yes);
    NetBus* e = solver->FindOrAddBus(5, "E", 220.0, Search::Yes);
    EXPECT_EQ(BusNames(*solver->GetNetwork()), (std::vector<std::string>{"C", "B", "A", "D", "E"}));
    EXPECT_EQ(d->externalNumber, 0);  // the caller numbers the bus
    EXPECT_EQ(d->number, 0);
    d->externalNumber = 4;
    e->externalNumber = 5;
    EXPECT_EQ(solver->FindOrAddBus(5, "other", 0.0, Search::Yes), e);
    EXPECT_EQ(solver->FindOrAddBus(4, "", 0.0, Search::Yes), d);
    EXPECT_EQ(solver->GetNetwork()->buses.size(), 5u);

    // A new bus has the defaults of the model.
    EXPECT_EQ(d->code, "B");
    EXPECT_DOUBLE_EQ(d->baseKv, 220.0);
    EXPECT_DOUBLE_EQ(d->voltage, 0.0);
    EXPECT_DOUBLE_EQ(d->angle, kAngleNotGiven);
    EXPECT_DOUBLE_EQ(d->maxP, kUnlimited);
    EXPECT_DOUBLE_EQ(d->maxS, kUnlimited);
    EXPECT_FALSE(d->voltageFree);
    EXPECT_EQ(d->extras().remoteBus, nullptr);
    EXPECT_EQ(d->extras().bankBus, nullptr);
}

TEST(Builders, BusSearchByNameWithNumberZero) {
    SolverHandle solver;
    solver->NewNetwork();
    NetBus* first = solver->FindOrAddBus(0, "ALPHA  138.0", 138.0, Search::Yes);
    NetBus* second = solver->FindOrAddBus(0, "BETA   138.0", 138.0, Search::Yes);
    EXPECT_NE(first, second);
    EXPECT_EQ(solver->FindOrAddBus(0, "BETA   138.0", 0.0, Search::Yes), second);
    EXPECT_EQ(solver->FindOrAddBus(0, "ALPHA  138.0", 0.0, Search::Yes), first);
    EXPECT_EQ(solver->GetNetwork()->buses.size(), 2u);

    // Names keep 15 characters, and a longer name finds the bus it became.
    NetBus* longName = solver->FindOrAddBus(0, "ABCDEFGHIJKLMNOPQRS", 1.0, Search::Yes);
    EXPECT_EQ(longName->name, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(solver->FindOrAddBus(0, "ABCDEFGHIJKLMNOxyz", 1.0, Search::Yes), longName);
}

TEST(Builders, BranchesGoToTheHeadAndOntoBothBuses) {
    SolverHandle solver;
    solver->NewNetwork();
    NetBus* a = solver->FindOrAddBus(1, "A", 110.0, Search::Yes);
    NetBus* b = solver->FindOrAddBus(2, "B", 110.0, Search::Yes);
    NetBus* c = solver->FindOrAddBus(3, "C", 110.0, Search::Yes);
    NetBranch* ab = solver->FindOrAddBranch(a, b, Search::No, "", '1');
    NetBranch* bc = solver->FindOrAddBranch(b, c, Search::No, "", '2');
    NetBranch* ca = solver->FindOrAddBranch(c, a, Search::No, "", '1');
    ab->key = 1;
    bc->key = 2;
    ca->key = 3;

    std::vector<int> order;
    for (const auto& branch : solver->GetNetwork()->branches) order.push_back(branch->key);
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(BranchKeys(a->branches), (std::vector<int>{3, 1}));
    EXPECT_EQ(BranchKeys(b->branches), (std::vector<int>{2, 1}));
    EXPECT_EQ(BranchKeys(c->branches), (std::vector<int>{3, 2}));
    EXPECT_EQ(bc->circuit, '2');
    EXPECT_EQ(ab->code, "");
    EXPECT_DOUBLE_EQ(ab->tap, 1.0);
    EXPECT_DOUBLE_EQ(ab->nominalRatio, 1.0);

    AdjacencyList list;
    Solver::LinkBranch(list, ab);
    Solver::LinkBranch(list, bc);
    EXPECT_EQ(BranchKeys(list), (std::vector<int>{2, 1}));
}

// A list keeps its first nodes inside itself and moves them out as it
// grows: order, copies and removal hold on both sides of that move.
TEST(Builders, AdjacencyListKeepsItsOrderAsItGrows) {
    std::vector<NetBranch> branches(7);
    for (std::size_t k = 0; k < branches.size(); ++k) branches[k].key = static_cast<int>(k);
    for (const std::size_t count : {1u, 2u, 3u, 7u}) {
        SCOPED_TRACE(count);
        AdjacencyList list;
        std::vector<int> front;  // the keys from the front
        for (std::size_t k = 0; k < count; ++k) {
            Solver::LinkBranch(list, &branches[k]);
            front.insert(front.begin(), static_cast<int>(k));
        }
        EXPECT_EQ(BranchKeys(list), front);
        EXPECT_EQ(list.front().branch->key, front.front());
        EXPECT_EQ(list[count - 1].branch->key, 0);

        AdjacencyList copy = list;
        copy.remove(&branches[count / 2]);
        std::vector<int> kept = front;
        std::erase(kept, static_cast<int>(count / 2));
        EXPECT_EQ(BranchKeys(copy), kept);
        EXPECT_EQ(BranchKeys(list), front);  // the copy has nodes of its own
        copy = list;
        EXPECT_EQ(BranchKeys(copy), front);
    }
}

TEST(Builders, BranchSearchFindsTheExistingRegulatingBranch) {
    SolverHandle solver;
    solver->NewNetwork();
    NetBus* a = solver->FindOrAddBus(1, "A", 110.0, Search::Yes);
    NetBus* b = solver->FindOrAddBus(2, "B", 110.0, Search::Yes);
    NetBranch* regulating = solver->FindOrAddBranch(a, b, Search::No, "", '1');
    regulating->code = "R";
    NetBranch* line = solver->FindOrAddBranch(a, b, Search::No, "", '1');
    line->code = "L";

    struct Case {
        NetBus* from;
        NetBus* to;
        const char* kinds;
        char circuit;
        NetBranch* expected;
    };
    const Case cases[] = {
        {a, b, "R", '1', regulating},
        {b, a, "R", '1', regulating},  // either direction
        {a, b, "L", '1', line},
        {a, b, "RL", '1', line},       // the branch linked last comes first
        {a, b, "R", '2', nullptr},     // other circuit
        {a, b, "T", '1', nullptr},     // no such kind
        {a, b, "R", ' ', regulating},  // a blank circuit asked for matches any
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.kinds) + " circuit " + c.circuit);
        EXPECT_EQ(solver->FindOrAddBranch(c.from, c.to, Search::Yes, c.kinds, c.circuit), c.expected);
    }
    EXPECT_EQ(solver->GetNetwork()->branches.size(), 2u);

    // A blank circuit found takes the circuit asked for.
    regulating->circuit = ' ';
    EXPECT_EQ(solver->FindOrAddBranch(a, b, Search::Yes, "R", '3'), regulating);
    EXPECT_EQ(regulating->circuit, '3');
}

TEST(Builders, AreasAndDevices) {
    SolverHandle solver;
    solver->NewNetwork();
    NetArea* north = solver->FindOrAddArea(0, "NORTH", Search::Yes);
    NetArea* south = solver->FindOrAddArea(0, "SOUTH", Search::Yes);
    EXPECT_EQ(north->number, 0);  // the caller numbers an area
    north->number = 1;
    south->number = 2;
    EXPECT_EQ(solver->FindOrAddArea(2, "ignored", Search::Yes), south);
    EXPECT_EQ(solver->FindOrAddArea(0, "NORTH", Search::Yes), north);
    NetArea* third = solver->FindOrAddArea(1, "NORTH", Search::No);
    EXPECT_NE(third, north);
    const auto& areas = solver->GetNetwork()->areas;
    ASSERT_EQ(areas.size(), 3u);
    EXPECT_EQ(areas[0].get(), north);
    EXPECT_EQ(areas[2].get(), third);

    NetBus* a = solver->FindOrAddBus(1, "A", 110.0, Search::Yes);
    NetBus* b = solver->FindOrAddBus(2, "B", 110.0, Search::Yes);
    NetSvc* svc1 = solver->FindOrAddSvc("SVC1", Search::Yes, a, b);
    NetSvc* svc2 = solver->FindOrAddSvc("SVC2", Search::Yes, b, b);
    EXPECT_EQ(solver->FindOrAddSvc("SVC1", Search::Yes, nullptr, nullptr), svc1);
    EXPECT_EQ(solver->GetNetwork()->svcs.front().get(), svc2);  // head insertion
    EXPECT_EQ(svc1->code, "FS");
    EXPECT_EQ(a->extras().svcs, (std::vector<NetSvc*>{svc1}));
    EXPECT_EQ(b->extras().svcs, (std::vector<NetSvc*>{svc1, svc2}));

    NetTcsc* tcsc = solver->FindOrAddTcsc("TC", Search::Yes, a, b);
    NetStatcom* statcom = solver->FindOrAddStatcom("ST", Search::No, a, a);
    EXPECT_EQ(tcsc->code, "FC");
    EXPECT_EQ(statcom->code, "FT");
    EXPECT_EQ(solver->FindOrAddTcsc("TC", Search::Yes, nullptr, nullptr), tcsc);
    EXPECT_NE(solver->FindOrAddStatcom("ST", Search::No, a, a), statcom);
    EXPECT_EQ(a->extras().statcoms.size(), 2u);

    NetConverter* first = solver->FindOrAddConverter("REC", Search::Yes);
    NetConverter* second = solver->FindOrAddConverter("INV", Search::Yes);
    EXPECT_EQ(solver->FindOrAddConverter("REC", Search::Yes), first);
    EXPECT_EQ(solver->GetNetwork()->converters.back().get(), second);  // appended
}

TEST(Builders, AreaBusSpreadsOverTiesUpToSlackAreas) {
    // Four areas in a chain 1 - 2 - 3 - 4; area 3 has a slack of its own.
    SolverHandle solver;
    solver->NewNetwork();
    std::vector<NetArea*> areas;
    std::vector<NetBus*> buses;
    for (int i = 1; i <= 4; ++i) {
        NetArea* area = solver->FindOrAddArea(0, "AREA" + std::to_string(i), Search::No);
        NetBus* bus = solver->FindOrAddBus(i, "BUS" + std::to_string(i), 110.0, Search::Yes);
        bus->externalNumber = i;
        bus->area = area;
        bus->code = i == 3 ? "BAS" : "BA";
        area->areaBus = bus;
        areas.push_back(area);
        buses.push_back(bus);
    }
    for (int i = 0; i < 3; ++i) {
        NetBranch* tie = solver->FindOrAddBranch(buses[i], buses[i + 1], Search::No, "", '1');
        Solver::LinkBranch(areas[i]->ties, tie);
        Solver::LinkBranch(areas[i + 1]->ties, tie);
    }
    buses[0]->code = "BAS";
    solver->SetAreaBus(buses[0], areas[0]);
    EXPECT_EQ(areas[0]->areaBus, buses[0]);
    EXPECT_EQ(areas[1]->areaBus, buses[0]);
    EXPECT_EQ(areas[2]->areaBus, buses[2]);  // a slack area keeps its bus
    EXPECT_EQ(areas[3]->areaBus, buses[3]);  // and is not crossed
}

}  // namespace
