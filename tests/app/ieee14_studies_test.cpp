// The program's sample network studied from the menus, against the solver's
// command-line run on the case file the sample was drawn from.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <QFile>
#include <QProcess>

#include "bus.h"
#include "command_ids.h"
#include "finans_view.h"
#include "power_system.h"
#include "solver_interface.h"
#include "study_window_fixture.h"

namespace {

const char* const kCase = EXAMPLES_DIR "/ieee14.cdf";

std::vector<std::string> Tokens(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) tokens.push_back(token);
    return tokens;
}

// Runs the command-line solver; false when it failed.
bool RunOstrand(const QStringList& arguments) {
    QProcess ostrand;
    ostrand.start(OSTRAND_PATH, arguments);
    return ostrand.waitForFinished(60000) && ostrand.exitStatus() == QProcess::NormalExit && ostrand.exitCode() == 0;
}

// The bus number of a name that starts with "Bus <n>", as the sample names
// its buses and the tables their columns ("V_Bus_14____L").
int NumberOf(const std::string& name) {
    int number = 0;
    std::sscanf(name.c_str(), "%*[^0-9]%d", &number);
    return number;
}

// A continuation table: its column names and rows.
struct Table {
    std::vector<std::string> names;
    std::vector<std::vector<double>> rows;
};
Table ReadTable(std::istream& in) {
    Table table;
    std::string line;
    std::getline(in, line);
    table.names = Tokens(line);
    while (std::getline(in, line)) {
        std::vector<double> row;
        for (const std::string& token : Tokens(line)) row.push_back(std::stod(token));
        if (!row.empty()) table.rows.push_back(row);
    }
    return table;
}

// The point of a table with the largest total load: that load (p.u.) and
// the voltage of every bus by number.
struct Nose {
    double load = 0.0;
    std::map<int, double> voltages;
};
Nose NoseOf(const Table& table) {
    const auto load = std::find(table.names.begin(), table.names.end(), "PLoad_Total") - table.names.begin();
    Nose nose;
    const std::vector<double>* top = nullptr;
    for (const std::vector<double>& row : table.rows) {
        if (static_cast<std::size_t>(load) < row.size() && (top == nullptr || row[load] > (*top)[load])) top = &row;
    }
    if (top == nullptr) return nose;
    nose.load = (*top)[load];
    for (std::size_t c = 0; c < table.names.size(); ++c) {
        if (static_cast<std::ptrdiff_t>(c) != load) nose.voltages[NumberOf(table.names[c])] = (*top)[c];
    }
    return nose;
}

class Ieee14Studies : public StudyWindowTest {
protected:
    void OpenSample() {
        const QString path = folder.filePath("ieee14.pf");
        ASSERT_TRUE(QFile::copy(EXAMPLES_DIR "/ieee14.pf", path));
        OpenStudyWindow(path);
    }

    PowerSystem& Model() const { return dynamic_cast<PowerSystem&>(*model); }
};

TEST_F(Ieee14Studies, SolvedLabelsShowTheCommandLineSolution) {
    OpenSample();
    Run(Command::SolvePowerFlow);

    const std::string listing = folder.filePath("ieee14.lst").toStdString();
    ASSERT_TRUE(RunOstrand({"-I", kCase, QString::fromStdString(listing)}));
    // A bus's first line starts in column 1 with its number second and its
    // voltage (p.u.) third; the angle (degrees) opens the next line.
    std::map<int, std::pair<double, double>> solved;
    std::ifstream in(listing);
    for (std::string line, next; std::getline(in, line);) {
        if (line.size() < 2 || line[1] == ' ') continue;
        const std::vector<std::string> tokens = Tokens(line);
        if (tokens.size() < 3 || tokens[2].find('.') == std::string::npos) continue;
        ASSERT_TRUE(std::getline(in, next));
        solved[std::stoi(tokens[1])] = {std::stod(tokens[2]), std::stod(Tokens(next).at(0))};
    }
    ASSERT_EQ(solved.size(), 14u);

    int checked = 0;
    for (const auto& [key, element] : Model().List(PowerSystem::kBuses).Entries()) {
        auto& bus = dynamic_cast<Bus&>(*element);
        const auto [voltage, angle] = solved.at(NumberOf(bus.GetName()));
        const std::string label = bus.GetLabel(1)->GetText();
        double kv = 0.0;
        double degrees = 0.0;
        ASSERT_EQ(std::sscanf(label.c_str(), "V=%lf/%lf", &kv, &degrees), 2) << label;
        // The label rounds to 0.01 kV and 0.1 degree, the listing to 0.0001
        // p.u. and 0.01 degree.
        const double nominal = bus.GetValues()[Bus::kNominalKv];
        EXPECT_NEAR(kv, nominal * voltage, 0.005 + nominal * 0.00005 + 1e-9) << bus.GetName() << " " << label;
        EXPECT_NEAR(degrees, angle, 0.05 + 0.005 + 1e-9) << bus.GetName() << " " << label;
        ++checked;
    }
    EXPECT_EQ(checked, 14);

    // Preview Results shows them as a report.
    Run(Command::PreviewResults);
    ASSERT_EQ(Windows().size(), 2u);
    EXPECT_NE(dynamic_cast<CFinansView*>(&Windows().back()->View()), nullptr);
    EXPECT_EQ(Windows().back()->View().GetDocument()->GetTitle(), "Power Flow Results: ieee14.pf");
}

TEST_F(Ieee14Studies, ThePVCurvesNoseIsTheCommandLineContinuations) {
    OpenSample();
    // The directions the load-directions dialog would store: every load
    // grows by 1 % of itself, the slack alone meets it. The sample's
    // generators keep a share of 1 each until it is set to 0: with theirs
    // the program would trace another direction than the K file's.
    IRecordCursor& cursor = *model->GetRecordCursor();
    cursor.SetTable(IRecordCursor::BusTable, 0);
    cursor.MoveFirst();
    std::vector<BusRecord> buses;
    for (BusRecord record; cursor.Next(record);) buses.push_back(record);
    for (BusRecord record : buses) {
        if (!record.hasGeneration) continue;
        record.hasLoad = false;
        record.generationShare = 0.0;
        Model().ApplyRecordToElement(record);
    }
    std::vector<BusRecord> loaded;
    for (const BusRecord& record : buses) {
        if (record.hasLoad) loaded.push_back(record);
    }
    std::string directions;
    for (BusRecord record : loaded) {
        record.hasGeneration = false;
        record.pLoadShare = record.qLoadShare = 1.0;
        Model().ApplyRecordToElement(record);
        char line[96];
        std::snprintf(line, sizeof line, "%d 0 0 %.17g %.17g 0\n", NumberOf(record.name), record.loadP / 100.0,
                      record.loadQ / 100.0);
        directions += line;
    }
    ASSERT_EQ(loaded.size(), 11u);
    dialogs.pvCurveVariables = {"PLoad_Total", {"V_Bus_14"}};
    Run(Command::PvCurves);
    ASSERT_EQ(graphs.graphs.size(), 1u);
    std::istringstream drawn(graphs.graphs[0]->dataAtCreate);
    const Table curve = ReadTable(drawn);

    // The command-line driver's run on the case file with the same
    // directions, asked for the total-load column that the program's
    // table has (the executable writes the voltages only).
    const QString k = folder.filePath("ieee14.k");
    std::ofstream(k.toStdString()) << directions;
    const QString table = folder.filePath("ieee14_pv.txt");
    const std::vector<std::string> arguments = {"ostrand", "-I", "-c" + table.toStdString(), "-K" + k.toStdString(),
                                                kCase, folder.filePath("pv.lst").toStdString()};
    std::vector<const char*> items;
    for (const std::string& argument : arguments) items.push_back(argument.c_str());
    ISolver* solver = createPSSolver();
    solver->SetTotalsColumns(false, false, true, false);
    ASSERT_EQ(solver->Main(static_cast<int>(items.size()), items.data(), 0), 1);
    solver->Release();
    std::ifstream written(table.toStdString());
    const Table command = ReadTable(written);

    const Nose drawnNose = NoseOf(curve);
    const Nose commandNose = NoseOf(command);
    ASSERT_EQ(drawnNose.voltages.size(), 14u);
    ASSERT_EQ(commandNose.voltages.size(), 14u);
    // The host road traces its own steps (from its start at lambda 0.1)
    // along the same direction from the same base case; the nose lies where
    // a generator's reactive limit ends the climb, the same point on both.
    EXPECT_NEAR(drawnNose.load, commandNose.load, 1e-5 * commandNose.load);
    for (const auto& [bus, voltage] : drawnNose.voltages) {
        EXPECT_NEAR(voltage, commandNose.voltages.at(bus), 1e-4) << "bus " << bus;
    }
    // Both start from the same solved case.
    for (std::size_t c = 0; c + 1 < curve.names.size(); ++c) {
        const auto at = std::find_if(command.names.begin(), command.names.end(),
                                     [&](const std::string& name) { return NumberOf(name) == NumberOf(curve.names[c]); });
        ASSERT_NE(at, command.names.end()) << curve.names[c];
        EXPECT_NEAR(curve.rows[0][c], command.rows[0][at - command.names.begin()], 1e-4) << curve.names[c];
    }
}

}  // namespace
