// The result of a transfer-capability study as a record cursor over its two
// cases, its rating check, its critical branch and its change files.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "graph_rows.h"
#include "memory_record_cursor.h"
#include "scratch_folder.h"
#include "transfer_capability_result.h"

namespace {

struct ResultRelease {
    void operator()(TransferCapabilityResult* result) const { result->Release(); }
};
using ResultHandle = std::unique_ptr<TransferCapabilityResult, ResultRelease>;

// Buses of kinds 0, 1 and 4; a line rated 100 A, a transformer rated 50 MVA
// and a line of an element that is gone.
struct Solved {
    Solved() {
        records.AddBus(1, 0, "Slack");
        records.AddBus(2, 1, "Load bus").loadP = 30.0;
        records.AddBus(3, 4, "Gen").generationP = 20.0;
        records.AddBranch(BranchRecord::Line, 1, 2, 0.01, 0.1).currentFrom = 40.0;
        records.AddBranch(BranchRecord::Transformer, 2, 3, 0.0, 0.1).pFrom = 10.0;
        records.AddBranch(BranchRecord::Line, 1, 3, 0.01, 0.1);
        result->CollectInitialResults(records, 3, 3, [this](int key) {
            TransferCapabilityResult::BranchInfo info;
            if (key == records.branches[0].key) info = {100.0, {"North line", {"Slack", "Load bus"}, true}};
            if (key == records.branches[1].key) info = {50.0, {"", {"Load bus", "Gen"}, true}};
            return info;
        });
    }
    MemoryRecordCursor records;
    ResultHandle result{new TransferCapabilityResult(1, 2)};
};

TEST(TransferCapabilityResult, SetsAreSelectedBeforeTheyAreRead) {
    ResultHandle empty(new TransferCapabilityResult(1, 2));
    EXPECT_EQ(empty->GetSetCount(), 0);
    EXPECT_FALSE(empty->SelectSet(0));
    BusRecord record;
    EXPECT_FALSE(empty->Next(record));

    Solved solved;
    EXPECT_EQ(solved.result->GetSetCount(), 2);
    EXPECT_FALSE(solved.result->SelectSet(2));
    EXPECT_FALSE(solved.result->SelectSet(-1));
    EXPECT_TRUE(solved.result->SelectSet(1));
}

TEST(TransferCapabilityResult, FiltersPassTheirKinds) {
    Solved solved;
    TransferCapabilityResult& result = *solved.result;
    result.SelectSet(0);
    const auto busKinds = [&](int filter) {
        result.SetTable(IRecordCursor::BusTable, filter);
        result.MoveFirst();
        std::string kinds;
        for (BusRecord r; result.Next(r);) kinds += std::to_string(r.kind);
        return kinds;
    };
    EXPECT_EQ(busKinds(0), "014");
    EXPECT_EQ(busKinds(1), "1");
    EXPECT_EQ(busKinds(2), "04");
    EXPECT_EQ(busKinds(5), "");
    const auto branchKinds = [&](int filter) {
        result.SetTable(IRecordCursor::BranchTable, filter);
        result.MoveFirst();
        std::string kinds;
        for (BranchRecord r; result.Next(r);) kinds += std::to_string(r.kind);
        return kinds;
    };
    EXPECT_EQ(branchKinds(0), "010");
    EXPECT_EQ(branchKinds(3), "00");
    EXPECT_EQ(branchKinds(4), "1");
    // Only the row's fields are written; the caller's others stay.
    result.SetTable(IRecordCursor::BusTable, 1);
    result.MoveFirst();
    BusRecord record;
    record.name = "kept";
    record.baseKv = 220.0;
    ASSERT_TRUE(result.Next(record));
    EXPECT_STREQ(record.name, "kept");
    EXPECT_EQ(record.baseKv, 220.0);
    EXPECT_EQ(record.loadP, 30.0);
    BranchRecord wrongTable;
    EXPECT_FALSE(result.Next(wrongTable));
}

TEST(TransferCapabilityResult, AFlowAtTheMarginPassesAndTheSmallestExcessFails) {
    struct Case {
        const char* what;
        int branch;
        double flow;  // A on the line, MVA on the transformer
        bool stored;
    } cases[] = {
        {"line at the margin", 0, 100.0 * 1.001, true},
        {"line beyond", 0, std::nextafter(100.0 * 1.001, 1e9), false},
        {"transformer at the margin", 1, 50.0 * 1.001, true},
        {"transformer beyond", 1, std::nextafter(50.0 * 1.001, 1e9), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Solved solved;
        MemoryRecordCursor step;
        step.buses = solved.records.buses;
        step.branches = solved.records.branches;
        step.buses[1].voltage = 0.95;
        BranchRecord& branch = step.branches[static_cast<std::size_t>(c.branch)];
        if (c.branch == 0) {
            branch.currentTo = c.flow;
        } else {
            branch.pFrom = 0.0;
            branch.qTo = -c.flow;
        }
        EXPECT_EQ(solved.result->CheckAndStore(step, 1), c.stored);
        EXPECT_EQ(solved.result->Buses(1)[1].voltage, c.stored ? 0.95 : 1.0);
        EXPECT_EQ(solved.result->Buses(0)[1].voltage, 1.0);
    }
}

TEST(TransferCapabilityResult, TheCriticalBranchIsTheFirstMostLoaded) {
    Solved solved;
    // 40 A of 100 on the line, 20 MVA of 50 on the transformer: both 40 %.
    solved.records.branches[1].pFrom = 20.0;
    ASSERT_TRUE(solved.result->CheckAndStore(solved.records, 1));
    solved.result->FindCriticalLine(1);
    EXPECT_EQ(solved.result->GetCriticalKey(), solved.records.branches[0].key);
    EXPECT_DOUBLE_EQ(solved.result->GetMaximumLoading(), 40.0);

    ResultHandle unrated(new TransferCapabilityResult(1, 2));
    unrated->CollectInitialResults(solved.records, 3, 3, [](int) { return TransferCapabilityResult::BranchInfo{}; });
    unrated->FindCriticalLine(1);
    EXPECT_EQ(unrated->GetCriticalKey(), 0);
    EXPECT_EQ(unrated->GetMaximumLoading(), 0.0);
}

TEST(TransferCapabilityResult, ChangeFilesListTheLargestChanges) {
    ScratchFolder folder("transfer_changes");
    Solved solved;
    MemoryRecordCursor step;
    step.buses = solved.records.buses;
    step.branches = solved.records.branches;
    step.buses[1].voltage = 0.9;
    step.buses[2].voltage = 1.05;
    step.branches[0].currentFrom = 90.0;  // 40 % -> 90 %
    step.branches[1].pFrom = 40.0;        // 20 % -> 80 %
    ASSERT_TRUE(solved.result->CheckAndStore(step, 1));

    const std::string voltages = (folder / "TCV").string();
    const std::string loadings = (folder / "TCLF").string();
    ASSERT_TRUE(solved.result->WriteChangeFile(voltages.c_str(), 0));
    ASSERT_TRUE(solved.result->WriteChangeFile(loadings.c_str(), 3));
    EXPECT_TRUE(solved.result->WriteChangeFile(nullptr, 1));

    const GraphRows v = ReadGraphRows(voltages);
    ASSERT_EQ(v.rows.size(), 3u);
    EXPECT_EQ(v.rows[0].name, "Load_bus");
    EXPECT_NEAR(v.rows[0].value, -0.1, 1e-12);
    EXPECT_EQ(v.rows[1].name, "Gen");
    EXPECT_EQ(v.rows[2].name, "Slack");
    const GraphRows lf = ReadGraphRows(loadings);
    ASSERT_EQ(lf.rows.size(), 3u);
    EXPECT_EQ(lf.rows[0].name, "Load_bus-Gen");  // the element has no name
    EXPECT_NEAR(lf.rows[0].value, 60.0, 1e-9);
    EXPECT_EQ(lf.rows[1].name, "North_line");
    EXPECT_EQ(lf.rows[2].name, "Line_xx");  // no element has its key
}

TEST(TransferCapabilityResult, AChangeFileHoldsTwentyFourRows) {
    ScratchFolder folder("transfer_change_rows");
    MemoryRecordCursor records;
    for (int i = 1; i <= 30; ++i) records.AddBus(i, 1, ("B" + std::to_string(i)).c_str());
    ResultHandle result(new TransferCapabilityResult(1, 2));
    result->CollectInitialResults(records, 30, 0, [](int) { return TransferCapabilityResult::BranchInfo{}; });
    for (int i = 0; i < 30; ++i) records.buses[static_cast<std::size_t>(i)].angle = -i;
    ASSERT_TRUE(result->CheckAndStore(records, 1));
    const std::string file = (folder / "TCTheta").string();
    ASSERT_TRUE(result->WriteChangeFile(file.c_str(), 2));
    const GraphRows rows = ReadGraphRows(file);
    ASSERT_EQ(rows.rows.size(), 24u);
    EXPECT_EQ(rows.rows[0].name, "B30");
    EXPECT_EQ(rows.rows[0].value, -29.0);
    EXPECT_EQ(rows.closing.x, 25);
}

}  // namespace
