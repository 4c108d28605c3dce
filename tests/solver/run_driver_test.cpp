#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "case_file_run.h"
#include "ieee_case_text.h"
#include "memory_record_cursor.h"
#include "recording_message_sink.h"
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

// A continuation that fails on its way up (no corrector iteration is
// allowed) leaves nothing of its run state behind: the next run on the same
// object, a plain power flow 150 MW past the nose, fails without a listing.
TEST(RunDriver, ARunAfterAFailedContinuationStartsClean) {
    ScratchFolder folder("run_driver_after_continuation");
    auto path = [&](const std::string& name) { return (folder / name).string(); };
    CaseText c;
    c.buses = {BusCard(1, 3).At(85, "1.0000"), BusCard(2, 0)};
    c.branches = {BranchCard(1, 2, 0).At(30, "  0.500000")};
    WriteFileText(folder / "base.cdf", c.Text());
    c.buses[1] = BusCard(2, 0).At(41, "   250.00");
    WriteFileText(folder / "heavy.cdf", c.Text());
    WriteFileText(folder / "dir.k", "2 B2 0 1 0 0\n");

    SolverHandle solver;
    RunArguments continuation({"-I", path("base.cdf"), path("out.txt"), "-K" + path("dir.k"), "-c" + path("pv.txt"),
                               "-M0"});
    ASSERT_EQ(solver->Main(continuation.Count(), continuation.Items(), 0), 0);

    RunArguments plain({"-I", path("heavy.cdf"), path("listing.txt")});
    EXPECT_EQ(solver->Main(plain.Count(), plain.Items(), 0), 0);
    EXPECT_TRUE(solver->Failed());
    EXPECT_FALSE(std::filesystem::exists(folder / "listing.txt"));
}

// Options this build cannot carry out end the run with a message saying so.
TEST(RunDriver, RefusedOptionsSaySo) {
    ScratchFolder folder("run_driver_refused");
    auto path = [&](const std::string& name) { return (folder / name).string(); };
    WriteFileText(folder / "case.cdf", TwoBuses().Text());
    const std::pair<std::string, std::string> cases[] = {
        {"-w", "Option w needs the name of the file to write\n"},
        {"-W", "Option W needs the name of the file to write\n"},
        {"-Tnan", "Option T needs a number, not \"nan\"\n"},
        {"-V" + folder.operator/(".").string(), folder.operator/(".").string() + " is not a readable file\n"},
    };
    for (const auto& [option, message] : cases) {
        SCOPED_TRACE(option);
        SolverHandle solver;
        RunArguments run({"-I", path("case.cdf"), path("out.txt"), option, "-l" + path("messages.txt")});
        EXPECT_EQ(solver->Main(run.Count(), run.Items(), 0), 0);
        EXPECT_EQ(FileText(folder / "messages.txt"), message);
        EXPECT_FALSE(std::filesystem::exists(folder / "out.txt"));
    }
}

// Option l holds for its own run: the next run on the object, and what
// the host does after it, write to standard error again.
TEST(RunDriver, DiagnosticsFileBelongsToItsRun) {
    ScratchFolder folder("run_driver_diagnostics");
    auto path = [&](const std::string& name) { return (folder / name).string(); };
    WriteFileText(folder / "case.cdf", TwoBuses().Text());
    SolverHandle solver;
    RunArguments first({"-I", path("case.cdf"), path("out.txt"), "-l" + path("messages.txt")});
    ASSERT_EQ(solver->Main(first.Count(), first.Items(), 0), 1);
    EXPECT_EQ(solver->Diagnostics(), stderr);
    RunArguments second({"-I", path("missing.cdf"), path("out.txt")});
    EXPECT_EQ(solver->Main(second.Count(), second.Items(), 0), 0);
    EXPECT_EQ(FileText(folder / "messages.txt"), "");
}

// A plain power flow that converges far from 1 p.u. (here on the lower
// branch of the curve, from a start down there) still succeeds, but says
// so once, naming the lowest and the highest bus.
TEST(RunDriver, ImplausibleVoltagesAreReported) {
    ScratchFolder folder("run_driver_low_voltage");
    auto path = [&](const std::string& name) { return (folder / name).string(); };
    CaseText c;
    c.buses = {BusCard(1, 3).At(85, "1.0000"), BusCard(2, 0).At(28, "0.1000").At(34, " -80.00").At(41, "    40.00")};
    c.branches = {BranchCard(1, 2, 0).At(30, "  0.500000")};
    WriteFileText(folder / "low.cdf", c.Text());
    WriteFileText(folder / "usual.cdf", TwoBuses().Text());
    for (const char* name : {"low.cdf", "usual.cdf"}) {
        SCOPED_TRACE(name);
        SolverHandle solver;
        RunArguments run({"-I", path(name), path("out.txt"), "-l" + path("messages.txt")});
        EXPECT_EQ(solver->Main(run.Count(), run.Items(), 0), 1);
        const std::string expected = std::string(name) == "low.cdf"
                                         ? "The solution lies outside 0.5 to 2 p.u.: lowest voltage 0.2043 p.u. at "
                                           "bus 2 B2, highest 1 p.u. at bus 1 B1\n"
                                         : "";
        EXPECT_EQ(FileText(folder / "messages.txt"), expected);
    }

    // A host run tells its message window, at level 2.
    MemoryRecordCursor records;
    BusRecord& slack = records.AddBus(1, 0, "Slack");
    slack.maxQ = 1000.0;
    slack.minQ = -1000.0;
    BusRecord& load = records.AddBus(2, 1, "Load");
    load.loadP = load.direction[0] = 40.0;
    load.voltage = 0.1;
    load.angle = -80.0;
    records.AddBranch(BranchRecord::Line, 1, 2, 0.0, 0.5);
    RecordingMessageSink sink;
    SolverHandle solver;
    EXPECT_EQ(solver->Attach(&records, &sink, 0), 1);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].level, IMessageSink::Warning);
    EXPECT_NE(sink.messages[0].text.find("at bus 2 Load"), std::string::npos);
}

// No case file is written from a state that is not finite, and a re-solve
// that ends in one answers failure.
TEST(RunDriver, NothingIsWrittenFromAStateThatIsNotFinite) {
    ScratchFolder folder("run_driver_not_finite");
    MemoryRecordCursor records;
    records.AddBus(1, 0, "Slack").maxQ = 1.0;
    BusRecord& load = records.AddBus(2, 1, "Load");
    load.loadP = load.direction[0] = 20.0;
    records.AddBranch(BranchRecord::Line, 1, 2, 0.0, 0.1);
    SolverHandle solver;
    ASSERT_EQ(solver->Attach(&records, nullptr, 0), 1);
    solver->FindBus(2)->generationQ = std::nan("");
    EXPECT_EQ(solver->WriteIeeeCdf((folder / "case.cdf").c_str(), 0), 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "case.cdf"));
    EXPECT_EQ(solver->RunPowerFlow(), 0);
}

}  // namespace
