#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "memory_record_cursor.h"
#include "recording_message_sink.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

TEST(SolverLifecycle, ReferenceCountingDestroysAtZero) {
    ISolver* solver = createPSSolver();
    ASSERT_NE(solver, nullptr);
    solver->AddRef();
    solver->AddRef();
    EXPECT_EQ(solver->Release(), 2);
    EXPECT_EQ(solver->Release(), 1);
    EXPECT_EQ(solver->Release(), 0);  // gone: the sanitizer sees no leak
}

TEST(SolverLifecycle, InitialStateAndSimpleOperations) {
    SolverHandle solver;
    EXPECT_EQ(solver->GetIterationLimit(), 100);
    EXPECT_DOUBLE_EQ(solver->GetTolerance(), 1e-4);
    EXPECT_EQ(solver->GetPointCount(), 0);
    EXPECT_NE(solver->GetResultCursor(), nullptr);

    solver->SetIterationLimit(7);
    solver->SetTolerance(1e-6);
    EXPECT_EQ(solver->GetIterationLimit(), 7);
    EXPECT_DOUBLE_EQ(solver->GetTolerance(), 1e-6);
}

TEST(SolverLifecycle, HostFilesAndStandardStreamsOutliveTheSolver) {
    auto path = std::filesystem::temp_directory_path() / "tavrin_lifecycle_host_file.txt";
    FILE* hostFile = std::fopen(path.c_str(), "w");
    ASSERT_NE(hostFile, nullptr);

    ISolver* solver = createPSSolver();
    RecordingMessageSink sink;
    const char* items[] = {"ostrand", "-Imissing_case.cf"};
    EXPECT_EQ(solver->Main(2, items, 0), 0);  // aborts: nothing to read
    EXPECT_EQ(solver->Attach(nullptr, &sink, 0), 0);
    EXPECT_EQ(solver->Release(), 0);

    EXPECT_GT(std::fprintf(hostFile, "still open\n"), 0);
    EXPECT_EQ(std::fclose(hostFile), 0);
    EXPECT_GE(std::fprintf(stdout, "%s", ""), 0);
    EXPECT_EQ(std::fflush(stdout), 0);
    EXPECT_EQ(std::fflush(stderr), 0);
    std::filesystem::remove(path);
}

// Every operation but Release answers its failure value after a failed
// run: one that found nothing to read, and one that diverged after its
// network was read (250 MW over a line whose nose lies at 100 MW).
TEST(SolverLifecycle, FailedRunLeavesOnlyFailureAnswers) {
    MemoryRecordCursor records;
    BusRecord& slack = records.AddBus(1, 0, "Slack");
    slack.maxQ = 1000.0;
    slack.minQ = -1000.0;
    BusRecord& load = records.AddBus(2, 1, "Load");
    load.loadP = 250.0;
    load.direction[0] = 250.0;
    records.AddBranch(BranchRecord::Line, 1, 2, 0.0, 0.5);
    MemoryRecordCursor state;
    state.AddBus(1, 0, "Slack");
    state.AddBus(2, 1, "Load");

    for (bool networkRead : {false, true}) {
        SCOPED_TRACE(networkRead ? "diverged" : "nothing read");
        SolverHandle solver;
        if (networkRead) {
            EXPECT_EQ(solver->Attach(&records, nullptr, 0), 0);
            ASSERT_NE(solver->GetNetwork(), nullptr);
        } else {
            const char* items[] = {"ostrand", "no_such_case.cf"};
            EXPECT_EQ(solver->Main(2, items, 0), 0);
        }
        EXPECT_TRUE(solver->Failed());

        const double voltage = networkRead ? solver->FindBus(2)->voltage : 0.0;
        std::vector<double> angles, voltages;
        std::vector<int> angleKeys, voltageKeys;
        EXPECT_EQ(solver->RunPowerFlow(), 0);
        EXPECT_EQ(solver->SelectTransferBuses(1 << 8 | 1, 2 << 8 | 1), 0);
        EXPECT_FALSE(solver->GetSensitivities(2 << 8 | 1, angles, angleKeys, voltages, voltageKeys));
        EXPECT_TRUE(angles.empty());
        EXPECT_FALSE(solver->ReadBusState(&state));
        solver->Transfer(10.0);
        solver->AddToBusVoltage(2 << 8 | 1, 0.1);
        solver->AddLoadDirection(1.0, 0.5);
        if (networkRead) {
            const NetBus& load = *solver->FindBus(2);
            EXPECT_EQ(load.voltage, voltage);
            EXPECT_EQ(load.loadP, 2.5);
        }

        IRecordCursor& results = *solver->GetResultCursor();
        BusRecord bus;
        BranchRecord branch;
        results.SetTable(IRecordCursor::BusTable, 0);
        results.MoveFirst();
        EXPECT_FALSE(results.Next(bus));
        results.SetTable(IRecordCursor::BranchTable, 0);
        results.MoveFirst();
        EXPECT_FALSE(results.Next(branch));
    }
}

TEST(SolverLifecycle, DiagnosticsFileIsOnlyTheSolversOwn) {
    auto path = std::filesystem::temp_directory_path() / "tavrin_lifecycle_diagnostics.txt";
    std::filesystem::remove(path);
    std::string option = "-l" + path.string();
    {
        SolverHandle solver;
        const char* items[] = {"ostrand", option.c_str()};
        solver->SetArguments(2, items);
        solver->RedirectDiagnostics();
        EXPECT_NE(solver->Diagnostics(), stderr);
    }
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::fflush(stderr), 0);  // the process's standard error is untouched
    std::filesystem::remove(path);

    SolverHandle solver;
    const char* items[] = {"ostrand", "-l"};
    solver->SetArguments(2, items);
    solver->RedirectDiagnostics();
    EXPECT_EQ(solver->Diagnostics(), stderr);
}

TEST(SolverLifecycle, NamedOutputThatCannotBeOpenedFailsTheRun) {
    SolverHandle solver;
    EXPECT_EQ(solver->OpenOutput(nullptr), stdout);
    EXPECT_EQ(solver->OpenOutput(""), stdout);
    EXPECT_THROW(solver->OpenOutput("/no/such/folder/out.txt"), SolverAbort);
    EXPECT_THROW(solver->OpenInput("/no/such/folder/case.cf"), SolverAbort);
    EXPECT_THROW(solver->OpenInput(""), SolverAbort);
}

}  // namespace
