#include "network_digest.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class Digest {
public:
    explicit Digest(std::vector<DigestEntry>& entries) : entries_(entries) {}

    void Prefix(std::string prefix) { prefix_ = std::move(prefix); }
    void Text(const char* label, const std::string& text) { entries_.push_back({prefix_ + label, text, 0.0, false}); }
    void Number(const char* label, double value) { entries_.push_back({prefix_ + label, "", value, true}); }
    void Bus(const char* label, const NetBus* bus) {
        Text(label, bus ? std::to_string(bus->externalNumber) : "none");
    }

private:
    std::vector<DigestEntry>& entries_;
    std::string prefix_;
};

}  // namespace

std::vector<DigestEntry> NetworkDigest(const Network& network) {
    std::vector<DigestEntry> entries;
    Digest d(entries);
    d.Text("title", network.title[0]);
    for (int count : {network.busCount, network.branchCount, network.regulatingCount, network.voltageRegulatingCount,
                      network.generatorBusCount, network.slackCount, network.areaCount})
        d.Number("count", count);

    for (const auto& owned : network.buses) {
        const NetBus& bus = *owned;
        d.Prefix("bus " + std::to_string(bus.externalNumber) + " ");
        d.Text("name", bus.name);
        d.Text("code", bus.code);
        d.Text("zone", bus.areaCode);
        d.Text("control", std::string(1, bus.control));
        d.Text("area", bus.area ? std::to_string(bus.area->number) : "none");
        d.Text("voltage free", bus.voltageFree ? "yes" : "no");
        d.Bus("remote bus", bus.extras().remoteBus);
        d.Bus("bank bus", bus.extras().bankBus);
        d.Number("number", bus.number);
        d.Number("remote", bus.extras().remoteNumber);
        d.Number("regulating generators", bus.extras().regulatingGeneratorCount);
        d.Number("voltage", bus.voltage);
        d.Number("voltage target", bus.voltageTarget);
        d.Number("scheduled Q", bus.scheduledQ);
        d.Number("angle", bus.angle);
        d.Number("scheduled P", bus.scheduledP);
        d.Number("generation P", bus.generationP);
        d.Number("generation Q", bus.generationQ);
        d.Number("load P", bus.loadP);
        d.Number("load Q", bus.loadQ);
        d.Number("load model P", bus.loadModelP.base);
        d.Number("load model Q", bus.loadModelQ.base);
        d.Number("shunt G", bus.shuntG);
        d.Number("shunt B", bus.shuntB);
        d.Number("max Q", bus.maxQ);
        d.Number("min Q", bus.minQ);
        d.Number("max V", bus.maxVoltage);
        d.Number("min V", bus.minVoltage);
        d.Number("base kV", bus.baseKv);
        d.Number("share", bus.extras().participation);
    }
    int index = 0;
    for (const auto& owned : network.branches) {
        const NetBranch& branch = *owned;
        d.Prefix("branch " + std::to_string(++index) + " ");
        d.Bus("from", branch.from);
        d.Bus("to", branch.to);
        d.Bus("regulated", branch.regulation().regulatedBus);
        d.Bus("metered", branch.meteredBus);
        d.Text("code", branch.code);
        d.Text("circuit", std::string(1, branch.circuit));
        d.Text("zone", branch.owner);
        d.Number("g", branch.g);
        d.Number("b", branch.b);
        d.Number("from shunt G", branch.fromShuntG);
        d.Number("from shunt B", branch.fromShuntB);
        d.Number("to shunt G", branch.toShuntG);
        d.Number("to shunt B", branch.toShuntB);
        d.Number("tap", branch.tap);
        d.Number("shift", branch.shift);
        d.Number("rating", branch.rating);
        d.Number("control min", branch.regulation().controlMin);
        d.Number("control max", branch.regulation().controlMax);
        d.Number("target", branch.regulation().controlTarget);
        d.Number("band min", branch.regulation().bandMin);
        d.Number("band max", branch.regulation().bandMax);
    }
    for (const auto& owned : network.areas) {
        const NetArea& area = *owned;
        d.Prefix("area " + std::to_string(area.number) + " ");
        d.Text("name", area.name);
        d.Bus("slack", area.areaBus);
        d.Number("export", area.scheduledExport);
        d.Number("buses", static_cast<double>(area.buses.size()));
    }
    return entries;
}

void ExpectSameNetwork(const Network& expected, const Network& actual, double tolerance) {
    const std::vector<DigestEntry> want = NetworkDigest(expected);
    const std::vector<DigestEntry> got = NetworkDigest(actual);
    ASSERT_EQ(want.size(), got.size()) << "the networks differ in size";
    for (std::size_t i = 0; i < want.size(); ++i) {
        ASSERT_EQ(want[i].label, got[i].label);
        if (want[i].numeric)
            EXPECT_NEAR(want[i].value, got[i].value, tolerance * std::max(1.0, std::fabs(want[i].value)))
                << want[i].label;
        else
            EXPECT_EQ(want[i].text, got[i].text) << want[i].label;
    }
}
