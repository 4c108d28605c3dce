#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "case_file_run.h"
#include "solution_values.h"
#include "decimal_comma_locale.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

constexpr double kDegree = 3.141592654 / 180.0;

TEST(ScenarioFiles, OptionVWithoutAValueStartsFlat) {
    struct Case {
        const char* what;
        std::vector<std::string> options;
        bool flat;
    };
    const Case cases[] = {
        {"no option V", {"-I"}, false},
        {"option V without a value", {"-I", "-V"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SolverHandle solver;
        RunArguments arguments(c.options);
        ASSERT_TRUE(ReadCaseFile(*solver, arguments, TestDataPath("case14.cdf")));
        const NetBus& slack = *solver->FindBus(1);
        const NetBus& generator = *solver->FindBus(2);
        const NetBus& load = *solver->FindBus(4);
        // A held voltage keeps its setpoint either way.
        EXPECT_DOUBLE_EQ(slack.voltage, 1.06);
        EXPECT_DOUBLE_EQ(generator.voltage, 1.045);
        EXPECT_DOUBLE_EQ(generator.angle, c.flat ? 0.0 : -4.98 * kDegree);
        EXPECT_DOUBLE_EQ(load.voltage, c.flat ? 1.0 : 1.019);
        EXPECT_DOUBLE_EQ(load.angle, c.flat ? 0.0 : -10.33 * kDegree);
    }
}

TEST(ScenarioFiles, LoadsAreConstantPowerWithoutCharacteristics) {
    SolverHandle solver;
    RunArguments arguments({"-I"});
    ASSERT_TRUE(ReadCaseFile(*solver, arguments, TestDataPath("case14.cdf")));
    for (const auto& bus : solver->GetNetwork()->buses) {
        SCOPED_TRACE(bus->externalNumber);
        EXPECT_DOUBLE_EQ(bus->loadModelP.base, bus->loadP);
        EXPECT_DOUBLE_EQ(bus->loadModelQ.base, bus->loadQ);
        EXPECT_EQ(bus->loadModelP.exponent, 0.0);
        EXPECT_EQ(bus->loadModelQ.exponent, 0.0);
        EXPECT_EQ(bus->loadModelP.impedance, 0.0);
        EXPECT_EQ(bus->loadModelQ.impedance, 0.0);
    }
}

// A file run over the IEEE 14-bus case with scenario files written for the
// test; `options` may name them as {K}, {V} and so on, replaced by the path.
class ScenarioRun {
public:
    ScenarioRun() : folder_("scenario_files") {}

    std::string Write(const std::string& name, const std::string& text) {
        WriteFileText(folder_ / name, text);
        return (folder_ / name).string();
    }

    // False when the run ended. `prepare` runs between reading the network
    // and the scenario files.
    template <class Prepare>
    bool Run(std::vector<std::string> options, Prepare prepare) {
        arguments_ = std::make_unique<RunArguments>(std::move(options));
        try {
            arguments_->ApplyTo(*solver_);
            solver_->ReadNetwork(TestDataPath("case14.cdf").c_str());
            prepare(*solver_);
            solver_->ReadAuxiliaryFiles();
            return true;
        } catch (const SolverAbort&) {
            return false;
        }
    }
    bool Run(std::vector<std::string> options) {
        return Run(std::move(options), [](Solver&) {});
    }

    NetBus& Bus(int number) { return *solver_->FindBus(number); }
    Solver& Engine() { return *solver_; }

private:
    ScratchFolder folder_;
    std::unique_ptr<RunArguments> arguments_;
    SolverHandle solver_;
};

std::string Text(const char* format, double a, double b) {
    char line[96];
    std::snprintf(line, sizeof line, format, a, b);
    return line;
}

TEST(ScenarioFiles, DirectionFileRaisesEveryLoadInProportion) {
    // Every load grows by its base value per unit of the load parameter; no
    // generation follows it. Odd buses are named, even ones numbered.
    ScenarioRun reading;
    ASSERT_TRUE(reading.Run({"-I"}));
    std::string file = "C load grows in proportion\n";
    for (const auto& bus : reading.Engine().GetNetwork()->buses) {
        const std::string head = bus->externalNumber % 2 ? "0 '" + bus->name + "'"
                                                         : std::to_string(bus->externalNumber) + " 0";
        file += head + Text(" 0 %.17g %.17g 0\n", bus->loadP, bus->loadQ);
    }

    DecimalCommaLocale comma;  // the file's numbers read the same whatever the locale
    ScenarioRun run;
    ASSERT_TRUE(run.Run({"-I", "-c", "-K" + run.Write("up.k", file)}));
    for (const auto& bus : run.Engine().GetNetwork()->buses) {
        SCOPED_TRACE(bus->externalNumber);
        EXPECT_DOUBLE_EQ(bus->loadModelP.baseDirection, bus->loadP);
        EXPECT_DOUBLE_EQ(bus->loadModelQ.baseDirection, bus->loadQ);
        EXPECT_DOUBLE_EQ(LoadAt(bus->loadModelP, bus->voltage, 1.0), 2.0 * bus->loadP);
        EXPECT_DOUBLE_EQ(LoadAt(bus->loadModelQ, bus->voltage, 1.0), 2.0 * bus->loadQ);
        // Every factor was 0: the slack alone takes up the increase.
        EXPECT_DOUBLE_EQ(bus->generationDirection, bus->externalNumber == 1 ? 1.0 : 0.0);
    }
}

TEST(ScenarioFiles, DirectionFileLimitsAndDispatch) {
    ScenarioRun run;
    // Bus 2 generates 0.4 p.u., bus 3 nothing.
    ASSERT_TRUE(run.Run({"-I", "-K" + run.Write("limits.k",
                                                 "2 0 3 0.1 0 0.5 0.6 1.1 0.9 0.25\n"
                                                 "3 0 4 -0.1 0.05 0.3 0.2 0.9 1.1\n"
                                                 "5 0 0 0 0 0 0 1.1\n"
                                                 "99 0 1 1 1 1\n")}));
    NetBus& two = run.Bus(2);
    NetBus& three = run.Bus(3);
    // Shares normalised over the file's buses: 3 and 4 become 0.6 and 0.8.
    EXPECT_DOUBLE_EQ(two.generationDirection, 0.6);
    EXPECT_DOUBLE_EQ(three.generationDirection, 0.8);
    EXPECT_DOUBLE_EQ(two.shareInUse, 0.6);  // the equations' working share
    EXPECT_DOUBLE_EQ(two.loadModelP.baseDirection, 0.1);
    EXPECT_DOUBLE_EQ(three.loadModelP.baseDirection, -0.1);
    EXPECT_DOUBLE_EQ(three.loadModelQ.baseDirection, 0.05);

    EXPECT_DOUBLE_EQ(two.maxP, 0.5);                // above its generation
    EXPECT_DOUBLE_EQ(two.maxS, 0.6);                // not below its Pmax
    EXPECT_DOUBLE_EQ(two.displayMaxVoltage, 1.1);
    EXPECT_DOUBLE_EQ(two.displayMinVoltage, 0.9);
    EXPECT_DOUBLE_EQ(two.loadModelP.impedanceDirection, 0.25);
    EXPECT_DOUBLE_EQ(three.maxP, 0.3);
    EXPECT_DOUBLE_EQ(three.maxS, kUnlimited);       // below its Pmax
    EXPECT_DOUBLE_EQ(three.displayMaxVoltage, 0.0); // upper below lower
    EXPECT_DOUBLE_EQ(three.loadModelP.impedanceDirection, 0.0);
    EXPECT_DOUBLE_EQ(run.Bus(5).maxP, kUnlimited);  // Pmax 0 is not taken
    EXPECT_DOUBLE_EQ(run.Bus(5).displayMaxVoltage, 0.0);
}

// Number 0 and the name "0" mean "not given": a bus that the input left
// without a number must not take another bus's line.
TEST(ScenarioFiles, NumberZeroNamesNoBus) {
    ScenarioRun run;
    const std::string k = run.Write("zero.k", "0 0 0 1 1 0\n0 'Bus 2' 0 0.5 0.2 0\n");
    const std::string v = run.Write("zero.v", "0 0 0.5 10\n0 'Bus 5' 0.97 -3\n");
    ASSERT_TRUE(run.Run({"-I", "-K" + k, "-V" + v}, [](Solver& solver) { solver.FindBus(1)->externalNumber = 0; }));
    const NetBus& first = *run.Engine().GetNetwork()->buses.front();
    EXPECT_EQ(first.name, "Bus 1     HV");
    EXPECT_DOUBLE_EQ(first.loadModelP.baseDirection, 0.0);
    EXPECT_DOUBLE_EQ(first.angle, 0.0);
    EXPECT_DOUBLE_EQ(run.Bus(2).loadModelP.baseDirection, 0.5);
    EXPECT_DOUBLE_EQ(run.Bus(5).voltage, 0.97);
}

// A line takes the first bus in list order that has its number or whose name
// begins with its name, however the names sort: here buses 3 and 14 are
// renamed "Alpha 2" and "Alpha", and bus 13 is renumbered 3.
TEST(ScenarioFiles, LineTakesTheFirstMatchingBusInListOrder) {
    struct Case {
        const char* line;
        int place;  // in the bus list; -1 none
    };
    const Case cases[] = {
        {"0 'Alpha' 0 0.5 0 0\n", 2},   // "Alpha 2" comes before "Alpha" in the list
        {"0 'Alpha 2' 0 0.5 0 0\n", 2},
        {"3 0 0 0.5 0 0\n", 2},         // the first of the two buses numbered 3
        {"14 'Bus 4' 0 0.5 0 0\n", 3},  // the name's bus comes first
        {"4 'Alpha' 0 0.5 0 0\n", 2},   // the name's bus comes first
        {"4 'Bus 9' 0 0.5 0 0\n", 3},   // the number's bus comes first
        {"0 'Bus 1' 0 0.5 0 0\n", 0},   // a prefix of several names
        {"0 'Bus 1Z' 0 0.5 0 0\n", -1},
        {"0 'Alpha 3' 0 0.5 0 0\n", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ScenarioRun run;
        ASSERT_TRUE(run.Run({"-I", "-K" + run.Write("d.k", c.line)}, [](Solver& solver) {
            solver.FindBus(3)->name = "Alpha 2";
            solver.FindBus(14)->name = "Alpha";
            solver.FindBus(13)->externalNumber = 3;
        }));
        const auto& buses = run.Engine().GetNetwork()->buses;
        for (int place = 0; place < static_cast<int>(buses.size()); ++place)
            EXPECT_DOUBLE_EQ(buses[place]->loadModelP.baseDirection, place == c.place ? 0.5 : 0.0) << place;
    }
}

TEST(ScenarioFiles, StartingPointFile) {
    ScenarioRun run;
    ASSERT_TRUE(run.Run({"-I", "-V" + run.Write("start.v",
                                                 "C bus voltage (p.u.) and angle (degrees)\n"
                                                 "4 0 0.95 -5\n"
                                                 "2 'Bus 2' 0.9 -3\n"
                                                 "5 0 -1 2 more\n"
                                                 "77 0 1 1\n")}));
    EXPECT_DOUBLE_EQ(run.Bus(4).voltage, 0.95);
    EXPECT_DOUBLE_EQ(run.Bus(4).angle, -5.0 * kDegree);
    EXPECT_DOUBLE_EQ(run.Bus(2).voltage, 1.045);  // held by its generator
    EXPECT_DOUBLE_EQ(run.Bus(2).angle, -3.0 * kDegree);
    EXPECT_DOUBLE_EQ(run.Bus(5).voltage, 1.02);   // a voltage of 0 or less is not taken
    EXPECT_DOUBLE_EQ(run.Bus(5).angle, 2.0 * kDegree);
    EXPECT_DOUBLE_EQ(run.Bus(6).angle, -14.22 * kDegree);
}

TEST(ScenarioFiles, RunsThatCannotGoOnEnd) {
    struct Case {
        const char* what;
        std::vector<std::string> options;  // "{K}" and "{V}" stand for the files below
        const char* k;
        const char* v;
        bool ends;
    };
    const char* up = "4 0 0 0.5 0 0\n";
    const char* none = "4 0 0 0 0 0\n";
    const Case cases[] = {
        {"a direction", {"-I", "-c", "{K}"}, up, "", false},
        {"loads that grow and shrink as much", {"-I", "-c", "{K}"}, "4 0 0 0.5 0 0\n5 0 0 -0.5 0 0\n", "", false},
        {"no direction in a continuation", {"-I", "-c", "{K}"}, none, "", true},
        {"no direction at a given load parameter", {"-I", "-c", "-L0.1", "{K}"}, none, "", false},
        {"no direction file in a continuation", {"-I", "-c"}, "", "", true},
        {"no direction with option v", {"-I", "-v0.9", "{K}"}, none, "", true},
        {"no direction in a power flow", {"-I", "{K}"}, none, "", false},
        {"a direction line short of Pmax", {"-I", "{K}"}, "4 0 0 0.5 0\n", "", true},
        {"a direction line with a bad number", {"-I", "{K}"}, "4 0 0 0,5 0 0\n", "", true},
        {"a short line for a bus not in the network", {"-I", "{K}"}, "44 0 0 0.5\n", "", false},
        {"a starting-point line without its angle", {"-I", "{V}"}, "", "4 0 0.95\n", true},
        {"a missing direction file", {"-I", "-Kmissing.k"}, "", "", true},
        {"a missing starting-point file", {"-I", "-Vmissing.v"}, "", "", true},
        {"a generator-model file", {"-I", "-3gen.txt"}, "", "", true},
        {"option 3 without a file", {"-I", "-3"}, "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScenarioRun run;
        std::vector<std::string> options;
        for (const std::string& option : c.options) {
            if (option == "{K}") options.push_back("-K" + run.Write("d.k", c.k));
            else if (option == "{V}") options.push_back("-V" + run.Write("s.v", c.v));
            else options.push_back(option);
        }
        EXPECT_EQ(run.Run(options), !c.ends);
    }
}

TEST(ScenarioFiles, OptionVHoldsALoadBusVoltage) {
    struct Case {
        std::vector<std::string> options;
        int bus;  // 0: none chosen; -1: the run ends
    };
    const Case cases[] = {
        {{"-v0.95"}, 4},
        {{"-v0.95", "-B9"}, 9},
        {{"-v0.95", "-B2"}, -1},  // a generator bus
        {{"-v0.95", "-B99"}, -1},
        {{"-v0.0005"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.back());
        ScenarioRun run;
        std::vector<std::string> options = {"-I", "-K" + run.Write("d.k", "4 0 0 0.5 0 0\n")};
        options.insert(options.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(run.Run(options), c.bus >= 0);
        if (c.bus < 0) continue;
        NetBus* chosen = run.Engine().NamedContinuationBus();
        EXPECT_EQ(chosen, c.bus ? &run.Bus(c.bus) : nullptr);
        if (chosen) {
            EXPECT_DOUBLE_EQ(chosen->voltage, 0.95);
        }
    }
}

}  // namespace
