// The power flow's host road and the continuation run through the solver
// library, on public test networks drawn as models.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cdf_host_records.h"
#include "cdf_model.h"
#include "generator.h"
#include "load.h"
#include "memory_record_cursor.h"
#include "recording_drawing_context.h"
#include "recording_message_sink.h"
#include "recording_prompt.h"
#include "recording_view.h"
#include "scratch_folder.h"
#include "solver_double.h"
#include "solver_interface.h"

namespace {

struct ReferenceBus {
    double voltage;  // p.u.
    double angle;    // degrees
};

// bus,type_in,type_out,vm_pu,va_deg,pg_mw,qg_mvar
std::map<int, ReferenceBus> ReadReference(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    std::map<int, ReferenceBus> buses;
    while (std::getline(file, line)) {
        std::istringstream in(line);
        in.imbue(std::locale::classic());
        int number = 0, typeIn = 0, typeOut = 0;
        double v = 0, a = 0;
        char comma;
        in >> number >> comma >> typeIn >> comma >> typeOut >> comma >> v >> comma >> a;
        buses[number] = {v, a};
    }
    return buses;
}

TEST(PowerSystemSolver, PublicCasesSolveByTheHostRoad) {
    for (const char* name : {"case14", "case30", "case118"}) {
        SCOPED_TRACE(name);
        CdfModel drawn(std::string(TEST_DATA_DIR "/") + name + ".cdf");
        RecordingMessageSink sink;
        drawn.model().SetMessageSink(&sink);
        ASSERT_EQ(drawn.model().RunSolver(nullptr, nullptr, nullptr), 1);
        const auto reference = ReadReference(std::string(TEST_DATA_DIR "/") + name + "-noqlim-bus.csv");
        ASSERT_EQ(reference.size(), drawn.Buses().size());
        for (const auto& [number, bus] : drawn.Buses()) {
            SCOPED_TRACE(number);
            EXPECT_NEAR(bus->GetValues()[Bus::kVoltage], reference.at(number).voltage, 1e-4);
            EXPECT_NEAR(bus->GetValues()[Bus::kAngle], reference.at(number).angle, 0.01);
        }
        EXPECT_FALSE(drawn.model().IsGroupingBuses());
    }
}

// Switching a bus off after a solve leaves its old voltage on the diagram
// greyed until the next solve; its name stays as it was.
TEST(PowerSystemSolver, ResultsOfANetworkChangedSinceItsSolveAreGreyed) {
    CdfModel drawn(TEST_DATA_DIR "/case14.cdf");
    PowerSystem& model = drawn.model();
    RecordingView view;
    model.SetView(&view);
    ASSERT_EQ(model.RunSolver(nullptr, nullptr, nullptr), 1);
    Bus& bus = drawn.BusNumbered(14);
    auto colourOf = [&](const std::string& text) {
        RecordingDrawingContext dc;
        model.Draw(dc, nullptr);
        for (const auto& call : dc.Of(RecordingDrawingContext::Op::Text)) {
            if (call.text == text) return call.state.textColor;
        }
        ADD_FAILURE() << "no label " << text;
        return ColorRef{};
    };
    const std::string name = bus.GetName();
    const std::string voltage = bus.GetLabel(1)->GetText();
    const ColorRef shown = colourOf(voltage);
    const ColorRef nameShown = colourOf(name);
    EXPECT_FALSE(model.ResultsStale());

    const Point onBar = bus.GetCenter();
    model.HandleEditEvent(EditEvent::ButtonDown, EditTool::Selection, 0, &onBar, &view);
    ASSERT_TRUE(model.HandleEditEvent(EditEvent::Switch, EditTool::Selection, 0, nullptr, &view));
    ASSERT_FALSE(bus.IsOn());
    EXPECT_TRUE(model.ResultsStale());
    model.HandleEditEvent(EditEvent::ClearSelection, EditTool::Selection, 0, nullptr, &view);
    EXPECT_NE(colourOf(voltage), shown);
    EXPECT_EQ(colourOf(name), nameShown);
    EXPECT_TRUE(model.ResultsStale());  // neither selecting nor drawing makes them valid again

    model.HandleEditEvent(EditEvent::ButtonDown, EditTool::Selection, 0, &onBar, &view);
    model.HandleEditEvent(EditEvent::Switch, EditTool::Selection, 0, nullptr, &view);
    model.HandleEditEvent(EditEvent::ClearSelection, EditTool::Selection, 0, nullptr, &view);
    ASSERT_EQ(model.RunSolver(nullptr, nullptr, nullptr), 1);
    EXPECT_FALSE(model.ResultsStale());
    EXPECT_EQ(colourOf(bus.GetLabel(1)->GetText()), shown);
}

// S1 -connector- S2 -line- L1 -breaker- L2, the slack at S1 and a load at
// L2; its twin has the line alone between a slack and a load bus.
TEST(PowerSystemSolver, GroupedBusesSolveLikeTheirMergedTwin) {
    auto slackWithGenerator = [](DrawnNetwork& net, const char* name) -> Bus& {
        Bus& bus = net.AddBus(name, 110.0, 1.02);
        net.Hang<Generator>(bus, 10);
        bus.GetValues()[Bus::kKind] = Bus::kSwingKind;
        return bus;
    };
    auto loadOn = [](DrawnNetwork& net, Bus& bus) {
        double* v = net.Hang<Load>(bus, 20).GetValues();
        v[Load::kP] = v[Load::kPConstantPower] = 50.0;
        v[Load::kQ] = v[Load::kQConstantPower] = 20.0;
    };
    DrawnNetwork twin;
    Bus& twinLoad = twin.AddBus("L");
    twin.Join<PowerLine>(slackWithGenerator(twin, "S"), twinLoad, 20);
    loadOn(twin, twinLoad);
    ASSERT_EQ(twin.model().RunSolver(nullptr, nullptr, nullptr), 1);

    DrawnNetwork net;
    RecordingView view;
    net.model().SetView(&view);
    Bus& s1 = slackWithGenerator(net, "S1");
    Bus& s2 = net.AddBus("S2");
    Bus& l1 = net.AddBus("L1");
    Bus& l2 = net.AddBus("L2");
    net.Join<Connector>(s1, s2, 5);
    net.Join<PowerLine>(s2, l1, 20);
    CircuitBreaker& breaker = net.Join<CircuitBreaker>(l1, l2, 35);
    breaker.SetOn(true);
    loadOn(net, l2);
    ASSERT_EQ(net.model().RunSolver(nullptr, nullptr, nullptr), 1);

    const double v = twinLoad.GetValues()[Bus::kVoltage];
    ASSERT_LT(v, 1.0);
    for (Bus* bus : {&l1, &l2}) {
        EXPECT_NEAR(bus->GetValues()[Bus::kVoltage], v, 1e-9);
        EXPECT_NEAR(bus->GetValues()[Bus::kAngle], twinLoad.GetValues()[Bus::kAngle], 1e-9);
    }
    EXPECT_NEAR(s2.GetValues()[Bus::kVoltage], 1.02, 1e-9);
    // Within the solver's mismatch tolerance (1e-4 p.u.).
    EXPECT_NEAR(breaker.GetValues()[SwitchData::kP], 50.0, 0.01);
    EXPECT_NEAR(breaker.GetValues()[SwitchData::kQ], 20.0, 0.01);
    EXPECT_FALSE(net.model().IsGroupingBuses());
    ASSERT_FALSE(view.calls.empty());
    EXPECT_EQ(view.calls.back().op, RecordingView::Op::InvalidateAll);
}

TEST(PowerSystemSolver, ExportingThroughTheSolverAlsoAppliesTheResults) {
    ScratchFolder folder("solver_binding_export");
    const std::string path = (folder / "case14.cdf").string();
    CdfModel drawn(TEST_DATA_DIR "/case14.cdf");
    ASSERT_EQ(drawn.model().RunSolver(nullptr, path.c_str(), nullptr), 1);
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    EXPECT_NEAR(drawn.BusNumbered(14).GetValues()[Bus::kVoltage], 1.0355, 1e-4);
}

// A -connector- B -line- C: the group takes number 4, the first that no bus
// carries, in the exported file.
TEST(PowerSystemSolver, AnExportedGroupTakesAFreeBusNumber) {
    ScratchFolder folder("solver_binding_export_group");
    const std::string path = (folder / "grouped.cdf").string();
    DrawnNetwork net;
    Bus& a = net.AddBus("A");
    Bus& b = net.AddBus("B");
    Bus& c = net.AddBus("C");
    net.Hang<Generator>(a, 10);
    a.GetValues()[Bus::kKind] = Bus::kSwingKind;
    net.Join<Connector>(a, b, 5);
    net.Join<PowerLine>(b, c, 20);
    double* load = net.Hang<Load>(c, 20).GetValues();
    load[Load::kP] = load[Load::kPConstantPower] = 20.0;
    ASSERT_EQ(net.model().RunSolver(nullptr, path.c_str(), nullptr), 1);
    std::ifstream file(path);
    std::vector<std::string> numbers;
    for (std::string line; std::getline(file, line);)
        if (line.size() > 4 && line.find("BUS DATA") == std::string::npos) numbers.push_back(line.substr(0, 4));
    EXPECT_NE(std::find(numbers.begin(), numbers.end(), "   4"), numbers.end());
    EXPECT_EQ(std::find(numbers.begin(), numbers.end(), "****"), numbers.end());
    EXPECT_LT(c.GetValues()[Bus::kVoltage], 1.0);
    EXPECT_GT(b.GetValues()[Bus::kVoltage], 0.99);
}

// A case file or continuation table that cannot be written fails the run,
// and the sink says which file and why.
TEST(PowerSystemSolver, AFileThatCannotBeWrittenFailsTheRunAndSaysWhy) {
    ScratchFolder folder("solver_binding_unwritable");
    const std::string missingFolder = (folder / "absent" / "case14.cdf").string();
    struct Case {
        const char* what;
        std::string path;
        bool continuation;
        const char* reason;
    };
    const Case cases[] = {
        {"export on a full disk", "/dev/full", false, "No space left on device"},
        {"export into a missing folder", missingFolder, false, "No such file or directory"},
        {"continuation table on a full disk", "/dev/full", true, "No space left on device"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CdfModel drawn(TEST_DATA_DIR "/case14.cdf", false);
        RecordingMessageSink sink;
        drawn.model().SetMessageSink(&sink);
        const int answer = c.continuation ? drawn.model().RunContinuation(c.path.c_str(), false, 0.0)
                                          : drawn.model().RunSolver(nullptr, c.path.c_str(), nullptr);
        EXPECT_EQ(answer, 0);
        const auto failure = std::find_if(sink.messages.begin(), sink.messages.end(), [&](const auto& m) {
            return m.level == IMessageSink::Failure && m.text.find(c.path) != std::string::npos &&
                   m.text.find(c.reason) != std::string::npos;
        });
        EXPECT_NE(failure, sink.messages.end());
        EXPECT_FALSE(drawn.model().IsGroupingBuses());
    }
}

ISolver* NoSolver() { return nullptr; }

TEST(PowerSystemSolver, WithoutASolverEveryRoadFailsWithTheMessage) {
    DrawnNetwork net;
    RecordingPrompt prompt;
    net.model().SetPrompt(&prompt);
    net.model().SetSolverFactory(&NoSolver);
    EXPECT_EQ(net.model().RunSolver(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(net.model().RunContinuation("pv.txt", false, 0.0), 0);
    EXPECT_EQ(net.model().RunContinuation(nullptr, true, 500.0), 0);
    ASSERT_EQ(prompt.boxes.size(), 3u);
    for (const auto& box : prompt.boxes)
        EXPECT_EQ(box.text, "Cannot load Quellmark library!!!\nPlease reinstall application.");
    EXPECT_FALSE(net.model().IsGroupingBuses());
}

// A solver that answers as a test scripts it and counts its releases.
class ScriptedSolver final : public SolverDouble {
public:
    enum class Answer { Solves, Fails, Throws };
    Answer attach = Answer::Solves;
    MemoryRecordCursor results;
    bool groupingSeen = false;

    int Attach(IRecordCursor* source, IMessageSink*, int) override {
        source->SetGroupBuses(true);
        groupingSeen = true;
        if (attach == Answer::Throws) throw std::runtime_error("scripted");
        return attach == Answer::Solves ? 1 : 0;
    }
    IRecordCursor* GetResultCursor() override { return &results; }
};

ScriptedSolver* scripted = nullptr;
ISolver* MakeScripted() { return scripted; }

// Buses A, B, C and lines A-B, B-C.
struct ScriptedRun {
    ScriptedRun() {
        scripted = &solver;
        a = &net.AddBus("A");
        b = &net.AddBus("B");
        c = &net.AddBus("C");
        ab = &net.Join<PowerLine>(*a, *b, 10);
        bc = &net.Join<PowerLine>(*b, *c, 20);
        net.model().SetSolverFactory(&MakeScripted);
    }
    ~ScriptedRun() { scripted = nullptr; }
    void AddBusResult(int key, double v) {
        BusRecord r;
        r.key = key;
        r.voltage = v;
        solver.results.buses.push_back(r);
    }
    void AddBranchResult(int key, double pFrom) {
        BranchRecord r;
        r.key = key;
        r.pFrom = pFrom;
        solver.results.branches.push_back(r);
    }

    ScriptedSolver solver;
    DrawnNetwork net;
    Bus *a, *b, *c;
    PowerLine *ab, *bc;
};

TEST(PowerSystemSolver, AnUnknownBusEndsTheBusesAndAnUnknownBranchIsSkipped) {
    ScriptedRun run;
    run.AddBusResult(run.a->GetKey(), 0.97);
    run.AddBusResult(MakeKey(999, Category::Bus), 0.5);
    run.AddBusResult(run.c->GetKey(), 0.93);
    run.AddBranchResult(MakeKey(999, Category::Line), 1.0);
    run.AddBranchResult(run.bc->GetKey(), 12.5);
    ASSERT_EQ(run.net.model().RunSolver(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(run.a->GetValues()[Bus::kVoltage], 0.97);
    EXPECT_EQ(run.c->GetValues()[Bus::kVoltage], 1.0);
    EXPECT_EQ(run.bc->GetValues()[BranchData::kPFrom], 12.5);
    EXPECT_EQ(run.solver.releases, 1);
    EXPECT_FALSE(run.net.model().IsGroupingBuses());
}

TEST(PowerSystemSolver, EveryWayOutReleasesTheSolverAndEndsGrouping) {
    for (auto attach : {ScriptedSolver::Answer::Fails, ScriptedSolver::Answer::Throws}) {
        ScriptedRun run;
        run.solver.attach = attach;
        run.AddBusResult(run.a->GetKey(), 0.5);
        if (attach == ScriptedSolver::Answer::Fails)
            EXPECT_EQ(run.net.model().RunSolver(nullptr, nullptr, nullptr), 0);
        else
            EXPECT_THROW(run.net.model().RunSolver(nullptr, nullptr, nullptr), std::runtime_error);
        EXPECT_TRUE(run.solver.groupingSeen);
        EXPECT_EQ(run.solver.releases, 1);
        EXPECT_FALSE(run.net.model().IsGroupingBuses());
        EXPECT_EQ(run.a->GetValues()[Bus::kVoltage], 1.0);
    }
}

std::vector<double> LastColumn(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    std::vector<double> column;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        fields.imbue(std::locale::classic());
        std::vector<double> row;
        for (double value; fields >> value;) row.push_back(value);
        if (!row.empty()) column.push_back(row.back());
    }
    return column;
}

// The solver's own run over the case file, loads raised in proportion to
// their base values, reactive limits off, with the values of options L and
// S that a host continuation run takes; its table's nose in MW.
double FileRunNoseMw(const std::string& cdf, const std::filesystem::path& folder) {
    std::string directions;
    for (const BusRecord& bus : LoadCdfAsHostRecords(cdf).buses) {
        if (bus.loadP == 0.0 && bus.loadQ == 0.0) continue;
        char line[96];
        std::snprintf(line, sizeof line, "%d 0 0 %.17g %.17g 0\n", bus.number, bus.loadP / 100.0, bus.loadQ / 100.0);
        directions += line;
    }
    std::ofstream((folder / "dir.k").string()) << directions;
    const std::string table = (folder / "file_pv.txt").string();
    const std::vector<std::string> args = {"ostrand", "-I", cdf, (folder / "out.txt").string(), "-c" + table,
                                           "-K" + (folder / "dir.k").string(), "-q", "-L0.1", "-S0.8"};
    std::vector<const char*> items;
    for (const std::string& arg : args) items.push_back(arg.c_str());
    ISolver* solver = createPSSolver();
    solver->SetTotalsColumns(false, false, true, false);
    const int solved = solver->Main(static_cast<int>(items.size()), items.data(), 0);
    solver->Release();
    if (solved != 1) throw std::runtime_error("the file run failed");
    const auto load = LastColumn(table);
    return 100.0 * *std::max_element(load.begin(), load.end());
}

TEST(PowerSystemSolver, ContinuationOfTheDrawnCaseReachesTheFileRunsNose) {
    ScratchFolder folder("solver_binding_continuation");
    const std::string cdf = TEST_DATA_DIR "/case30.cdf";
    CdfModel drawn(cdf, false);
    const std::string table = (folder / "pv.txt").string();
    ASSERT_EQ(drawn.model().RunContinuation(table.c_str(), false, 0.0), 1);
    EXPECT_FALSE(drawn.model().IsGroupingBuses());
    const auto load = LastColumn(table);
    ASSERT_GT(load.size(), 2u);
    const double noseMw = *std::max_element(load.begin(), load.end()) * 100.0;
    const double fileNoseMw = FileRunNoseMw(cdf, folder / "");
    EXPECT_NEAR(noseMw, fileNoseMw, 0.001 * fileNoseMw);
}

}  // namespace
