#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "device_case_fixture.h"
#include "ieee_case_text.h"
#include "jacobian_check.h"
#include "number_text.h"
#include "solution_values.h"
#include "solver.h"
#include "solver_handle.h"

// Two-terminal HVDC links from their cards to their solution: the columns
// a link's codes leave, the Jacobian against central differences under
// every control pair, the scheduled link solved and checked by hand, the
// switch at a ratio limit, the case file written back, and the faults.

namespace {

constexpr double kK1 = 3.0 * 1.4142135623730951 / 3.141592654;
constexpr double kK2 = 3.0 / 3.141592654;

// Columns 1-31 of a converter card in the GROUND form at the AC bus B<bus>.
CardLine GroundCard(const char* code, const char* name, int bus) {
    std::string acBus = "B" + std::to_string(bus);
    acBus.resize(12, ' ');
    return CardLine().At(1, code).At(4, name).At(12, "GROUND  ").At(20, acBus);
}

// "BD " in the GROUND form: 1 bridge of 5 ohm at ratio 1 on the AC bus
// B<bus>, tap limits and angle limits as given.
CardLine ConverterCard(const char* name, int bus, const char* minTap, const char* maxTap, const char* minAngle,
                       const char* maxAngle) {
    return GroundCard("BD ", name, bus)
        .At(38, " 1")
        .At(40, "5.000")
        .At(45, "1.000")
        .At(50, "0.000")
        .At(55, minTap)
        .At(60, maxTap)
        .At(65, minAngle)
        .At(69, maxAngle)
        .At(73, " 0.0");
}

// "BZ ": the two codes, their values and the type.
CardLine ControlCard(const char* name, int bus, const char* modes, const char* first, const char* second,
                     const char* type) {
    return GroundCard("BZ ", name, bus)
        .At(33, modes)
        .At(37, first)
        .At(43, second)
        .At(49, type);
}

// "LD " short form: 5 ohm and 50 mH between the two converters.
CardLine LineCard(const char* rectifier, const char* inverter, const char* ohms = "  5.00") {
    return CardLine().At(1, "LD ").At(4, rectifier).At(12, inverter).At(29, ohms).At(35, " 50.00");
}

// The scheduled link: the rectifier at bus 2 holds alpha 15 degrees and
// 300 A, the inverter at bus 4 gamma 18 degrees and 125 kV.
std::vector<std::string> ScheduledLink(const char* rectifierMaxTap = "1.100") {
    return {ConverterCard("REC1    ", 2, "0.900", rectifierMaxTap, " 2.0", "90.0"),
            ControlCard("REC1    ", 2, "ALID", " 15.00", "300.00", "R"),
            ConverterCard("INV1    ", 4, "0.900", "1.100", "15.0", "180."),
            ControlCard("INV1    ", 4, "GAVD", " 18.00", "125.00", "I"), LineCard("REC1    ", "INV1    ")};
}

// Two areas joined by the AC tie 2-3 and by the link from bus 2 (area 1)
// to bus 4 (area 2); loads at 2 and 4.
CaseText TwoAreasWithLink(const std::vector<std::string>& link) {
    CaseText c = TwoAreas();
    c.buses[1] = CardLine(c.buses[1]).At(41, "    20.00").At(51, "    10.00");
    c.buses[3] = CardLine(c.buses[3]).At(41, "    60.00").At(51, "    20.00");
    std::vector<std::string> tail = c.tail;
    c.tail = link;
    c.tail.insert(c.tail.begin(), tail.begin(), tail.end());
    return c;
}

class HvdcTest : public DeviceCaseTest {
protected:
    HvdcTest() : DeviceCaseTest("hvdc") {}

    // Read, set up and numbered, unsolved.
    bool Prepare(const CaseText& c, std::vector<std::string> options = {}) {
        if (!Read(c, std::move(options))) return false;
        S().InitHvdc();
        S().NumberVariables();
        return true;
    }
    // The diagnostics of a run that must fail.
    std::string FailedRun(const CaseText& c) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(Run(c), 0);
        return testing::internal::GetCapturedStderr();
    }
    NetConverter& Rectifier() {
        for (const auto& c : N().converters)
            if (c->code == "R") return *c;
        throw std::runtime_error("no rectifier");
    }
};

TEST_F(HvdcTest, ScheduledConfigurationNumbersElevenColumnsInOrder) {
    ASSERT_TRUE(Prepare(TwoAreasWithLink(ScheduledLink())));
    const NetConverter& r = Rectifier();
    EXPECT_EQ(r.modes[0], "AL");
    EXPECT_EQ(r.modes[1], "ID");
    EXPECT_EQ(r.partner->modes[0], "GA");
    EXPECT_EQ(r.partner->modes[1], "VD");
    const HvdcColumns col = HvdcColumnsOf(r);
    const int b = r.base;
    EXPECT_EQ(b, S().BusVariableCount());
    EXPECT_EQ(col.count, 11);
    // Rectifier Vd, a, cos gamma, S, P, Q; inverter a, cos alpha, S, P, Q.
    const int expected[] = {col.rectifier.vd,     col.rectifier.a,  col.rectifier.cosGamma, col.rectifier.s,
                            col.rectifier.p,      col.rectifier.q,  col.inverter.a,         col.inverter.cosAlpha,
                            col.inverter.s,       col.inverter.p,   col.inverter.q};
    for (int k = 0; k < 11; ++k) EXPECT_EQ(expected[k], b + 1 + k) << k;
    EXPECT_EQ(col.rectifier.cosAlpha, 0);
    EXPECT_EQ(col.inverter.vd, 0);
    EXPECT_EQ(col.inverter.cosGamma, 0);
    EXPECT_EQ(col.id, 0);
    EXPECT_EQ(S().VariableCount(), b + 11);
}

// A random state of the buses and of the link, away from S = |P|.
void Scramble(Network& network, std::mt19937& random) {
    std::uniform_real_distribution<double> around(-1.0, 1.0);
    for (const auto& bus : network.buses) {
        bus->voltage = 1.0 + 0.06 * around(random);
        if (!CodeHas(bus->code, "S")) bus->angle = 0.2 * around(random);
        bus->areaPower = 0.1 * around(random);
    }
    for (const auto& c : network.converters) {
        const bool rectifier = c->code == "R";
        c->vd = 1.25 + 0.05 * around(random);
        c->tap = 1.0 + 0.05 * around(random);
        c->alpha = (rectifier ? 0.3 : 2.6) + 0.1 * around(random);
        c->gamma = (rectifier ? 2.6 : 0.3) + 0.1 * around(random);
        c->p = (rectifier ? -0.4 : 0.4) + 0.05 * around(random);
        c->s = 0.5 + 0.05 * around(random);
        c->q = -0.25 + 0.05 * around(random);
        c->id = 0.3 + 0.05 * around(random);
    }
    for (const auto& c : network.converters) c->id = c->code == "R" ? c->id : c->partner->id;
}

// The plain rows' Jacobian, and the point-of-collapse rows (their
// curvature in block 2, their part of J'w) at random states with a random
// null vector.
TEST_F(HvdcTest, JacobianAndExtendedRowsMatchCentralDifferencesForEveryControlPair) {
    struct Case {
        const char* rectifier;
        const char* inverter;
    };
    // Every pair the control switching reaches, and pairs with P, Q and
    // the ratio held.
    const Case cases[] = {
        {"ALID", "GAVD"}, {"ATID", "GAVD"}, {"ALID", "GAAT"}, {"ALAT", "ATID"}, {"ATPA", "GAVD"},
        {"ALPA", "GAAT"}, {"ALAT", "ATPA"}, {"ALQA", "GAVD"}, {"ATID", "GAQA"},
    };
    std::mt19937 random(20261211);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rectifier) + " " + c.inverter);
        ASSERT_TRUE(Prepare(TwoAreasWithLink(ScheduledLink())));
        NetConverter& r = Rectifier();
        r.modes = {std::string(c.rectifier, 2), std::string(c.rectifier + 2, 2)};
        r.partner->modes = {std::string(c.inverter, 2), std::string(c.inverter + 2, 2)};
        ASSERT_EQ(HvdcColumnsOf(r).count, 11);
        for (int state = 0; state < 3; ++state) {
            SCOPED_TRACE("state " + std::to_string(state));
            Scramble(N(), random);
            const auto differences = CheckJacobian(S(), true);
            EXPECT_TRUE(differences.empty()) << Describe(differences);
        }
        S().SetPointOfCollapse(true);
        S().NumberVariables();
        for (int state = 0; state < 2; ++state) {
            SCOPED_TRACE("extended, state " + std::to_string(state));
            Scramble(N(), random);
            MoveToRandomState(S(), random, 0.0);
            const auto differences = CheckExtendedRows(S());
            EXPECT_TRUE(differences.empty()) << Describe(differences);
        }
    }
}

// Bus 4, fed by the link and the AC tie, takes load in the direction
// (1 p.u., 0.3 p.u. reactive per unit of lambda), the slack taking up the
// rest. On the way the inverter's ratio meets its upper limit and a retry
// holds it there. The direct nose is where the power flow stops having a
// solution: solved 0.1% below it, not 0.1% above.
TEST_F(HvdcTest, PointOfCollapseFindsTheNoseWithALink) {
    std::vector<std::string> link = ScheduledLink();
    link[0] = ConverterCard("REC1    ", 2, "0.500", "1.500", " 2.0", "90.0");
    link[2] = ConverterCard("INV1    ", 4, "0.500", "1.500", "15.0", "180.");
    const CaseText c = TwoAreasWithLink(link);
    WriteFileText(folder_ / "direction.k", "4 B4 0 1 0.3 0\n");
    const std::vector<std::string> options = {"-K" + Path("direction.k"), "-A"};
    std::vector<std::string> direct = options;
    direct.push_back("-C");
    ASSERT_EQ(Run(c, direct), 1);
    const double nose = S().LoadParameter();
    EXPECT_GT(nose, 1.0);
    const NetConverter& inverter = *Rectifier().partner;
    EXPECT_EQ(inverter.modes[1], "AT");
    EXPECT_EQ(inverter.tap, 1.5);

    auto solves = [&](double lambda) {
        std::vector<std::string> plain = options;
        plain.insert(plain.end(), {"-b", FormatInCLocale("-L%.6f", lambda)});
        testing::internal::CaptureStderr();
        const int result = Run(c, plain);
        testing::internal::GetCapturedStderr();
        return result == 1;
    };
    EXPECT_TRUE(solves(0.999 * nose));
    EXPECT_FALSE(solves(1.001 * nose));
}

// The link at the solution, computed from the held quantities and the
// solved AC voltages alone (kV, kA, MW, ohms; 100 kV buses, 100 MVA).
struct HandLink {
    double vdr, vdi, pr, pi, ar, ai, sr, si, qr, qi, cosGammaR, cosAlphaI;
};
HandLink ComputeLink(double id, double vdi, double alphaR, double gammaI, double vr, double vi) {
    HandLink h{};
    const double xc = 5.0, r = 5.0, kv = 100.0;
    h.vdi = vdi;
    h.vdr = vdi + r * id;
    h.pr = h.vdr * id;
    h.pi = h.vdi * id;
    h.ar = (h.vdr + kK2 * xc * id) / (kK1 * vr * kv * std::cos(alphaR));
    h.ai = (h.vdi + kK2 * xc * id) / (kK1 * vi * kv * std::cos(gammaI));
    h.sr = kK1 * h.ar * vr * kv * id;
    h.si = kK1 * h.ai * vi * kv * id;
    h.qr = std::sqrt(h.sr * h.sr - h.pr * h.pr);
    h.qi = std::sqrt(h.si * h.si - h.pi * h.pi);
    h.cosGammaR = std::sqrt(2.0) * xc * id / (h.ar * vr * kv) - std::cos(alphaR);
    h.cosAlphaI = std::sqrt(2.0) * xc * id / (h.ai * vi * kv) - std::cos(gammaI);
    return h;
}

void ExpectLinkAgrees(const NetConverter& r, const HandLink& h, double alphaR) {
    const NetConverter& i = *r.partner;
    EXPECT_NEAR(r.vd * 100.0, h.vdr, 1e-6);
    EXPECT_NEAR(i.vd * 100.0, h.vdi, 1e-6);
    EXPECT_NEAR(-r.p * 100.0, h.pr, 1e-6);
    EXPECT_NEAR(i.p * 100.0, h.pi, 1e-6);
    EXPECT_NEAR(r.s * 100.0, h.sr, 1e-6);
    EXPECT_NEAR(i.s * 100.0, h.si, 1e-6);
    EXPECT_NEAR(-r.q * 100.0, h.qr, 1e-6);
    EXPECT_NEAR(-i.q * 100.0, h.qi, 1e-6);
    EXPECT_NEAR(r.tap, h.ar, 1e-6);
    EXPECT_NEAR(i.tap, h.ai, 1e-6);
    EXPECT_NEAR(r.alpha, alphaR, 1e-9);
    EXPECT_NEAR(std::cos(r.gamma), h.cosGammaR, 1e-6);
    EXPECT_NEAR(std::cos(i.alpha), h.cosAlphaI, 1e-6);
}

TEST_F(HvdcTest, ScheduledLinkSolvesAndAgreesWithAHandComputation) {
    ASSERT_EQ(Run(TwoAreasWithLink(ScheduledLink()), {"-T1e-10"}), 1);
    const NetConverter& r = Rectifier();
    const NetConverter& i = *r.partner;
    EXPECT_EQ(r.modes[0], "AL");
    EXPECT_EQ(i.modes[1], "VD");
    EXPECT_NEAR(r.id, 0.3, 1e-12);
    const double alpha = 15.0 * 3.141592654 / 180.0;
    const double gamma = 18.0 * 3.141592654 / 180.0;
    EXPECT_NEAR(i.gamma, gamma, 1e-12);
    ExpectLinkAgrees(r, ComputeLink(0.3, 125.0, alpha, gamma, Bus(2).voltage, Bus(4).voltage), alpha);
    // The scheduled DC power, Vd Id at the rectifier: 126.5 kV x 0.3 kA.
    EXPECT_NEAR(-r.p * 100.0, 37.95, 1e-4);
    // Area 1 exports its 12.5 MW through the AC tie and the link together,
    // the link metered at its controlling end: the second converter of
    // the line card, the inverter, which delivers 37.5 MW.
    const NetBranch* tie = nullptr;
    for (const auto& branch : N().branches)
        if (branch->meteredBus) tie = branch.get();
    ASSERT_NE(tie, nullptr);
    const double tieMw = BranchFlows(*tie).fromP * 100.0;  // 2 -> 3, out of area 1
    EXPECT_EQ(r.controlling, &i);
    EXPECT_NEAR(tieMw + 37.5, 12.5, 1e-4);
}

TEST_F(HvdcTest, RectifierAtItsTapLimitHoldsTheRatioAndFreesAlpha) {
    // The scheduled link needs a rectifier ratio of about 0.98.
    ASSERT_EQ(Run(TwoAreasWithLink(ScheduledLink("0.950")), {"-T1e-10"}), 1);
    const NetConverter& r = Rectifier();
    const NetConverter& i = *r.partner;
    EXPECT_EQ(r.modes[0], "AT");
    EXPECT_EQ(r.modes[1], "ID");
    EXPECT_DOUBLE_EQ(r.tap, 0.95);
    EXPECT_LT(r.alpha, 15.0 * 3.141592654 / 180.0);
    EXPECT_GT(r.alpha, r.minAlpha);
    // By hand: Vd_r = 126.5 kV, so cos alpha = (Vd_r + k2 Xc Id) / (k1 a V kV).
    const double vr = Bus(2).voltage;
    const double alpha = std::acos((126.5 + kK2 * 5.0 * 0.3) / (kK1 * 0.95 * vr * 100.0));
    ExpectLinkAgrees(r, ComputeLink(0.3, 125.0, alpha, i.gamma, vr, Bus(4).voltage), alpha);
}

TEST_F(HvdcTest, ConvertersNamedByTheirDcBusesTakeOverTheirTransformers) {
    // Buses named with their kV in the last four columns, as these cards
    // read them; DC buses 5 and 6 behind transformers of X 0.05 p.u., that
    // is 5 ohm at 100 kV.
    CaseText c;
    c.buses = {BusCard(1, 3).At(85, "1.0500"),
               BusCard(2, 0).At(6, "NORTH    100").At(41, "    20.00").At(51, "    10.00"),
               BusCard(3, 2).At(85, "1.0200"),
               BusCard(4, 0).At(6, "SOUTH    100").At(41, "    60.00").At(51, "    20.00"),
               BusCard(5, 0).At(6, "RECT     100"), BusCard(6, 0).At(6, "INVT     100")};
    c.branches = {BranchCard(1, 2, 0), BranchCard(2, 3, 0), BranchCard(3, 4, 0),
                  BranchCard(2, 5, 1).At(30, "  0.050000").At(77, "1.0000"),
                  BranchCard(4, 6, 1).At(30, "  0.050000").At(77, "1.0000")};
    // 37.5 MW from the rectifier at 125 kV, alpha 15 and gamma 18 degrees.
    auto converter = [](const char* dcBus, const char* acBus, const char* minAngle) {
        return CardLine().At(1, "BD ").At(7, dcBus).At(24, " 1").At(31, minAngle).At(51, acBus);
    };
    c.tail = {converter("RECT     100", "NORTH    100", "  2.0"), converter("INVT     100", "SOUTH    100", " 15.0"),
              CardLine()
                  .At(1, "LD ")
                  .At(7, "RECT     100")
                  .At(20, "INVT     100")
                  .At(38, "  5.00")
                  .At(44, " 50.00")
                  .At(56, "R")
                  .At(57, " 37.5")
                  .At(62, "125.0")
                  .At(67, "15.0")
                  .At(71, "18.0")};
    ASSERT_EQ(Run(c, {"-T1e-10"}), 1);
    EXPECT_EQ(N().buses.size(), 4u);
    EXPECT_EQ(N().busCount, 4);
    EXPECT_EQ(N().branches.size(), 3u);
    const NetConverter& r = Rectifier();
    const NetConverter& i = *r.partner;
    EXPECT_EQ(r.name, "RECT     100");
    EXPECT_EQ(r.acBus->name, "NORTH    100");
    EXPECT_EQ(r.converterBus, nullptr);
    EXPECT_NEAR(r.commutatingOhms, 5.0, 1e-9);
    EXPECT_NEAR(i.commutatingOhms, 5.0, 1e-9);
    EXPECT_EQ(r.minTap, 0.9);
    EXPECT_EQ(r.maxTap, 1.1);
    // The angle first, then the quantity each end regulates.
    EXPECT_EQ(r.modes[0], "AL");
    EXPECT_EQ(r.modes[1], "PA");
    EXPECT_EQ(i.modes[0], "GA");
    EXPECT_EQ(i.modes[1], "VD");
    EXPECT_NEAR(-r.p * 100.0, 37.5, 1e-9);
    // The inverter holds 125 kV less the line's drop at 37.5 MW / 125 kV.
    EXPECT_NEAR(i.vd * 100.0, 125.0 - 37.5 / 125.0 * 5.0, 1e-9);
    EXPECT_NEAR(r.vd * r.id * 1e4, 37.5 * 100.0, 1e-6);
}

TEST_F(HvdcTest, WrittenCaseReadsBackToTheSameLinks) {
    const std::string written = Path("written.cdf");
    ASSERT_EQ(Run(TwoAreasWithLink(ScheduledLink()), {"-W" + written}), 1);
    const NetConverter r = Rectifier();
    const NetConverter i = *r.partner;
    // The copies' buses go with the first run's network.
    const std::string rectifierBus = r.acBus->name, inverterBus = i.acBus->name;
    std::vector<double> voltages;
    for (int number = 1; number <= 4; ++number) voltages.push_back(Bus(number).voltage);

    ASSERT_EQ(RunFile(written, {}), 1);
    const NetConverter& r2 = Rectifier();
    const NetConverter& i2 = *r2.partner;
    for (const auto& [a, b] : {std::pair{&r, &r2}, std::pair{&i, &i2}}) {
        EXPECT_EQ(b->name, a->name);
        EXPECT_EQ(b->code, a->code);
        EXPECT_EQ(b->modes, a->modes);
        EXPECT_EQ(b->acBus->name, a == &r ? rectifierBus : inverterBus);
        EXPECT_EQ(b->bridges, a->bridges);
        EXPECT_EQ(b->commutatingOhms, a->commutatingOhms);
        EXPECT_EQ(b->ratio, a->ratio);
        EXPECT_EQ(b->minTap, a->minTap);
        EXPECT_EQ(b->maxTap, a->maxTap);
        EXPECT_EQ(b->minAngle, a->minAngle);
        EXPECT_EQ(b->maxAngle, a->maxAngle);
        EXPECT_EQ(b->resistanceOhms, a->resistanceOhms);
        EXPECT_NEAR(b->vd, a->vd, 1e-6);
        EXPECT_NEAR(b->p, a->p, 1e-6);
        EXPECT_NEAR(b->q, a->q, 1e-6);
        EXPECT_NEAR(b->tap, a->tap, 1e-6);
    }
    for (int number = 1; number <= 4; ++number) EXPECT_NEAR(Bus(number).voltage, voltages[number - 1], 1e-6);
}

TEST_F(HvdcTest, FaultyCardsFailTheRunWithTheirLine) {
    struct Case {
        const char* name;
        std::vector<std::string> link;
        const char* message;
    };
    std::vector<std::string> forbidden = ScheduledLink();
    forbidden[1] = ControlCard("REC1    ", 2, "IDPA", "300.00", " 40.00", "R");
    std::vector<std::string> missing = ScheduledLink();
    missing[4] = LineCard("REC1    ", "INV9    ");
    std::vector<std::string> zero = ScheduledLink();
    zero[3] = ControlCard("INV1    ", 4, "GAVD", " 18.00", "  0.00", "I");
    const Case cases[] = {
        {"forbidden pair", forbidden, "line 21: the control codes ID and PA cannot go together"},
        {"line to no converter", missing, "line 24: no converter card names the converter INV9     of the DC line"},
        {"zero value", zero, "line 23: a scheduled value of the converter INV1     is 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string diagnostics = FailedRun(TwoAreasWithLink(c.link));
        EXPECT_NE(diagnostics.find(c.message), std::string::npos) << diagnostics;
    }
}

TEST_F(HvdcTest, LinksThatCannotBeSolvedFailWithAMessage) {
    // Id held at both ends: twelve unknowns for eleven equations.
    std::vector<std::string> twice = ScheduledLink();
    twice[3] = ControlCard("INV1    ", 4, "GAID", " 18.00", "300.00", "I");
    std::string diagnostics = FailedRun(TwoAreasWithLink(twice));
    EXPECT_NE(diagnostics.find("Converter REC1    : its link must hold four different quantities"), std::string::npos)
        << diagnostics;

    // No current, no resistance: the start of the current has no value.
    ASSERT_TRUE(Prepare(TwoAreasWithLink(ScheduledLink())));
    NetConverter& r = Rectifier();
    r.scheduledCurrent = 0.0;
    r.resistanceOhms = 0.0;
    testing::internal::CaptureStderr();
    EXPECT_THROW(S().InitHvdc(), SolverAbort);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "HVDC link REC1    -INV1    : no current is given and the line has no resistance"),
              std::string::npos);
}

TEST_F(HvdcTest, ContinuationOfANetworkWithLinksIsRefused) {
    WriteFileText(folder_ / "direction.k", "2 0 0 0.2 0.1 0 0\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Run(TwoAreasWithLink(ScheduledLink()), {"-H" + Path("table.txt"), "-K" + Path("direction.k")}), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "This build cannot solve a continuation of a network with HVDC links"),
              std::string::npos);
}

TEST_F(HvdcTest, ApparentPowerBelowActivePowerFailsTheSolveNamingTheLink) {
    ASSERT_TRUE(Prepare(TwoAreasWithLink(ScheduledLink())));
    NetConverter& r = Rectifier();
    r.s = 0.5 * std::fabs(r.p);
    testing::internal::CaptureStderr();
    EXPECT_THROW(S().SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial), SolverAbort);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "HVDC link REC1    -INV1    : the apparent power of a converter is not above its active power"),
              std::string::npos);
    S().SetQuietRun(Quiet::Yes, LimitChecks::Due);
    EXPECT_EQ(S().SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial), -1);
    // The point-of-collapse rows refuse the link at that state too.
    S().SetPointOfCollapse(true);
    S().NumberVariables();
    S().NullVector().assign(static_cast<std::size_t>(S().VariableCount()) + 1, 1.0);
    EXPECT_FALSE(S().PocRows(Evaluate::MismatchAndJacobian, Loads::Models));
}

// A flat AC state and round values of the scheduled link, as a listing or
// a table shows them: 126.5 kV and 125 kV, 300 A, 37.95 MW drawn and
// 37.5 MW delivered, the inverter at its upper ratio limit.
void SetRoundState(Network& network) {
    for (const auto& bus : network.buses) {
        bus->voltage = 1.0;
        bus->angle = 0.0;
        bus->generationP = 0.0;
        bus->generationQ = 0.0;
    }
    const double degree = 3.141592654 / 180.0;
    for (const auto& c : network.converters) {
        const bool rectifier = c->code == "R";
        c->vd = rectifier ? 1.265 : 1.25;
        c->id = 0.3;
        c->p = rectifier ? -0.3795 : 0.375;
        c->q = rectifier ? -0.2 : -0.18;
        c->alpha = (rectifier ? 15.0 : 150.0) * degree;
        c->gamma = (rectifier ? 150.0 : 18.0) * degree;
        c->tap = rectifier ? 0.98 : 1.1;
    }
}

TEST_F(HvdcTest, ListingShowsConvertersAreaTiesAndLinksAsTheGoldenFile) {
    ASSERT_TRUE(Prepare(TwoAreasWithLink(ScheduledLink())));
    SetRoundState(N());
    S().WriteSolution(Path("listing.txt").c_str());
    EXPECT_EQ(FileText(Path("listing.txt")), FileText(TestDataPath("hvdc_listing.txt")));
}

TEST_F(HvdcTest, TableShowsTheConverterColumns) {
    struct Case {
        const char* option;
        const char* header;
        const char* row;
    };
    // Option O: -(Id Xc)^2, 2 sqrt2 Id Xc a cos(angle), 8 (Id a Xc)^2 at
    // each end, Id 0.3 and Xc 0.05 p.u.; at the rectifier a 0.98 and alpha
    // 15 degrees, at the inverter a 1.1 and gamma 18 degrees. Option e:
    // alpha, gamma and the current in A.
    const Case cases[] = {
        {"-O", "Vac\ta1\tb1\td1\ta2\tb2\td2\t\n",
         "1.0000\t1.0000\t1.0000\t1.0000\t0.0000\t-.0002\t.04016\t.00173\t-.0002\t.04438\t.00218\t"},
        {"-e", "alR_2\tgaI_2\tId_2\t\n",
         "1.0000\t1.0000\t1.0000\t1.0000\t15.000\t18.000\t300.00\t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        ASSERT_TRUE(Prepare(TwoAreasWithLink(ScheduledLink()), {c.option}));
        SetRoundState(N());
        FILE* file = std::fopen(Path("table.txt").c_str(), "wb");
        ASSERT_NE(file, nullptr);
        S().WriteTableHeader(file);
        S().WriteTableRow(file);
        std::fclose(file);
        // Bus names of 12 characters: blanks become underscores, cut to 11.
        const std::string buses = "V_B4_________\tV_B3_________\tV_B2_________\tV_B1_________\t";
        EXPECT_EQ(FileText(Path("table.txt")), buses + c.header + c.row);
    }
}

TEST_F(HvdcTest, ResetPutsBackTheScheduledControlAndRemembersReferences) {
    ASSERT_TRUE(Prepare(TwoAreasWithLink(ScheduledLink())));
    NetConverter& r = Rectifier();
    NetConverter& i = *r.partner;
    r.modes = {"AL", "AT"};
    i.modes = {"AT", "PA"};
    i.tap = 1.2;
    EXPECT_EQ(S().ResetHvdcControl(), 1);
    EXPECT_EQ(r.modes[0], "AT");
    EXPECT_EQ(r.modes[1], "PA");
    EXPECT_EQ(i.modes[0], "GA");
    EXPECT_EQ(i.modes[1], "AT");
    EXPECT_EQ(i.maxTap, 1.2);
    EXPECT_EQ(i.vdReference, i.vd);
    EXPECT_EQ(r.alphaReference, r.alpha);
    EXPECT_EQ(i.gammaReference, i.gamma);
}

}  // namespace
