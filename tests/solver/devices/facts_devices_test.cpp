#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "device_case_fixture.h"
#include "ieee_case_text.h"
#include "jacobian_check.h"
#include "solution_values.h"
#include "solver.h"
#include "solver_handle.h"

// The SVC, TCSC and STATCOM families from their cards to their solution:
// the Jacobian against central differences in every control mode, the
// quantities they hold, their limits, and the case file written back.

namespace {

// Columns 1-31 of a FACTS card between two buses of ieee_case_text.h.
CardLine DeviceCard(const char* code, int first, int second) {
    auto name = [](int number) {
        std::string text = "B" + std::to_string(number);
        text.resize(12, ' ');
        return text;
    };
    return CardLine().At(1, code).At(7, name(first)).At(20, name(second));
}

// Xc 0.5 and Xl 0.4 p.u. (a reactor larger than the capacitor), angle
// limits 95 to 170 degrees, slope 2 percent, 100 MVA.
CardLine SvcCard(int bus, int controlled, const char* vref) {
    return DeviceCard("FS ", bus, controlled)
        .At(32, "0.500000")
        .At(40, "0.400000")
        .At(48, " 95")
        .At(51, "170")
        .At(54, " 2")
        .At(56, " 100")
        .At(60, vref);
}

// Xc 0.05 and Xl 0.01 p.u. on 100 MVA, the resonance below 143 degrees.
CardLine TcscCard(int from, int to, char control, const char* scheduled) {
    return DeviceCard("FC ", from, to)
        .At(32, "0.050000")
        .At(40, "0.010000")
        .At(54, scheduled)
        .At(62, std::string(1, control))
        .At(63, " 100")
        .At(72, " 60");
}

// R 0.002, X 0.1, Gdc 0.001 p.u., the current limits, slope 1 percent,
// 100 MVA.
CardLine StatcomCard(int bus, int controlled, const char* limit, const char* vref, char control) {
    return DeviceCard("FT ", bus, controlled)
        .At(32, "0.0020")
        .At(38, "0.1000")
        .At(44, "0.0010")
        .At(50, limit)
        .At(56, limit)
        .At(62, "  1")
        .At(65, "  100")
        .At(70, vref)
        .At(74, std::string(1, control));
}

// Slack 1 at 1.05; load 2 (50 MW, 30 Mvar); bus 3 with no load; lines
// 1-2 (X 0.1) and 3-2 (X 0.3).
CaseText ThreeBuses() {
    CaseText c;
    c.buses = {BusCard(1, 3).At(85, "1.0500"), BusCard(2, 0).At(41, "    50.00").At(51, "    30.00"),
               BusCard(3, 0)};
    c.branches = {BranchCard(1, 2, 0), BranchCard(3, 2, 0).At(30, "  0.300000")};
    return c;
}

// One control mode of each family.
struct ControlModes {
    const char* name;
    const char* svcCode;
    char tcscControl;
    const char* statcomCode;
    char statcomControl;
};
const ControlModes kControlModes[] = {
    {"SVC AL, TCSC P, STATCOM PW", "AL", 'P', "PW", 'W'},
    {"SVC MN, TCSC I, STATCOM AL", "MN", 'I', "AL", 'P'},
    {"SVC MX, TCSC D, STATCOM MX", "MX", 'D', "MX", 'W'},
    {"SVC AL, TCSC X, STATCOM MN", "AL", 'X', "MN", 'P'},
};

class FactsDeviceTest : public DeviceCaseTest {
protected:
    FactsDeviceTest() : DeviceCaseTest("facts_devices") {}

    // The case read and its devices set up and numbered, unsolved.
    bool Prepare(const CaseText& c) {
        if (!Read(c)) return false;
        S().InitSvc();
        S().InitTcsc();
        S().InitStatcom();
        S().NumberVariables();
        return true;
    }
    // The three buses with one device of each family in the given modes.
    bool PrepareModes(const ControlModes& c) {
        CaseText text = ThreeBuses();
        text.tail = {SvcCard(2, 2, "1.00"), TcscCard(1, 3, c.tcscControl, "    40.0"),
                     StatcomCard(3, 2, "0.5000", "1.00", c.statcomControl)};
        if (!Prepare(text)) return false;
        N().svcs.front()->controlCode = c.svcCode;
        N().statcoms.front()->controlCode = c.statcomCode;
        return true;
    }
};

// A random state of the buses and of every device unknown, away from the
// firing angles' resonance and from Q = 0, where a STATCOM's slope turns.
void Scramble(Network& network, std::mt19937& random) {
    std::uniform_real_distribution<double> around(-1.0, 1.0);
    for (const auto& bus : network.buses) {
        bus->voltage = 1.0 + 0.06 * around(random);
        if (!CodeHas(bus->code, "S")) bus->angle = 0.2 * around(random);
    }
    for (const auto& svc : network.svcs) {
        svc->q = 0.3 * around(random);
        svc->be = 1.0 + 0.5 * around(random);
        svc->alpha = 2.2 + 0.5 * around(random);
        svc->offset = 1.0 + 0.05 * around(random);
    }
    for (const auto& tcsc : network.tcscs) {
        tcsc->p = 0.4 * around(random);
        tcsc->qk = 0.2 * around(random);
        tcsc->qm = 0.2 * around(random);
        tcsc->bt = 20.0 + 5.0 * around(random);
        tcsc->alpha = 2.8 + 0.2 * around(random);
        tcsc->current = 0.5 * around(random);
        tcsc->delta = 0.1 * around(random);
    }
    for (const auto& st : network.statcoms) {
        st->current = 0.3 + 0.2 * around(random);
        st->phi = 1.5 * around(random);
        st->vdc = 1.0 + 0.1 * around(random);
        st->mr = 0.9 + 0.1 * around(random);
        st->psi = 0.2 * around(random);
        st->p = 0.05 * around(random);
        st->q = (around(random) < 0.0 ? -1.0 : 1.0) * (0.1 + 0.2 * std::fabs(around(random)));
        st->offset = 1.0 + 0.05 * around(random);
    }
}

TEST_F(FactsDeviceTest, JacobianMatchesCentralDifferencesInEveryControlMode) {
    std::mt19937 random(20261210);
    for (const ControlModes& c : kControlModes) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(PrepareModes(c));
        for (int state = 0; state < 3; ++state) {
            SCOPED_TRACE("state " + std::to_string(state));
            Scramble(N(), random);
            const auto differences = CheckJacobian(S(), true);
            EXPECT_TRUE(differences.empty()) << Describe(differences);
        }
    }
}

TEST_F(FactsDeviceTest, SvcHoldsItsVoltageOnTheSlopeUntilItsAngleLimit) {
    CaseText text = ThreeBuses();
    text.tail = {SvcCard(2, 2, "1.00")};
    ASSERT_EQ(Run(text), 1);
    const NetSvc& svc = *N().svcs.front();
    EXPECT_EQ(svc.controlCode, "AL");
    // V = Vref + Vt Xsl (Be - Bc) with Bc = 1 / Xc = 2, Xsl = 0.02.
    const double v = Bus(2).voltage;
    EXPECT_NEAR(v, 1.0 + v * 0.02 * (svc.be - 2.0), 1e-4);
    EXPECT_NEAR(svc.q, v * v * (2.0 - svc.be), 1e-4);
    EXPECT_NEAR(svc.be, (std::sin(2.0 * svc.alpha) + 2.0 * (kPi - svc.alpha)) / (kPi * 0.4), 1e-4);

    // 1.4 p.u. needs more than the capacitor gives: alpha stops at 170
    // degrees, where the reactor draws least, and the voltage stays below.
    text.tail = {SvcCard(2, 2, "1.40")};
    ASSERT_EQ(Run(text), 1);
    const NetSvc& limited = *N().svcs.front();
    EXPECT_EQ(limited.controlCode, "MX");
    EXPECT_DOUBLE_EQ(limited.alpha, limited.maxAlpha);
    EXPECT_LT(Bus(2).voltage, 1.4);
    EXPECT_LT(limited.offset, 1.4);
    const double vt = Bus(2).voltage;
    EXPECT_NEAR(limited.q, vt * vt * (2.0 - limited.be), 1e-4);
}

TEST_F(FactsDeviceTest, StatcomHoldsItsVoltageUntilItsCurrentLimit) {
    CaseText text = ThreeBuses();
    text.tail = {StatcomCard(2, 2, "1.0000", "1.00", 'W')};
    ASSERT_EQ(Run(text), 1);
    const NetStatcom& st = *N().statcoms.front();
    EXPECT_EQ(st.controlCode, "PW");
    // Without it the bus would stand above 1 p.u.: Q > 0, it draws
    // reactive power, and V = Vref + Xsl Ish with Xsl 0.01.
    EXPECT_GT(st.q, 0.0);
    EXPECT_NEAR(Bus(2).voltage, 1.0 + 0.01 * st.current, 1e-4);
    EXPECT_NEAR(st.vdc, 1.0, 1e-6);
    EXPECT_NEAR(st.q, st.current * Bus(2).voltage * std::sin(Bus(2).angle - st.phi), 1e-4);

    // 0.2 p.u. of current cannot lift the bus to 1.1 p.u.
    text.tail = {StatcomCard(2, 2, "0.2000", "1.10", 'P')};
    ASSERT_EQ(Run(text), 1);
    const NetStatcom& limited = *N().statcoms.front();
    EXPECT_EQ(limited.controlCode, "MN");
    EXPECT_DOUBLE_EQ(limited.current, 0.2);
    EXPECT_NEAR(limited.mr, 0.9, 1e-6);
    EXPECT_LT(Bus(2).voltage, 1.1);
    EXPECT_LT(limited.offset, 1.1);
}

TEST_F(FactsDeviceTest, TcscHoldsItsScheduledQuantity) {
    struct Case {
        char control;
        const char* scheduled;
    };
    for (const Case& c : {Case{'P', "    15.0"}, Case{'I', "   0.100"}, Case{'D', "    -0.5"}}) {
        SCOPED_TRACE(std::string(1, c.control));
        CaseText text = ThreeBuses();
        // A start near the solution: from a flat start the current's
        // reactive part calls for the smallest susceptance.
        text.buses[2] = BusCard(3, 0).At(28, "1.0560");
        text.tail = {TcscCard(1, 3, c.control, c.scheduled)};
        ASSERT_EQ(Run(text), 1);
        const NetTcsc& tcsc = *N().tcscs.front();
        ASSERT_EQ(tcsc.controlCode, std::string(1, c.control));
        const NetBus& from = Bus(1);
        const NetBus& to = Bus(3);
        // The flow through the compensator goes on through line 3-2.
        const NetBranch* line = nullptr;
        for (const auto& branch : N().branches)
            if (branch->from == &to) line = branch.get();
        ASSERT_NE(line, nullptr);
        const double theta = from.angle - to.angle;
        const double p = -tcsc.bt * from.voltage * to.voltage * std::sin(theta);
        EXPECT_NEAR(BranchFlows(*line).fromP, p, 1e-4);
        switch (c.control) {
        case 'P':
            EXPECT_NEAR(p * 100.0, 15.0, 1e-2);
            break;
        case 'I': {
            const double qk = tcsc.bt * from.voltage * (to.voltage * std::cos(theta) - from.voltage);
            const double kiloAmperes = std::hypot(p, qk) / from.voltage * 100.0 / (std::sqrt(3.0) * 100.0);
            EXPECT_NEAR(kiloAmperes, 0.1, 1e-4);
            break;
        }
        default:
            EXPECT_NEAR(theta * 180.0 / kPi, -0.5, 1e-3);
        }
    }
}

TEST_F(FactsDeviceTest, TcscAtItsAngleLimitHoldsItsSusceptance) {
    // 150 MW through the compensator asks for a susceptance beyond its range.
    CaseText text = ThreeBuses();
    text.tail = {TcscCard(1, 3, 'P', "   150.0")};
    ASSERT_EQ(Run(text), 1);
    const NetTcsc& tcsc = *N().tcscs.front();
    EXPECT_EQ(tcsc.controlCode, "X");
    EXPECT_NEAR(tcsc.bt, tcsc.susceptanceTarget, 1e-4);
    // 150 MW asks for the largest series capacitor, that is the smallest
    // susceptance: alpha stays at 143 degrees and its susceptance is held.
    EXPECT_DOUBLE_EQ(tcsc.alpha, tcsc.minAlpha);
    EXPECT_DOUBLE_EQ(tcsc.susceptanceTarget, TcscSusceptanceAt(tcsc.minAlpha, 0.05, 0.01).value);
}

TEST_F(FactsDeviceTest, TcscAtResonanceFailsTheSolve) {
    // Equal reactances resonate at 180 degrees: the susceptance's
    // denominator is 0 there and the mismatch is not a number.
    CaseText text = ThreeBuses();
    text.tail = {TcscCard(1, 3, 'P', "    15.0").At(40, "0.050000").At(51, "180")};
    ASSERT_TRUE(Prepare(text));
    NetTcsc& tcsc = *N().tcscs.front();
    tcsc.alpha = kPi;
    ASSERT_EQ(TcscSusceptanceAt(tcsc.alpha, tcsc.x1, tcsc.x2).denominator, 0.0);
    S().SetQuietRun(Quiet::Yes, LimitChecks::Due);
    EXPECT_LT(S().SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial), 0);
}

TEST_F(FactsDeviceTest, UnknownTcscControlFailsTheRun) {
    CaseText text = ThreeBuses();
    text.tail = {TcscCard(1, 3, 'P', "    40.0")};
    WriteFileText(folder_ / "case.cdf", text.Text());
    solver_ = std::make_unique<SolverHandle>();
    arguments_ = std::make_unique<RunArguments>(std::vector<std::string>{"-I"});
    ASSERT_TRUE(ReadCaseFile(S(), *arguments_, (folder_ / "case.cdf").string()));
    N().tcscs.front()->controlLetter = 'Q';
    EXPECT_THROW(S().InitTcsc(), SolverAbort);
}

TEST_F(FactsDeviceTest, FaultyCardsFailTheRunWithTheirLine) {
    struct Case {
        const char* name;
        std::vector<std::string> tail;
        const char* message;
    };
    const Case cases[] = {
        {"second STATCOM card", {StatcomCard(2, 2, "1.0000", "1.00", 'W'), StatcomCard(2, 2, "1.0000", "1.00", 'W')},
         "line 12: a second card for the STATCOM"},
        {"missing bus", {SvcCard(2, 7, "1.00")}, "line 11: the bus \"B7          \" of the card does not exist"},
        {"TCSC on one bus", {TcscCard(2, 2, 'P', "    40.0")}, "line 11: a TCSC needs two different buses"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CaseText text = ThreeBuses();
        text.tail = c.tail;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Run(text), 0);
        const std::string diagnostics = testing::internal::GetCapturedStderr();
        EXPECT_NE(diagnostics.find(c.message), std::string::npos) << diagnostics;
    }
}

TEST_F(FactsDeviceTest, WrittenCaseReadsBackToTheSameDevicesAndSolution) {
    CaseText text = ThreeBuses();
    text.buses.push_back(BusCard(4, 0).At(41, "    10.00"));
    text.branches.push_back(BranchCard(4, 2, 0));
    text.tail = {SvcCard(4, 4, "1.01"), TcscCard(1, 3, 'P', "    25.0"), StatcomCard(2, 2, "1.0000", "1.00", 'P')};
    text.buses[2] = BusCard(3, 0).At(28, "1.0560");
    const std::string written = Path("written.cdf");
    ASSERT_EQ(Run(text, {"-W" + written}), 1);
    std::vector<double> voltages;
    for (int number = 1; number <= 4; ++number) voltages.push_back(Bus(number).voltage);
    const NetSvc svc = *N().svcs.front();
    const NetTcsc tcsc = *N().tcscs.front();
    const NetStatcom st = *N().statcoms.front();
    // The copies' buses go with the first run's network.
    const std::string svcBus = svc.terminalBus->name;
    const std::string tcscFrom = tcsc.from->name;
    const std::string tcscTo = tcsc.to->name;

    ASSERT_EQ(RunFile(written, {}), 1);
    for (int number = 1; number <= 4; ++number) EXPECT_NEAR(Bus(number).voltage, voltages[number - 1], 1e-6);
    const NetSvc& svc2 = *N().svcs.front();
    EXPECT_EQ(svc2.terminalBus->name, svcBus);
    EXPECT_EQ(svc2.capacitorX, svc.capacitorX);
    EXPECT_EQ(svc2.reactorX, svc.reactorX);
    EXPECT_EQ(svc2.minAngle, svc.minAngle);
    EXPECT_EQ(svc2.maxAngle, svc.maxAngle);
    EXPECT_EQ(svc2.slopePercent, svc.slopePercent);
    EXPECT_EQ(svc2.rating, svc.rating);
    EXPECT_EQ(svc2.referenceVoltage, svc.referenceVoltage);
    EXPECT_NEAR(svc2.q, svc.q, 1e-6);
    const NetTcsc& tcsc2 = *N().tcscs.front();
    EXPECT_EQ(tcsc2.from->name, tcscFrom);
    EXPECT_EQ(tcsc2.to->name, tcscTo);
    EXPECT_EQ(tcsc2.capacitorX, tcsc.capacitorX);
    EXPECT_EQ(tcsc2.reactorX, tcsc.reactorX);
    EXPECT_EQ(tcsc2.scheduledValue, tcsc.scheduledValue);
    EXPECT_EQ(tcsc2.controlLetter, tcsc.controlLetter);
    EXPECT_EQ(tcsc2.rating, tcsc.rating);
    EXPECT_EQ(tcsc2.compensationPercent, tcsc.compensationPercent);
    EXPECT_NEAR(tcsc2.p, tcsc.p, 1e-6);
    const NetStatcom& st2 = *N().statcoms.front();
    EXPECT_EQ(st2.resistance, st.resistance);
    EXPECT_EQ(st2.reactance, st.reactance);
    EXPECT_EQ(st2.dcConductance, st.dcConductance);
    EXPECT_EQ(st2.maxCurrent, st.maxCurrent);
    EXPECT_EQ(st2.minCurrent, st.minCurrent);
    EXPECT_EQ(st2.slopePercent, st.slopePercent);
    EXPECT_EQ(st2.referenceVoltage, st.referenceVoltage);
    EXPECT_EQ(st2.returnCode, st.returnCode);
    EXPECT_EQ(st2.controlValue, st.controlValue);
    EXPECT_NEAR(st2.current, st.current, 1e-6);
}

// The point-of-collapse rows of the three families against central
// differences, at random states with a random null vector, in every
// control mode: their curvature in block 2 and their part of J'w.
TEST_F(FactsDeviceTest, ExtendedRowsMatchCentralDifferencesInEveryControlMode) {
    std::mt19937 random(20261211);
    for (const ControlModes& c : kControlModes) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(PrepareModes(c));
        S().SetPointOfCollapse(true);
        S().NumberVariables();
        S().SetLoadParameter(0.2);
        Scramble(N(), random);
        MoveToRandomState(S(), random, 0.0);
        const auto differences = CheckExtendedRows(S());
        EXPECT_TRUE(differences.empty()) << Describe(differences);
    }
}

// Bus 2's load grows by 1 p.u. (and 0.3 p.u. reactive) per unit of lambda:
// the curve is traced through its nose with every device in the network,
// and the SVC, at the end of its range, holds its angle at the limit.
TEST_F(FactsDeviceTest, ContinuationTracesTheCurveWithTheDevices) {
    CaseText text = ThreeBuses();
    text.buses[2] = BusCard(3, 0).At(28, "1.0560");
    text.tail = {SvcCard(2, 2, "1.00"), TcscCard(1, 3, 'P', "    15.0"), StatcomCard(3, 3, "0.5000", "1.00", 'W')};
    WriteFileText(folder_ / "dir.k", "2 B2 0 1 0.3 0\n");
    ASSERT_EQ(Run(text, {"-K" + Path("dir.k"), "-c" + Path("pv.txt"), "-k0.05", "-S0.9"}), 1);
    const std::vector<std::string> rows = Lines(FileText(folder_ / "pv.txt"));
    ASSERT_GT(rows.size(), 5u);
    EXPECT_EQ(static_cast<int>(rows.size()) - 1, S().GetPointCount());
    EXPECT_GT(S().LoadParameter(), 0.0);
    const NetSvc& svc = *N().svcs.front();
    EXPECT_EQ(svc.controlCode, "MX");
    EXPECT_DOUBLE_EQ(svc.alpha, svc.maxAlpha);
    // The flow that the TCSC held grows with the load until its angle meets
    // a limit, where its susceptance is held.
    const NetTcsc& tcsc = *N().tcscs.front();
    EXPECT_EQ(tcsc.controlCode, "X");
    EXPECT_GT(tcsc.p * 100.0, 15.0);
    EXPECT_NEAR(tcsc.bt, tcsc.susceptanceTarget, 1e-4);
}

}  // namespace
