#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "case_file_run.h"
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
        {"option V naming a file", {"-I", "-Vstart.txt"}, false},
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

}  // namespace
