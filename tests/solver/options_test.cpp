#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <vector>

#include "number_text.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

// Sets the solver's argument list from a list of items; item 0 is the
// program name.
class ArgumentList {
public:
    explicit ArgumentList(std::vector<std::string> items) : texts_(std::move(items)) {
        for (auto& t : texts_) pointers_.push_back(t.c_str());
    }
    int Count() const { return static_cast<int>(pointers_.size()); }
    const char* const* Items() const { return pointers_.data(); }

private:
    std::vector<std::string> texts_;
    std::vector<const char*> pointers_;
};

struct SettingCase {
    const char* item;
    double tolerance, secondTolerance, pivotThreshold;
    int iterationLimit;
};

TEST(SolverOptions, SolutionSettingsAreClamped) {
    const SettingCase cases[] = {
        {"-T1", 0.001, 1e-4, 0.01, 100},        // t absent: left as it was
        {"-T0", 1e-10, 1e-4, 0.01, 100},
        {"-T1e-6", 1e-6, 1e-4, 0.01, 100},
        {"-t0.5", 1e-4, 0.1, 0.01, 100},
        {"-t0", 1e-4, 1e-4, 0.01, 100},         // clamped to the tolerance
        {"-F5", 1e-4, 1e-4, 1.0, 100},
        {"-F0", 1e-4, 1e-4, 0.001, 100},
        {"-M5000", 1e-4, 1e-4, 0.01, 1000},
        {"-M-3", 1e-4, 1e-4, 0.01, 0},
        {"-M", 1e-4, 1e-4, 0.01, 100},          // no value: the limit stays
        {"-T", 1e-4, 1e-4, 0.01, 100},
        {"case.cf", 1e-4, 1e-4, 0.01, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        SolverHandle solver;
        ArgumentList list({"ostrand", c.item});
        solver->SetArguments(list.Count(), list.Items());
        solver->ReadSolutionSettings();
        EXPECT_DOUBLE_EQ(solver->GetTolerance(), c.tolerance);
        EXPECT_DOUBLE_EQ(solver->SecondTolerance(), c.secondTolerance);
        EXPECT_DOUBLE_EQ(solver->PivotThreshold(), c.pivotThreshold);
        EXPECT_EQ(solver->GetIterationLimit(), c.iterationLimit);
    }
}

// A value that is not a number, or not a finite one, would slip through
// every clamp: the run ends instead.
TEST(SolverOptions, ValuesThatAreNotNumbersAreRefused) {
    for (const char* item : {"-Mabc", "-Tabc", "-Tnan", "-Tinf", "-t-nan", "-F1e999", "-Mx5"}) {
        SCOPED_TRACE(item);
        SolverHandle solver;
        ArgumentList list({"ostrand", item});
        solver->SetArguments(list.Count(), list.Items());
        EXPECT_THROW(solver->ReadSolutionSettings(), SolverAbort);
    }
}

TEST(SolverOptions, OptionsAndFileArguments) {
    SolverHandle solver;
    ArgumentList list({"-Xprogram", "-I", "first.cf", "-Tx", ">second.txt", "-T0.002", "-qz", "third"});
    solver->SetArguments(list.Count(), list.Items());

    EXPECT_FALSE(solver->HasOption('X'));  // item 0 is never looked at
    EXPECT_TRUE(solver->HasOption('I'));
    EXPECT_STREQ(solver->OptionValue('I'), "");
    EXPECT_STREQ(solver->OptionValue('T'), "x");  // the first item wins
    EXPECT_STREQ(solver->OptionValue('q'), "z");
    EXPECT_EQ(solver->OptionValue('K'), nullptr);
    EXPECT_EQ(solver->FileArgument(1), "first.cf");
    EXPECT_EQ(solver->FileArgument(2), "second.txt");
    EXPECT_EQ(solver->FileArgument(3), "third");
    EXPECT_EQ(solver->FileArgument(4), std::nullopt);
    EXPECT_TRUE(Solver::IsEmptyValue(nullptr));
    EXPECT_TRUE(Solver::IsEmptyValue(""));
    EXPECT_FALSE(Solver::IsEmptyValue("x"));

    double value = 3.0;
    EXPECT_THROW(solver->DoubleOption('T', value, 0.0, 1.0), SolverAbort);  // "x" is not a number
    EXPECT_DOUBLE_EQ(value, 3.0);
    solver->DoubleOption('I', value, 0.0, 1.0);  // no value: unchanged
    EXPECT_DOUBLE_EQ(value, 3.0);
    EXPECT_EQ(solver->IntOption('Z', 42, 0, 100), 42);

    ArgumentList shortList({"ostrand"});
    solver->SetArguments(shortList.Count(), shortList.Items());
    EXPECT_EQ(solver->FileArgument(1), std::nullopt);
    EXPECT_FALSE(solver->HasOption('I'));
}

// The solver keeps its own copy of the list: the caller's texts may be
// gone or reused before a later operation reads an option.
TEST(SolverOptions, TheListIsCopied) {
    SolverHandle solver;
    {
        std::vector<std::string> texts = {"ostrand", "-Wcase.cdf", "-T1e-6", "network.cdf"};
        std::vector<const char*> items;
        for (const auto& text : texts) items.push_back(text.c_str());
        items.push_back(nullptr);
        solver->SetArguments(static_cast<int>(items.size()), items.data());
        for (auto& text : texts) text.assign(text.size(), 'x');
    }
    EXPECT_STREQ(solver->OptionValue('W'), "case.cdf");
    EXPECT_STREQ(solver->OptionValue('T'), "1e-6");
    EXPECT_EQ(solver->FileArgument(1), "network.cdf");
    EXPECT_EQ(solver->FileArgument(2), std::nullopt);
}

TEST(SolverOptions, HostRunAnswers) {
    SolverHandle solver;
    solver->SetArguments(0, nullptr);

    solver->BeginHostContinuation("table.txt");  // as inside AttachAndRun
    EXPECT_FALSE(solver->HasOption('H'));
    EXPECT_TRUE(solver->HasOption('c'));
    EXPECT_TRUE(solver->HasOption('L'));
    EXPECT_STREQ(solver->OptionValue('H'), "table.txt");
    EXPECT_STREQ(solver->OptionValue('c'), "table.txt");
    EXPECT_STREQ(solver->OptionValue('K'), "table.txt");
    double s = 0.0, l = 0.0;
    solver->DoubleOption('S', s, 0.0, 0.5);
    solver->DoubleOption('L', l, 0.0, 0.05);
    EXPECT_DOUBLE_EQ(s, 0.8);
    EXPECT_DOUBLE_EQ(l, 0.1);

    solver->EndHostContinuation();
    EXPECT_FALSE(solver->HasOption('c'));
    EXPECT_FALSE(solver->HasOption('L'));
    EXPECT_EQ(solver->OptionValue('c'), nullptr);
    EXPECT_STREQ(solver->OptionValue('K'), "table.txt");
    s = 0.5;
    solver->DoubleOption('S', s, 0.0, 1.0);
    EXPECT_DOUBLE_EQ(s, 0.5);
}

struct SwitchCase {
    std::vector<std::string> options;
    bool RunSwitches::*field;
    bool expected;
};

TEST(SolverOptions, ControlSwitches) {
    const SwitchCase cases[] = {
        {{}, &RunSwitches::areaControl, true},
        {{"-A"}, &RunSwitches::areaControl, false},
        {{"-6deck.txt"}, &RunSwitches::areaControl, false},
        {{"-N"}, &RunSwitches::areaControl, false},
        {{"-P"}, &RunSwitches::pqTransformerControl, false},
        {{"-P"}, &RunSwitches::flowBandTransformers, false},
        {{"-N"}, &RunSwitches::bankSwitching, false},
        {{"-QX"}, &RunSwitches::bankSwitching, false},
        {{"-Q"}, &RunSwitches::remoteVoltageControl, false},
        {{"-QX"}, &RunSwitches::remoteVoltageControl, true},
        {{"-q"}, &RunSwitches::generatorReactiveLimits, false},
        {{"-qz"}, &RunSwitches::generatorReactiveLimits, true},
        {{"-qz"}, &RunSwitches::zBusReactiveLimits, false},
        {{"-qx"}, &RunSwitches::xBusShunts, false},
        {{"-3"}, &RunSwitches::fieldLimits, true},
        {{"-3", "-4"}, &RunSwitches::fieldLimits, false},
        {{"-3", "-5"}, &RunSwitches::armatureLimits, false},
        {{"-n", "-3"}, &RunSwitches::fieldLimits, false},
        {{"-n"}, &RunSwitches::voltageLimits, false},
        {{"-n"}, &RunSwitches::option9, true},
        {{"-n"}, &RunSwitches::optionX, true},
        {{"-G"}, &RunSwitches::recovery, false},
    };
    for (const auto& c : cases) {
        std::vector<std::string> items{"ostrand"};
        items.insert(items.end(), c.options.begin(), c.options.end());
        SCOPED_TRACE(items.back());
        ArgumentList list(items);
        SolverHandle solver;
        solver->SetArguments(list.Count(), list.Items());
        solver->SetSwitchesFromOptions();
        EXPECT_EQ(solver->Switches().*c.field, c.expected);
    }
}

TEST(SolverOptions, NumbersReadTheSameUnderADecimalCommaLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.utf8"))
        GTEST_SKIP() << "no decimal-comma locale on this machine";

    double value = 0.0;
    EXPECT_TRUE(ParseDouble("0.001", value));
    EXPECT_DOUBLE_EQ(value, 0.001);
    SolverHandle solver;
    ArgumentList list({"ostrand", "-T0.0005"});
    solver->SetArguments(list.Count(), list.Items());
    solver->ReadSolutionSettings();
    EXPECT_DOUBLE_EQ(solver->GetTolerance(), 0.0005);

    std::setlocale(LC_NUMERIC, saved.c_str());
}

struct ParseCase {
    std::string text;
    bool reads;
    double value;
};

TEST(SolverOptions, NumberTextReadsLikeTheCLibrary) {
    const std::string manyZeros(400, '0');
    const ParseCase cases[] = {
        {"0.001", true, 0.001}, {"  -2.5e3xyz", true, -2500.0}, {"+7", true, 7.0},
        {".5", true, 0.5},      {"", false, 0.0},                {"abc", false, 0.0},
        {"--1", false, 0.0},    {"1e-999", true, 0.0},           {"-1e999", true, -HUGE_VAL},
        // Out of range without an exponent, or against its sign.
        {"0." + manyZeros + "1", true, 0.0},
        {"1" + manyZeros + "e-10", true, HUGE_VAL},
        {"0." + manyZeros + "1e+5", true, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        double value = -1.0;
        EXPECT_EQ(ParseDouble(c.text, value), c.reads);
        if (c.reads) {
            EXPECT_DOUBLE_EQ(value, c.value);
        }
    }
    int n = 0;
    EXPECT_TRUE(ParseInt(" 12abc", n));
    EXPECT_EQ(n, 12);
    EXPECT_TRUE(ParseInt("99999999999999999999", n));
    EXPECT_EQ(n, 2147483647);
    EXPECT_FALSE(ParseInt("x1", n));
}

}  // namespace
