#include <gtest/gtest.h>

#include <string>

#include "case_file_run.h"
#include "host_read.h"
#include "ieee_case_text.h"
#include "memory_record_cursor.h"
#include "power_line.h"
#include "scratch_folder.h"
#include "solver_handle.h"
#include "transformer.h"
#include "two_port_fixture.h"

namespace {

namespace BD = BranchData;

// The IEEE card a line or transformer writes gives the solver the branch
// that its branch record gives it.
class TwoPortCardTest : public ::testing::Test {
protected:
    // A branch from BUS_A (110 kV, number 1) to BUS_B (20 kV, number 2),
    // regulated and metered at the to end, its tap on the to winding:
    // windings 121 and 20 kV (ratio 1.1), shift -5 degrees, tap limits 19
    // to 23 kV or shift limits -30 to 30 degrees, flows 12.5 to 40.
    template <typename Kind>
    Kind& MakeBranch(int controlType, double chargingB) {
        m_.SetBus(*m_.to, 20.0, 1.0);
        Kind& branch = m_.Draw<Kind>();
        double* v = branch.GetValues();
        const bool shift = controlType >= 3;
        v[BD::kControlType] = controlType;
        v[BD::kResistance] = 0.01;
        v[BD::kReactance] = 0.1;
        v[BD::kSusceptance] = chargingB;
        v[BD::kLength] = branch.GetBranchKind() == BD::kLine ? 20.0 : 1.5;
        v[BD::kRegulatedEnd] = 1;
        v[BD::kPhaseShift] = -5;
        v[BD::kFromTapKv] = 121;
        v[BD::kToTapKv] = 20;
        v[BD::kLowerLimit] = shift ? -30 : 19;
        v[BD::kUpperLimit] = shift ? 30 : 23;
        v[BD::kBandMinimum] = 12.5;
        v[BD::kBandMaximum] = 40;
        return branch;
    }

    const NetBranch& ReadHost(PowerLine& branch) {
        host_.emplace();
        MemoryRecordCursor records;
        BusRecord& slack = records.AddBus(1, 0, "BUS_A");
        slack.maxQ = 100;
        slack.minQ = -100;
        records.AddBus(2, 1, "BUS_B").baseKv = 20;
        BranchRecord record;
        EXPECT_TRUE(branch.FillSolverRecord(&record, 1));
        records.branches.push_back(record);
        EXPECT_TRUE(ReadHostRecords(**host_, records));
        return *(*host_)->GetNetwork()->branches.at(0);
    }

    const NetBranch& ReadCard(PowerLine& branch) {
        std::string card;
        EXPECT_TRUE(branch.WriteCDFCard(card, nullptr));
        CaseText text;
        // Area 1, as the buses write their own cards.
        text.buses = {BusCard(1, 3).At(19, " 1").At(77, " 110.00"), BusCard(2, 0).At(19, " 1").At(77, "  20.00")};
        text.branches = {card};
        WriteFileText(folder_ / "case.cdf", text.Text());
        file_.emplace();
        arguments_ = std::make_unique<RunArguments>(std::vector<std::string>{"-I"});
        EXPECT_TRUE(ReadCaseFile(**file_, *arguments_, (folder_ / "case.cdf").string()));
        return *(*file_)->GetNetwork()->branches.at(0);
    }

    static void ExpectSameBranch(const NetBranch& host, const NetBranch& card) {
        constexpr double kTolerance = 1e-4;
        EXPECT_EQ(card.code, host.code);
        EXPECT_NEAR(card.tap, host.tap, kTolerance);
        EXPECT_NEAR(card.shift, host.shift, kTolerance);
        EXPECT_NEAR(card.g, host.g, kTolerance);
        EXPECT_NEAR(card.b, host.b, kTolerance);
        EXPECT_NEAR(card.fromShuntB, host.fromShuntB, kTolerance);
        EXPECT_NEAR(card.toShuntB, host.toShuntB, kTolerance);
        ASSERT_EQ(card.regulation().regulatedBus == nullptr, host.regulation().regulatedBus == nullptr);
        if (host.regulation().regulatedBus) {
            EXPECT_EQ(card.regulation().regulatedBus->externalNumber, host.regulation().regulatedBus->externalNumber);
        }
        EXPECT_NEAR(card.regulation().controlMin, host.regulation().controlMin, kTolerance);
        EXPECT_NEAR(card.regulation().controlMax, host.regulation().controlMax, kTolerance);
        EXPECT_NEAR(card.regulation().controlTarget, host.regulation().controlTarget, kTolerance);
        EXPECT_NEAR(card.regulation().bandMin, host.regulation().bandMin, kTolerance);
        EXPECT_NEAR(card.regulation().bandMax, host.regulation().bandMax, kTolerance);
    }

    TwoPortModel m_;
    std::optional<SolverHandle> host_;
    std::optional<SolverHandle> file_;
    std::unique_ptr<RunArguments> arguments_;
    ScratchFolder folder_{"two_port_card"};
};

TEST_F(TwoPortCardTest, ALineCarriesItsWholeLength) {
    PowerLine& line = MakeBranch<PowerLine>(0, 0.001);
    const NetBranch& host = ReadHost(line);
    ExpectSameBranch(host, ReadCard(line));
    EXPECT_EQ(host.code, "L");
    std::string card;
    line.WriteCDFCard(card, nullptr);
    EXPECT_EQ(card.substr(0, 49), "   1    2  1  1 1 0  0.200000  2.000000   0.02000");
}

TEST_F(TwoPortCardTest, AFixedTransformerCarriesTheRatioOfItsWindings) {
    Transformer& transformer = MakeBranch<Transformer>(0, 0.0);
    const NetBranch& host = ReadHost(transformer);
    ExpectSameBranch(host, ReadCard(transformer));
    EXPECT_EQ(host.code, "T");
    EXPECT_NEAR(1.0 / host.tap, 1.1, 1e-12);
}

TEST_F(TwoPortCardTest, ARegulatingTransformerOfEachControlType) {
    struct Case {
        int controlType;
        const char* code;
        char ieeeType;
    };
    const Case cases[] = {{0, "R", '2'}, {1, "RQ", '3'}, {2, "RN", '3'}, {3, "RP", '4'}, {4, "RM", '4'}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.controlType);
        RegulatedTransformer& transformer = MakeBranch<RegulatedTransformer>(c.controlType, 0.0);
        const NetBranch& host = ReadHost(transformer);
        ExpectSameBranch(host, ReadCard(transformer));
        EXPECT_EQ(host.code, c.code);
        std::string card;
        transformer.WriteCDFCard(card, nullptr);
        EXPECT_EQ(card[18], c.ieeeType);
        EXPECT_EQ(card.substr(68, 4), "   2");  // the controlled bus
        m_.model->DeleteElement(&transformer);
    }
}

}  // namespace
