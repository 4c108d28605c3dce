// The network window's studies run from its commands on a small solvable
// network: what the message window is told, which dialogs are asked, the
// graph windows made (by a recording factory) and the study files, which
// are gone when each command returns.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <QTemporaryDir>

#include "archive.h"
#include "archive_file.h"
#include "command_ids.h"
#include "drawn_network.h"
#include "finans_view.h"
#include "generator.h"
#include "load.h"
#include "power_line.h"
#include "recording_message_sink.h"
#include "solver_double.h"
#include "study_window_fixture.h"
#include "switching_element.h"
#include "temporary_folder_override.h"
#include "transformer.h"

namespace {

using Message = RecordingMessageSink::Message;

// North (slack, 110 kV) feeds Middle over a line and South (20 kV) through
// a transformer from Middle; loads on Middle and South. With `overloaded`
// the load is far beyond what the line can carry: nothing solves.
struct ThreeBusNetwork {
    explicit ThreeBusNetwork(bool overloaded = false) {
        north = &net.AddBus("North", 110.0, 1.02);
        middle = &net.AddBus("Middle bus of the long valley", 110.0, 1.0);
        south = &net.AddBus("South", 20.0, 1.0);
        double* g = net.Hang<Generator>(*north, 10).GetValues();
        g[Generator::kQMin] = -500.0;
        g[Generator::kQMax] = 500.0;
        g[Generator::kPMax] = 500.0;
        north->GetValues()[Bus::kKind] = Bus::kSwingKind;
        AddLoad(*middle, overloaded ? 9000.0 : 40.0, 10.0);
        AddLoad(*south, 20.0, 5.0);
        line = &net.Join<PowerLine>(*north, *middle);
        line->SetName("Valley overhead line");
        SetBranch(*line, 0.02, 0.1, 1000.0);
        transformer = &net.Join<Transformer>(*middle, *south);
        transformer->SetName("");
        SetBranch(*transformer, 0.0, 0.1, 60.0);
        double* t = transformer->GetValues();
        t[BranchData::kFromTapKv] = 110.0;
        t[BranchData::kToTapKv] = 20.0;
    }

    void AddLoad(Bus& bus, double p, double q) {
        double* l = net.Hang<Load>(bus, 20).GetValues();
        l[Load::kP] = l[Load::kPConstantPower] = p;
        l[Load::kQ] = l[Load::kQConstantPower] = q;
        l[Load::kPShare] = l[Load::kQShare] = 1.0;
    }
    static void SetBranch(PowerLine& branch, double r, double x, double rating) {
        double* d = branch.GetValues();
        d[BranchData::kLength] = 1.0;
        d[BranchData::kResistance] = r;
        d[BranchData::kReactance] = x;
        d[BranchData::kRating] = rating;
    }

    DrawnNetwork net;
    Bus* north;
    Bus* middle;
    Bus* south;
    PowerLine* line;
    PowerLine* transformer;
};

// The network in a program's window, its messages kept and its study files
// made in a fresh temporary folder.
class NetworkStudies : public StudyWindowTest {
protected:
    QTemporaryDir studyFolder;
    std::unique_ptr<TemporaryFolderOverride> tmp;
    RecordingMessageSink sink;

    void Open(PowerSystem& network, const QString& name = "three buses.pf") {
        Archive stored = Archive::ForStoring();
        network.SerializeModel(stored);
        const QString path = folder.filePath(name);
        SaveArchiveFile(stored, path.toStdString());
        OpenStudyWindow(path);
        model->SetMessageSink(&sink);
        tmp = std::make_unique<TemporaryFolderOverride>(studyFolder.path().toStdString());
    }

    void TearDown() override {
        if (model) model->SetMessageSink(nullptr);
        tmp.reset();
        StudyWindowTest::TearDown();
    }

    // The messages at levels 0, 1 and 3: the limit warnings of a solve are
    // the model's.
    std::vector<Message> Progress() const {
        std::vector<Message> found;
        for (const Message& m : sink.messages) {
            if (m.level != IMessageSink::Warning) found.push_back(m);
        }
        return found;
    }
    bool StudyFolderIsEmpty() const {
        return std::filesystem::is_empty(studyFolder.path().toStdString());
    }
    std::vector<QString> MessageBoxes() const {
        std::vector<QString> texts;
        for (const auto& prompt : prompts.Messages()) texts.push_back(prompt.text);
        return texts;
    }
};


// --- Solve ---

TEST_F(NetworkStudies, SolveReportsItsRunAndMarksTheDocumentOnlyWhenSolved) {
    struct Case {
        bool overloaded;
        bool withSink;
        std::vector<Message> messages;
        bool modified;
    };
    const Case cases[] = {
        {false, true, {{1, "Started solving PF"}, {0, "Power Flow successfully solved"}}, true},
        {true, true, {{1, "Started solving PF"}, {3, "Power Flow was not solved"}}, false},
        {false, false, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "overloaded " << c.overloaded << ", sink " << c.withSink);
        ThreeBusNetwork network(c.overloaded);
        Open(network.net.model());
        if (!c.withSink) model->SetMessageSink(nullptr);
        const double before = model->FindByKey(network.south->GetKey())->GetValues()[Bus::kVoltage];
        Run(Command::SolvePowerFlow);
        EXPECT_EQ(Progress(), c.messages);
        EXPECT_EQ(view->GetDocument()->IsModified(), c.modified);
        const double after = model->FindByKey(network.south->GetKey())->GetValues()[Bus::kVoltage];
        EXPECT_EQ(after != before, c.modified);
        TearDown();
        sink.messages.clear();
    }
}

TEST_F(NetworkStudies, EveryToolOfSolvingSolves) {
    ThreeBusNetwork network;
    Open(network.net.model());
    for (int command : {Command::SolveProblem, Command::SolveLoadFlow}) {
        sink.messages.clear();
        Run(command);
        EXPECT_EQ(Progress().back(), (Message{0, "Power Flow successfully solved"})) << command;
    }
}

TEST_F(NetworkStudies, ARemoteDocumentWithoutAConnectionSendsAndShowsNothing) {
    ThreeBusNetwork network;
    Open(network.net.model());
    view->GetDocument()->SetRemote(true);
    const double before = model->FindByKey(network.south->GetKey())->GetValues()[Bus::kVoltage];
    Run(Command::SolvePowerFlow);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_FALSE(view->GetDocument()->IsModified());
    EXPECT_EQ(model->FindByKey(network.south->GetKey())->GetValues()[Bus::kVoltage], before);
}

// --- PV curves ---

TEST_F(NetworkStudies, PVCurvesReadTheirTableBeforeItGoes) {
    ThreeBusNetwork network;
    Open(network.net.model());
    dialogs.pvCurveVariables = {"PLoad_Total", {"V_South", "V_Middle_bus"}};
    Run(Command::PvCurves);
    EXPECT_EQ(Progress(), (std::vector<Message>{{1, "Started continuation power flow!"},
                                                {0, "Continuation power flow completed successfully!"}}));
    EXPECT_TRUE(view->GetDocument()->IsModified());
    ASSERT_EQ(graphs.graphs.size(), 1u);
    const RecordingGraph& graph = *graphs.graphs[0];
    EXPECT_EQ(dialogs.Dialogs(), (std::vector<std::string>{"LoadDirections", "PvCurveVariables"}));
    EXPECT_EQ(dialogs.calls[1].text, graph.dataFile);
    EXPECT_EQ(std::filesystem::path(graph.dataFile).filename().string().rfind("PVProf", 0), 0u);
    EXPECT_NE(graph.headerAtCreate.find("PLoad_Total"), std::string::npos);
    EXPECT_EQ(graph.Argument("AddYVariable"), "V_South");
    EXPECT_TRUE(StudyFolderIsEmpty());
}

TEST_F(NetworkStudies, AFailedContinuationSaysSoAndShowsNoCurves) {
    ThreeBusNetwork network(true);
    Open(network.net.model());
    Run(Command::PvCurves);
    EXPECT_EQ(Progress(), (std::vector<Message>{{1, "Started continuation power flow!"},
                                                {3, "Cannot complete continuation power flow!"}}));
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].caption, "PV Curves");
    EXPECT_EQ(prompts.Messages()[0].icon, PromptIcon::Warning);
    EXPECT_TRUE(graphs.graphs.empty());
    EXPECT_EQ(dialogs.Dialogs(), std::vector<std::string>{"LoadDirections"});
    EXPECT_TRUE(StudyFolderIsEmpty());
}

TEST_F(NetworkStudies, PVCurvesToTheDocumentsOutputOrStoppedAtALoad) {
    ThreeBusNetwork network;
    Open(network.net.model());
    // The table goes to the output file the dialog stored, which stays.
    const std::string output = folder.filePath("curves.TXT").toStdString();
    model->SetContinuationResult(output);
    dialogs.loadDirections = {true, false, 0.0};
    dialogs.pvCurveVariables = {"PLoad_Total", {"V_South"}};
    Run(Command::PvCurves);
    ASSERT_EQ(graphs.graphs.size(), 1u);
    EXPECT_EQ(graphs.graphs[0]->dataFile, output);
    EXPECT_TRUE(std::filesystem::exists(output));

    // Stopped at a total load of 200 MW (60 MW at the start): the diagram
    // shows the first point traced at or beyond it (the slack makes the
    // load and the losses there), and no curves.
    dialogs.loadDirections = {false, true, 200.0};
    Run(Command::PvCurves);
    EXPECT_EQ(graphs.graphs.size(), 1u);
    EXPECT_EQ(Progress().back(), (Message{0, "Continuation power flow completed successfully!"}));
    const double slackMw = model->GetSystemTotal(2);
    EXPECT_GE(slackMw, 200.0);
    EXPECT_LT(slackMw, 320.0);
    EXPECT_TRUE(StudyFolderIsEmpty());
}

// --- Transfer capability ---

TransferCapabilityChoice Transfer(int source, int destination, bool charts) {
    TransferCapabilityChoice choice;
    choice.sourceKey = source;
    choice.destinationKey = destination;
    choice.sourceName = "from";
    choice.destinationName = "to";
    choice.initialStep = 10;
    choice.stopEnabled = true;
    choice.stopTransfer = 30.0;
    choice.voltageChart = choice.angleChart = choice.reactiveChart = choice.lineLoadChart = charts;
    return choice;
}

TEST_F(NetworkStudies, TransferCapabilityChartsCascadeAndTheReportOpens) {
    ThreeBusNetwork network;
    Open(network.net.model());
    dialogs.transferCapability = Transfer(network.north->GetKey(), network.south->GetKey(), true);
    Run(Command::TransferCapability);
    EXPECT_EQ(Progress(), (std::vector<Message>{{1, "Started solving available transfer capability problem"},
                                                {0, "Available transfer capability problem successfully solved!"}}));
    ASSERT_EQ(graphs.graphs.size(), 4u);
    const char* prefixes[] = {"TCV", "TCTheta", "TCQ", "TCLF"};
    const char* offsets[] = {"", "30", "60", "90"};
    for (int i = 0; i < 4; ++i) {
        const RecordingGraph& graph = *graphs.graphs[i];
        EXPECT_EQ(std::filesystem::path(graph.dataFile).filename().string().rfind(prefixes[i], 0), 0u) << i;
        EXPECT_EQ(graph.Argument("SetCascadeOffset"), offsets[i]) << i;
        EXPECT_EQ(graph.headerAtCreate, "Names x Sensitivity\r") << i;
    }
    EXPECT_TRUE(StudyFolderIsEmpty());
    // The stop was reached: 30 MW moved.
    ASSERT_TRUE(dialogs.seenTransferTexts);
    EXPECT_EQ(dialogs.seenTransferTexts->source, "from");
    EXPECT_EQ(dialogs.seenTransferTexts->transfer, "30.000");
    // The transformer (no name) is loaded most.
    EXPECT_EQ(dialogs.seenTransferTexts->line, "(Middle bus of the long valley-South)");
    ASSERT_EQ(Windows().size(), 2u);
    EXPECT_EQ(Windows().back()->View().GetDocument()->GetTitle(), "Transfer Capability Results: three buses.pf");
}

TEST_F(NetworkStudies, TransferCapabilityWithoutChartsOrResult) {
    ThreeBusNetwork network;
    Open(network.net.model());
    // No charts: no graph, the report still offered, closed without one.
    dialogs.transferCapability = Transfer(network.north->GetKey(), network.south->GetKey(), false);
    dialogs.confirm = true;
    Run(Command::TransferCapability);
    EXPECT_TRUE(graphs.graphs.empty());
    EXPECT_EQ(dialogs.Dialogs(), (std::vector<std::string>{"TransferCapability", "TransferCapabilityResults"}));
    EXPECT_EQ(Windows().size(), 2u);

    // A bus the network does not have: nothing solved, no report to make.
    sink.messages.clear();
    dialogs.transferCapability = Transfer(network.north->GetKey(), MakeKey(99, Category::Bus), true);
    Run(Command::TransferCapability);
    EXPECT_EQ(Progress().back(), (Message{3, "Available transfer capability problem was not solved!"}));
    EXPECT_TRUE(graphs.graphs.empty());
    EXPECT_EQ(dialogs.seenTransferTexts->transfer, "0.000");
    EXPECT_EQ(dialogs.seenTransferTexts->line, "");
    EXPECT_EQ(MessageBoxes(), std::vector<QString>{"Cannot create report!!"});
    EXPECT_EQ(Windows().size(), 2u);
    EXPECT_TRUE(StudyFolderIsEmpty());
}

// --- Sensitivities ---

TEST_F(NetworkStudies, SupplementaryMotionShowsAnglesThenVoltages) {
    ThreeBusNetwork network;
    Open(network.net.model());
    Run(Command::SupplementaryMotionSensitivity);
    ASSERT_EQ(graphs.graphs.size(), 2u);
    EXPECT_EQ(graphs.graphs[0]->Argument("SetGraphTitle"), "Theta-P Sensitivity Factors");
    EXPECT_FALSE(graphs.graphs[0]->Called("SetCascadeOffset"));
    EXPECT_EQ(graphs.graphs[1]->Argument("SetGraphTitle"), "V-Q Sensitivity Factors");
    EXPECT_EQ(graphs.graphs[1]->Argument("SetCascadeOffset"), "30");
    EXPECT_EQ(graphs.graphs[0]->dataFile, graphs.graphs[1]->dataFile);
    EXPECT_EQ(std::filesystem::path(graphs.graphs[0]->dataFile).filename().string().rfind("dVdQ", 0), 0u);
    EXPECT_EQ(graphs.graphs[1]->headerAtCreate, "Names x Sensitivity\r");
    EXPECT_TRUE(StudyFolderIsEmpty());
}

TEST_F(NetworkStudies, FailedSensitivitiesSaySoAndShowNoGraph) {
    ThreeBusNetwork network(true);
    Open(network.net.model());
    dialogs.sensitivityKey = network.middle->GetKey();
    for (int command : {Command::SupplementaryMotionSensitivity, Command::BusSensitivityFactors}) {
        sink.messages.clear();
        Run(command);
        EXPECT_EQ(Progress().back(), (Message{3, "Cannot calculate all sensitivity factors!!"})) << command;
    }
    dialogs.sensitivityKey = network.line->GetKey();
    Run(Command::PowerTransferDistributionFactors);
    EXPECT_EQ(MessageBoxes(), std::vector<QString>{"Cannot calculate all sensitivity factors!!"});
    EXPECT_TRUE(graphs.graphs.empty());
    EXPECT_TRUE(StudyFolderIsEmpty());
}

TEST_F(NetworkStudies, BusFactorsNameTheBusCutToFit) {
    ThreeBusNetwork network;
    Open(network.net.model());
    dialogs.sensitivityKey = network.middle->GetKey();
    Run(Command::BusSensitivityFactors);
    EXPECT_EQ(dialogs.seenSensitivityMode, SensitivityMode::Buses);
    ASSERT_EQ(graphs.graphs.size(), 2u);
    const RecordingGraph& angle = *graphs.graphs[0];
    const RecordingGraph& voltage = *graphs.graphs[1];
    EXPECT_EQ(angle.Argument("SetYAxisTitle"), "dTheta(Middle bus)/dPi");
    EXPECT_EQ(angle.Argument("SetGraphTitle"), "dTheta/dP for Bus: Middle bus of t");
    EXPECT_FALSE(angle.Called("SetCascadeOffset"));
    EXPECT_EQ(std::filesystem::path(angle.dataFile).filename().string().rfind("ThetaPSens", 0), 0u);
    EXPECT_EQ(voltage.Argument("SetYAxisTitle"), "dV(Middle bus)/dQi");
    EXPECT_EQ(voltage.Argument("SetGraphTitle"), "dV/dQ for Bus: Middle bus of t");
    EXPECT_EQ(voltage.Argument("SetCascadeOffset"), "30");
    EXPECT_EQ(std::filesystem::path(voltage.dataFile).filename().string().rfind("QVSens", 0), 0u);
    EXPECT_TRUE(StudyFolderIsEmpty());
}

// Angle factors only.
class AnglesOnly final : public SolverDouble {
public:
    int key = 0;
    bool GetSensitivities(int, std::vector<double>& angles, std::vector<int>& angleKeys, std::vector<double>&,
                          std::vector<int>&) override {
        angles.push_back(0.5);
        angleKeys.push_back(key);
        return true;
    }
};
AnglesOnly* anglesOnly = nullptr;
ISolver* MakeAnglesOnly() { return anglesOnly; }

TEST_F(NetworkStudies, BusFactorsOfAnglesAloneMakeOneGraphInPlace) {
    ThreeBusNetwork network;
    Open(network.net.model());
    AnglesOnly solver;
    solver.key = network.south->GetKey();
    anglesOnly = &solver;
    dynamic_cast<PowerSystem&>(*model).SetSolverFactory(&MakeAnglesOnly);
    dialogs.sensitivityKey = network.south->GetKey();
    Run(Command::BusSensitivityFactors);
    anglesOnly = nullptr;
    ASSERT_EQ(graphs.graphs.size(), 1u);
    EXPECT_EQ(graphs.graphs[0]->Argument("SetYAxisTitle"), "dTheta(South)/dPi");
    EXPECT_FALSE(graphs.graphs[0]->Called("SetCascadeOffset"));
    EXPECT_TRUE(StudyFolderIsEmpty());
}

TEST_F(NetworkStudies, LineFlowFactorsNameTheLineAndItsEnds) {
    ThreeBusNetwork network;
    Open(network.net.model());
    struct Case {
        PowerLine* branch;
        std::string yAxis;
        std::string title;
    };
    const Case cases[] = {
        {network.line, "dI(Valley overhead)/dV", "dI/dV for line(North-Middle bus)"},
        {network.transformer, "dI/dV", "dI/dV for line(Middle bus-South)"},
    };
    for (const Case& c : cases) {
        graphs.graphs.clear();
        dialogs.sensitivityKey = c.branch->GetKey();
        Run(Command::PowerTransferDistributionFactors);
        EXPECT_EQ(dialogs.seenSensitivityMode, SensitivityMode::Branches);
        ASSERT_EQ(graphs.graphs.size(), 1u);
        EXPECT_EQ(graphs.graphs[0]->Argument("SetYAxisTitle"), c.yAxis);
        EXPECT_EQ(graphs.graphs[0]->Argument("SetGraphTitle"), c.title);
        EXPECT_EQ(graphs.graphs[0]->headerAtCreate, "Names x Sensitivity\r");
    }
    EXPECT_TRUE(StudyFolderIsEmpty());
}

// --- Bus groups ---

TEST_F(NetworkStudies, ABusGroupIsStudiedUnderItsStudyName) {
    // South and a second bar joined by a closed breaker form one group.
    ThreeBusNetwork network;
    Bus& east = network.net.AddBus("East", 20.0, 1.0);
    network.net.Join<CircuitBreaker>(*network.south, east).SetOn(true);
    Open(network.net.model());
    // What the dialogs list after the command has built the groups.
    model->BuildBusGroups();
    const int group = model->GetBusGroup(network.south->GetKey());
    ASSERT_GE(group, 0);
    const int groupKey = BusGroups::GroupKey(group);
    EXPECT_EQ(model->GetStudyName(groupKey, ""), "BusGroup " + std::to_string(group));
    EXPECT_FALSE(model->GetNameOfKey(groupKey));
    model->InvalidateBusGroups();

    dialogs.transferCapability = Transfer(network.north->GetKey(), groupKey, false);
    Run(Command::TransferCapability);
    EXPECT_EQ(Progress().back(), (Message{0, "Available transfer capability problem successfully solved!"}));
    ASSERT_EQ(Windows().size(), 2u);

    dialogs.sensitivityKey = groupKey;
    Run(Command::BusSensitivityFactors);
    ASSERT_FALSE(graphs.graphs.empty());
    EXPECT_EQ(graphs.graphs[0]->Argument("SetGraphTitle"), "dTheta/dP for Bus: BusGroup " + std::to_string(group));
}

// --- Results ---

TEST_F(NetworkStudies, ResultsOpenInTheirWindowAfterTheSheet) {
    ThreeBusNetwork network;
    Open(network.net.model());
    Run(Command::SolvePowerFlow);
    Run(Command::PreviewResults);
    ASSERT_EQ(Windows().size(), 2u);
    EXPECT_NE(dynamic_cast<CFinansView*>(&Windows().back()->View()), nullptr);
    EXPECT_EQ(Windows().back()->View().GetDocument()->GetTitle(), "Power Flow Results: three buses.pf");

    // The sheet closed without printing opens nothing.
    dialogs.confirm = false;
    Run(Command::ShowResultsInTable);
    EXPECT_EQ(Windows().size(), 2u);
    dialogs.confirm = true;
    Run(Command::ShowResultsInTable);
    EXPECT_EQ(Windows().size(), 3u);
    EXPECT_EQ(dialogs.Dialogs(), (std::vector<std::string>{"DataSheet", "DataSheet"}));
}

TEST_F(NetworkStudies, TheDatabaseCommandsNameTheSystemByTheWholeTitle) {
    ThreeBusNetwork network;
    // Longer than the 50 characters a name parameter once held.
    const std::string title = "three buses of the northern valley, as planned for the year 2030.pf";
    Open(network.net.model(), QString::fromStdString(title));
    for (int command : {Command::SaveResultsToDatabase, Command::DeleteResultsFromDatabase, Command::CompareResults}) {
        EXPECT_TRUE(Frame().Commands().StateOf(command).enabled) << command;
    }
    Run(Command::SaveResultsToDatabase);
    EXPECT_EQ(dialogs.seenResultsAction, ResultsAction::Save);
    Run(Command::DeleteResultsFromDatabase);
    EXPECT_EQ(dialogs.seenResultsAction, ResultsAction::Delete);
    EXPECT_EQ(dialogs.calls.back().text, title);

    // A system the database does not know: -1.
    Run(Command::CompareResults);
    EXPECT_EQ(dialogs.seenSystemId, -1);
    // One system named by the title's first 50 characters, one by all of it.
    CADODataBase& database = app->ResultsDatabase();
    ASSERT_TRUE(database.Execute("INSERT INTO Systems (ID, Name) VALUES (4, '" + title.substr(0, 50) + "')"));
    ASSERT_TRUE(database.Execute("INSERT INTO Systems (ID, Name) VALUES (7, '" + title + "')"));
    Run(Command::CompareResults);
    EXPECT_EQ(dialogs.seenSystemId, 7);
    EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(NetworkStudies, TheDatabaseCommandsWaitForTheDatabase) {
    ThreeBusNetwork network;
    Open(network.net.model());
    app->ResultsDatabase().Close();
    for (int command : {Command::SaveResultsToDatabase, Command::DeleteResultsFromDatabase, Command::CompareResults}) {
        EXPECT_FALSE(Frame().Commands().StateOf(command).enabled) << command;
    }
}

}  // namespace
