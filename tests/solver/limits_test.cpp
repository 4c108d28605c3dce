#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "case_file_run.h"
#include "host_read.h"
#include "memory_record_cursor.h"
#include "power_flow_networks.h"
#include "recording_message_sink.h"
#include "solver.h"
#include "solver_handle.h"

namespace {

// Lines with X = 0.1 p.u. and a little resistance.
void AddLine(MemoryRecordCursor& records, int from, int to, double x = 0.1) {
    records.AddBranch(BranchRecord::Line, from, to, x / 10.0, x);
}

// A bus's load as a host run takes it: the load and the constant term of
// its polynomial (MW and Mvar in a record, p.u. in the solver's bus).
void SetLoad(BusRecord& bus, double p, double q) {
    bus.loadP = bus.direction[0] = p;
    bus.loadQ = bus.direction[3] = q;
}
void SetLoad(NetBus& bus, double p, double q) {
    bus.loadP = bus.loadPolynomial[0] = p;
    bus.loadQ = bus.loadPolynomial[3] = q;
}

// A slack bus 1 at 1.0 p.u. with room for any reactive power.
BusRecord& AddSlack(MemoryRecordCursor& records) {
    BusRecord& slack = records.AddBus(1, 0, "Slack");
    slack.maxQ = 1000.0;
    slack.minQ = -1000.0;
    return slack;
}

// Host records solved as a host run solves them, with options given as on
// a command line.
class LimitChecks : public ::testing::Test {
protected:
    // Reads the records, applies the options; false when the read failed.
    bool Read(std::vector<std::string> options = {}) {
        solver_ = std::make_unique<SolverHandle>();
        if (!ReadHostRecords(S(), *records_, &sink_)) return false;
        arguments_ = std::make_unique<RunArguments>(std::move(options));
        arguments_->ApplyTo(S());
        return true;
    }
    // Solves from the present state: the iteration it converged at, 0 when
    // the run failed.
    int Solve() { return S().RunPowerFlow(); }

    Solver& S() { return **solver_; }
    Network& Model() { return *S().GetNetwork(); }
    NetBus& Bus(int number) { return *S().FindBus(number); }

    std::unique_ptr<MemoryRecordCursor> records_ = std::make_unique<MemoryRecordCursor>();
    RecordingMessageSink sink_;
    std::unique_ptr<RunArguments> arguments_;
    std::unique_ptr<SolverHandle> solver_;
};

// Generator 2 holds 1.0 p.u. within +-20 Mvar next to a load of 50 Mvar at
// bus 3, which it would rather cover alone. Its name looks like a format
// and must come out as it is written.
class GeneratorLimits : public LimitChecks {
protected:
    void SetUp() override {
        AddSlack(*records_);
        BusRecord& generator = records_->AddBus(2, 4, "G%n%s");
        generator.maxQ = 20.0;
        generator.minQ = -20.0;
        SetLoad(records_->AddBus(3, 1, "Load"), 40.0, 50.0);
        AddLine(*records_, 1, 2);
        AddLine(*records_, 2, 3, 0.05);
    }
};

TEST_F(GeneratorLimits, PastItsMaximumTheGeneratorHoldsItAndItsVoltageFalls) {
    struct Case {
        std::vector<std::string> options;
        char control;
    };
    const Case cases[] = {{{}, 'Q'}, {{"-G"}, 'Q'}, {{"-qz"}, 'Q'}, {{"-q"}, 'V'}, {{"-n"}, 'V'}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.empty() ? "no options" : c.options[0]);
        ASSERT_TRUE(Read(c.options));
        ASSERT_GT(Solve(), 0);
        const NetBus& generator = Bus(2);
        EXPECT_EQ(generator.control, c.control);
        if (c.control == 'Q') {
            EXPECT_EQ(generator.generationQ, 0.2);
            EXPECT_LT(generator.voltage, 0.99);
            EXPECT_TRUE(generator.voltageFree);
            EXPECT_EQ(Model().generatorBusCount, 0);
        } else {
            EXPECT_GT(generator.generationQ, 0.4);
            EXPECT_EQ(generator.voltage, 1.0);
            EXPECT_EQ(Model().generatorBusCount, 1);
        }
    }
    EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(GeneratorLimits, RelievedItRecoversVoltageControlUnlessRecoveryIsOff) {
    for (bool recovery : {true, false}) {
        SCOPED_TRACE(recovery ? "recovery" : "option G");
        sink_.messages.clear();
        ASSERT_TRUE(Read(recovery ? std::vector<std::string>{} : std::vector<std::string>{"-G"}));
        ASSERT_GT(Solve(), 0);
        ASSERT_EQ(Bus(2).control, 'Q');

        SetLoad(Bus(3), 0.4, 0.05);
        ASSERT_GT(Solve(), 0);
        const NetBus& generator = Bus(2);
        if (recovery) {
            EXPECT_EQ(generator.control, 'V');
            EXPECT_EQ(generator.voltage, 1.0);
            EXPECT_LT(generator.generationQ, 0.2);
            EXPECT_FALSE(generator.voltageFree);
            EXPECT_EQ(Model().generatorBusCount, 1);
            ASSERT_EQ(sink_.messages.size(), 1u);
            EXPECT_EQ(sink_.messages[0].level, IMessageSink::Warning);
            EXPECT_EQ(sink_.messages[0].text, "Generator G%n%s has recovered voltage control15");
        } else {
            // Its voltage now stands above the target, with the output at
            // the limit still.
            EXPECT_EQ(generator.control, 'Q');
            EXPECT_EQ(generator.generationQ, 0.2);
            EXPECT_GT(generator.voltage, 1.0);
            EXPECT_TRUE(sink_.messages.empty());
        }
    }
}

TEST_F(GeneratorLimits, AZBusAtItsLimitBecomesASusceptance) {
    for (bool limits : {true, false}) {
        SCOPED_TRACE(limits ? "limits" : "option qz");
        ASSERT_TRUE(Read(limits ? std::vector<std::string>{} : std::vector<std::string>{"-qz"}));
        NetBus& bus = Bus(2);
        bus.code = "BZ";
        Model().zBusCount = 1;
        ASSERT_GT(Solve(), 0);
        if (limits) {
            EXPECT_EQ(bus.control, 'Q');
            EXPECT_EQ(bus.equivalentB, 0.2);  // 20 Mvar at 1.0 p.u.
            EXPECT_LT(bus.voltage, 0.99);
            EXPECT_DOUBLE_EQ(bus.generationQ, bus.voltage * bus.voltage * 0.2);
            EXPECT_EQ(Model().zBusCount, 0);
        } else {
            EXPECT_EQ(bus.control, 'V');
            EXPECT_GT(bus.generationQ, 0.4);
        }
    }
}

// Generators 2 and 4 share the voltage of bus 3 (1.0 p.u.) half and half;
// bus 3 takes 60 Mvar.
class RemoteGenerators : public LimitChecks {
protected:
    void Build(double maxQ2, double maxQ4) {
        AddSlack(*records_);
        for (auto [number, maxQ] : {std::pair{2, maxQ2}, std::pair{4, maxQ4}}) {
            BusRecord& generator = records_->AddBus(number, 8, number == 2 ? "G2" : "G4");
            generator.maxQ = maxQ;
            generator.minQ = -maxQ;
            generator.regulatedBus = 3;
            generator.regulatedBaseKv = 110.0;
            generator.participation = 50.0;
        }
        SetLoad(records_->AddBus(3, 2, "Held"), 60.0, 60.0);
        AddLine(*records_, 1, 2);
        AddLine(*records_, 2, 3, 0.05);
        AddLine(*records_, 3, 4, 0.05);
        AddLine(*records_, 1, 4);
    }
};

TEST_F(RemoteGenerators, TheVoltageIsHeldUntilBothAreAtLimits) {
    Build(10.0, 100.0);
    ASSERT_TRUE(Read());
    ASSERT_GT(Solve(), 0);
    // Generator 4 takes up what generator 2 cannot give: the step limits
    // hold 2 at its limit, and whether it is switched to "Q" on the way
    // depends on the path of the iteration.
    EXPECT_EQ(Bus(2).generationQ, 0.1);
    EXPECT_EQ(Bus(4).control, 'V');
    EXPECT_GT(Bus(4).generationQ, 0.5);
    EXPECT_LT(Bus(4).generationQ, 1.0);
    EXPECT_GE(Bus(3).extras().regulatingGeneratorCount, 1);
    EXPECT_FALSE(Bus(3).voltageFree);
    EXPECT_EQ(Bus(3).voltage, 1.0);

    records_ = std::make_unique<MemoryRecordCursor>();
    Build(10.0, 10.0);
    ASSERT_TRUE(Read());
    ASSERT_GT(Solve(), 0);
    for (int number : {2, 4}) {
        EXPECT_EQ(Bus(number).control, 'Q') << number;
        EXPECT_EQ(Bus(number).generationQ, 0.1) << number;
    }
    // Lost in one pass, the count is back at 0, so that a generator may
    // take the voltage back.
    EXPECT_EQ(Bus(3).extras().regulatingGeneratorCount, 0);
    EXPECT_TRUE(Bus(3).voltageFree);
    EXPECT_LT(Bus(3).voltage, 0.99);
    EXPECT_EQ(Model().generatorBusCount, 0);
    EXPECT_TRUE(sink_.messages.empty());

    // Relieved, one of them takes the voltage back and says so.
    SetLoad(Bus(3), 0.6, 0.0);
    ASSERT_GT(Solve(), 0);
    EXPECT_EQ(Bus(3).extras().regulatingGeneratorCount, 1);
    EXPECT_FALSE(Bus(3).voltageFree);
    EXPECT_EQ(Bus(3).voltage, 1.0);
    const NetBus& back = Bus(2).control == 'V' ? Bus(2) : Bus(4);
    EXPECT_EQ(back.control, 'V');
    EXPECT_EQ(Model().generatorBusCount, 1);
    ASSERT_EQ(sink_.messages.size(), 1u);
    EXPECT_EQ(sink_.messages[0].text, "Generator " + back.name + " has recovered voltage control15");
}

// Bus 2 with 60 Mvar scheduled, within 0.95 .. 1.03 p.u.
class ScheduledReactivePower : public LimitChecks {
protected:
    void SetUp() override {
        AddSlack(*records_);
        BusRecord& bus = records_->AddBus(2, 6, "Scheduled");
        bus.generationQ = 60.0;
        bus.maxVoltage = 1.03;
        bus.minVoltage = 0.95;
        SetLoad(bus, 10.0, 0.0);
        AddLine(*records_, 1, 2);
    }
};

TEST_F(ScheduledReactivePower, AtAVoltageLimitTheVoltageIsHeldUntilTheScheduleSuffices) {
    ASSERT_TRUE(Read());
    ASSERT_GT(Solve(), 0);
    NetBus& bus = Bus(2);
    EXPECT_EQ(bus.control, 'V');
    EXPECT_EQ(bus.voltage, 1.03);
    EXPECT_LT(bus.generationQ, 0.6);
    EXPECT_FALSE(bus.voltageFree);
    EXPECT_EQ(Model().generatorBusCount, 1);

    SetLoad(bus, 0.1, 0.5);
    ASSERT_GT(Solve(), 0);
    EXPECT_EQ(bus.control, 'Q');
    EXPECT_EQ(bus.generationQ, 0.6);
    EXPECT_LT(bus.voltage, 1.03);
    EXPECT_TRUE(bus.voltageFree);
    EXPECT_EQ(Model().generatorBusCount, 0);

    // Without voltage limits the schedule stands whatever the voltage.
    ASSERT_TRUE(Read({"-r"}));
    ASSERT_GT(Solve(), 0);
    EXPECT_EQ(Bus(2).control, 'Q');
    EXPECT_GT(Bus(2).voltage, 1.04);
}

// Bus 2 is held within 0.97 .. 1.05 p.u. by a bank of three 10 Mvar steps
// (or reactor steps of -10 Mvar), the first of them always in.
class BankSwitching : public LimitChecks {
protected:
    void Build(double loadQ, double shuntB, double stepMvar) {
        records_ = std::make_unique<MemoryRecordCursor>();
        AddSlack(*records_);
        BusRecord& bus = records_->AddBus(2, 7, "Bank");
        bus.maxVoltage = 1.05;
        bus.minVoltage = 0.97;
        bus.shuntB = shuntB;
        SetLoad(bus, 20.0, loadQ);
        bus.firstBankBlock = stepMvar;
        records_->SetBankBlocks(bus, {{0, 0.0}, {2, stepMvar}});
        AddLine(*records_, 1, 2);
    }
};

TEST_F(BankSwitching, StepsAtALimitAndLetsTheVoltageGoWhenOutOfSteps) {
    struct Case {
        const char* name;
        double loadQ;     // Mvar
        double shuntB;    // p.u., besides the bank
        double stepMvar;
        char control;
        int step;
        double bankB;  // p.u., switched in at the end
    };
    const Case cases[] = {
        {"one capacitor step more", 40.0, 0.0, 10.0, 'X', 1, 0.2},
        {"out of capacitor steps", 70.0, 0.0, 10.0, 'm', 2, 0.3},
        {"reactor steps at the upper limit", 0.0, 0.6, -10.0, 'X', 1, -0.2},
        {"out of reactor steps", 0.0, 0.9, -10.0, 'M', 2, -0.3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Build(c.loadQ, c.shuntB, c.stepMvar);
        ASSERT_TRUE(Read());
        ASSERT_GT(Solve(), 0);
        const NetBus& bus = Bus(2);
        EXPECT_EQ(bus.control, c.control);
        EXPECT_EQ(bus.extras().bankStep, c.step);
        EXPECT_NEAR(bus.shuntB - c.shuntB, c.bankB, 1e-12);
        if (c.control == 'X') {
            EXPECT_GE(bus.voltage, 0.97);
            EXPECT_LE(bus.voltage, 1.05);
            EXPECT_EQ(Model().bankBusCount, 1);
        } else {
            EXPECT_TRUE(c.control == 'm' ? bus.voltage < 0.97 : bus.voltage > 1.05) << bus.voltage;
            EXPECT_EQ(Model().bankBusCount, 0);
        }
    }
}

// Bus 2 held at 0.85 p.u. by the tap of transformer 1-2, ratio within
// 1/1.1 .. 1/0.9: out of reach.
TEST_F(LimitChecks, ATransformerPastItsTapLimitStopsThereAndTheVoltageFloats) {
    AddSlack(*records_);
    BusRecord& held = records_->AddBus(2, 3, "Held");
    held.voltage = 0.85;
    SetLoad(held, 20.0, 5.0);
    BranchRecord& transformer = records_->AddBranch(BranchRecord::RegulatingTransformer, 1, 2, 0.004, 0.08);
    transformer.fromWindingKv = transformer.toWindingKv = 110.0;
    transformer.regulatedBus = 2;
    transformer.regulatedBaseKv = 110.0;
    transformer.controlType = BranchRecord::Voltage;
    transformer.lowerLimit = 99.0;
    transformer.upperLimit = 121.0;

    for (bool limits : {true, false}) {
        SCOPED_TRACE(limits ? "tap limits" : "option a");
        ASSERT_TRUE(Read(limits ? std::vector<std::string>{} : std::vector<std::string>{"-a"}));
        ASSERT_GT(Solve(), 0);
        const NetBranch& branch = *Model().branches.front();
        const NetBus& bus = Bus(2);
        if (limits) {
            EXPECT_EQ(branch.code, "TR");
            EXPECT_EQ(branch.tap, 1.0 / 1.1);
            EXPECT_EQ(bus.code, "B");
            EXPECT_TRUE(bus.voltageFree);
            EXPECT_GT(bus.voltage, 0.87);
            EXPECT_EQ(Model().voltageRegulatingCount, 0);
        } else {
            EXPECT_EQ(branch.code, "R");
            EXPECT_LT(branch.tap, 1.0 / 1.1 - 0.01);
            EXPECT_EQ(bus.voltage, 0.85);
        }
    }
}

// The transformer checks one by one on the regulated network (ratio limits
// 1/1.1 .. 1/0.9, shift limits +-30 degrees), without solving.
TEST_F(LimitChecks, TransformersSwitchAtTheirLimits) {
    AddRegulatedNetwork(*records_);
    enum Count { None, VoltageRegulating, FlowRegulating };
    struct Case {
        const char* name;
        std::vector<std::string> options;
        const char* code;  // of the transformer looked at
        std::function<void(NetBranch&, NetBus& held)> set;
        const char* after;  // its code after the check, "" when it does not switch
        Count stopped;      // the count of transformers that loses it
        std::function<void(NetBranch&, NetBus& held)> check;
    };
    auto voltageBand = [](NetBranch& b, NetBus& held, double v) {
        b.code = "RV";
        held.code = "BR";
        held.voltageFree = true;
        held.maxVoltage = 1.05;
        held.minVoltage = 0.95;
        held.voltage = v;
    };
    const Case cases[] = {
        {"a ratio within the margin of 1/tmax", {}, "R", [](NetBranch& b, NetBus&) { b.tap = 1.0 / 1.1 + 0.000005; },
         "TR", VoltageRegulating,
         [](NetBranch& b, NetBus& held) {
             EXPECT_EQ(b.tap, 1.0 / 1.1);
             EXPECT_EQ(held.code, "B");
             EXPECT_TRUE(held.voltageFree);
         }},
        {"a ratio just beyond the margin", {}, "R", [](NetBranch& b, NetBus&) { b.tap = 1.0 / 1.1 + 0.00002; }, "",
         None,
         [](NetBranch& b, NetBus& held) {
             EXPECT_EQ(b.tap, 1.0 / 1.1 + 0.00002);
             EXPECT_EQ(held.code, "BT");
             EXPECT_FALSE(held.voltageFree);
         }},
        {"a ratio at 1/tmin", {}, "R", [](NetBranch& b, NetBus&) { b.tap = 1.0 / 0.9; }, "TR", VoltageRegulating,
         [](NetBranch& b, NetBus&) { EXPECT_EQ(b.tap, 1.0 / 0.9); }},
        {"tap limits off", {"-a"}, "R", [](NetBranch& b, NetBus&) { b.tap = 1.0 / 0.9; }, "", None, nullptr},
        {"a reactive-flow ratio past 1/tmin", {}, "RQ", [](NetBranch& b, NetBus&) { b.tap = 1.2; }, "TQ",
         FlowRegulating, [](NetBranch& b, NetBus&) { EXPECT_EQ(b.tap, 1.0 / 0.9); }},
        {"a shift at its maximum", {}, "RP", [](NetBranch& b, NetBus&) { b.shift = b.regulation().controlMax; }, "TP",
         FlowRegulating, [](NetBranch& b, NetBus&) { EXPECT_NEAR(b.shift, 30.0 * 3.141592654 / 180.0, 1e-15); }},
        {"an active flow at its band's minimum", {}, "RM",
         [](NetBranch& b, NetBus&) { b.EditRegulation().controlTarget = -0.2; }, "RP", None,
         [](NetBranch& b, NetBus&) { EXPECT_EQ(b.regulation().controlTarget, -0.2); }},
        {"a reactive flow above its band", {}, "RN",
         [](NetBranch& b, NetBus&) { b.EditRegulation().controlTarget = 0.15; }, "RQ", None,
         [](NetBranch& b, NetBus&) { EXPECT_EQ(b.regulation().controlTarget, 0.1); }},
        {"flow bands off", {"-p"}, "RN", [](NetBranch& b, NetBus&) { b.EditRegulation().controlTarget = 0.15; }, "",
         None, nullptr},
        {"a voltage band left at its top", {}, "R", [&](NetBranch& b, NetBus& held) { voltageBand(b, held, 1.06); },
         "R", None,
         [](NetBranch&, NetBus& held) {
             EXPECT_EQ(held.voltage, 1.05);
             EXPECT_EQ(held.code, "BT");
             EXPECT_FALSE(held.voltageFree);
         }},
        {"a voltage band inside", {}, "R", [&](NetBranch& b, NetBus& held) { voltageBand(b, held, 1.04); }, "",
         None, [](NetBranch&, NetBus& held) { EXPECT_EQ(held.code, "BR"); }},
        {"voltage bands off", {"-R"}, "R", [&](NetBranch& b, NetBus& held) { voltageBand(b, held, 1.06); }, "",
         None, nullptr},
        {"a voltage band left where a tap holds the voltage already", {}, "R",
         [](NetBranch& b, NetBus& held) {
             b.code = "RV";
             held.minVoltage = 0.95;
             held.voltage = 0.95;
         },
         "R", None, [](NetBranch&, NetBus& held) { EXPECT_EQ(held.code, "BT"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Read(c.options));
        NetBranch* branch = nullptr;
        for (const auto& b : Model().branches)
            if (b->code == c.code) branch = b.get();
        ASSERT_NE(branch, nullptr);
        NetBus& held = *branch->regulation().regulatedBus;
        // The other transformers of the network stay inside their limits.
        for (const auto& b : Model().branches)
            if (b->code == "RN") b->EditRegulation().controlTarget = 0.05;
        const int voltageCount = Model().voltageRegulatingCount;
        const int flowCount = Model().regulatingCount;
        c.set(*branch, held);
        const std::string before = branch->code;
        const bool switches = *c.after != 0;
        EXPECT_EQ(S().CheckTapLimits(), switches ? 1 : 0);
        EXPECT_EQ(branch->code, switches ? c.after : before);
        if (c.check) c.check(*branch, held);
        EXPECT_EQ(Model().voltageRegulatingCount, voltageCount - (c.stopped == VoltageRegulating ? 1 : 0));
        EXPECT_EQ(Model().regulatingCount, flowCount - (c.stopped == FlowRegulating ? 1 : 0));
    }
}

// A generator or bus held at its field ("E") or armature ("I") limit has no
// mode left should another limit be violated too: the run stops.
TEST_F(LimitChecks, HeldAtOneLimitAndViolatingAnotherStopsTheRun) {
    AddRegulatedNetwork(*records_);
    struct Case {
        const char* name;
        int bus;
        char control;
        std::function<void(NetBus&)> set;
        bool stops;
    };
    const Case cases[] = {
        {"generator at its field limit beyond Qmax", 3, 'E', [](NetBus& b) { b.generationQ = 3.5; }, true},
        {"generator at its armature limit below Qmin", 3, 'I', [](NetBus& b) { b.generationQ = -3.5; }, true},
        {"generator at its field limit within its reactive limits", 3, 'E', [](NetBus& b) { b.generationQ = 2.9; },
         false},
        {"scheduled-Q bus at its armature limit above Vmax", 4, 'I', [](NetBus& b) { b.voltage = 1.2; }, true},
        {"scheduled-Q bus at its field limit within its voltage limits", 4, 'E', [](NetBus& b) { b.voltage = 1.0; },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Read());
        S().NumberVariables();
        // A step of nothing sets the reactive limits left by the
        // apparent-power limit.
        std::fill(S().Correction().begin(), S().Correction().end(), 0.0);
        S().UpdateBuses(-1.0, Trial::First, Clamping::On, RecoveryHold::On);
        NetBus& bus = Bus(c.bus);
        bus.control = c.control;
        c.set(bus);
        auto check = [&] { return c.bus == 4 ? S().CheckBusLimits() : S().CheckGeneratorLimits(); };
        if (c.stops)
            EXPECT_THROW(check(), SolverAbort);
        else
            EXPECT_EQ(check(), 0);
    }
}

}  // namespace
