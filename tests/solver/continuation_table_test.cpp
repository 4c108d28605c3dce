#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <memory>
#include <string>
#include <vector>

#include "case_file_run.h"
#include "host_read.h"
#include "memory_record_cursor.h"
#include "number_text.h"
#include "solver.h"
#include "solver_handle.h"
#include "table_load.h"

namespace {

// The table's lines as the solver's writers leave them in a file.
class TableFile {
public:
    explicit TableFile(const ScratchFolder& folder) : path_(folder / "table.txt") {
        file_ = std::fopen(path_.c_str(), "w");
    }
    ~TableFile() {
        if (file_) std::fclose(file_);
    }
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;

    FILE* Stream() const { return file_; }
    std::string Text() {
        std::fflush(file_);
        return FileText(path_);
    }

private:
    std::filesystem::path path_;
    FILE* file_ = nullptr;
};

// Slack 1 "NORTH 2" at 1 p.u., load bus 2 "South" with 50 MW and 20 Mvar,
// one lossless line of 0.5 p.u., read as a host continuation run.
void AttachTwoBus(Solver& solver, MemoryRecordCursor& records) {
    BusRecord& north = records.AddBus(1, 0, "NORTH 2");
    north.maxQ = 100.0;
    north.minQ = -100.0;
    BusRecord& south = records.AddBus(2, 1, "South");
    south.loadP = 50.0;
    south.loadQ = 20.0;
    south.pLoadShare = 100.0;
    records.AddBranch(BranchRecord::Line, 1, 2, 0.0, 0.5);
    ASSERT_TRUE(ReadHostRecords(solver, records, nullptr, "table.txt"));
}

TEST(ContinuationTable, TwoBusHostRunWithTheLoadTotal) {
    ScratchFolder folder("table_host");
    MemoryRecordCursor records;
    SolverHandle solver;
    AttachTwoBus(*solver, records);
    solver->SetTotalsColumns(false, false, true, false);

    TableFile table(folder);
    solver->WriteTableHeader(table.Stream());
    solver->WriteTableRow(table.Stream());
    solver->EndTableRow(table.Stream(), false);
    // A point further along the curve: bus 2 lower, the load at lambda 0.
    solver->FindBus(2)->voltage = 0.70711;
    solver->SumTableTotals();
    solver->WriteTableRow(table.Stream());
    solver->EndTableRow(table.Stream(), true);

    // The host's buses are listed in the reverse order of its records, the
    // columns in the reverse order of the list. Before the first sum the
    // totals are 0.
    EXPECT_EQ(table.Text(),
              "V_NORTH_2\tV_South\tPLoad_Total\t\t\n"
              "1.0000\t1.0000\t0.000000\t\n"
              "1.0000\t.70711\t.5000000\t\n");
    EXPECT_EQ(solver->GetPointCount(), 2);

    const NetBus* north = solver->FindBus(1);
    EXPECT_EQ(solver->TableColumns(), (std::vector<NetBus*>{solver->FindBus(1), solver->FindBus(2)}));
    EXPECT_TRUE(Solver::InMonitoredList(north, solver->TableColumns()));
    EXPECT_FALSE(Solver::InMonitoredList(north, {}));
}

TEST(ContinuationTable, TotalsColumnsFollowTheFlagsInAFixedOrder) {
    struct Case {
        bool generationP, generationQ, loadP, loadQ;
        const char* header;
        const char* row;
    };
    // Bus 2 draws 0.5 + j0.2 p.u.; the slack is given 0.5 + j0.3 p.u.
    const Case cases[] = {
        {false, false, true, false, "PLoad_Total\t\t\n", ".5000000\t"},
        {false, false, false, false, "\n", ""},
        {true, false, false, true, "QLoad_Total\t\tPGen_Total\t\t\n", ".2000000\t.5000000\t"},
        {true, true, true, true, "PLoad_Total\t\tQLoad_Total\t\tPGen_Total\t\tQGen_Total\t\t\n",
         ".5000000\t.2000000\t.5000000\t.3000000\t"},
    };
    const std::string columns = "V_NORTH_2\tV_South\t";
    const std::string voltages = "1.0000\t1.0000\t";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        ScratchFolder folder("table_totals");
        MemoryRecordCursor records;
        SolverHandle solver;
        AttachTwoBus(*solver, records);
        solver->SetTotalsColumns(c.generationP, c.generationQ, c.loadP, c.loadQ);
        NetBus* slack = solver->FindBus(1);
        slack->generationP = 0.5;
        slack->generationQ = 0.3;
        solver->SumTableTotals();
        TableFile table(folder);
        solver->WriteTableHeader(table.Stream());
        solver->WriteTableRow(table.Stream());
        EXPECT_EQ(table.Text(), columns + c.header + voltages + c.row);
    }

    SolverHandle solver;
    solver->SetTotalsColumns(true, true, true, true);
    solver->ClearTotalsColumns();
    MemoryRecordCursor records;
    AttachTwoBus(*solver, records);
    ScratchFolder folder("table_cleared");
    TableFile table(folder);
    solver->WriteTableHeader(table.Stream());
    EXPECT_EQ(table.Text(), columns + "\n");
}

// A file run: the case file's names are 12 characters, padded with blanks.
TEST(ContinuationTable, OptionsAddTheirColumns) {
    struct Case {
        std::vector<std::string> options;
        const char* text;
    };
    const std::string names = "V_Load_______\tV_Slack______\t";
    const std::string values = "1.0000\t1.0000\t";
    const std::string tangentNames = "VSFone\tVSFbus\tVSFinf\tSF\t";
    const std::string noTangent = "0.0000\t     0\t0.0000\t0.0000\t     0\t     0";
    const Case cases[] = {
        {{"-I"}, "\n1.0000\t1.0000\t\n"},
        // The first row is the energy measure's reference point: 0.
        {{"-I", "-O"}, "Vac\t\n1.0000\t1.0000\t0.0000\t\n"},
        {{"-I", "-O9"}, "Vac\t\t\n1.0000\t1.0000\t0.0000000\t\n"},
        {{"-I", "-m"}, "\nx=[\n1.0000\t1.0000\t\n"},
        {{"-I", "-f3"}, "VSFone\tVSFbus\tVSFinf\tSF\tTVI_3\t3_Rank\n1.0000\t1.0000\t"},
        {{"-I", "-f"}, "VSFone\tVSFbus\tVSFinf\tSF\tTVI_0\t0_Rank\n1.0000\t1.0000\t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.back());
        SolverHandle solver;
        RunArguments arguments(c.options);
        ASSERT_TRUE(ReadCaseFile(*solver, arguments, TestDataPath("two_bus.cdf")));
        ScratchFolder folder("table_options");
        TableFile table(folder);
        solver->WriteTableHeader(table.Stream());
        solver->WriteTableRow(table.Stream());
        solver->EndTableRow(table.Stream(), false);
        std::string expected = c.text;
        if (c.options.back().starts_with("-f")) expected += noTangent + "\n";
        expected = (c.options.back() == "-m" ? "% " : "") + names + expected;
        EXPECT_EQ(table.Text(), expected);
    }
}

// A lossless network (no series or shunt conductance): slack 1, generator
// 2 holding its voltage, load 3 with a reactive load that follows V^1.7 and
// a constant-impedance part, lines with charging, a bus shunt and a
// transformer with ratio and shift. Read as a host continuation run, the
// load growing at bus 3.
void AttachLosslessThreeBus(Solver& solver, MemoryRecordCursor& records) {
    BusRecord& slack = records.AddBus(1, 0, "Slack");
    slack.maxQ = 500.0;
    slack.minQ = -500.0;
    BusRecord& generator = records.AddBus(2, 5, "Generator");
    generator.voltage = 1.02;
    generator.generationP = 60.0;
    BusRecord& load = records.AddBus(3, 1, "Load");
    load.loadP = 120.0;
    load.loadQ = 40.0;
    load.pLoadShare = load.qLoadShare = 1.0;
    load.shuntB = 0.1;
    records.AddBranch(BranchRecord::Line, 1, 2, 0.0, 0.2).chargingB = 0.05;
    records.AddBranch(BranchRecord::Line, 2, 3, 0.0, 0.25).chargingB = 0.04;
    BranchRecord& transformer = records.AddBranch(BranchRecord::Transformer, 1, 3, 0.0, 0.3);
    transformer.fromWindingKv = 115.5;
    transformer.toWindingKv = 110.0;
    transformer.phaseShift = 3.0;
    transformer.chargingB = 0.02;
    ASSERT_TRUE(ReadHostRecords(solver, records, nullptr, "table.txt"));
    LoadModel& q = solver.FindBus(3)->loadModelQ;
    q.exponent = 1.7;
    q.impedance = 0.1;
    q.impedanceDirection = 0.05;
}

// The energy measure is the energy function of the lossless network: 0 at
// the reference point, and at states around points of the curve (solved
// at lambda 0, 0.5 and 1, then moved off it) its central differences in
// each bus angle and log voltage are the calculated less the specified
// power, minus Newton's mismatch.
TEST(ContinuationTable, EnergyMeasureHasTheMismatchForItsGradient) {
    MemoryRecordCursor records;
    SolverHandle solver;
    AttachLosslessThreeBus(*solver, records);
    solver->SetContinuation(Continuation::Off);
    solver->NumberVariables();
    ASSERT_GT(solver->SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial), 0);
    EXPECT_EQ(solver->EnergyMeasure(true), 0.0);
    EXPECT_EQ(solver->EnergyMeasure(false), 0.0);

    std::mt19937 random(20261211);
    std::uniform_real_distribution<double> around(-0.05, 0.05);
    const double h = 1e-6;
    for (const double lambda : {0.0, 0.5, 1.0}) {
        solver->SetLoadParameter(lambda);
        ASSERT_GT(solver->SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Models), 0);
        for (const auto& bus : solver->GetNetwork()->buses) {
            bus->angle += around(random);
            bus->voltage *= 1.0 + around(random);
        }
        int status = 0;
        solver->AcEquations(status, Evaluate::Mismatch, Loads::Models);
        const std::vector<double> mismatch = solver->Mismatch();
        for (const auto& owned : solver->GetNetwork()->buses) {
            NetBus& bus = *owned;
            SCOPED_TRACE(FormatInCLocale("lambda %g, bus %d", lambda, bus.externalNumber));
            auto difference = [&](double& value, double up, double down) {
                const double kept = value;
                value = up;
                const double above = solver->EnergyMeasure(false);
                value = down;
                const double below = solver->EnergyMeasure(false);
                value = kept;
                return (above - below) / (2.0 * h);
            };
            // The slack's angle is no unknown: its row holds the slack power.
            if (!CodeHas(bus.code, "S")) {
                EXPECT_NEAR(difference(bus.angle, bus.angle + h, bus.angle - h), -mismatch[bus.firstVariable], 1e-6);
            }
            EXPECT_NEAR(difference(bus.voltage, bus.voltage * std::exp(h), bus.voltage * std::exp(-h)),
                        -mismatch[bus.firstVariable + 1], 1e-6);
        }
    }
}

}  // namespace

// Along the PV curve of the 9-bus case, every load growing in proportion,
// the energy measure falls from 0 at the base case row after row to the
// nose, and rises again beyond it. (The case's lines have losses, which
// the measure leaves out: its lowest value lies a little before the nose,
// within the default step.)
TEST(ContinuationTable, EnergyMeasureFallsAlongTheCurveToTheNose) {
    const std::string casePath = TestDataPath("case9.cdf");
    ScratchFolder folder("table_energy");
    WriteFileText(folder / "dir.k", "5 x 0 0.9 0.3 0\n7 x 0 1 0.35 0\n9 x 0 1.25 0.5 0\n");
    RunArguments arguments({"-I", casePath, "-K" + (folder / "dir.k").string(), "-c" + (folder / "pv.txt").string(),
                            "-q", "-O10", "-S0.9"});
    SolverHandle solver;
    solver->SetTotalsColumns(false, false, true, false);
    ASSERT_EQ(solver->Main(arguments.Count(), arguments.Items(), 0), 1);
    const ContinuationTable table = ReadTable(FileText(folder / "pv.txt"));
    const std::vector<double> energy = table.Column("Vac");
    const std::vector<double> load = table.Column("PLoad_Total");
    ASSERT_EQ(energy.size(), load.size());
    const std::size_t nose = static_cast<std::size_t>(std::max_element(load.begin(), load.end()) - load.begin());
    ASSERT_GT(nose, 4u);
    ASSERT_LT(nose + 2, load.size());
    EXPECT_EQ(energy[0], 0.0);
    for (std::size_t row = 1; row < load.size(); ++row) {
        SCOPED_TRACE(row);
        if (row <= nose) {
            EXPECT_LT(energy[row], energy[row - 1]);
        } else if (row > nose + 1) {
            EXPECT_GT(energy[row], energy[row - 1]);
        }
    }
}

// Option e: three columns for each bus with a generator model, after the
// voltages, named with the bus's number.
TEST(ContinuationTable, GeneratorModelColumnsUnderOptionE) {
    SolverHandle solver;
    RunArguments arguments({"-I", "-e"});
    ASSERT_TRUE(ReadCaseFile(*solver, arguments, TestDataPath("two_bus.cdf")));
    auto model = std::make_unique<NetGenerator>();
    model->ia = 0.5;  // written as the fixed-width writer fills 6 columns: ".50000"
    model->e = 1.2345;
    model->delta = 12.5 / 57.29577950560105;
    solver->FindBus(1)->generator = std::move(model);
    ScratchFolder folder("table_generator_models");
    TableFile table(folder);
    solver->WriteTableHeader(table.Stream());
    solver->WriteTableRow(table.Stream());
    EXPECT_EQ(table.Text(),
              "V_Load_______\tV_Slack______\tIa1    \tEq1    \tdg1    \t\n"
              "1.0000\t1.0000\t.50000\t1.2345\t12.500\t");
}
