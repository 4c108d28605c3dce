#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <complex>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "case_file_run.h"
#include "host_read.h"
#include "ieee_case_text.h"
#include "memory_record_cursor.h"
#include "network_digest.h"
#include "recording_message_sink.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

constexpr double kDegrees = 3.141592654 / 180.0;
constexpr const char* kNoSlack = "There is no SLACK bus defined in the system! Please define one!";

using Complex = std::complex<double>;

// Slack 1 "North", generator 2 "East" (kind 4), load 3 "South"; lines 1-2,
// 2-3 and 1-3. Fields are set right after each add, while the reference
// into the table is still valid.
void AddThreeBus(MemoryRecordCursor& records) {
    BusRecord& north = records.AddBus(1, 0, "North");
    north.voltage = 1.02;
    north.maxQ = 100.0;
    north.minQ = -50.0;
    BusRecord& east = records.AddBus(2, 4, "East");
    east.voltage = 1.01;
    east.generationP = 40.0;
    east.generationQ = 10.0;
    east.maxP = 80.0;
    east.maxQ = 30.0;
    east.minQ = -20.0;
    BusRecord& south = records.AddBus(3, 1, "South");
    south.voltage = 0.97;
    south.angle = -5.0;
    south.loadP = 60.0;
    south.loadQ = 20.0;
    south.generationP = 5.0;
    south.generationQ = 2.0;
    south.shuntB = 0.05;
    south.direction[0] = 60.0;
    south.direction[3] = 20.0;
    records.AddBranch(BranchRecord::Line, 1, 2, 0.02, 0.06).chargingB = 0.03;
    records.AddBranch(BranchRecord::Line, 2, 3, 0.01, 0.05);
    records.AddBranch(BranchRecord::Line, 1, 3, 0.03, 0.08).rating = 500.0;
}

std::vector<int> Numbers(const MemoryRecordCursor& records) {
    std::vector<int> numbers;
    for (const BusRecord& bus : records.buses) numbers.push_back(bus.number);
    return numbers;
}

TEST(HostExchange, ThreeBusRecordsComeBackInListOrder) {
    MemoryRecordCursor records;
    AddThreeBus(records);
    RecordingMessageSink sink;
    SolverHandle solver;
    EXPECT_TRUE(ReadHostRecords(*solver, records, &sink));  // read and prepared, not solved
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_TRUE(records.groupBuses);

    // The model in per unit and radians.
    const NetBus& east = *solver->FindBus(2);
    EXPECT_DOUBLE_EQ(east.scheduledP, 0.4);
    EXPECT_DOUBLE_EQ(east.generationQ, 0.0);  // a generator's Q is an unknown
    EXPECT_DOUBLE_EQ(east.maxP, 0.8);
    EXPECT_DOUBLE_EQ(east.maxQ, 0.3);
    EXPECT_DOUBLE_EQ(east.minQ, -0.2);
    EXPECT_EQ(east.code, "BQ");
    const NetBus& south = *solver->FindBus(3);
    EXPECT_DOUBLE_EQ(south.loadP, 0.6);
    EXPECT_DOUBLE_EQ(south.loadQ, 0.2);
    EXPECT_DOUBLE_EQ(south.loadPolynomial[0], 0.6);
    EXPECT_DOUBLE_EQ(south.loadPolynomial[3], 0.2);
    EXPECT_DOUBLE_EQ(south.angle, -5.0 * kDegrees);
    EXPECT_TRUE(south.voltageFree);
    EXPECT_EQ(south.areaCode, "000");
    EXPECT_EQ(solver->FindBus(1)->code, "BS");
    const Network& network = *solver->GetNetwork();
    EXPECT_EQ(network.generatorBusCount, 1);
    EXPECT_EQ(network.branchCount, 3);
    EXPECT_EQ(solver->GetIterationLimit(), 100);

    MemoryRecordCursor results;
    results.CopyFrom(*solver->GetResultCursor());
    // Buses read without search come out in the reverse order of the records;
    // their internal numbers follow the records.
    ASSERT_EQ(results.buses.size(), 3u);
    EXPECT_EQ(Numbers(results), (std::vector<int>{3, 2, 1}));
    EXPECT_STREQ(results.buses[0].name, "South");
    EXPECT_STREQ(results.buses[2].name, "North");
    EXPECT_EQ(results.buses[1].key, records.buses[1].key);
    EXPECT_EQ(results.buses[1].kind, 4);
    EXPECT_EQ(results.buses[2].kind, 0);
    const BusRecord& southResult = results.buses[0];
    EXPECT_DOUBLE_EQ(southResult.voltage, 0.97);
    EXPECT_NEAR(southResult.angle, -5.0, 1e-12);
    EXPECT_DOUBLE_EQ(southResult.generationP, 5.0);
    EXPECT_DOUBLE_EQ(southResult.generationQ, 2.0);
    EXPECT_DOUBLE_EQ(southResult.shuntQ, 0.97 * 0.97 * 0.05 * 100.0);
    EXPECT_DOUBLE_EQ(results.buses[1].generationP, 40.0);
    EXPECT_DOUBLE_EQ(results.buses[2].generationP, 0.0);  // a slack's schedule is not read
    EXPECT_DOUBLE_EQ(results.buses[2].voltage, 1.02);

    // Branches come back in the order of their records.
    ASSERT_EQ(results.branches.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(results.branches[i].key, records.branches[i].key);
        EXPECT_EQ(results.branches[i].fromBus, records.branches[i].fromBus);  // internal = record order here
        EXPECT_EQ(results.branches[i].toBus, records.branches[i].toBus);
        EXPECT_DOUBLE_EQ(results.branches[i].fromBaseKv, 110.0);
    }
    // 500 A at 110 kV on 100 MVA.
    EXPECT_NEAR(results.branches[2].rating, 500.0 * std::sqrt(3.0) * 110.0 / 100000.0, 1e-12);
}

// Expected flows into a branch at both ends (MW, Mvar) by complex
// arithmetic: an ideal transformer t e^{-jp} at the from end, then the
// series admittance, with the shunts at each end of it.
struct EndFlows {
    Complex from;
    Complex to;
};

EndFlows ExpectedFlows(double t, double p, Complex y, Complex yFrom, Complex yTo, Complex v1, Complex v2) {
    Complex tv1 = std::polar(t, -p) * v1;
    Complex sFrom = tv1 * std::conj(y * (tv1 - v2) + yFrom * tv1);
    Complex sTo = v2 * std::conj(y * (v2 - tv1) + yTo * v2);
    return {sFrom * 100.0, sTo * 100.0};
}

double Amperes(Complex s, double v, double kv) {
    return std::abs(s) / v * 1000.0 / (kv * std::sqrt(3.0));
}

TEST(HostExchange, FlowsFromASetStateMatchHandComputedValues) {
    MemoryRecordCursor records;
    AddThreeBus(records);
    BusRecord& low = records.AddBus(4, 1, "Low");
    low.baseKv = 33.0;
    records.AddBranch(BranchRecord::Line, 2, 3, 0.02, 0.07).shuntG = 0.002;  // parallel to 2-3
    BranchRecord& transformer = records.AddBranch(BranchRecord::Transformer, 3, 4, 0.005, 0.1);
    transformer.toBaseKv = 33.0;
    transformer.fromWindingKv = 115.0;
    transformer.toWindingKv = 34.0;
    transformer.phaseShift = 5.0;
    transformer.shuntG = 0.001;
    transformer.chargingB = 0.02;
    transformer.rating = 150.0;

    SolverHandle solver;
    ASSERT_TRUE(ReadHostRecords(*solver, records));
    const std::map<int, Complex> state = {
        {1, std::polar(1.02, 0.0)},
        {2, std::polar(1.01, -0.02)},
        {3, std::polar(0.97, -0.08)},
        {4, std::polar(0.99, -0.15)},
    };
    for (const auto& [number, v] : state) {
        NetBus* bus = solver->FindBus(number);
        bus->voltage = std::abs(v);
        bus->angle = std::arg(v);
    }

    MemoryRecordCursor results;
    results.CopyFrom(*solver->GetResultCursor());
    ASSERT_EQ(results.branches.size(), records.branches.size());
    for (std::size_t i = 0; i < records.branches.size(); ++i) {
        const BranchRecord& in = records.branches[i];
        const BranchRecord& out = results.branches[i];
        SCOPED_TRACE(i);
        ASSERT_EQ(out.key, in.key);
        Complex y = 1.0 / Complex(in.resistance, in.reactance);
        Complex shunt(in.shuntG / 2.0, in.chargingB / 2.0);
        Complex wholeShunt(in.shuntG, in.chargingB);
        bool isTransformer = in.kind != BranchRecord::Line;
        double t = isTransformer ? (in.toWindingKv / in.toBaseKv) / (in.fromWindingKv / in.fromBaseKv) : 1.0;
        double p = isTransformer ? in.phaseShift * kDegrees : 0.0;
        Complex v1 = state.at(in.fromBus);
        Complex v2 = state.at(in.toBus);
        EndFlows e = ExpectedFlows(t, p, y, isTransformer ? Complex() : shunt, isTransformer ? wholeShunt : shunt, v1, v2);
        EXPECT_NEAR(out.pFrom, e.from.real(), 1e-9);
        EXPECT_NEAR(out.qFrom, e.from.imag(), 1e-9);
        EXPECT_NEAR(out.pTo, e.to.real(), 1e-9);
        EXPECT_NEAR(out.qTo, e.to.imag(), 1e-9);
        EXPECT_NEAR(out.pLoss, e.from.real() + e.to.real(), 1e-9);
        EXPECT_NEAR(out.qLoss, e.from.imag() + e.to.imag(), 1e-9);
        EXPECT_NEAR(out.currentFrom, Amperes(e.from, std::abs(v1), in.fromBaseKv), 1e-9);
        EXPECT_NEAR(out.currentTo, Amperes(e.to, std::abs(v2), in.toBaseKv), 1e-9);
        if (isTransformer) {
            EXPECT_NEAR(out.tapRatio, 110.0 / (33.0 * t), 1e-12);
            EXPECT_NEAR(out.phaseShift, 5.0, 1e-12);
            EXPECT_NEAR(out.rating, 1.5, 1e-15);
        } else {
            EXPECT_EQ(out.tapRatio, 0.0);
            EXPECT_EQ(out.phaseShift, 0.0);
        }
    }
}

// A transformer's charging lies whole at its to end: solved from host
// records, an off-nominal transformer with charging gives the voltages of
// the same network read from a case file with that charging as a shunt of
// its to bus.
TEST(HostExchange, TransformerChargingLiesWholeAtItsToEnd) {
    MemoryRecordCursor records;
    BusRecord& slack = records.AddBus(1, 0, "Slack");
    slack.maxQ = 100.0;
    slack.minQ = -100.0;
    BusRecord& load = records.AddBus(2, 1, "Load");
    load.loadP = load.direction[0] = 50.0;
    load.loadQ = load.direction[3] = 20.0;
    BranchRecord& transformer = records.AddBranch(BranchRecord::Transformer, 1, 2, 0.01, 0.1);
    transformer.fromWindingKv = 115.5;  // ratio 1.05
    transformer.toWindingKv = 110.0;
    transformer.chargingB = 0.3;
    SolverHandle host;
    ASSERT_EQ(host->Attach(&records, nullptr, 0), 1);

    CaseText c;
    c.buses = {BusCard(1, 3).At(85, "1.0000"),
               BusCard(2, 0).At(41, "    50.00").At(50, "     20.00").At(115, "  0.3000")};
    c.branches = {BranchCard(1, 2, 1).At(20, "  0.010000").At(77, "1.0500")};
    ScratchFolder folder("charging_at_the_to_end");
    WriteFileText(folder / "case.cdf", c.Text());
    RunArguments arguments({"-I", (folder / "case.cdf").string(), (folder / "listing.txt").string()});
    SolverHandle file;
    ASSERT_EQ(file->Main(arguments.Count(), arguments.Items(), 0), 1);

    const NetBus& hostLoad = *host->FindBus(2);
    const NetBus& fileLoad = *file->FindBus(2);
    EXPECT_LT(hostLoad.voltage, 0.99);  // the charging is not what holds it
    EXPECT_NEAR(hostLoad.voltage, fileLoad.voltage, 1e-9);
    EXPECT_NEAR(hostLoad.angle, fileLoad.angle, 1e-9);
}

TEST(HostExchange, ParallelLinesStayTwoBranches) {
    MemoryRecordCursor records;
    AddThreeBus(records);
    int firstKey = records.branches[1].key;  // line 2-3
    int secondKey = records.AddBranch(BranchRecord::Line, 3, 2, 0.02, 0.1).key;

    SolverHandle solver;
    ASSERT_TRUE(ReadHostRecords(*solver, records));
    std::vector<const NetBranch*> between;
    for (const auto& branch : solver->GetNetwork()->branches) {
        int ends[] = {branch->from->externalNumber, branch->to->externalNumber};
        std::sort(std::begin(ends), std::end(ends));
        if (ends[0] == 2 && ends[1] == 3) between.push_back(branch.get());
    }
    ASSERT_EQ(between.size(), 2u);
    EXPECT_EQ(between[0]->key, firstKey);
    EXPECT_EQ(between[1]->key, secondKey);
    EXPECT_NE(between[0]->g, between[1]->g);

    solver->FindBus(2)->angle = 0.05;
    MemoryRecordCursor results;
    results.CopyFrom(*solver->GetResultCursor());
    ASSERT_EQ(results.branches.size(), 4u);
    // Same end voltages, different impedances: different flows out of bus 2.
    EXPECT_GT(std::fabs(results.branches[1].pFrom - results.branches[3].pTo), 1.0);
    EXPECT_EQ(results.branches[3].key, secondKey);
}

TEST(HostExchange, ALateRecordCompletesTheBusARegulatingGeneratorNamed) {
    MemoryRecordCursor records;
    records.AddBus(1, 0, "Slack").maxQ = 100.0;
    BusRecord& generator = records.AddBus(2, 8, "Gen");
    generator.maxQ = 50.0;
    generator.minQ = -50.0;
    generator.regulatedBus = 3;
    generator.regulatedBaseKv = 110.0;
    generator.participation = 40.0;
    records.AddBus(3, 1, "Held").loadP = 30.0;
    records.AddBranch(BranchRecord::Line, 1, 3, 0.01, 0.1);
    records.AddBranch(BranchRecord::Line, 2, 3, 0.01, 0.1);

    SolverHandle solver;
    ASSERT_TRUE(ReadHostRecords(*solver, records));
    const Network& network = *solver->GetNetwork();
    ASSERT_EQ(network.buses.size(), 3u);
    NetBus* held = solver->FindBus(3);
    EXPECT_EQ(held->name, "Held");
    EXPECT_EQ(held->code, "BC");
    EXPECT_FALSE(held->voltageFree);
    EXPECT_EQ(held->extras().regulatingGeneratorCount, 1);
    EXPECT_DOUBLE_EQ(held->loadP, 0.3);
    EXPECT_DOUBLE_EQ(held->voltage, 1.0);
    EXPECT_EQ(held->extras().regulatingGenerators, (std::vector<NetBus*>{solver->FindBus(2)}));
    EXPECT_EQ(held->number, 3);  // numbered when the generator named it
    EXPECT_EQ(network.busCount, 3);
    NetBus* gen = solver->FindBus(2);
    EXPECT_EQ(gen->extras().remoteBus, held);
    EXPECT_TRUE(gen->voltageFree);
    EXPECT_DOUBLE_EQ(gen->extras().participation, 0.4);
    // The forward reference sits at the tail, after the record buses.
    EXPECT_EQ(network.buses.back().get(), held);
}

// The host's count of records only sizes the solver's blocks: a count
// that is too small, too large or none at all reads the same network as
// the true one. Bus numbers both small and far apart, a bus made before its
// own record by the generator that regulates it, and a bus with many
// branches.
TEST(HostExchange, ACountThatMissesOnlySizesTheBlocks) {
    // Answers a set count from MoveFirst and hands out the records it wraps.
    class MiscountingCursor final : public IRecordCursor {
    public:
        MiscountingCursor(MemoryRecordCursor& records, int count) : records_(records), count_(count) {}
        void SetMode(char mode) override { records_.SetMode(mode); }
        int MoveFirst() override {
            records_.MoveFirst();
            return count_;
        }
        bool Next(BusRecord& record) override { return records_.Next(record); }
        bool Next(BranchRecord& record) override { return records_.Next(record); }
        int GetSetCount() override { return 0; }
        bool SelectSet(int) override { return false; }
        void SetTable(int table, int set) override { records_.SetTable(table, set); }
        void Release() override {}
        void SetGroupBuses(bool group) override { records_.SetGroupBuses(group); }

    private:
        MemoryRecordCursor& records_;
        int count_;
    };

    constexpr int kBuses = 60;
    auto number = [](int i) { return i % 3 == 0 && i > 0 ? 2000000 + 7 * i : i + 1; };
    MemoryRecordCursor records;
    BusRecord& slack = records.AddBus(number(0), 0, "Slack");
    slack.maxQ = 1000.0;
    slack.minQ = -1000.0;
    for (int i = 1; i < kBuses; ++i) {
        BusRecord& bus = records.AddBus(number(i), 1, ("Bus" + std::to_string(i)).c_str());
        bus.loadP = 1.0;
        if (i == 5) {
            bus.kind = 8;
            bus.maxQ = 50.0;
            bus.minQ = -50.0;
            bus.regulatedBus = number(40);
            bus.regulatedBaseKv = 110.0;
        }
    }
    for (int i = 1; i < kBuses; ++i) records.AddBranch(BranchRecord::Line, number(i - 1), number(i), 0.001, 0.01);
    for (int i = 10; i < kBuses; i += 10) records.AddBranch(BranchRecord::Line, number(0), number(i), 0.001, 0.01);

    SolverHandle reference;
    ASSERT_TRUE(ReadHostRecords(*reference, records));
    const Network& expected = *reference->GetNetwork();
    ASSERT_EQ(expected.buses.size(), static_cast<std::size_t>(kBuses));
    for (const BusRecord& record : records.buses) {
        const NetBus* bus = reference->FindBus(record.number);
        ASSERT_NE(bus, nullptr);
        EXPECT_EQ(bus->name, record.name);
    }
    ASSERT_EQ(expected.branches.size(), records.branches.size());
    std::size_t ends = 0;
    for (std::size_t k = 0; k < records.branches.size(); ++k) {
        EXPECT_EQ(expected.branches[k]->from->externalNumber, records.branches[k].fromBus);
        EXPECT_EQ(expected.branches[k]->to->externalNumber, records.branches[k].toBus);
    }
    for (const auto& bus : expected.buses) {
        for (const AdjacencyNode& node : bus->branches)
            EXPECT_TRUE(node.branch->from == bus.get() || node.branch->to == bus.get());
        ends += bus->branches.size();
    }
    EXPECT_EQ(ends, 2 * records.branches.size());
    EXPECT_EQ(reference->FindBus(number(0))->branches.size(), 6u);

    for (const int count : {-1, 0, 1, kBuses / 2, 10 * kBuses, std::numeric_limits<int>::max()}) {
        SCOPED_TRACE(count);
        MiscountingCursor miscounted(records, count);
        SolverHandle solver;
        ASSERT_TRUE(ReadHostRecords(*solver, miscounted));
        ExpectSameNetwork(expected, *solver->GetNetwork(), 0.0);
    }
}

struct RecordCase {
    const char* name;
    std::function<void(MemoryRecordCursor&)> change;  // on the two-bus set
    bool fails;
    std::function<void(Solver&)> check;
};

// Slack 1 and bus 2 (kind 1) joined by a line.
void AddTwoBus(MemoryRecordCursor& records) {
    BusRecord& slack = records.AddBus(1, 0, "Slack");
    slack.maxQ = 100.0;
    slack.minQ = -100.0;
    records.AddBus(2, 1, "Bus");
    records.AddBranch(BranchRecord::Line, 1, 2, 0.01, 0.1);
}

void RunCases(const std::vector<RecordCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryRecordCursor records;
        AddTwoBus(records);
        c.change(records);
        SolverHandle solver;
        EXPECT_EQ(ReadHostRecords(*solver, records), !c.fails);
        if (!c.fails && c.check) c.check(*solver);
    }
}

TEST(HostExchange, BusRecordEdgeCases) {
    auto bus = [](MemoryRecordCursor& r) -> BusRecord& { return r.buses[1]; };
    auto model = [](Solver& s) -> NetBus& { return *s.FindBus(2); };
    RunCases({
        {"voltage 0 starts at 1.0", [&](auto& r) { bus(r).voltage = 0.0; }, false,
         [&](Solver& s) {
             EXPECT_DOUBLE_EQ(model(s).voltage, 1.0);
             EXPECT_DOUBLE_EQ(model(s).voltageTarget, 1.0);
         }},
        {"angle 90 degrees", [&](auto& r) { bus(r).angle = 90.0; }, false,
         [&](Solver& s) { EXPECT_DOUBLE_EQ(model(s).angle, 3.141592654 / 2.0); }},
        {"kind 6 with limits 0 gets 2.0 and 0.5",
         [&](auto& r) {
             bus(r).kind = 6;
             bus(r).generationQ = 15.0;
         },
         false,
         [&](Solver& s) {
             NetBus& b = model(s);
             EXPECT_EQ(b.code, "BV");
             EXPECT_EQ(b.control, 'Q');
             EXPECT_DOUBLE_EQ(b.maxVoltage, 2.0);
             EXPECT_DOUBLE_EQ(b.minVoltage, 0.5);
             EXPECT_DOUBLE_EQ(b.scheduledQ, 0.15);
             EXPECT_DOUBLE_EQ(b.maxQ, kUnlimited);
             EXPECT_DOUBLE_EQ(b.minQ, -kUnlimited);
             EXPECT_TRUE(b.voltageFree);
         }},
        {"kind 6 with limits 1.0 and 1.0",
         [&](auto& r) {
             bus(r).kind = 6;
             bus(r).maxVoltage = bus(r).minVoltage = 1.0;
         },
         true, nullptr},
        {"kind 4 with Q minimum equal to maximum",
         [&](auto& r) {
             bus(r).kind = 4;
             bus(r).maxQ = bus(r).minQ = 10.0;
         },
         true, nullptr},
        {"slack with Q minimum above maximum", [&](auto& r) { r.buses[0].minQ = 200.0; }, true, nullptr},
        {"kind 5 has no reactive limits", [&](auto& r) { bus(r).kind = 5; }, false,
         [&](Solver& s) {
             EXPECT_EQ(model(s).code, "BQ");
             EXPECT_DOUBLE_EQ(model(s).maxQ, kUnlimited);
             EXPECT_DOUBLE_EQ(model(s).minQ, -kUnlimited);
         }},
        {"kind 3 without a regulating transformer", [&](auto& r) { bus(r).kind = 3; }, true, nullptr},
        {"kind 2 without generators", [&](auto& r) { bus(r).kind = 2; }, true, nullptr},
        {"unknown kind", [&](auto& r) { bus(r).kind = 9; }, true, nullptr},
        {"no name", [&](auto& r) {
             bus(r).name = nullptr;
             bus(r).key = 0x12345601;
         },
         false, [&](Solver& s) { EXPECT_EQ(model(s).name, "Group3429889"); }},
        {"long name", [&](auto& r) { r.SetName(bus(r), "ABCDEFGHIJKLMNOP"); }, false,
         [&](Solver& s) { EXPECT_EQ(model(s).name, "ABCDEFGHIJK"); }},
        {"maximum P of 0", [&](auto& r) { bus(r).generationP = 10.0; }, false,
         [&](Solver& s) {
             EXPECT_DOUBLE_EQ(model(s).maxP, kUnlimited);
             EXPECT_DOUBLE_EQ(model(s).maxPCopy, kUnlimited);
         }},
        {"maximum P below the schedule",
         [&](auto& r) {
             bus(r).generationP = 10.0;
             bus(r).maxP = 5.0;
         },
         false, [&](Solver& s) { EXPECT_DOUBLE_EQ(model(s).maxP, kUnlimited); }},
        {"area and direction values",
         [&](auto& r) {
             bus(r).area = 26;
             for (int i = 0; i < 6; ++i) bus(r).direction[i] = 10.0 * (i + 1);
             bus(r).shuntG = 0.01;
         },
         false,
         [&](Solver& s) {
             EXPECT_EQ(model(s).areaCode, "01A");
             for (int i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(model(s).loadPolynomial[i], 0.1 * (i + 1));
             EXPECT_DOUBLE_EQ(model(s).shuntG, 0.01);
         }},
        {"number used twice",
         [&](auto& r) {
             r.AddBus(2, 1, "Again");
         },
         true, nullptr},
        {"regulating generator without regulated bus",
         [&](auto& r) {
             bus(r).kind = 8;
             bus(r).maxQ = 10.0;
         },
         true, nullptr},
        {"regulating generator naming a generator bus",
         [&](auto& r) {
             bus(r).kind = 8;
             bus(r).maxQ = 10.0;
             bus(r).regulatedBus = 1;
         },
         true, nullptr},
        {"late record of a generator for a regulated bus",
         [&](auto& r) {
             bus(r).kind = 8;
             bus(r).maxQ = 10.0;
             bus(r).regulatedBus = 3;
             r.AddBus(3, 4, "Late").maxQ = 10.0;
             r.AddBranch(BranchRecord::Line, 2, 3, 0.01, 0.1);
         },
         true, nullptr},
    });
}

TEST(HostExchange, BranchRecordEdgeCases) {
    auto branch = [](MemoryRecordCursor& r) -> BranchRecord& { return r.branches[0]; };
    auto model = [](Solver& s) -> NetBranch& { return *s.GetNetwork()->branches.front(); };
    auto setCircuit = [&](MemoryRecordCursor& r, const char* text) {
        std::memset(branch(r).circuit, 0, sizeof branch(r).circuit);
        std::memcpy(branch(r).circuit, text, std::strlen(text));
    };
    RunCases({
        {"R and X both 0.00005",
         [&](auto& r) { branch(r).resistance = branch(r).reactance = 0.00005; }, true, nullptr},
        {"R 0 and X 0.1",
         [&](auto& r) {
             branch(r).resistance = 0.0;
             branch(r).reactance = 0.1;
         },
         false,
         [&](Solver& s) {
             EXPECT_DOUBLE_EQ(model(s).g, 0.0);
             EXPECT_DOUBLE_EQ(model(s).b, -10.0);
             EXPECT_EQ(model(s).code, "L");
         }},
        {"a line's shunt at both ends",
         [&](auto& r) {
             branch(r).chargingB = 0.04;
             branch(r).shuntG = 0.002;
         },
         false,
         [&](Solver& s) {
             NetBranch& b = model(s);
             EXPECT_DOUBLE_EQ(b.fromShuntB, 0.02);
             EXPECT_DOUBLE_EQ(b.toShuntB, 0.02);
             EXPECT_DOUBLE_EQ(b.fromShuntG, 0.001);
             EXPECT_DOUBLE_EQ(b.toShuntG, 0.001);
         }},
        {"a transformer's shunt at the to end",
         [&](auto& r) {
             branch(r).kind = BranchRecord::Transformer;
             branch(r).chargingB = 0.04;
             branch(r).fromWindingKv = 120.0;
             branch(r).rating = 150.0;
             branch(r).phaseShift = 30.0;
         },
         false,
         [&](Solver& s) {
             NetBranch& b = model(s);
             EXPECT_EQ(b.code, "T");
             EXPECT_DOUBLE_EQ(b.fromShuntB, 0.0);
             EXPECT_DOUBLE_EQ(b.toShuntB, 0.04);
             EXPECT_DOUBLE_EQ(b.tap, 1.0);  // to winding 0: no off-nominal ratio
             EXPECT_DOUBLE_EQ(b.rating, 1.5);
             EXPECT_DOUBLE_EQ(b.shift, 30.0 * kDegrees);
         }},
        {"winding voltages give the ratio",
         [&](auto& r) {
             branch(r).kind = BranchRecord::Transformer;
             branch(r).fromWindingKv = 105.0;
             branch(r).toWindingKv = 121.0;
         },
         false,
         [&](Solver& s) {
             EXPECT_DOUBLE_EQ(model(s).tap, (121.0 / 110.0) / (105.0 / 110.0));
             EXPECT_DOUBLE_EQ(model(s).nominalRatio, 1.1);
         }},
        {"same bus at both ends", [&](auto& r) { branch(r).toBus = 1; }, true, nullptr},
        {"base voltage 0", [&](auto& r) { branch(r).toBaseKv = 0.0; }, true, nullptr},
        {"bus number 0", [&](auto& r) { branch(r).toBus = 0; }, true, nullptr},
        {"unknown kind", [&](auto& r) { branch(r).kind = 3; }, true, nullptr},
        {"a bus only a branch names has no voltage", [&](auto& r) { branch(r).toBus = 9; }, true, nullptr},
        {"end code 1 keeps the to bus", [&](auto& r) { branch(r).endCode = 1; }, false,
         [&](Solver& s) { EXPECT_EQ(model(s).meteredBus, s.FindBus(2)); }},
        {"circuit text", [&](auto& r) { setCircuit(r, "1"); }, false,
         [&](Solver& s) {
             EXPECT_EQ(model(s).tag, "1");
             EXPECT_EQ(model(s).circuit, '1');
             EXPECT_EQ(model(s).meteredBus, s.FindBus(1));
         }},
        {"circuit text of four", [&](auto& r) { setCircuit(r, "ABCD"); }, false,
         [&](Solver& s) { EXPECT_EQ(model(s).tag, "ABC"); }},
        {"circuit text ends at a control character", [&](auto& r) { setCircuit(r, "7\x02x"); }, false,
         [&](Solver& s) { EXPECT_EQ(model(s).tag, "7"); }},
        {"circuit without text", [&](auto& r) { setCircuit(r, "\x01Z"); }, false,
         [&](Solver& s) { EXPECT_EQ(model(s).tag, ""); }},
        {"circuit field full", [&](auto& r) { std::memset(branch(r).circuit, 'Q', sizeof branch(r).circuit); }, false,
         [&](Solver& s) { EXPECT_EQ(model(s).tag, "QQQ"); }},
    });
}

// A regulating transformer from bus 2 (110 kV) to bus 3 (33 kV) on the
// two-bus set; each case sets its control.
TEST(HostExchange, RegulatingTransformers) {
    auto regulating = [](MemoryRecordCursor& r, int type, double lower, double upper) -> BranchRecord& {
        r.AddBus(3, 1, "Low").baseKv = 33.0;
        BranchRecord& t = r.AddBranch(BranchRecord::RegulatingTransformer, 2, 3, 0.005, 0.1);
        t.toBaseKv = 33.0;
        t.fromWindingKv = 110.0;
        t.toWindingKv = 33.0;
        t.regulatedBus = 3;
        t.regulatedBaseKv = 33.0;
        t.controlType = type;
        t.lowerLimit = lower;
        t.upperLimit = upper;
        return t;
    };
    auto model = [](Solver& s) -> NetBranch& { return *s.GetNetwork()->branches.back(); };
    RunCases({
        {"voltage, tap on the from winding", [&](auto& r) { regulating(r, 0, 99.0, 121.0); }, false,
         [&](Solver& s) {
             NetBranch& t = model(s);
             NetBus* held = s.FindBus(3);
             EXPECT_EQ(t.code, "R");
             EXPECT_EQ(t.control, 'V');
             EXPECT_DOUBLE_EQ(t.regulation().controlMin, 0.9);
             EXPECT_DOUBLE_EQ(t.regulation().controlMax, 1.1);
             EXPECT_EQ(t.regulation().regulatedBus, held);
             EXPECT_EQ(held->code, "BT");
             EXPECT_EQ(held->regulatingBranches.front().branch, &t);
             EXPECT_EQ(held->controllingBranchCount, 0);
             EXPECT_EQ(s.GetNetwork()->voltageRegulatingCount, 1);
             EXPECT_EQ(s.GetNetwork()->regulatingCount, 0);
             EXPECT_EQ(s.GetNetwork()->branchCount, 1);
         }},
        {"voltage, tap on the to winding",
         [&](auto& r) { regulating(r, 0, 29.7, 36.3).tapSide = 1.0; }, false,
         [&](Solver& s) {
             EXPECT_DOUBLE_EQ(model(s).regulation().controlMin, 1.0 / 1.1);
             EXPECT_DOUBLE_EQ(model(s).regulation().controlMax, 1.0 / 0.9);
         }},
        {"voltage, off-nominal to winding",
         [&](auto& r) { regulating(r, 0, 99.0, 121.0).toWindingKv = 34.65; }, false,
         [&](Solver& s) {
             EXPECT_DOUBLE_EQ(model(s).regulation().controlMin, 0.9 * 33.0 / 34.65);
             EXPECT_DOUBLE_EQ(model(s).regulation().controlMax, 1.1 * 33.0 / 34.65);
         }},
        {"reactive flow", [&](auto& r) { regulating(r, 1, 99.0, 121.0).controlTarget = 20.0; }, false,
         [&](Solver& s) {
             NetBranch& t = model(s);
             EXPECT_EQ(t.code, "RQ");
             EXPECT_EQ(t.control, 'Q');
             EXPECT_DOUBLE_EQ(t.regulation().controlTarget, 0.2);
             EXPECT_EQ(t.regulation().regulatedBus, s.FindBus(3));
             EXPECT_EQ(t.regulation().regulatedPosition, 0);
             EXPECT_EQ(s.FindBus(3)->controllingBranchCount, 1);
             EXPECT_EQ(s.FindBus(3)->code, "B");
             EXPECT_EQ(s.GetNetwork()->regulatingCount, 1);
         }},
        {"reactive band",
         [&](auto& r) {
             BranchRecord& t = regulating(r, 2, 99.0, 121.0);
             t.bandMinimum = 10.0;
             t.bandMaximum = 30.0;
         },
         false,
         [&](Solver& s) {
             EXPECT_EQ(model(s).code, "RN");
             EXPECT_DOUBLE_EQ(model(s).regulation().bandMin, 0.1);
             EXPECT_DOUBLE_EQ(model(s).regulation().bandMax, 0.3);
         }},
        {"phase shifter from -30 to 30 degrees",
         [&](auto& r) { regulating(r, 3, -30.0, 30.0).controlTarget = 50.0; }, false,
         [&](Solver& s) {
             NetBranch& t = model(s);
             EXPECT_EQ(t.code, "RP");
             EXPECT_EQ(t.control, 'P');
             EXPECT_DOUBLE_EQ(t.regulation().controlMin, -30.0 * kDegrees);
             EXPECT_DOUBLE_EQ(t.regulation().controlMax, 30.0 * kDegrees);
             EXPECT_DOUBLE_EQ(t.regulation().controlTarget, 0.5);
         }},
        {"active band, regulated bus not at the branch",
         [&](auto& r) {
             BranchRecord& t = regulating(r, 4, -10.0, 10.0);
             t.bandMinimum = -20.0;
             t.bandMaximum = 20.0;
             t.regulatedBus = 1;
         },
         false,
         [&](Solver& s) {
             EXPECT_EQ(model(s).code, "RM");
             EXPECT_EQ(model(s).regulation().regulatedBus, s.FindBus(2));  // the from bus
         }},
        {"tap limit 0", [&](auto& r) { regulating(r, 0, 0.0, 121.0); }, true, nullptr},
        {"negative tap limit", [&](auto& r) { regulating(r, 2, -99.0, 121.0); }, true, nullptr},
        {"tap limits not ordered", [&](auto& r) { regulating(r, 1, 121.0, 99.0); }, true, nullptr},
        {"shift limits not ordered", [&](auto& r) { regulating(r, 3, 10.0, -10.0); }, true, nullptr},
        {"flow band not ordered",
         [&](auto& r) {
             BranchRecord& t = regulating(r, 2, 99.0, 121.0);
             t.bandMinimum = 30.0;
             t.bandMaximum = 10.0;
         },
         true, nullptr},
        {"no regulated bus", [&](auto& r) { regulating(r, 0, 99.0, 121.0).regulatedBus = 0; }, true, nullptr},
        {"unknown control type", [&](auto& r) { regulating(r, 5, 99.0, 121.0); }, true, nullptr},
    });
}

TEST(HostExchange, SwitchedBankSteps) {
    auto bank = [](MemoryRecordCursor& r) -> BusRecord& {
        BusRecord& b = r.buses[1];
        b.kind = 7;
        b.maxVoltage = 1.05;
        b.minVoltage = 0.95;
        b.voltage = 1.03;
        b.shuntB = 0.02;
        b.firstBankBlock = 10.0;
        return b;
    };
    RunCases({
        {"steps",
         [&](auto& r) { r.SetBankBlocks(bank(r), {{9, 99.0}, {2, 5.0}, {0, 7.0}, {1, -3.0}}); },
         false,
         [](Solver& s) {
             NetBus& b = *s.FindBus(2);
             EXPECT_EQ(b.code, "BX");
             EXPECT_EQ(b.control, 'X');
             EXPECT_DOUBLE_EQ(b.voltage, 1.0);
             EXPECT_EQ(b.extras().bankSteps, (std::vector<double>{0.1, 0.05, 0.05, -0.03}));
             EXPECT_EQ(b.extras().bankStepCount, 4);
             EXPECT_DOUBLE_EQ(b.shuntB, 0.12);  // the first block is switched in
             EXPECT_EQ(b.extras().bankBus, &b);
             EXPECT_DOUBLE_EQ(b.maxVoltage, 1.05);
             EXPECT_EQ(s.GetNetwork()->bankBusCount, 1);
         }},
        {"only the unused pair", [&](auto& r) { r.SetBankBlocks(bank(r), {{3, 5.0}}); }, false,
         [](Solver& s) { EXPECT_EQ(s.FindBus(2)->extras().bankSteps, (std::vector<double>{0.1})); }},
        {"no step list", [&](auto& r) { bank(r); }, true, nullptr},
        {"a negative count", [&](auto& r) { r.SetBankBlocks(bank(r), {{0, 0.0}, {-2, 5.0}}); }, true, nullptr},
        // Refused before anything is allocated for them.
        {"the largest count", [&](auto& r) { r.SetBankBlocks(bank(r), {{0, 0.0}, {2147483647, 5.0}}); }, true,
         nullptr},
        {"counts whose sum overflows",
         [&](auto& r) { r.SetBankBlocks(bank(r), {{0, 0.0}, {2147483647, 5.0}, {2147483647, 5.0}, {2, 5.0}}); },
         true, nullptr},
        {"too many blocks", [&](auto& r) { r.SetBankBlocks(bank(r), std::vector<BankBlock>(5000, {0, 1.0})); }, true,
         nullptr},
        {"a present step past the last",
         [&](auto& r) {
             r.SetBankBlocks(bank(r), {{0, 0.0}, {2, 5.0}});
             r.buses[1].bankStep = 4;
         },
         true, nullptr},
        {"voltage limits not ordered",
         [&](auto& r) {
             r.SetBankBlocks(bank(r), {{0, 0.0}});
             r.buses[1].minVoltage = 1.1;
         },
         true, nullptr},
    });
}

TEST(HostExchange, FailedPreparationLooksAtEverythingFirst) {
    struct Case {
        const char* name;
        std::function<void(MemoryRecordCursor&)> build;
        std::size_t messages;
    };
    const Case cases[] = {
        {"no buses", [](MemoryRecordCursor&) {}, 1},
        {"no branch", [](MemoryRecordCursor& r) { r.AddBus(1, 0, "Slack").maxQ = 1.0; }, 0},
        {"no slack",
         [](MemoryRecordCursor& r) {
             AddTwoBus(r);
             r.buses[0].kind = 1;
         },
         1},
        {"an isolated bus",
         [](MemoryRecordCursor& r) {
             AddTwoBus(r);
             r.AddBus(3, 1, "Alone");
         },
         0},
        {"a bus held by generators without any",
         [](MemoryRecordCursor& r) {
             AddTwoBus(r);
             r.buses[1].kind = 2;
         },
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryRecordCursor records;
        c.build(records);
        RecordingMessageSink sink;
        SolverHandle solver;
        EXPECT_EQ(solver->Attach(&records, &sink, 0), 0);
        EXPECT_TRUE(solver->Failed());
        ASSERT_EQ(sink.messages.size(), c.messages);
        if (c.messages) {
            EXPECT_EQ(sink.messages[0].level, IMessageSink::Failure);
            EXPECT_EQ(sink.messages[0].text, kNoSlack);
        }
    }

    // The pass went on past the faulty bus (the head of the list) to the
    // slack (its tail) and through the branches.
    MemoryRecordCursor records;
    AddThreeBus(records);
    records.AddBus(4, 1, "Alone");
    SolverHandle solver;
    solver->Attach(&records, nullptr, 0);
    ASSERT_TRUE(solver->Failed());
    const Network& network = *solver->GetNetwork();
    EXPECT_EQ(network.buses.front()->externalNumber, 4);
    EXPECT_EQ(network.slackBuses, (std::vector<NetBus*>{solver->FindBus(1)}));
    EXPECT_EQ(network.branches.front()->key, records.branches.front().key);
}

TEST(HostExchange, StressDirectionOfAContinuationRun) {
    struct Case {
        const char* name;
        double generationShare;
        double eastDirection;
        double slackDirection;
    };
    const Case cases[] = {
        {"generation follows the load", 1.0, 1.0, 0.0},
        {"the slack takes it all", 0.0, 0.0, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryRecordCursor records;
        AddThreeBus(records);
        records.buses[1].generationShare = c.generationShare;
        records.buses[1].maxP = 90.0;
        records.buses[2].pLoadShare = 1.0;
        records.buses[2].qLoadShare = 0.5;
        SolverHandle solver;
        ASSERT_TRUE(ReadHostRecords(*solver, records, nullptr, "table.txt"));
        NetBus& east = *solver->FindBus(2);
        NetBus& south = *solver->FindBus(3);
        EXPECT_DOUBLE_EQ(east.generationDirection, c.eastDirection);
        EXPECT_DOUBLE_EQ(east.shareInUse, c.eastDirection);
        EXPECT_DOUBLE_EQ(solver->FindBus(1)->shareInUse, c.slackDirection);
        EXPECT_DOUBLE_EQ(solver->FindBus(1)->generationDirection, c.slackDirection);
        // Generators with shares follow lambda in the continuation.
        EXPECT_EQ(solver->Switches().generationIncrease, c.generationShare != 0.0);
        EXPECT_DOUBLE_EQ(east.maxP, 0.9);
        EXPECT_DOUBLE_EQ(south.loadModelP.baseDirection, 0.6);
        EXPECT_DOUBLE_EQ(south.loadModelQ.baseDirection, 0.1);
        // Constant power: the load comes back as it went in.
        EXPECT_DOUBLE_EQ(south.loadModelP.base, 0.6);
        EXPECT_DOUBLE_EQ(south.loadModelQ.base, 0.2);
        MemoryRecordCursor results;
        results.CopyFrom(*solver->GetResultCursor());
        EXPECT_NEAR(results.buses[0].loadP, 60.0, 1e-12);
        EXPECT_NEAR(results.buses[0].loadQ, 20.0, 1e-12);
    }

    // A plain host run reads no direction.
    MemoryRecordCursor records;
    AddThreeBus(records);
    records.buses[2].pLoadShare = 1.0;
    SolverHandle solver;
    solver->Attach(&records, nullptr, 0);
    EXPECT_DOUBLE_EQ(solver->FindBus(3)->loadModelP.baseDirection, 0.0);
    EXPECT_DOUBLE_EQ(solver->FindBus(1)->generationDirection, 1.0);  // the slack's own share
}

TEST(HostExchange, BusStateRestoresAStoredOperatingPoint) {
    MemoryRecordCursor records;
    AddThreeBus(records);
    SolverHandle solver;
    ASSERT_TRUE(ReadHostRecords(*solver, records, nullptr, ""));
    MemoryRecordCursor stored;
    stored.CopyFrom(*solver->GetResultCursor());
    for (BusRecord& bus : stored.buses) {
        bus.voltage += 0.01;
        bus.angle = -10.0;
    }

    // A step moves the load of bus 3 and its constant-power entry.
    NetBus& south = *solver->FindBus(3);
    south.loadP += 0.1;
    south.loadPolynomial[0] += 0.1;
    south.generationQ = 0.7;
    EXPECT_TRUE(solver->ReadBusState(&stored));
    EXPECT_DOUBLE_EQ(south.voltage, 0.98);
    EXPECT_DOUBLE_EQ(south.angle, -10.0 * kDegrees);
    EXPECT_NEAR(south.loadP, 0.6, 1e-15);
    EXPECT_NEAR(south.loadPolynomial[0], 0.6, 1e-15);
    EXPECT_NEAR(south.loadPolynomial[3], 0.2, 1e-15);
    EXPECT_DOUBLE_EQ(south.generationQ, 0.02);
    EXPECT_DOUBLE_EQ(south.scheduledP, 0.05);
    EXPECT_DOUBLE_EQ(solver->FindBus(2)->scheduledP, 0.4);

    // Fewer records than buses: the rest stay as they are.
    stored.buses.pop_back();  // the last bus of the list, the slack
    NetBus& slack = *solver->FindBus(1);
    slack.voltage = 1.1;
    EXPECT_FALSE(solver->ReadBusState(&stored));
    EXPECT_DOUBLE_EQ(slack.voltage, 1.1);
    EXPECT_FALSE(solver->ReadBusState(nullptr));

    // A state with a value that is not a number changes nothing.
    stored.CopyFrom(*solver->GetResultCursor());
    stored.buses.back().voltage = std::nan("");
    stored.buses.front().voltage = 0.9;
    EXPECT_FALSE(solver->ReadBusState(&stored));
    EXPECT_DOUBLE_EQ(solver->GetNetwork()->buses.front()->voltage, 0.98);
}

// A value that is not a finite number, or a branch whose admittance is
// none or not a number, is refused with the bus or branch it came with.
TEST(HostExchange, ValuesThatAreNotNumbersAreRefused) {
    const double nan = std::nan("");
    const double inf = HUGE_VAL;
    struct Case {
        const char* what;
        std::function<void(MemoryRecordCursor&)> change;
        const char* message;
    };
    const Case cases[] = {
        {"a load that is not a number", [&](auto& r) { r.buses[1].loadP = nan; }, "Bus record 2 (Bus): a value"},
        {"an infinite voltage", [&](auto& r) { r.buses[0].voltage = inf; }, "Bus record 1 (Slack): a value"},
        {"a direction that is not a number", [&](auto& r) { r.buses[1].direction[5] = nan; }, "Bus record 2 (Bus)"},
        {"a reactance that is not a number", [&](auto& r) { r.branches[0].reactance = nan; }, "Branch record 1-2"},
        {"a reactance with no admittance left", [&](auto& r) { r.branches[0].reactance = 1e300; },
         "Branch record 1-2: an admittance"},
        {"a bank step that is not a number",
         [&](auto& r) {
             BusRecord& b = r.buses[1];
             b.kind = 7;
             b.maxVoltage = 1.05;
             b.minVoltage = 0.95;
             r.SetBankBlocks(b, {{0, 0.0}, {2, nan}});
         },
         "Bus record 2 (Bus): a block"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryRecordCursor records;
        AddTwoBus(records);
        c.change(records);
        SolverHandle solver;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(ReadHostRecords(*solver, records));
        EXPECT_NE(testing::internal::GetCapturedStderr().find(c.message), std::string::npos);
    }
}

}  // namespace
