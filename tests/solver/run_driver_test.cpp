#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "memory_record_cursor.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

TEST(RunDriver, FileRunsChooseAReaderThatFailsCleanly) {
    auto path = std::filesystem::temp_directory_path() / "tavrin_run_driver_case.txt";
    std::ofstream(path) << "any text\n";
    const std::vector<std::string> choices[] = {{"-I"}, {"-6deck.txt"}, {}};
    for (const auto& choice : choices) {
        SCOPED_TRACE(choice.empty() ? "card deck" : choice[0]);
        std::vector<const char*> items{"ostrand"};
        for (const auto& item : choice) items.push_back(item.c_str());
        items.push_back(path.c_str());
        SolverHandle solver;
        EXPECT_EQ(solver->Main(static_cast<int>(items.size()), items.data(), 0), 0);
        EXPECT_TRUE(solver->Failed());
    }
    std::filesystem::remove(path);
}

TEST(RunDriver, ASecondRunStartsFromNothing) {
    MemoryRecordCursor records;
    records.AddBus(1, 0, "Slack").maxQ = 1.0;
    records.AddBus(2, 1, "Load");
    records.AddBranch(BranchRecord::Line, 1, 2, 0.0, 0.1);
    SolverHandle solver;
    solver->Attach(&records, nullptr, 0);
    ASSERT_FALSE(solver->Failed());
    ASSERT_NE(solver->GetNetwork(), nullptr);

    const char* items[] = {"ostrand", "/no/such/folder/case.txt"};
    EXPECT_EQ(solver->Main(2, items, 0), 0);
    EXPECT_TRUE(solver->Failed());
    EXPECT_EQ(solver->GetNetwork(), nullptr);
    BusRecord record;
    solver->GetResultCursor()->SetTable(IRecordCursor::BusTable, 0);
    solver->GetResultCursor()->MoveFirst();
    EXPECT_FALSE(solver->GetResultCursor()->Next(record));
}

// AttachAndRun without a table file runs no continuation: a plain power
// flow.
TEST(RunDriver, HostRunWithoutATableSolvesAPowerFlow) {
    MemoryRecordCursor records;
    BusRecord& slack = records.AddBus(1, 0, "Slack");
    slack.maxQ = 100.0;
    slack.minQ = -100.0;
    records.AddBus(2, 1, "Load").loadP = 20.0;
    records.buses[1].direction[0] = 20.0;
    records.buses[1].pLoadShare = 1.0;
    records.AddBranch(BranchRecord::Line, 1, 2, 0.01, 0.1);

    SolverHandle plain;
    EXPECT_EQ(plain->AttachAndRun(&records, nullptr, "", 0), 1);
    EXPECT_LT(plain->FindBus(2)->voltage, 1.0);
    EXPECT_EQ(plain->GetPointCount(), 0);
}

}  // namespace
