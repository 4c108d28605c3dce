// The transfer-capability report of a result on the three-bus model, saved
// as the report's printer text file and compared with a file written by
// hand, and the heading's optional lines.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "element_key.h"
#include "memory_record_cursor.h"
#include "model_report_fixture.h"
#include "transfer_capability_result.h"

namespace {

struct ResultRelease {
    void operator()(TransferCapabilityResult* result) const { result->Release(); }
};
using ResultHandle = std::unique_ptr<TransferCapabilityResult, ResultRelease>;

class TransferCapabilityReport : public ModelReportTest {
protected:
    // The base case as the elements hold it, and 12.5 MW moved from North
    // to South.
    ResultHandle Study(int sourceKey, int destinationKey) {
        MemoryRecordCursor records;
        AddBus(records, *solved.north, 0, {1.05, 0.0, 0.0, 0.0, 100.0, 30.0});
        AddBus(records, *solved.middle, 1, {1.0, -5.0, 60.0, 20.0, 0.0, 0.0});
        AddBus(records, *solved.south, 1, {0.98, -8.25, 38.0, 8.0, 0.0, 0.0});
        AddBranch(records, *solved.line, 0, {61.5, 15.0, -60.5, -12.0, 348.125, 327.5});
        AddBranch(records, *solved.transformer, 1, {38.2, 9.0, -38.0, -8.0, 200.0, 1000.0});
        ResultHandle result(new TransferCapabilityResult(sourceKey, destinationKey));
        result->CollectInitialResults(records, 3, 2, [this](int key) {
            TransferCapabilityResult::BranchInfo info;
            info.rating = model().FindByKey(key)->GetValues()[BranchData::kRating];
            return info;
        });
        Set(records.buses[0], {1.05, 0.0, 0.0, 0.0, 112.5, 36.25});
        Set(records.buses[1], {0.99, -6.5, 60.0, 20.0, 0.0, 0.0});
        Set(records.buses[2], {0.965, -10.75, 50.5, 8.0, 0.0, 0.0});
        Set(records.branches[0], {74.25, 21.5, -72.75, -16.25, 396.0, 372.5});
        Set(records.branches[1], {48.1, 10.5, -47.7, -8.75, 250.0, 1420.0});
        EXPECT_TRUE(result->CheckAndStore(records, 1));
        result->SetTransferred(12.5);
        result->FindCriticalLine(1);
        return result;
    }

    // V, angle, Pload, Qload, Pgen, Qgen.
    using BusValues = std::array<double, 6>;
    static void Set(BusRecord& r, const BusValues& v) {
        r.voltage = v[0];
        r.angle = v[1];
        r.loadP = v[2];
        r.loadQ = v[3];
        r.generationP = v[4];
        r.generationQ = v[5];
    }
    static void AddBus(MemoryRecordCursor& records, const Bus& bus, int kind, const BusValues& v) {
        BusRecord& r = records.AddBus(static_cast<int>(KeySerial(bus.GetKey())), kind, bus.GetName().c_str());
        r.key = bus.GetKey();
        Set(r, v);
    }
    // Pfrom, Qfrom, Pto, Qto, current from, current to.
    using BranchValues = std::array<double, 6>;
    static void Set(BranchRecord& r, const BranchValues& v) {
        r.pFrom = v[0];
        r.qFrom = v[1];
        r.pTo = v[2];
        r.qTo = v[3];
        r.pLoss = v[0] + v[2];
        r.qLoss = v[1] + v[3];
        r.currentFrom = v[4];
        r.currentTo = v[5];
    }
    static void AddBranch(MemoryRecordCursor& records, const PowerLine& branch, int kind, const BranchValues& v) {
        BranchRecord& r = records.AddBranch(kind, 1, 2, 0.0, 0.1);
        r.key = branch.GetKey();
        Set(r, v);
    }

    std::string Text(TransferCapabilityResult& result) {
        ReportHandle report(model().TransferCapabilityReport(&result, "Three buses", 0));
        return report ? SavedBytes(*report) : std::string();
    }
};

TEST_F(TransferCapabilityReport, SavedAsTheHandWrittenFile) {
    ResultHandle result = Study(solved.north->GetKey(), solved.south->GetKey());
    ASSERT_EQ(result->GetCriticalKey(), solved.line->GetKey());
    ReportHandle report(model().TransferCapabilityReport(result.get(), "Three buses", 0));
    ASSERT_TRUE(report);
    EXPECT_STREQ(report->GetTitle(), "Transfer Capability Results: Three buses");
    EXPECT_EQ(SavedBytes(*report), FileBytes(TEST_DATA_DIR "/transfer_capability_report.txt"));
}

TEST_F(TransferCapabilityReport, TheHeadingLeavesOutWhatTheResultLacks) {
    ResultHandle result = Study(0, solved.south->GetKey());
    std::string text = Text(*result);
    EXPECT_EQ(text.find("Source Bus"), std::string::npos);
    EXPECT_EQ(text.find("Destination Bus"), std::string::npos);
    EXPECT_NE(text.find("Critical line name"), std::string::npos);

    // Without ratings no branch is critical.
    solved.line->GetValues()[BranchData::kRating] = 0.0;
    solved.transformer->GetValues()[BranchData::kRating] = 0.0;
    result = Study(solved.north->GetKey(), solved.south->GetKey());
    EXPECT_EQ(result->GetCriticalKey(), 0);
    text = Text(*result);
    EXPECT_NE(text.find("Source Bus"), std::string::npos);
    EXPECT_EQ(text.find("Critical line name"), std::string::npos);
    EXPECT_EQ(text.find("Maximum load factor"), std::string::npos);
}

TEST_F(TransferCapabilityReport, NoReportWithoutAResultOfTwoSets) {
    EXPECT_EQ(model().TransferCapabilityReport(nullptr, "x", 0), nullptr);
    ResultHandle empty(new TransferCapabilityResult(1, 2));
    EXPECT_EQ(model().TransferCapabilityReport(empty.get(), "x", 0), nullptr);
}

}  // namespace
