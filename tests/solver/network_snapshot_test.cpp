#include <gtest/gtest.h>

#include "network_snapshot.h"

namespace {

// A line and a flow-regulating transformer between two buses. Only the
// transformer holds a regulation record, written member by member.
struct TwoBranches {
    Network network;
    NetBranch* line;
    NetBranch* transformer;

    TwoBranches() {
        NetBus* from = network.buses.AddBack();
        NetBus* to = network.buses.AddBack();
        line = network.branches.AddBack();
        transformer = network.branches.AddBack();
        for (NetBranch* branch : {line, transformer}) {
            branch->from = from;
            branch->to = to;
        }
        transformer->code = "RM";
        transformer->EditRegulation().regulatedBus = to;
        transformer->EditRegulation().bandMin = -0.1;
        transformer->EditRegulation().bandMax = 0.3;
        transformer->EditRegulation().controlTarget = 0.2;
    }
};

TEST(NetworkSnapshot, BringsBackTheFlowTargetWithoutGivingALineARegulation) {
    TwoBranches net;
    NetworkSnapshot snapshot;
    double lambda = 0.5;
    snapshot.Save(net.network, lambda, {});

    net.transformer->EditRegulation().controlTarget = 0.7;
    net.transformer->tap = 1.05;
    net.line->tap = 0.95;
    lambda = 0.9;
    snapshot.Restore(net.network, lambda);

    const NetRegulation& regulation = net.transformer->regulation();
    EXPECT_DOUBLE_EQ(regulation.controlTarget, 0.2);
    // The members written before stay in the one record.
    EXPECT_EQ(regulation.regulatedBus, net.transformer->to);
    EXPECT_DOUBLE_EQ(regulation.bandMin, -0.1);
    EXPECT_DOUBLE_EQ(regulation.bandMax, 0.3);
    EXPECT_DOUBLE_EQ(net.transformer->tap, 1.0);
    EXPECT_DOUBLE_EQ(net.line->tap, 1.0);
    EXPECT_DOUBLE_EQ(lambda, 0.5);
    // A line reads no regulation, and restoring does not make it one.
    EXPECT_FALSE(net.line->HasRegulation());
    EXPECT_EQ(net.line->regulation().regulatedBus, nullptr);
    EXPECT_DOUBLE_EQ(net.line->regulation().controlTarget, 0.0);
}

}  // namespace
