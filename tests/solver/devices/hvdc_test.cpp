#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "device_case_fixture.h"
#include "device_rows_check.h"
#include "hvdc_case.h"
#include "ieee_case_text.h"
#include "number_text.h"
#include "solution_values.h"
#include "solver.h"
#include "solver_handle.h"

// Two-terminal HVDC links from their cards to their solution: the columns
// a link's codes leave, the Jacobian against central differences under
// every control pair, the scheduled link solved and checked by hand, the
// switch at a ratio limit, the case file written back, and the faults.

namespace {

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
        ExpectRowsMatchCentralDifferences(S(), random, [&] { Scramble(N(), random); });
    }
}

// Bus 4, fed by the link and the AC tie, takes load in the direction
// (1 p.u., 0.3 p.u. reactive per unit of lambda), the slack taking up the
// rest, with and without area interchange control. On the way the
// inverter's ratio meets its upper limit and a retry holds it there. The
// direct nose is where the power flow stops having a solution: solved 0.1%
// below it, not 0.1% above.
TEST_F(HvdcTest, PointOfCollapseFindsTheNoseWithALink) {
    std::vector<std::string> link = ScheduledLink();
    link[0] = ConverterCard("REC1    ", 2, "0.500", "1.500", " 2.0", "90.0");
    link[2] = ConverterCard("INV1    ", 4, "0.500", "1.500", "15.0", "180.");
    const CaseText c = TwoAreasWithLink(link);
    WriteFileText(folder_ / "direction.k", "4 B4 0 1 0.3 0\n");
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"-K" + Path("direction.k"), "-A"}, std::vector<std::string>{"-K" + Path("direction.k")}}) {
        SCOPED_TRACE(options.back());
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
        std::vector<std::string> options;
        const char* angles;  // the matrix form's columns before the voltages
        const char* header;
        const char* row;
    };
    // Option O: -(Id Xc)^2, 2 sqrt2 Id Xc a cos(angle), 8 (Id a Xc)^2 at
    // each end, Id 0.3 and Xc 0.05 p.u.; at the rectifier a 0.98 and alpha
    // 15 degrees, at the inverter a 1.1 and gamma 18 degrees. Option e:
    // alpha, gamma and the current in A. The matrix form of option O adds
    // the angles of the converters' buses (degrees), the inverter's bus 4
    // first.
    const char* coefficients = "-.0002\t.04016\t.00173\t-.0002\t.04438\t.00218\t";
    const Case cases[] = {
        {{"-O"}, "", "Vac\ta1\tb1\td1\ta2\tb2\td2\t\n", "1.0000\t1.0000\t1.0000\t1.0000\t0.0000\t"},
        {{"-e"}, "", "alR_2\tgaI_2\tId_2\t\n", "1.0000\t1.0000\t1.0000\t1.0000\t15.000\t18.000\t300.00\t"},
        {{"-m", "-O"}, "D_B4_________\tD_B2_________\t", "Vac\ta1\tb1\td1\ta2\tb2\td2\t\nx=[\n",
         "-12.50\t-5.000\t1.0000\t1.0000\t1.0000\t1.0000\t0.0000\t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.back());
        ASSERT_TRUE(Prepare(TwoAreasWithLink(ScheduledLink()), c.options));
        SetRoundState(N());
        Bus(2).angle = -5.0 / 57.29577950560105;
        Bus(4).angle = -12.5 / 57.29577950560105;
        FILE* file = std::fopen(Path("table.txt").c_str(), "wb");
        ASSERT_NE(file, nullptr);
        S().WriteTableHeader(file);
        S().WriteTableRow(file);
        std::fclose(file);
        // Bus names of 12 characters: blanks become underscores, cut to 11.
        const std::string buses = "V_B4_________\tV_B3_________\tV_B2_________\tV_B1_________\t";
        const std::string matrix = c.options.front() == "-m" ? "% " : "";
        const std::string row = c.options.back() == "-O" ? std::string(c.row) + coefficients : c.row;
        EXPECT_EQ(FileText(Path("table.txt")), matrix + c.angles + buses + c.header + row);
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
