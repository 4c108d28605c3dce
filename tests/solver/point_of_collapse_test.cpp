#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "case_file_run.h"
#include "cdf_host_records.h"
#include "host_read.h"
#include "ieee_case_text.h"
#include "jacobian_check.h"
#include "memory_record_cursor.h"
#include "number_text.h"
#include "power_flow_networks.h"
#include "solver.h"
#include "solver_handle.h"
#include "table_load.h"

// The point of collapse: the nose found directly on the two-bus case and on
// public cases against the continuation, its extended rows against central
// differences, its unknown-vector dump.

namespace {

// A file run of `case.cdf` with the K file `dir.k`, both in its own
// folder, and the options; the solver stays for inspection.
class FileRun {
public:
    explicit FileRun(const char* folder) : folder_(folder) {}

    int Run(const std::string& casePath, std::vector<std::string> options) {
        std::vector<std::string> items = {"-I", casePath, Path("out.txt"), "-K" + Path("dir.k")};
        items.insert(items.end(), options.begin(), options.end());
        arguments_ = std::make_unique<RunArguments>(items);
        solver_ = std::make_unique<SolverHandle>();
        (*solver_)->SetTotalsColumns(false, false, true, false);
        return (*solver_)->Main(arguments_->Count(), arguments_->Items(), 0);
    }
    void WriteDirection(const std::string& text) { WriteFileText(folder_ / "dir.k", text); }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    Solver& operator*() const { return **solver_; }
    Solver* operator->() const { return &**solver_; }

private:
    ScratchFolder folder_;
    std::unique_ptr<RunArguments> arguments_;
    std::unique_ptr<SolverHandle> solver_;
};

// Slack 1 at 1.0 p.u., bus 2 without load, a lossless line of X = 0.5 p.u.;
// bus 2's load grows by 1 p.u. per unit of lambda. The nose: lambda 1 at
// V = 1 / sqrt 2, theta = -45 degrees, where J'w = 0 gives w_P = w_Q.
std::string TwoBusCase(const FileRun& run) {
    CaseText c;
    c.buses = {BusCard(1, 3).At(85, "1.0000"), BusCard(2, 0)};
    c.branches = {BranchCard(1, 2, 0).At(30, "  0.500000")};
    const std::string path = run.Path("case.cdf");
    WriteFileText(path, c.Text());
    return path;
}

// Every load of a public case grows in proportion to its base value.
std::string ProportionalDirection(const std::string& casePath) {
    std::string directions;
    for (const BusRecord& bus : LoadCdfAsHostRecords(casePath).buses)
        if (bus.loadP != 0.0 || bus.loadQ != 0.0)
            directions += FormatInCLocale("%d 0 0 %g %g 0\n", bus.number, bus.loadP / 100.0, bus.loadQ / 100.0);
    return directions;
}

double TotalLoad(const Solver& solver) {
    double total = 0.0;
    for (const auto& bus : solver.GetNetwork()->buses) total += bus->loadP;
    return total;
}

}  // namespace

TEST(PointOfCollapse, TwoBusNoseAndItsDump) {
    FileRun run("poc_two_bus");
    const std::string path = TwoBusCase(run);
    run.WriteDirection("C bus, name, dispatch, dP, dQ, Pmax\n2 B2 0 1 0 0\n");
    ASSERT_EQ(run.Run(path, {"-C" + run.Path("w.txt"), "-T1e-8"}), 1);
    EXPECT_NEAR(run->LoadParameter(), 1.0, 1e-4);
    const NetBus& load = *run->FindBus(2);
    EXPECT_NEAR(load.voltage, 0.70711, 1e-5);
    EXPECT_NEAR(load.angle, -kPi / 4.0, 1e-4);
    // The largest entry is +-1; the slack's rows take no part.
    EXPECT_EQ(FileText(run.Path("w.txt")),
              "4 1\n"
              "   1      dP1 0          \n"
              "   2      dQ1 0          \n"
              "   3      dP2 1          \n"
              "   4      dQ2 1          \n"
              "   0        0 0          \n");

    // Without a file name the method runs and writes no dump.
    std::filesystem::remove(run.Path("w.txt"));
    ASSERT_EQ(run.Run(path, {"-C"}), 1);
    EXPECT_NEAR(run->LoadParameter(), 1.0, 1e-3);
    EXPECT_FALSE(std::filesystem::exists(run.Path("w.txt")));
}

// Option y after a plain power flow: the left vector of the solved case's
// Jacobian by forty passes of inverse iteration, in the same layout.
TEST(PointOfCollapse, OptionYWritesTheLeftVectorAfterAPowerFlow) {
    FileRun run("poc_option_y");
    const std::string path = TwoBusCase(run);
    run.WriteDirection("2 B2 0 1 0 0\n");
    ASSERT_EQ(run.Run(path, {"-y" + run.Path("y.txt")}), 1);
    const std::vector<std::string> lines = Lines(FileText(run.Path("y.txt")));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines.front(), "4 1");
    EXPECT_EQ(lines[3].substr(0, 14), "   3      dP2 ");
    EXPECT_EQ(lines.back(), "   0        0 0          ");
    double largest = 0.0;
    for (int i = 1; i <= 4; ++i) largest = std::max(largest, std::fabs(run->NullVector()[i]));
    EXPECT_DOUBLE_EQ(largest, 1.0);
}

TEST(PointOfCollapse, InverseIterationWithoutPassesLeavesOnes) {
    FileRun run("poc_inverse");
    const std::string path = TwoBusCase(run);
    run.WriteDirection("2 B2 0 1 0 0\n");
    ASSERT_EQ(run.Run(path, {}), 1);
    double eigenvalue = 0.0;
    EXPECT_EQ(run->InversePowerIteration(4, 7, 1.0, 0, &eigenvalue), 7);
    EXPECT_EQ(eigenvalue, 1.0);
    EXPECT_EQ(run->NullVector(), std::vector<double>(5, 1.0));
    // At the base case the Jacobian is far from singular: the smallest
    // eigenvalue's estimate is well away from 0, the largest entry -1 or 1.
    EXPECT_EQ(run->InversePowerIteration(40, 7, 1e-5, 0, &eigenvalue), 7);
    EXPECT_GT(eigenvalue, 0.1);
    const auto& w = run->NullVector();
    EXPECT_DOUBLE_EQ(std::max(std::fabs(w[3]), std::fabs(w[4])), 1.0);
}

// The public cases with every load growing in proportion and reactive
// limits off: the direct nose against the continuation's largest loading
// on the same direction (within the continuation's step there) and, for
// the 30-bus case, against the reference nose. The 118-bus case starts up
// the curve (option L): from its base case the extended solve settles on
// a singular point at a negative load parameter.
TEST(PointOfCollapse, PublicCasesMeetTheContinuationsNose) {
    struct Case {
        const char* name;
        const char* start;
        double referenceMw;  // 0: none
    };
    for (const Case& c : {Case{"case30", "-L0", 692.085}, Case{"case118", "-L0.5", 0.0}}) {
        SCOPED_TRACE(c.name);
        const std::string casePath = TestDataPath(std::string(c.name) + ".cdf");
        FileRun run("poc_public");
        run.WriteDirection(ProportionalDirection(casePath));
        ASSERT_EQ(run.Run(casePath, {"-C", "-q", c.start}), 1);
        const double lambda = run->LoadParameter();
        const double baseMw = 100.0 * TotalLoad(*run);
        const double noseMw = baseMw * (1.0 + lambda);
        if (c.referenceMw > 0.0) {
            EXPECT_NEAR(noseMw, c.referenceMw, 0.005 * c.referenceMw);
        }

        ASSERT_EQ(run.Run(casePath, {"-c" + run.Path("pv.txt"), "-q"}), 1);
        const std::vector<double> loads = TableLoads(run.Path("pv.txt"));
        const std::size_t nose = static_cast<std::size_t>(std::max_element(loads.begin(), loads.end()) - loads.begin());
        ASSERT_GT(nose, 0u);
        ASSERT_LT(nose + 1, loads.size());
        const double step = std::max(loads[nose] - loads[nose - 1], loads[nose] - loads[nose + 1]);
        EXPECT_NEAR(noseMw / 100.0, loads[nose], step);
    }
}

// Rows n + 1 .. 2n + 1 against central differences at random states with
// a random null vector: AC branches with ratio and shift, the "R"
// transformer in its bus's column, the four flow controls, scheduled and
// remote reactive buses, exponential loads with lambda directions, a
// shared slack, and two areas with their interchange row.
TEST(PointOfCollapse, ExtendedRowsMatchCentralDifferences) {
    std::mt19937 random(20261211);
    for (const bool twoAreas : {false, true}) {
        SCOPED_TRACE(twoAreas ? "two areas" : "regulated network");
        MemoryRecordCursor records;
        SolverHandle solver;
        if (twoAreas) {
            ASSERT_TRUE(BuildTwoAreaNetwork(*solver));
        } else {
            AddRegulatedNetwork(records);
            ASSERT_TRUE(ReadHostRecords(*solver, records));
            const int numbers[] = {2, 9, 10};
            for (int i = 0; i < 3; ++i) {
                NetBus& bus = *solver->FindBus(numbers[i]);
                bus.loadModelP = {1.4 + 0.3 * i, 0.1, 0.3, 0.05 * i, 0.2};
                bus.loadModelQ = {2.2 - 0.5 * i, 0.05, 0.1, 0.02, 0.1 * i};
            }
            solver->FindBus(3)->generationDirection = 0.4;
        }
        solver->SetPointOfCollapse(true);
        solver->NumberVariables();
        solver->SetLoadParameter(0.3);
        for (int state = 0; state < 2; ++state) {
            SCOPED_TRACE("state " + std::to_string(state));
            MoveToRandomState(*solver, random, 0.05);
            const auto differences = CheckExtendedRows(*solver);
            EXPECT_TRUE(differences.empty()) << Describe(differences);
        }
    }
}


// With the generators' reactive limits on, the 30-bus case's nose is
// where a limit is met: every retry switches a limit back or forth and
// the retries run into the iteration limit. The run fails, and the dump
// is written first.
TEST(PointOfCollapse, RetriesEndAtTheIterationLimitAfterTheDump) {
    const std::string casePath = TestDataPath("case30.cdf");
    FileRun run("poc_give_up");
    run.WriteDirection(ProportionalDirection(casePath));
    EXPECT_EQ(run.Run(casePath, {"-C" + run.Path("w.txt"), "-M30", "-l" + run.Path("messages.txt")}), 0);
    EXPECT_TRUE(run->Failed());
    EXPECT_EQ(FileText(run.Path("messages.txt")), "The point of collapse was not found within 30 iterations\n");
    const std::vector<std::string> lines = Lines(FileText(run.Path("w.txt")));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front(), FormatInCLocale("%d 1", run->VariableCount()));
    EXPECT_EQ(lines.back(), "   0        0 0          ");
    EXPECT_FALSE(std::filesystem::exists(run.Path("out.txt")));
}
