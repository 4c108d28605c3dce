// The PV-curves command on the IEEE 30-bus network with the program's own
// dialogs, played through the scripted prompts: the directions typed in the
// load-directions dialog reach the model, the continuation runs, and the
// variable chooser offers the bus whose voltage dropped most first.

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>

#include "archive.h"
#include "archive_file.h"
#include "cdf_model.h"
#include "command_ids.h"
#include "control_id.h"
#include "dlg_edit_all_directions.h"
#include "dlg_load_directions.h"
#include "dlg_voltage_prof_graph_gen.h"
#include "record_cursor.h"
#include "recording_graph.h"
#include "shell_fixture.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"

namespace {

// The column of a continuation table whose value fell most from the first
// row to the row of highest total load (the last column).
std::string LargestDrop(const std::string& table) {
    std::istringstream in(table);
    std::string line;
    std::getline(in, line);
    std::vector<std::string> names;
    std::istringstream header(line);
    for (std::string name; header >> name;) names.push_back(name);
    std::vector<std::vector<double>> rows;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<double> row;
        for (double value; fields >> value;) row.push_back(value);
        if (row.size() == names.size()) rows.push_back(row);
    }
    if (rows.empty()) return {};
    const std::vector<double>* top = &rows.front();
    for (const auto& row : rows) {
        if (row.back() > top->back()) top = &row;
    }
    std::string worst;
    double drop = std::numeric_limits<double>::infinity();
    for (std::size_t c = 0; c + 1 < names.size(); ++c) {
        if ((*top)[c] - rows.front()[c] < drop) {
            drop = (*top)[c] - rows.front()[c];
            worst = names[c];
        }
    }
    return worst;
}

class Ieee30PvCurves : public ShellTest {
protected:
    RecordingGraphFactory graphs;
};

TEST_F(Ieee30PvCurves, DirectionsFromTheDialogTraceTheCurveAndTheWorstBusComesFirst) {
    const QString path = folder.filePath("ieee30.pf");
    {
        CdfModel drawn(TEST_DATA_DIR "/case30.cdf");
        Archive archive = Archive::ForStoring();
        drawn.model().SerializeModel(archive);
        SaveArchiveFile(archive, path.toStdString());
    }
    ASSERT_TRUE(Start());
    ASSERT_NE(app->OpenDocumentFile(path), nullptr);
    auto* view = dynamic_cast<CTavrinView*>(&Windows().back()->View());
    ASSERT_NE(view, nullptr);
    view->GetDocument()->SetGraphMaker([this](CReferenceManager*, QWidget*, PromptService&) { return graphs.Make(); });

    // Every load grows by twice its share (the drawing gives each 1); the
    // generators keep none, so the swing bus meets the increase.
    int listed = 0;
    prompts.dialogScripts.push_back([&listed](QDialog& dialog) {
        listed = FindControl<QTableWidget>(dialog, CDlgLoadDirections::kListId)->rowCount();
        FindControl<QAbstractButton>(dialog, CDlgLoadDirections::kAdjustAllId)->click();
        dialog.accept();
    });
    prompts.dialogScripts.push_back([](QDialog& edit) {
        FindControl<QAbstractButton>(edit, CDlgEditAllDirections::kAdjustGenerationId)->click();
        FindControl<QLineEdit>(edit, CDlgEditAllDirections::kActiveLoadId)->setText("2");
        edit.accept();
    });
    std::vector<std::string> offered;
    prompts.dialogScripts.push_back([&offered](QDialog& chooser) {
        const QListWidget& list = *FindControl<QListWidget>(chooser, CDlgVoltageProfGraphGen::kListId);
        for (int row = 0; row < list.count(); ++row) offered.push_back(list.item(row)->text().toStdString());
        chooser.accept();
    });
    ASSERT_TRUE(Frame().Commands().Execute(Command::PvCurves));

    // 21 buses with load, 6 with generation, the swing bus among both.
    EXPECT_EQ(listed, 24);
    IModel& model = *view->GetDocument()->GetModel();
    IRecordCursor& cursor = *model.GetRecordCursor();
    cursor.SetTable(IRecordCursor::BusTable, 0);
    cursor.SetGroupBuses(false);
    cursor.SetMode(0);
    cursor.MoveFirst();
    for (BusRecord record; cursor.Next(record); record = BusRecord{}) {
        if (record.hasGeneration) {
            EXPECT_EQ(record.generationShare, 0.0) << record.name;
        }
        if (record.hasLoad) {
            EXPECT_EQ(record.pLoadShare, 2.0) << record.name;
            EXPECT_EQ(record.qLoadShare, 1.0) << record.name;
        }
    }

    ASSERT_EQ(graphs.graphs.size(), 1u);
    const RecordingGraph& graph = *graphs.graphs[0];
    ASSERT_TRUE(graph.Called("Create"));
    ASSERT_EQ(offered.size(), 30u);
    EXPECT_EQ(offered.front(), LargestDrop(graph.dataAtCreate));
    EXPECT_EQ(graph.Argument("AddYVariable"), offered.front());
    EXPECT_EQ(graph.Argument("SetXVariable"), "PLoad_Total");
}

}  // namespace
