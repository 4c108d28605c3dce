#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <map>
#include <sstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "case_file_run.h"
#include "device_rows_check.h"
#include "ieee_case_text.h"
#include "number_text.h"
#include "solver.h"
#include "solver_handle.h"
#include "table_load.h"

// Generator models from the generator-model file (option 3) to their
// solution: the Jacobian against central differences under each control,
// the start from the file, and the field and armature limits against the
// machine solved by hand.

namespace {

using Complex = std::complex<double>;

// Slack 1 at 1.0 p.u.; generator 2 (50 MW, holding 1.05 p.u.) joined to it
// by a line of X 0.1 p.u.; no load. Option 3 gives bus 2 a round-rotor
// machine (Xd = Xq = 1 p.u., no resistance).
CaseText TwoMachineBuses() {
    CaseText c;
    c.buses = {BusCard(1, 3).At(85, "1.0000"), BusCard(2, 2).At(59, "    50.00").At(85, "1.0500")};
    c.branches = {BranchCard(1, 2, 0)};
    return c;
}

// A load bus 3 (80 MW, 30 Mvar) fed from both, for the Jacobian.
CaseText ThreeMachineBuses() {
    CaseText c = TwoMachineBuses();
    c.buses.push_back(BusCard(3, 0).At(41, "    80.00").At(51, "    30.00"));
    c.branches.push_back(BranchCard(2, 3, 0));
    c.branches.push_back(BranchCard(1, 3, 0).At(30, "  0.200000"));
    return c;
}

class GeneratorModelTest : public ::testing::Test {
protected:
    void WriteCase(const CaseText& c, const std::string& machines) {
        WriteFileText(folder_ / "case.cdf", c.Text());
        WriteFileText(folder_ / "machines.txt", machines);
    }
    std::vector<std::string> Options(std::vector<std::string> more) const {
        std::vector<std::string> items = {"-I", "-3" + Path("machines.txt")};
        items.insert(items.end(), more.begin(), more.end());
        return items;
    }
    // A whole file run; its answer.
    int Run(const CaseText& c, const std::string& machines, std::vector<std::string> options = {}) {
        WriteCase(c, machines);
        std::vector<std::string> items = Options(std::move(options));
        items.insert(items.begin() + 1, {Path("case.cdf"), Path("listing.txt")});
        solver_ = std::make_unique<SolverHandle>();
        arguments_ = std::make_unique<RunArguments>(std::move(items));
        if (loadTotals_) (*solver_)->SetTotalsColumns(false, false, true, false);
        return (*solver_)->Main(arguments_->Count(), arguments_->Items(), 0);
    }
    // The case and its machines read and numbered, unsolved.
    bool Prepare(const CaseText& c, const std::string& machines, std::vector<std::string> options = {}) {
        WriteCase(c, machines);
        solver_ = std::make_unique<SolverHandle>();
        arguments_ = std::make_unique<RunArguments>(Options(std::move(options)));
        if (!ReadCaseFile(**solver_, *arguments_, Path("case.cdf"))) return false;
        S().NumberVariables();
        return true;
    }
    // The two-bus case with `card` for bus 2.
    int RunTwoBuses(const std::string& card, const std::string& machines) {
        CaseText text = TwoMachineBuses();
        text.buses[1] = card;
        return Run(text, machines);
    }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    Solver& S() { return **solver_; }
    NetBus& Bus(int number) { return *S().FindBus(number); }

    std::unique_ptr<SolverHandle> solver_;
    std::unique_ptr<RunArguments> arguments_;
    ScratchFolder folder_{"generator_model"};
    bool loadTotals_ = false;  // a continuation's table ends with the total load
};

// The current out of a bus from its generation: conj(S / V).
Complex BusCurrent(const NetBus& bus) {
    const Complex v = std::polar(bus.voltage, bus.angle);
    return std::conj(Complex(bus.generationP, bus.generationQ) / v);
}

TEST_F(GeneratorModelTest, StartsFromTheBusAndHoldsItsRows) {
    // Ra 0.01 (sign dropped), Xq above Xd cut to Xd, no current limit, E
    // limits 0.5 to 3.
    ASSERT_TRUE(Prepare(TwoMachineBuses(), "2 B2 -0.01 1.2 1.5 0 3.0 0.5\n"));
    const NetBus& bus = Bus(2);
    ASSERT_NE(bus.generator, nullptr);
    const NetGenerator& m = *bus.generator;
    EXPECT_EQ(S().GetNetwork()->generatorModelCount, 1);
    EXPECT_EQ(m.resistance, 0.01);
    EXPECT_EQ(m.xq, 1.2);
    EXPECT_EQ(m.maxCurrent, kNoMachineLimit);
    const Complex v = std::polar(bus.voltage, bus.angle);
    const Complex i = BusCurrent(bus);
    EXPECT_NEAR(m.vr, v.real(), 1e-12);
    EXPECT_NEAR(m.ii, i.imag(), 1e-12);
    EXPECT_NEAR(m.ia, std::abs(i), 1e-12);
    // The rotor where V + j Xq I points; E behind Xd on its d-axis.
    const Complex behind = v + Complex(0.0, 1.2) * i;
    EXPECT_NEAR(m.delta, std::arg(behind), 1e-12);
    EXPECT_NEAR(m.e, std::abs(behind), 1e-12);
    // The frame rows hold exactly at the start.
    EXPECT_NEAR(m.vr - m.vd * std::cos(m.delta) + m.vq * std::sin(m.delta), 0.0, 1e-12);
    EXPECT_NEAR(m.ir - m.id * std::cos(m.delta) + m.iq * std::sin(m.delta), 0.0, 1e-12);
}

TEST_F(GeneratorModelTest, FileLinesThatGiveNoMachineArePassedOver) {
    struct Case {
        const char* name;
        const char* line;
        bool model;
        double e;  // E at the start, when a model is made
        double maxField;
    };
    // Bus 2 at the start: 1.05 p.u., angle 0, 50 MW, 0 Mvar, so
    // E = |1.05 + j Xd 50/105| with Xd 1.
    const double e = std::abs(Complex(1.05, 0.5 / 1.05));
    const Case cases[] = {
        {"load bus, or none", "0 0 0 1 1 0 0 0\n3 B3 0 1 1 0 0 0\n", false, 0.0, 0.0},
        {"no Xd", "2 B2 0 0 1 0 0 0\n", false, 0.0, 0.0},
        {"comment", "C 2 B2 0 1 1 0 0 0\n", false, 0.0, 0.0},
        {"E above its upper limit", "2 B2 0 1 1 0 1.1 0.9\n", true, 1.1, 1.1},
        {"crossed limits leave E alone", "2 B2 0 1 1 0 0.9 1.1\n", true, e, 0.9},
        {"a negative lower limit leaves E alone", "2 'B2' 0 1 1 0 1.1 -1\n", true, e, 1.1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CaseText text = TwoMachineBuses();
        text.buses.push_back(BusCard(3, 0));
        text.branches.push_back(BranchCard(2, 3, 0));
        ASSERT_TRUE(Prepare(text, c.line));
        for (int number : {1, 3}) EXPECT_EQ(Bus(number).generator, nullptr);
        ASSERT_EQ(Bus(2).generator != nullptr, c.model);
        if (!c.model) continue;
        EXPECT_NEAR(Bus(2).generator->e, c.e, 1e-12);
        // The limits stay as read.
        EXPECT_EQ(Bus(2).generator->maxField, c.maxField);
    }
    // The slack takes any current.
    ASSERT_TRUE(Prepare(TwoMachineBuses(), "1 B1 0 1 1 0.5 0 0\n"));
    EXPECT_EQ(Bus(1).generator->maxCurrent, kNoMachineLimit);
    // A line naming a bus without its six numbers ends the run.
    EXPECT_FALSE(Prepare(TwoMachineBuses(), "2 B2 0 1 1 0 0\n"));
}

// A random state of the buses and the machine's unknowns, and of the
// reactive generation that takes a held quantity's column.
void Scramble(Network& network, std::mt19937& random) {
    std::uniform_real_distribution<double> around(-1.0, 1.0);
    for (const auto& bus : network.buses) {
        bus->voltage = 1.0 + 0.06 * around(random);
        bus->generationQ = 0.3 * around(random);
        if (!CodeHas(bus->code, "S")) bus->angle = 0.2 * around(random);
        if (!bus->generator) continue;
        NetGenerator& m = *bus->generator;
        double* values[] = {&m.delta, &m.vr, &m.vi, &m.ir, &m.ii, &m.vd, &m.vq, &m.id, &m.iq};
        for (double* value : values) *value = 0.8 * around(random);
        m.e = 1.5 + 0.3 * around(random);
        m.ia = 0.7 + 0.2 * around(random);
    }
}

// The plain rows' Jacobian, and the point-of-collapse rows (the model's
// curvature in block 2, its part of J'w) at random states with a random
// null vector.
TEST_F(GeneratorModelTest, JacobianAndExtendedRowsMatchCentralDifferencesUnderEachControl) {
    struct Case {
        const char* name;
        CardLine bus2;
        std::vector<char> controls;
    };
    const CardLine generator = BusCard(2, 2).At(59, "    50.00").At(85, "1.0500");
    const Case cases[] = {
        {"generator holding its voltage", generator, {'V', 'Q', 'I', 'E'}},
        {"scheduled Q within voltage limits", BusCard(2, 1).At(59, "    50.00").At(68, "  20.00"), {'Q', 'V', 'I', 'E'}},
        {"remote generator of bus 3", CardLine(generator).At(124, "   3"), {'V', 'Q', 'I', 'E'}},
    };
    std::mt19937 random(20261211);
    for (const Case& c : cases) {
        CaseText text = ThreeMachineBuses();
        text.buses[1] = c.bus2;
        for (char control : c.controls) {
            SCOPED_TRACE(std::string(c.name) + ", control " + control);
            ASSERT_TRUE(Prepare(text, "2 B2 0.02 1.1 0.8 0.9 2.5 0.5\n"));
            NetBus& bus = Bus(2);
            bus.control = control;
            // The machine also takes a share of the slack's power.
            bus.generationDirection = bus.shareInUse = 0.5;
            S().ClassifyBuses();
            ExpectRowsMatchCentralDifferences(S(), random, [&] { Scramble(*S().GetNetwork(), random); });
        }
    }
}

// The two-bus machine behind Xd + X = 1.1 p.u. from the slack at 1.0 p.u.:
// the terminal voltage when the internal voltage is e at rotor angle delta.
Complex TerminalVoltage(double e, double delta) {
    const Complex current = (std::polar(e, delta) - 1.0) / Complex(0.0, 1.1);
    return 1.0 + Complex(0.0, 0.1) * current;
}

// The machine at bus 2 either holds 1.05 p.u. (a generator bus) or gives
// 60 Mvar on schedule (within voltage limits): either way it would need
// more than 1.6 p.u. of E and 0.7 p.u. of current, more than its field or
// armature allows in the tests below, so it ends held at that limit.
struct MachineBus {
    const char* name;
    std::string card;
};
std::vector<MachineBus> MachineBuses() {
    return {{"generator bus", BusCard(2, 2).At(59, "    50.00").At(85, "1.0500")},
            {"scheduled-Q bus", BusCard(2, 1).At(59, "    50.00").At(68, "   60.00").At(91, " 1.20").At(99, " 0.90")}};
}

// The field allows E = 1.4 p.u.
TEST_F(GeneratorModelTest, AtItsFieldLimitTheMachineHoldsE) {
    for (const MachineBus& machine : MachineBuses()) {
        SCOPED_TRACE(machine.name);
        ASSERT_EQ(RunTwoBuses(machine.card, "2 B2 0 1 1 0 1.4 0\n"), 1);
        const NetBus& bus = Bus(2);
        EXPECT_EQ(bus.control, 'E');
        const NetGenerator& m = *bus.generator;
        EXPECT_DOUBLE_EQ(m.e, 1.4);
        // By hand: P = E V1 sin(delta) / (Xd + X) with P 0.5.
        const double delta = std::asin(0.5 * 1.1 / 1.4);
        const Complex v = TerminalVoltage(1.4, delta);
        EXPECT_NEAR(m.delta, delta, 1e-5);
        EXPECT_NEAR(bus.voltage, std::abs(v), 1e-5);
        EXPECT_NEAR(bus.angle, std::arg(v), 1e-5);
        EXPECT_LT(bus.voltage, 1.05);
        const Complex current = (std::polar(1.4, delta) - 1.0) / Complex(0.0, 1.1);
        EXPECT_NEAR(bus.generationQ, (v * std::conj(current)).imag(), 1e-5);
        EXPECT_NEAR(m.ia, std::abs(current), 1e-5);
    }
}

// The armature allows 0.6 p.u.
TEST_F(GeneratorModelTest, AtItsArmatureLimitTheMachineHoldsItsCurrent) {
    // By hand: with |S| = 0.6 V and P = 0.5 at bus 2, the line gives
    // (V^2 - 0.1 Q)^2 + (0.1 P)^2 = V^2; solved for V by bisection.
    auto residual = [](double v) {
        const double q = std::sqrt(0.36 * v * v - 0.25);
        const double inPhase = v * v - 0.1 * q;
        return inPhase * inPhase + 0.0025 - v * v;
    };
    double low = 0.85, high = 1.05;
    ASSERT_LT(residual(low) * residual(high), 0.0);
    for (int k = 0; k < 100; ++k) {
        const double middle = 0.5 * (low + high);
        (residual(low) * residual(middle) <= 0.0 ? high : low) = middle;
    }
    const double v = 0.5 * (low + high);

    for (const MachineBus& machine : MachineBuses()) {
        SCOPED_TRACE(machine.name);
        ASSERT_EQ(RunTwoBuses(machine.card, "2 B2 0 1 1 0.6 0 0\n"), 1);
        const NetBus& bus = Bus(2);
        EXPECT_EQ(bus.control, 'I');
        const NetGenerator& m = *bus.generator;
        EXPECT_DOUBLE_EQ(m.ia, 0.6);
        EXPECT_NEAR(bus.voltage, v, 1e-5);
        EXPECT_NEAR(bus.generationQ, std::sqrt(0.36 * v * v - 0.25), 1e-5);
        EXPECT_NEAR(std::abs(BusCurrent(bus)), 0.6, 1e-5);
        // E behind Xd: the rows of the machine hold.
        const Complex terminal = std::polar(bus.voltage, bus.angle);
        EXPECT_NEAR(m.e, std::abs(terminal + Complex(0.0, 1.0) * BusCurrent(bus)), 1e-5);
    }
}

TEST_F(GeneratorModelTest, LimitsOfTheModelAreCheckedOnlyWithOption3) {
    struct Case {
        const char* name;
        const char* machine;
        std::vector<std::string> options;
        int result;
        char control;
    };
    // Holding 1.05 p.u. takes E = 1.63 and 0.70 p.u. of current; at a
    // current of 0.6 p.u. E is 1.47 p.u.
    const Case cases[] = {
        {"both: the armature first", "2 B2 0 1 1 0.6 1.5 0\n", {}, 1, 'I'},
        {"field only (option 5)", "2 B2 0 1 1 0.6 1.5 0\n", {"-5"}, 1, 'E'},
        {"armature only (option 4)", "2 B2 0 1 1 0.6 1.4 0\n", {"-4"}, 1, 'I'},
        {"neither (option n)", "2 B2 0 1 1 0.6 1.4 0\n", {"-n"}, 1, 'V'},
        {"at its armature limit it would break its field limit", "2 B2 0 1 1 0.6 1.4 0\n", {}, 0, 'I'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStderr();
        EXPECT_EQ(Run(TwoMachineBuses(), c.machine, c.options), c.result);
        const std::string diagnostics = testing::internal::GetCapturedStderr();
        if (c.result == 1) {
            EXPECT_EQ(Bus(2).control, c.control) << diagnostics;
        }
    }
}


// Option v: the load parameter at which load bus 3 stands at 0.95 p.u., the
// machine holding its field limit on the way.
TEST_F(GeneratorModelTest, HeldVoltageRunTakesTheMachine) {
    WriteFileText(folder_ / "dir.k", "3 B3 0 1 0.4 0\n");
    ASSERT_EQ(Run(ThreeMachineBuses(), "2 B2 0 1 1 0 1.7 0\n", {"-K" + Path("dir.k"), "-v0.95"}), 1);
    EXPECT_NEAR(Bus(3).voltage, 0.95, 1e-9);
    EXPECT_GT(S().LoadParameter(), 0.0);
    const NetGenerator& m = *Bus(2).generator;
    EXPECT_EQ(Bus(2).control, 'E');
    EXPECT_DOUBLE_EQ(m.e, 1.7);
    // The machine's rows hold at the solution.
    const Complex terminal = std::polar(Bus(2).voltage, Bus(2).angle);
    EXPECT_NEAR(m.e, std::abs(terminal + Complex(0.0, 1.0) * BusCurrent(Bus(2))), 1e-4);
}

// A case written at the solution (-W) and solved again with the same
// machines comes back to the same solution (both solved to 1e-9 p.u.).
TEST_F(GeneratorModelTest, WrittenCaseSolvesAgainToTheSameSolution) {
    const std::string machines = "2 B2 0 1 1 0 1.7 0\n";
    const std::string written = Path("written.cdf");
    ASSERT_EQ(Run(ThreeMachineBuses(), machines, {"-W" + written, "-T1e-9"}), 1);
    ASSERT_EQ(Bus(2).control, 'E');
    std::vector<double> state;
    for (int number = 1; number <= 3; ++number) state.insert(state.end(), {Bus(number).voltage, Bus(number).angle});
    const double e = Bus(2).generator->e;
    const double delta = Bus(2).generator->delta;

    std::vector<std::string> items = Options({"-T1e-9"});
    items.insert(items.begin() + 1, {written, Path("listing2.txt")});
    solver_ = std::make_unique<SolverHandle>();
    arguments_ = std::make_unique<RunArguments>(std::move(items));
    ASSERT_EQ(S().Main(arguments_->Count(), arguments_->Items(), 0), 1);
    EXPECT_EQ(Bus(2).control, 'E');
    for (int number = 1; number <= 3; ++number) {
        EXPECT_NEAR(Bus(number).voltage, state[2 * number - 2], 1e-6);
        EXPECT_NEAR(Bus(number).angle, state[2 * number - 1], 1e-6);
    }
    EXPECT_NEAR(Bus(2).generator->e, e, 1e-6);
    EXPECT_NEAR(Bus(2).generator->delta, delta, 1e-6);
}

// The table's values by column name: every row's value under each name.
std::map<std::string, std::vector<double>> TableColumns(const std::string& text) {
    std::vector<std::string> lines = Lines(text);
    std::map<std::string, std::vector<double>> columns;
    if (lines.empty()) return columns;
    std::vector<std::string> names;
    std::istringstream header(lines[0]);
    for (std::string name; header >> name;) names.push_back(name);
    for (std::size_t k = 1; k < lines.size(); ++k) {
        std::istringstream row(lines[k]);
        double value = 0.0;
        for (std::size_t c = 0; c < names.size() && row >> value; ++c) columns[names[c]].push_back(value);
    }
    return columns;
}

// Load bus 3 grows by 1 p.u. and 0.4 p.u. of reactive load per unit of
// lambda; the machine holds bus 2 at 1.05 p.u. until its field limit, from
// where E stays at the limit and the nose comes earlier.
TEST_F(GeneratorModelTest, ContinuationTracesTheMachineToItsFieldLimit) {
    auto trace = [&](const std::string& machine, std::vector<std::string> options) {
        WriteFileText(folder_ / "dir.k", "3 B3 0 1 0.4 0\n");
        options.insert(options.end(), {"-K" + Path("dir.k"), "-c" + Path("pv.txt"), "-e", "-k0.05", "-S0.8"});
        EXPECT_EQ(Run(ThreeMachineBuses(), machine, options), 1);
        return TableColumns(FileText(folder_ / "pv.txt"));
    };
    // Without its limits (options 4 and 5) the machine's E rises with the load.
    auto free = trace("2 B2 0 1 1 0 1.8 0\n", {"-4", "-5"});
    ASSERT_EQ(free.count("Eq2"), 1u);
    ASSERT_EQ(free.count("PLoad_Total"), 0u);
    const std::vector<double>& e = free["Eq2"];
    ASSERT_GT(e.size(), 5u);
    const double highest = *std::max_element(e.begin(), e.end());
    ASSERT_GT(highest, e.front() + 0.1);
    EXPECT_EQ(Bus(2).control, 'V');
    const std::vector<double>& v3 = free["V_B3_________"];

    const double limit = 0.5 * (e.front() + highest);
    auto limited = trace(FormatInCLocale("2 B2 0 1 1 0 %.4f 0\n", limit), {});
    const std::vector<double>& held = limited["Eq2"];
    ASSERT_GT(held.size(), 5u);
    for (double value : held) EXPECT_LE(value, limit + 1e-4);
    EXPECT_NEAR(held.back(), limit, 1e-4);
    EXPECT_EQ(Bus(2).control, 'E');
    // The machine's voltage sags once E is held: the load bus's voltage
    // falls faster than without the limit.
    const std::vector<double>& v3limited = limited["V_B3_________"];
    EXPECT_LT(*std::min_element(v3limited.begin(), v3limited.end()) + 1e-9,
              *std::max_element(v3.begin(), v3.end()));
}

// The direct nose with the machine holding bus 2's voltage throughout
// (its limits off): load bus 3 as above, its load at the nose against the
// continuation's largest total load, within the continuation's step there.
TEST_F(GeneratorModelTest, PointOfCollapseMeetsTheContinuationsNose) {
    const std::string machine = "2 B2 0 1 1 0 1.8 0\n";
    WriteFileText(folder_ / "dir.k", "3 B3 0 1 0.4 0\n");
    const std::vector<std::string> options = {"-K" + Path("dir.k"), "-4", "-5"};
    std::vector<std::string> direct = options;
    direct.push_back("-C");
    ASSERT_EQ(Run(ThreeMachineBuses(), machine, direct), 1);
    EXPECT_EQ(Bus(2).control, 'V');
    const double noseLoad = 0.8 + S().LoadParameter();

    loadTotals_ = true;
    std::vector<std::string> traced = options;
    traced.push_back("-c" + Path("pv.txt"));
    ASSERT_EQ(Run(ThreeMachineBuses(), machine, traced), 1);
    const std::vector<double> loads = TableLoads(Path("pv.txt"));
    const std::size_t nose = static_cast<std::size_t>(std::max_element(loads.begin(), loads.end()) - loads.begin());
    ASSERT_GT(nose, 0u);
    ASSERT_LT(nose + 1, loads.size());
    const double step = std::max(loads[nose] - loads[nose - 1], loads[nose] - loads[nose + 1]);
    EXPECT_NEAR(noseLoad, loads[nose], step);
}

}  // namespace
