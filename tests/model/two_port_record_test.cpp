#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "power_line.h"
#include "transformer.h"
#include "two_port_fixture.h"

namespace {

namespace BD = BranchData;

// A branch from BUS_A (110 kV, key 0x101) to BUS_B (20 kV, key 0x201),
// key 0x10A, named "T1", with every value of its record set:
// R 0.01, X 0.1, B 0.02, G 0.001 (per km for a line), rating 40, value 9
// 1.5 (a line's length; the tap on the to winding), regulated and metered
// end 1, shift -5, ratio 1.05, windings 121 and 21 kV, 17 tap steps,
// limits 99 and 121, flows 30 + j5 in and -29 - j4 out, notification 35,
// band 12.5 to 40.
template <typename Kind>
Kind& MakeBranch(TwoPortModel& m, int controlType) {
    m.SetBus(*m.to, 20.0, 1.0);
    Kind& branch = m.Draw<Kind>();
    branch.SetName("T1");
    double* v = branch.GetValues();
    const double values[BD::kCount] = {0,    0,   1,  static_cast<double>(controlType), 0.01, 0.1, 0.02, 0.001, 40,
                                       1.5,  1,   1,  -5, 1.05, 121, 21, 17, 99, 121, 30, 5, -29, -4, 35, 12.5, 40};
    std::copy_n(values, BD::kCount, v);
    return branch;
}

BranchRecord Expected(int kind, int controlType) {
    BranchRecord r;
    const bool line = kind == 0;
    const bool regulating = kind == 2;
    r.recordTag = 1;
    r.kind = kind;
    r.controlType = controlType;
    r.pFrom = 30;
    r.qFrom = 5;
    r.pTo = -29;
    r.qTo = -4;
    r.pLoss = 1;
    r.qLoss = 1;
    r.currentFrom = 159.631117;
    r.currentTo = 845.083822;
    r.lowerLimit = 99;
    r.upperLimit = 121;
    r.tapRatio = 1.05;
    r.phaseShift = -5;
    r.rating = 40;
    r.hostValue256 = 99;
    r.hostValue264 = 121;
    r.tapSide = 1.5;
    r.resistance = line ? 0.015 : 0.01;
    r.reactance = line ? 0.15 : 0.1;
    r.chargingB = line ? 0.03 : 0.02;
    r.shuntG = line ? 0.0015 : 0.001;
    r.regulatedBus = regulating ? 2 : 0;
    r.endCode = regulating ? 1 : 0;
    r.regulatedBaseKv = 20;
    r.key = 0x10A;
    r.fromKey = 0x101;
    r.toKey = 0x201;
    r.fromBus = 1;
    r.toBus = 2;
    r.fromBaseKv = 110;
    r.toBaseKv = 20;
    r.fromWindingKv = 121;
    r.toWindingKv = 21;
    r.hostValue88 = regulating ? 17 : 1;
    // Left as the buffer held them unless the control type reads them.
    r.controlTarget = regulating && (controlType == 1 || controlType == 3) ? 12.5 : -7;
    const bool band = regulating && (controlType == 2 || controlType == 4);
    r.bandMinimum = band ? 12.5 : -7;
    r.bandMaximum = band ? 40 : -7;
    std::strcpy(r.circuit, "9");
    return r;
}

void ExpectSameRecord(const BranchRecord& expected, const BranchRecord& actual) {
    constexpr double kTolerance = 1e-6;
    const int BranchRecord::*ints[] = {&BranchRecord::recordTag,   &BranchRecord::kind,        &BranchRecord::key,
                                       &BranchRecord::fromKey,     &BranchRecord::toKey,       &BranchRecord::fromBus,
                                       &BranchRecord::toBus,       &BranchRecord::endCode,     &BranchRecord::reserved164,
                                       &BranchRecord::reserved168, &BranchRecord::regulatedBus, &BranchRecord::reserved200,
                                       &BranchRecord::controlType};
    for (std::size_t i = 0; i < std::size(ints); ++i) EXPECT_EQ(actual.*ints[i], expected.*ints[i]) << "int " << i;
    const double BranchRecord::*doubles[] = {
        &BranchRecord::pFrom,         &BranchRecord::qFrom,        &BranchRecord::pTo,           &BranchRecord::qTo,
        &BranchRecord::pLoss,         &BranchRecord::qLoss,        &BranchRecord::lowerLimit,    &BranchRecord::tapRatio,
        &BranchRecord::hostValue88,   &BranchRecord::upperLimit,   &BranchRecord::currentFrom,   &BranchRecord::currentTo,
        &BranchRecord::fromBaseKv,    &BranchRecord::toBaseKv,     &BranchRecord::rating,        &BranchRecord::regulatedBaseKv,
        &BranchRecord::phaseShift,    &BranchRecord::resistance,   &BranchRecord::reactance,     &BranchRecord::chargingB,
        &BranchRecord::shuntG,        &BranchRecord::tapSide,      &BranchRecord::hostValue256,  &BranchRecord::hostValue264,
        &BranchRecord::fromWindingKv, &BranchRecord::toWindingKv,  &BranchRecord::controlTarget, &BranchRecord::bandMinimum,
        &BranchRecord::bandMaximum};
    for (std::size_t i = 0; i < std::size(doubles); ++i) {
        EXPECT_NEAR(actual.*doubles[i], expected.*doubles[i], kTolerance) << "double " << i;
    }
    EXPECT_STREQ(actual.circuit, expected.circuit);
    ASSERT_NE(actual.name, nullptr);
    EXPECT_STREQ(actual.name, "T1");
    EXPECT_STREQ(actual.fromName, "BUS_A");
    EXPECT_STREQ(actual.toName, "BUS_B");
}

// What the caller's buffer held before: the fields the writer leaves alone
// keep it.
BranchRecord UsedBuffer() {
    BranchRecord r;
    r.controlTarget = r.bandMinimum = r.bandMaximum = -7;
    std::strcpy(r.circuit, "9");
    r.reserved164 = r.reserved168 = r.reserved200 = 5;
    return r;
}

TEST(TwoPortRecord, EachKindAndControlTypeAgainstItsExpectedRecord) {
    struct Case {
        int kind;
        int controlType;
    };
    const Case cases[] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << ", control " << c.controlType);
        TwoPortModel m;
        PowerLine* branch = nullptr;
        if (c.kind == 0) branch = &MakeBranch<PowerLine>(m, c.controlType);
        if (c.kind == 1) branch = &MakeBranch<Transformer>(m, c.controlType);
        if (c.kind == 2) branch = &MakeBranch<RegulatedTransformer>(m, c.controlType);
        BranchRecord record = UsedBuffer();
        ASSERT_TRUE(branch->FillSolverRecord(&record, 1));
        ExpectSameRecord(Expected(c.kind, c.controlType), record);
    }
}

TEST(TwoPortRecord, OnlyABranchRecordIsFilled) {
    TwoPortModel m;
    PowerLine& line = m.Draw<PowerLine>();
    BusRecord bus;
    EXPECT_FALSE(line.FillSolverRecord(&bus, 1));
}

}  // namespace
