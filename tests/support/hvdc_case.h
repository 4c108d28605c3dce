#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "card_line.h"
#include "device_case_fixture.h"
#include "ieee_case_text.h"
#include "solver.h"

// The two-area AC/DC case of the HVDC tests: its cards, the fixture that
// reads or runs it, a random state of the link, and the link at its
// solution computed by hand.

inline constexpr double kK1 = 3.0 * 1.4142135623730951 / 3.141592654;
inline constexpr double kK2 = 3.0 / 3.141592654;

// Columns 1-31 of a converter card in the GROUND form at the AC bus B<bus>.
inline CardLine GroundCard(const char* code, const char* name, int bus) {
    std::string acBus = "B" + std::to_string(bus);
    acBus.resize(12, ' ');
    return CardLine().At(1, code).At(4, name).At(12, "GROUND  ").At(20, acBus);
}

// "BD " in the GROUND form: 1 bridge of 5 ohm at ratio 1 on the AC bus
// B<bus>, tap limits and angle limits as given.
inline CardLine ConverterCard(const char* name, int bus, const char* minTap, const char* maxTap, const char* minAngle,
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
inline CardLine ControlCard(const char* name, int bus, const char* modes, const char* first, const char* second,
                     const char* type) {
    return GroundCard("BZ ", name, bus)
        .At(33, modes)
        .At(37, first)
        .At(43, second)
        .At(49, type);
}

// "LD " short form: 5 ohm and 50 mH between the two converters.
inline CardLine LineCard(const char* rectifier, const char* inverter, const char* ohms = "  5.00") {
    return CardLine().At(1, "LD ").At(4, rectifier).At(12, inverter).At(29, ohms).At(35, " 50.00");
}

// The scheduled link: the rectifier at bus 2 holds alpha 15 degrees and
// 300 A, the inverter at bus 4 gamma 18 degrees and 125 kV.
inline std::vector<std::string> ScheduledLink(const char* rectifierMaxTap = "1.100") {
    return {ConverterCard("REC1    ", 2, "0.900", rectifierMaxTap, " 2.0", "90.0"),
            ControlCard("REC1    ", 2, "ALID", " 15.00", "300.00", "R"),
            ConverterCard("INV1    ", 4, "0.900", "1.100", "15.0", "180."),
            ControlCard("INV1    ", 4, "GAVD", " 18.00", "125.00", "I"), LineCard("REC1    ", "INV1    ")};
}

// Two areas joined by the AC tie 2-3 and by the link from bus 2 (area 1)
// to bus 4 (area 2); loads at 2 and 4.
inline CaseText TwoAreasWithLink(const std::vector<std::string>& link) {
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
    explicit HvdcTest(const char* folder = "hvdc") : DeviceCaseTest(folder) {}

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

// A random state of the buses and of the link, away from S = |P|.
inline void Scramble(Network& network, std::mt19937& random) {
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

// The link at the solution, computed from the held quantities and the
// solved AC voltages alone (kV, kA, MW, ohms; 100 kV buses, 100 MVA).
struct HandLink {
    double vdr, vdi, pr, pi, ar, ai, sr, si, qr, qi, cosGammaR, cosAlphaI;
};
inline HandLink ComputeLink(double id, double vdi, double alphaR, double gammaI, double vr, double vi) {
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

inline void ExpectLinkAgrees(const NetConverter& r, const HandLink& h, double alphaR) {
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
