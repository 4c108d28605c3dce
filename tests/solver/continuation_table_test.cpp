#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "case_file_run.h"
#include "host_read.h"
#include "memory_record_cursor.h"
#include "solver.h"
#include "solver_handle.h"

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
        // The energy measure is not computed: its column holds 0.
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

}  // namespace

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
