#include <gtest/gtest.h>

#include <set>
#include <string>

#include "case_file_run.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

struct Shares {
    double base;
    double impedance;
    double exponent;
};

void ExpectModel(const LoadModel& model, Shares shares) {
    EXPECT_DOUBLE_EQ(model.base, shares.base);
    EXPECT_DOUBLE_EQ(model.impedance, shares.impedance);
    EXPECT_DOUBLE_EQ(model.exponent, shares.exponent);
}

constexpr Shares kImpedance{0.0, 1.0, 0.0};

// The IEEE 14-bus case, read as a file run reads it.
class LoadCharacteristics : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ReadCaseFile(*solver_, arguments_, TestDataPath("case14.cdf"))); }

    // Writes the file and reads it; -1 when the run ended.
    int Read(const std::string& text) {
        WriteFileText(folder_ / "loads.txt", text);
        try {
            return solver_->ReadLoadCharacteristics((folder_ / "loads.txt").c_str());
        } catch (const SolverAbort&) {
            return -1;
        }
    }

    NetBus& Bus(int number) { return *solver_->FindBus(number); }

    RunArguments arguments_{{"-I"}};
    SolverHandle solver_;
    ScratchFolder folder_{"load_characteristics"};
};

TEST_F(LoadCharacteristics, RowsNameABusByNumberOrByName) {
    EXPECT_EQ(Read("C rows before the start line are not read\n"
                   "   13   50  100   1.50000   2.00000\n"
                   " NLBS\n"
                   "C a comment\n"
                   "!   14   50  100   1.50000   2.00000\n"
                   "   12   50  100   1.50000   2.00000\n"
                   "Bus 4     HV   25    0   0.50000   0.00000\n"
                   "   99   10   10   1.00000   1.00000\n"
                   "EDATA\n"
                   "   11   50  100   1.50000   2.00000\n"),
              1);
    ExpectModel(Bus(12).loadModelP, {0.5, 0.5, 1.5});
    ExpectModel(Bus(12).loadModelQ, {1.0, 0.0, 2.0});
    ExpectModel(Bus(4).loadModelP, {0.25, 0.75, 0.5});
    ExpectModel(Bus(4).loadModelQ, kImpedance);
    for (int untouched : {11, 13, 14}) {
        SCOPED_TRACE(untouched);
        ExpectModel(Bus(untouched).loadModelP, kImpedance);
        ExpectModel(Bus(untouched).loadModelQ, kImpedance);
    }
}

// A bus without a number must not take a row that names another bus.
TEST_F(LoadCharacteristics, NumberZeroNamesNoBus) {
    NetBus& first = Bus(1);
    first.externalNumber = 0;
    EXPECT_EQ(Read(" NLBS\nBus 2     HV   50   50   1.00000   1.00000\n  END\n"), 1);
    ExpectModel(first.loadModelP, kImpedance);
    ExpectModel(Bus(2).loadModelP, {0.5, 0.5, 1.0});
}

TEST_F(LoadCharacteristics, GroupRowsSelectBusesByNumberAndLoad) {
    struct Case {
        const char* rows;
        std::set<int> pBuses;
        std::set<int> qBuses;
    };
    // Loads (MW, Mvar): 2 21.7/12.7, 3 94.2/19, 4 47.8/-3.9, 5 7.6/1.6,
    // 6 11.2/7.5, 9 29.5/16.6, 10 9/5.8, 11 3.5/1.8, 12 6.1/1.6, 13 13.5/5.8,
    // 14 14.9/5; buses 1, 7 and 8 have none.
    const Case cases[] = {
        {"60000   50  100   1.50000   2.00000\n    0    1    0   0.00000   0.00000\n",
         {2, 3, 4, 5, 6, 9, 10, 11, 12, 13, 14},
         {2, 3, 5, 6, 9, 10, 11, 12, 13, 14}},
        {"60000   50  100   1.50000   2.00000\n    0   10   12   0.00000   0.00000\n", {10, 11, 12}, {10, 11, 12}},
        {"60000   50  100   1.50000   2.00000\n    0    0    0  20.00000  10.00000\n", {2, 3, 4, 9}, {2, 3, 9}},
        // With one area an area group takes every bus.
        {"50000   50  100   1.50000   2.00000\n    7    0    5   0.00000   0.00000\n", {2, 3, 4, 5}, {2, 3, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        SetUp();
        ASSERT_EQ(Read(std::string(" NLBS\n") + c.rows + "EDATA\n"), 1);
        for (int number = 1; number <= 14; ++number) {
            SCOPED_TRACE(number);
            ExpectModel(Bus(number).loadModelP, c.pBuses.count(number) ? Shares{0.5, 0.5, 1.5} : kImpedance);
            ExpectModel(Bus(number).loadModelQ, c.qBuses.count(number) ? Shares{1.0, 0.0, 2.0} : kImpedance);
        }
    }
}

TEST_F(LoadCharacteristics, BadFilesEndTheRun) {
    const char* files[] = {
        " NLBS\n   12   50  100   1.50000   2.00000\n",
        "   12   50  100   1.50000   2.00000\n",
        " NLBS\n60000   50  100   1.50000   2.00000\nEDATA\n",
        " NLBS\n60000   50  100   1.50000   2.00000\n",
    };
    for (const char* text : files) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Read(text), -1);
    }
    EXPECT_THROW(solver_->ReadLoadCharacteristics((folder_ / "missing.txt").c_str()), SolverAbort);

    // An exponent beyond what V^exponent can take, named by its line.
    for (const char* rows : {"   12   50  100 50000.0     2.00000\n", "60000   50  100   1.50000 -11.00000\n    0    1\n"}) {
        SCOPED_TRACE(rows);
        testing::internal::CaptureStderr();
        EXPECT_EQ(Read(std::string("C loads\n NLBS\n") + rows + "EDATA\n"), -1);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("line 3: an exponent"), std::string::npos);
    }
}

// Without a file, or with rows that name no bus, the loads stay constant power.
TEST(LoadCharacteristicsRun, OptionDSettlesTheLoadModel) {
    ScratchFolder folder("load_characteristics_run");
    WriteFileText(folder / "none.txt", " NLBS\n   99   50  100   1.50000   2.00000\nEDATA\n");
    WriteFileText(folder / "some.txt", " NLBS\n    9   50  100   1.50000   2.00000\nEDATA\n");
    struct Case {
        std::string option;
        bool constantPower;
    };
    const Case cases[] = {
        {"-D", true},
        {"-D" + (folder / "none.txt").string(), true},
        {"-D" + (folder / "some.txt").string(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        SolverHandle solver;
        RunArguments arguments({"-I", c.option});
        ASSERT_TRUE(ReadCaseFile(*solver, arguments, TestDataPath("case14.cdf")));
        const NetBus& bus = *solver->FindBus(9);
        if (c.constantPower) {
            ExpectModel(bus.loadModelP, {bus.loadP, 0.0, 0.0});
            ExpectModel(bus.loadModelQ, {bus.loadQ, 0.0, 0.0});
        } else {
            ExpectModel(bus.loadModelP, {0.5, 0.5, 1.5});
            ExpectModel(solver->FindBus(10)->loadModelP, kImpedance);
        }
    }
    EXPECT_EQ(SolverHandle()->ReadLoadCharacteristics(""), 0);
}

}  // namespace
