#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "hvdc_case.h"
#include "jacobian_check.h"
#include "network_snapshot.h"
#include "solver.h"
#include "table_load.h"

// Two-terminal HVDC links in a continuation and in the held-voltage run:
// the base point kept and given back, the link's unknowns read in the units
// of their columns, a switched link's unknowns in the base point, a tangent
// where the link has no value, its rows at the continuation's parameter
// bus, a curve along which the link passes its control between ratios and
// angle at their limits, and a converter's bus held at its voltage.

namespace {

class HvdcContinuationTest : public HvdcTest {
protected:
    HvdcContinuationTest() : HvdcTest("hvdc_continuation") {}

    // Loads growing at buses 2 and 4 (p.u. per unit of lambda).
    void WriteDirection() {
        WriteFileText(folder_ / "dir.k", "C bus, name, dispatch, dP, dQ, Pmax\n"
                                         "2 B2 0 0.2 0.1 0\n"
                                         "4 B4 0 0.4 0.2 0\n");
    }
    // Read and numbered for a continuation (or, with a bus held at its
    // voltage, for the held-voltage run), load directions everywhere,
    // lambda 0.3.
    bool PrepareTracing(const CaseText& c, int heldBus, Continuation continuation) {
        if (!Read(c)) return false;
        S().InitHvdc();
        for (const auto& bus : N().buses) {
            bus->loadModelP.baseDirection = 0.2;
            bus->loadModelQ.baseDirection = 0.1;
        }
        NetBus* held = heldBus ? &Bus(heldBus) : nullptr;
        if (held) {
            held->code = "BL";
            held->voltageFree = false;
        }
        S().SetContinuation(continuation, held);
        S().ClassifyBuses();
        S().SetLoadParameter(0.3);
        S().NumberVariables();
        return true;
    }
};

// Every value of the link that a step moves comes back as saved, bit for
// bit, from a state scrambled after the save.
TEST_F(HvdcContinuationTest, BasePointGivesTheLinkBackAsSaved) {
    ASSERT_TRUE(Prepare(TwoAreasWithLink(ScheduledLink())));
    std::mt19937 random(20261211);
    Scramble(N(), random);
    std::vector<NetConverter> saved;
    for (const auto& c : N().converters) saved.push_back(*c);
    std::vector<double*> values;
    S().DeviceValues(values);
    NetworkSnapshot snapshot;
    snapshot.Save(N(), 0.25, values);

    Scramble(N(), random);
    for (const auto& c : N().converters) {
        c->tap += 0.01;
        c->alpha += 0.01;
        c->gamma += 0.01;
    }
    double lambda = 0.0;
    snapshot.Restore(N(), lambda);
    EXPECT_EQ(lambda, 0.25);
    for (std::size_t k = 0; k < saved.size(); ++k) {
        const NetConverter& before = saved[k];
        const NetConverter& after = *N().converters[k];
        SCOPED_TRACE(after.name);
        for (const auto& [a, b] : {std::pair{before.vd, after.vd}, std::pair{before.tap, after.tap},
                                  std::pair{before.alpha, after.alpha}, std::pair{before.gamma, after.gamma},
                                  std::pair{before.s, after.s}, std::pair{before.p, after.p},
                                  std::pair{before.q, after.q}, std::pair{before.id, after.id}})
            EXPECT_EQ(a, b);
    }
}

// The arc-length row sum t(i) (x(i) - x0(i) - t(i)) has t(i) as its
// derivative only when the state reads each unknown as its column holds
// it: the ratio as tap nr, the angles as cosines. Checked for every
// column, with a nominal ratio away from 1, under the scheduled control
// and with the rectifier holding its ratio.
TEST_F(HvdcContinuationTest, ArcLengthRowReadsTheLinkInTheUnitsOfItsColumns) {
    std::mt19937 random(20261212);
    std::uniform_real_distribution<double> entry(-0.5, 0.5);
    for (const char* rectifierModes : {"ALID", "ATID"}) {
        SCOPED_TRACE(rectifierModes);
        ASSERT_TRUE(PrepareTracing(TwoAreasWithLink(ScheduledLink()), 0, Continuation::On));
        NetConverter& r = Rectifier();
        r.modes = {std::string(rectifierModes, 2), std::string(rectifierModes + 2, 2)};
        r.nominalRatio = r.partner->nominalRatio = 1.3;
        const int n = S().VariableCount();
        S().Tangent().assign(n + 2, 0.0);
        S().SaveStepBase();
        std::vector<double>& t = S().Tangent();
        for (int i = 1; i <= n; ++i) t[i] = entry(random);
        S().SetParameterStep(entry(random));
        std::vector<double>& correction = S().Correction();
        for (int i = 1; i <= n + 1; ++i) correction[i] = 0.02 * entry(random);
        S().UpdateBuses(1.0, Trial::First, Clamping::Off, RecoveryHold::Off);
        S().UpdateDevices(1.0, Trial::First, Clamping::Off);

        auto residual = [&] {
            S().ParameterEquation(Evaluate::Mismatch, nullptr, t);
            return S().Mismatch()[n + 1];
        };
        auto move = [&](int column, double delta) {
            std::fill(correction.begin(), correction.end(), 0.0);
            correction[column] = 1.0;
            S().UpdateBuses(delta, Trial::First, Clamping::Off, RecoveryHold::Off);
            S().UpdateDevices(delta, Trial::First, Clamping::Off);
        };
        const double step = 1e-6;
        for (int column = 1; column <= n; ++column) {
            SCOPED_TRACE(column);
            move(column, step);
            const double up = residual();
            move(column, -2.0 * step);
            const double down = residual();
            move(column, step);
            EXPECT_NEAR((up - down) / (2.0 * step), t[column], 1e-6);
        }
    }
}

// A link that switches its control at a point of the curve writes its
// unknowns under the new codes into the step's base point: with the
// tangent 1 at the rectifier's second column, the ratio that becomes cos
// alpha there, the arc-length residual x - x0 - 1 is -1 at once.
TEST_F(HvdcContinuationTest, SwitchedLinkWritesItsNewUnknownsIntoTheBasePoint) {
    ASSERT_TRUE(PrepareTracing(TwoAreasWithLink(ScheduledLink()), 0, Continuation::On));
    NetConverter& r = Rectifier();
    const int n = S().VariableCount();
    S().Tangent().assign(n + 2, 0.0);
    S().SaveStepBase();
    const int column = HvdcColumnsOf(r).rectifier.a;
    r.tap = r.maxTap;
    ASSERT_EQ(S().SwitchHvdcControl(), 1);
    ASSERT_EQ(r.modes[0], "AT");
    ASSERT_EQ(HvdcColumnsOf(r).rectifier.cosAlpha, column);
    std::vector<double>& t = S().Tangent();
    t[column] = 1.0;
    S().ParameterEquation(Evaluate::Mismatch, nullptr, t);
    EXPECT_NEAR(S().Mismatch()[n + 1], -1.0, 1e-15);
}

// A tangent taken where a converter's apparent power is not above its
// active power has no value: it fails, naming the link, instead of
// factorising a Jacobian without the link's rows.
TEST_F(HvdcContinuationTest, TangentAtALinkWithoutAValueFails) {
    ASSERT_TRUE(PrepareTracing(TwoAreasWithLink(ScheduledLink()), 0, Continuation::On));
    NetConverter& r = Rectifier();
    r.s = 0.5 * std::fabs(r.p);
    testing::internal::CaptureStderr();
    EXPECT_EQ(S().TangentVector(S().Tangent(), Reorder::Yes), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "HVDC link REC1    -INV1    : the apparent power of a converter is not above its active power"),
              std::string::npos);
}

// The link's rows against central differences in a continuation: with
// lambda the parameter, with the rectifier's bus voltage the parameter
// (its derivatives go to lambda's column n + 1), and in the held-voltage
// run, where lambda holds that bus's voltage column and the link has no
// entry there.
TEST_F(HvdcContinuationTest, JacobianOfTheLinkAtTheContinuationsParameterBus) {
    struct Case {
        const char* name;
        int heldBus;
        Continuation continuation;
    };
    const Case cases[] = {
        {"lambda", 0, Continuation::On},
        {"voltage of bus 2", 2, Continuation::On},
        {"held voltage of bus 2", 2, Continuation::Off},
    };
    std::mt19937 random(20261213);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(PrepareTracing(TwoAreasWithLink(ScheduledLink()), c.heldBus, c.continuation));
        Scramble(N(), random);
        const auto differences = CheckJacobian(S(), false);
        EXPECT_TRUE(differences.empty()) << Describe(differences);
    }
}

// As the load grows the inverter's bus voltage falls faster than the
// rectifier's. The rectifier's ratio rises to its limit of 1.0, where it
// holds the ratio and alpha falls below its 15 degrees ("AL" becomes "AT");
// then the inverter's ratio meets its limit of 1.1 and it holds the ratio,
// letting its DC voltage fall ("VD" becomes "AT"), so that alpha climbs
// back to its reference and takes the control again ("AL"); further on the
// rectifier's ratio falls to its limit of 0.9 and alpha rises above 15
// degrees. Each switch happens where the curve meets the limit; the DC
// current stays held throughout, and the last point, past the nose,
// agrees with the hand computation of the link at both ratio limits.
TEST_F(HvdcContinuationTest, LinkSwitchesItsControlAtRatioLimitsAlongTheCurve) {
    WriteDirection();
    ASSERT_EQ(Run(TwoAreasWithLink(ScheduledLink("1.000")),
                  {"-c" + Path("pv.txt"), "-K" + Path("dir.k"), "-e", "-T1e-10", "-k0.05", "-S0.9"}),
              1);
    const ContinuationTable table = ReadTable(FileText(Path("pv.txt")));
    std::vector<int> sides;  // alpha below (-1), at (0) or above (1) 15 degrees, as it changes
    for (double alpha : table.Column("alR_2")) {
        const int side = alpha < 15.0 ? -1 : alpha > 15.0 ? 1 : 0;
        if (sides.empty() || sides.back() != side) sides.push_back(side);
    }
    EXPECT_EQ(sides, (std::vector<int>{0, -1, 0, 1}));
    for (double amperes : table.Column("Id_2")) EXPECT_EQ(amperes, 300.0);

    const NetConverter& r = Rectifier();
    const NetConverter& i = *r.partner;
    EXPECT_EQ(r.modes, (std::array<std::string, 2>{"AT", "ID"}));
    EXPECT_EQ(i.modes, (std::array<std::string, 2>{"GA", "AT"}));
    EXPECT_EQ(r.tap, 0.9);
    EXPECT_EQ(i.tap, 1.1);
    // By hand (kV, kA, ohm): the inverter's DC voltage from its ratio and
    // gamma, the line's drop, then alpha from the rectifier's ratio.
    const double vr = Bus(2).voltage, vi = Bus(4).voltage;
    const double vdi = kK1 * 1.1 * vi * 100.0 * std::cos(i.gamma) - kK2 * 5.0 * 0.3;
    const double alpha = std::acos((vdi + 5.0 * 0.3 + kK2 * 5.0 * 0.3) / (kK1 * 0.9 * vr * 100.0));
    EXPECT_NEAR(i.gamma, 18.0 * 3.141592654 / 180.0, 1e-12);
    ExpectLinkAgrees(r, ComputeLink(0.3, vdi, alpha, i.gamma, vr, vi), alpha);
}

// Option v holds the inverter's bus at 0.95 p.u.: lambda takes its voltage
// column, and the link solves at that voltage as computed by hand, its
// ratios inside their limits.
TEST_F(HvdcContinuationTest, HeldVoltageAtTheInvertersBus) {
    WriteDirection();
    ASSERT_EQ(Run(TwoAreasWithLink(ScheduledLink()), {"-K" + Path("dir.k"), "-v0.95", "-B4", "-T1e-10"}), 1);
    EXPECT_EQ(Bus(4).voltage, 0.95);
    EXPECT_GT(S().LoadParameter(), 0.5);
    const NetConverter& r = Rectifier();
    EXPECT_EQ(r.modes[0], "AL");
    EXPECT_EQ(r.partner->modes[1], "VD");
    const double alpha = 15.0 * 3.141592654 / 180.0;
    ExpectLinkAgrees(r, ComputeLink(0.3, 125.0, alpha, r.partner->gamma, Bus(2).voltage, 0.95), alpha);
}

}  // namespace
