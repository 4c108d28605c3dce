// The remote solver server's result lines, the tokenizer that splits them
// and the commands sent back.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "drawn_network.h"
#include "free_line.h"
#include "generator.h"
#include "load.h"
#include "recording_message_sink.h"
#include "recording_view.h"
#include "shunt.h"
#include "tokenizer.h"

namespace {

TEST(Tokenizer, SplitsAtRunsOfDelimitersAndTellsAWholeLine) {
    struct Case {
        const char* text;
        std::vector<std::string> tokens;
        int done;
    } cases[] = {
        {"A  B\n", {"A", "B"}, 1},
        {"A  B", {"A", "B"}, 0},
        {"", {}, 0},
        {"\n \n", {}, 1},
        {"  lead trail ", {"lead", "trail"}, 1},
    };
    Tokenizer tokenizer(" \n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> out = {"stale"};
        tokenizer.Tokenize(c.text, out);
        EXPECT_EQ(out, c.tokens);
        EXPECT_EQ(tokenizer.IsDone(), c.done);
    }
    tokenizer.SetDelimiters(",");
    std::vector<std::string> out;
    tokenizer.Tokenize("a b,,c", out);
    EXPECT_EQ(out, (std::vector<std::string>{"a b", "c"}));
}

// Buses A, B, C with a line A-B and a line drawn from C to B; a generator
// on A, a load on B; a shunt, a var compensator, a reactor, a capacitor and
// a synchronous compensator on C; a free line named Cut1.
struct RemoteNetwork {
    RemoteNetwork() {
        a = &net.AddBus("A");
        b = &net.AddBus("B");
        c = &net.AddBus("C");
        ab = &net.Join<PowerLine>(*a, *b, 10);
        cb = &net.Join<PowerLine>(*c, *b, 20);
        generator = &net.Hang<Generator>(*a, 5);
        load = &net.Hang<Load>(*b, 5);
        net.Hang<Shunt>(*c, 2);
        svc = &net.Hang<VarCompensator>(*c, 8);
        net.Hang<Reactor>(*c, 14);
        net.Hang<Capacitor>(*c, 26);
        sync = &net.Hang<SyncCompensator>(*c, 32);
        PowerSystem& model = net.model();
        auto cut = std::make_unique<FreeLine>(&model, model.NewKey(Category::FreeLine, false), Point{50, 400},
                                              FreeLine::kDashedStyle);
        if (model.AddElement(cut.get())) cut.release()->SetName("Cut1");
        model.SetMessageSink(&sink);
        model.SetView(&view);
        model.SetRemote(true);
    }
    void Read(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) net.model().ReadResultLine(line);
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& m : sink.messages) {
            EXPECT_EQ(m.level, 2) << m.text;
            texts.push_back(m.text);
        }
        return texts;
    }

    DrawnNetwork net;
    Bus *a, *b, *c;
    PowerLine *ab, *cb;
    Generator* generator;
    Load* load;
    VarCompensator* svc;
    SyncCompensator* sync;
    RecordingMessageSink sink;
    RecordingView view;
};

TEST(RemoteResults, EverySectionFillsItsElementsAndDropsBadLines) {
    RemoteNetwork net;
    net.Read({
        "DATA",
        "BUSES",
        "1 A 1.02 0",
        "2 B 0.98 -2.5\r\n",
        "3\tC 0.97 -3.125",
        "4 X 1 1",
        "2 B 1",
        "LINES",
        "1 2 50 10 -49.5 -9 0 0 1.05 3",
        "2 3 20 5 -19.875 -4.75 0 0 1 0",
        "1 3 1 1 1 1 1 1 1 1",
        "1 2 50 10 -49.5 -9 0 0 1.05",
        "GENERATORS",
        "1 80,5 30",
        "9 1 1",
        "2 1 1",
        "LOADS",
        "2 60 20",
        "1 60",
        "SHUNTS",
        "3 0 0",
        "SVCS",
        "3 12.5",
        "REACTORS",
        "3 0",
        "2 0",
        "CAPACITORS",
        "3 0",
        "9 0",
        "SYNCCOMPS",
        "3 -7.5",
        "CUTSETS",
        "Cut1 1 2",
        "Nope 1 2",
        "loads",
        "2 1 1",
        "END",
    });
    EXPECT_EQ(net.a->GetValues()[Bus::kVoltage], 1.02);
    EXPECT_EQ(net.c->GetValues()[Bus::kVoltage], 0.97);
    EXPECT_EQ(net.c->GetValues()[Bus::kAngle], -3.125);
    const double* ab = net.ab->GetValues();
    EXPECT_EQ(std::vector<double>(ab + BranchData::kPFrom, ab + BranchData::kQTo + 1),
              (std::vector<double>{50, 10, -49.5, -9}));
    EXPECT_EQ(ab[BranchData::kTapRatio], 1.05);
    EXPECT_EQ(ab[BranchData::kPhaseShift], 3.0);
    // The server's from bus B is the element's to end.
    const double* cb = net.cb->GetValues();
    EXPECT_EQ(std::vector<double>(cb + BranchData::kPFrom, cb + BranchData::kQTo + 1),
              (std::vector<double>{-19.875, -4.75, 20, 5}));
    EXPECT_EQ(net.generator->GetValues()[0], 80.0);  // "80,5" is 80 in the C locale
    EXPECT_EQ(net.generator->GetValues()[1], 30.0);
    EXPECT_EQ(net.svc->GetValues()[1], 12.5);
    EXPECT_EQ(net.sync->GetValues()[1], -7.5);
    EXPECT_EQ(net.Messages(), (std::vector<std::string>{
                                  "Cannot get corresponding bus",
                                  "Not enough data for bus",
                                  "Cannot get corresponding line",
                                  "Not enough data for line",
                                  "Cannot get corresponding bus for generetor description",
                                  "Cannot get corresponding generator",
                                  "Not enough data for load",
                                  "Cannot get corresponding reactor",
                                  "Cannot get corresponding capacitor",
                                  "Cannot get corresponding cutset",
                              }));
    ASSERT_GE(net.view.calls.size(), 2u);
    EXPECT_EQ(net.view.calls[net.view.calls.size() - 2].op, RecordingView::Op::InvalidateAll);
    EXPECT_EQ(net.view.calls.back().op, RecordingView::Op::Update);
}

TEST(RemoteResults, BusNumbersHoldWithinOneDataBlock) {
    RemoteNetwork net;
    net.Read({"DATA", "BUSES", "1 A 1 0", "GENERATORS", "1 5 5", "DATA", "GENERATORS", "1 7 7"});
    EXPECT_EQ(net.generator->GetValues()[0], 5.0);
    EXPECT_EQ(net.Messages(), std::vector<std::string>{"Cannot get corresponding bus for generetor description"});
}

TEST(RemoteResults, ASharedBusNameKeepsItsFirstBus) {
    RemoteNetwork net;
    net.c->SetName("A");
    net.sink.messages.clear();
    net.net.model().SetRemote(true);
    ASSERT_EQ(net.sink.messages.size(), 1u);
    EXPECT_EQ(net.sink.messages[0].level, 2);
    net.Read({"DATA", "BUSES", "1 A 0.9 1"});
    EXPECT_EQ(net.a->GetValues()[Bus::kVoltage], 0.9);
    EXPECT_EQ(net.c->GetValues()[Bus::kVoltage], 1.0);
}

TEST(RemoteCommands, SwitchingAnElementSendsItsCommandOnlyFromARemoteCopy) {
    RemoteNetwork net;
    PowerSystem& model = net.net.model();
    net.generator->SetName("G1");
    net.generator->SetOn(true);
    for (bool remote : {true, false}) {
        model.SetRemote(remote);
        model.SetCurrentElement(net.generator);
        net.view.calls.clear();
        EXPECT_TRUE(model.HandleEditEvent(EditEvent::Switch, EditTool::Selection, 0, nullptr, &net.view));
        const auto sent = net.view.Messages();
        if (remote) {
            ASSERT_EQ(sent.size(), 1u);
            EXPECT_EQ(sent[0].text, "OFF GENERATOR BUS=G1");
        } else {
            EXPECT_TRUE(sent.empty());
        }
    }
}

TEST(RemoteCommands, SwitchAndChangeCommandsGoToTheViewAsTheyAre) {
    RemoteNetwork net;
    PowerSystem& model = net.net.model();
    net.generator->SetName("G1");
    net.load->SetName("P1");
    net.svc->SetName("V1");
    net.ab->SetName("L 1");
    struct Case {
        IElement* element;
        bool on;
        const char* command;  // null: none
    } cases[] = {
        {net.a, true, "ON BUS BUS=A"},
        {net.generator, false, "OFF GENERATOR BUS=G1"},
        {net.load, true, "ON LOAD BUS=P1"},
        {net.svc, true, "ON VARCOMP BUS=V1"},
        {net.ab, false, "OFF LINE LINE=L 1"},
        {model.FindByName("Cut1", Category::FreeLine), true, nullptr},
        {nullptr, true, nullptr},
    };
    for (const Case& c : cases) {
        net.view.calls.clear();
        if (c.element) c.element->SetOn(c.on);
        model.SetCurrentElement(c.element);
        model.SendSwitchCommand();
        const auto sent = net.view.Messages();
        if (!c.command) {
            EXPECT_TRUE(sent.empty());
            continue;
        }
        ASSERT_EQ(sent.size(), 1u) << c.command;
        EXPECT_EQ(sent[0].message, kRemoteSendMessage);
        EXPECT_EQ(sent[0].text, c.command);
    }

    net.a->SetOn(true);
    net.load->GetValues()[Load::kP] = 60.0;
    net.load->GetValues()[Load::kQ] = 12.5;
    net.view.calls.clear();
    net.load->SendChangeCommand();
    net.ab->GetValues()[BranchData::kTapRatio] = 1.05;
    net.ab->SendChangeCommand();
    const auto sent = net.view.Messages();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].text, "CHANGE LOAD=B PLOAD= 60 QLOAD= 12.5");
    EXPECT_EQ(sent[1].text, "CHANGE LINENAME=L 1 TAP= 1.05");
}

}  // namespace
