#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "casefiles/facts_listing.h"
#include "network.h"

// The listing's FACTS rows, column by column, for devices in a known state.

namespace {

constexpr double kRadiansPerDegree = kPi / 180.0;

class FactsListingTest : public ::testing::Test {
protected:
    NetBus* AddBus(int number, const char* name, double voltage, double degrees, double kv) {
        auto bus = std::make_unique<NetBus>();
        bus->externalNumber = number;
        bus->name = name;
        bus->voltage = voltage;
        bus->angle = degrees * kRadiansPerDegree;
        bus->baseKv = kv;
        network_.buses.push_back(std::move(bus));
        return network_.buses.back().get();
    }

    Network network_;
    NetBus* north_ = AddBus(1, "NORTH", 1.05, 0.0, 220.0);
    NetBus* svcBus_ = AddBus(2, "SVCBUS", 1.0123, -5.0, 138.0);
    NetBus* load_ = AddBus(3, "LOAD", 0.9876, -7.5, 138.0);
    NetBus* statBus_ = AddBus(4, "STATBUS", 0.98, -0.2 / kRadiansPerDegree, 138.0);
};

TEST_F(FactsListingTest, SvcRowAtItsUpperAngle) {
    auto svc = std::make_unique<NetSvc>();
    svc->terminalBus = svcBus_;
    svc->controlledBus = load_;
    svc->q = 0.4567;
    svc->minAlpha = 95.0 * kRadiansPerDegree;
    svc->maxAlpha = 170.0 * kRadiansPerDegree;
    svc->alpha = svc->maxAlpha;
    svc->be = 1.2345;
    network_.svcs.push_back(std::move(svc));
    EXPECT_EQ(SvcListingRows(network_, 100.0),
              "-99\n"
              "  1  0    2       SVCBUS 1.0123  -5.00    3         LOAD 0.9876  -7.50    45.67   170.00H  1.2345 \n\n");
}

TEST_F(FactsListingTest, TcscRowsShowTheScheduleInTheUnitOfTheirControl) {
    auto tcsc = std::make_unique<NetTcsc>();
    tcsc->from = north_;
    tcsc->to = load_;
    tcsc->p = 0.25;
    tcsc->qk = 0.031;
    tcsc->qm = -0.042;
    tcsc->bt = 5.0;
    tcsc->minAlpha = 143.0 * kRadiansPerDegree;
    tcsc->maxAlpha = 175.0 * kRadiansPerDegree;
    tcsc->alpha = tcsc->minAlpha;
    tcsc->current = 0.3;
    tcsc->controlCode = "P";
    tcsc->target = 0.25;
    tcsc->susceptanceTarget = 4.5;
    network_.tcscs.push_back(std::move(tcsc));
    const std::string head = "-99\n  1  0    1        NORTH 1.0500   0.00    3         LOAD 0.9876  -7.50 "
                             "   25.00     3.10    -4.20    -0.20   143.00L   0.079   0.0000 ";
    EXPECT_EQ(TcscListingRows(network_, 100.0), head + " P     25.000\n\n");
    network_.tcscs.front()->controlCode = "X";
    EXPECT_EQ(TcscListingRows(network_, 100.0), head + " X      4.500\n\n");
    network_.tcscs.front()->controlCode = "I";
    EXPECT_EQ(TcscListingRows(network_, 100.0), head + " I      0.066\n\n");
}

TEST_F(FactsListingTest, StatcomRowAtItsNegativeQLimit) {
    auto st = std::make_unique<NetStatcom>();
    st->name = "STATBUS";
    st->terminalBus = statBus_;
    st->controlledBus = load_;
    st->vdc = 1.02;
    st->mr = 0.95;
    st->psi = -0.1;
    st->p = 0.0012;
    st->q = -0.35;
    st->current = 0.2;
    st->rating = 50.0;
    st->negativeQLimit = 0.2;
    st->positiveQLimit = 0.5;
    st->phi = statBus_->angle + 1.570796327;
    network_.statcoms.push_back(std::move(st));
    EXPECT_EQ(StatcomListingRows(network_, 100.0),
              "-99\n  1  0    3         LOAD 0.9876  -7.50    4      STATBUS 0.9690 1.020000 0.950000   -5.730   0.1200"
              "   -35.00    0.084          0.400L  78.541 \n\n");
}

}  // namespace
