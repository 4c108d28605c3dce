#include <gtest/gtest.h>

#include "control_modes.h"
#include "network_snapshot.h"

// The snapshot and the saved control modes write back what a continuation
// step moved. A bus or branch keeps what few have in a side record made on
// its first write: writing back must restore those values, and must not
// make a record for a bus or branch that had none.

namespace {

// A bus held by remote generators and a plain load bus, joined by a line
// and by a flow-regulating transformer. Only the held bus and the
// transformer hold side records, written member by member.
struct SmallNetwork {
    Network network;
    NetBus* held;
    NetBus* load;
    NetBranch* line;
    NetBranch* transformer;

    SmallNetwork() {
        held = network.buses.AddBack();
        load = network.buses.AddBack();
        held->code = "BC";
        held->EditExtras().regulatingGeneratorCount = 2;
        held->EditExtras().regulatedGenerationQ = 0.4;
        line = network.branches.AddBack();
        transformer = network.branches.AddBack();
        for (NetBranch* branch : {line, transformer}) {
            branch->from = held;
            branch->to = load;
        }
        transformer->code = "RM";
        transformer->EditRegulation().regulatedBus = load;
        transformer->EditRegulation().bandMin = -0.1;
        transformer->EditRegulation().bandMax = 0.3;
        transformer->EditRegulation().controlTarget = 0.2;
    }
};

TEST(NetworkSnapshot, BringsBackSideRecordValuesWithoutMakingNewRecords) {
    SmallNetwork net;
    NetworkSnapshot snapshot;
    double lambda = 0.5;
    snapshot.Save(net.network, lambda, {});

    net.transformer->EditRegulation().controlTarget = 0.7;
    net.transformer->tap = 1.05;
    net.line->tap = 0.95;
    net.held->EditExtras().regulatedGenerationQ = -0.3;
    net.load->voltage = 0.9;
    lambda = 0.9;
    snapshot.Restore(net.network, lambda);

    const NetRegulation& regulation = net.transformer->regulation();
    EXPECT_DOUBLE_EQ(regulation.controlTarget, 0.2);
    // The members written before stay in the one record.
    EXPECT_EQ(regulation.regulatedBus, net.load);
    EXPECT_DOUBLE_EQ(regulation.bandMin, -0.1);
    EXPECT_DOUBLE_EQ(regulation.bandMax, 0.3);
    EXPECT_DOUBLE_EQ(net.transformer->tap, 1.0);
    EXPECT_DOUBLE_EQ(net.line->tap, 1.0);
    EXPECT_DOUBLE_EQ(net.held->extras().regulatedGenerationQ, 0.4);
    EXPECT_EQ(net.held->extras().regulatingGeneratorCount, 2);
    EXPECT_DOUBLE_EQ(net.load->voltage, 0.0);
    EXPECT_DOUBLE_EQ(lambda, 0.5);
    // A line and a load bus read zeros, and restoring gives them no record.
    EXPECT_FALSE(net.line->HasRegulation());
    EXPECT_EQ(net.line->regulation().regulatedBus, nullptr);
    EXPECT_FALSE(net.load->HasExtras());
    EXPECT_DOUBLE_EQ(net.load->extras().regulatedGenerationQ, 0.0);
}

TEST(ControlModes, BringsBackTheRegulatingGeneratorCountWithoutMakingNewRecords) {
    SmallNetwork net;
    ControlModes modes;
    modes.Save(net.network);

    net.held->EditExtras().regulatingGeneratorCount = -1;
    net.held->code = "BCV";
    modes.Restore(net.network);

    EXPECT_EQ(net.held->extras().regulatingGeneratorCount, 2);
    EXPECT_DOUBLE_EQ(net.held->extras().regulatedGenerationQ, 0.4);
    EXPECT_EQ(net.held->code, "BC");
    EXPECT_FALSE(net.load->HasExtras());
}

}  // namespace
