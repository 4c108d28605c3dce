#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "colour_picker.h"
#include "control_id.h"
#include "dlg_graph.h"
#include "dlg_graph_designer.h"
#include "graph_wnd.h"
#include "grid_ctrl.h"
#include "reference_manager.h"
#include "scratch_folder.h"
#include "scripted_prompt_service.h"
#include "windows_1250.h"

namespace {

using Designer = CDlgGraphDesigner;

constexpr const char* kData = "U1;U2 U3\tU4\n1 2 3 4\n2 3 5 7\n";
constexpr int kRowButtons[] = {1016, 1017, 1019, 1021, 1022};

class GraphDesignerTest : public ::testing::Test {
protected:
    ScriptedPromptService prompts;
    CReferenceManager manager;
    QWidget parent;
    ScratchFolder folder{"graph_designer"};
    CDlgGraphDesigner* designer = nullptr;

    void TearDown() override {
        if (designer != nullptr) designer->Release();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    std::string WriteFile(const std::string& name, const std::string& contents) {
        std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

    // A designer on a data file, set up as DoModal sets it up before it
    // runs.
    CDlgGraphDesigner& Open(const std::string& contents = kData) {
        designer = static_cast<CDlgGraphDesigner*>(createGraphDesigner(&manager, &parent, prompts));
        designer->SetDataFile(WriteFile("data.txt", contents).c_str());
        EXPECT_TRUE(designer->OnInitDialog());
        return *designer;
    }

    CGridCtrl& Grid() const { return designer->Grid(); }
    QPushButton& Button(int id) const { return *FindControl<QPushButton>(*designer, id); }
    QCheckBox& Check(int id) const { return *FindControl<QCheckBox>(*designer, id); }
    QListWidget& Variables() const { return *FindControl<QListWidget>(*designer, 1015); }
    void Click(int id) const { Button(id).click(); }
    // The focus moves to the cell as a click on it moves it, and the grid
    // tells the designer.
    void ClickCell(int row, int col) const {
        Grid().SetFocusCell(row, col);
        Grid().SendNotify(GridNotify::Click, row, col);
    }

    // The texts of a grid column below its heading.
    QStringList Column(int col) const {
        QStringList texts;
        for (int row = 1; row < Grid().GetRowCount(); ++row) texts << Grid().GetCellText(row, col);
        return texts;
    }
    std::vector<std::intptr_t> ColumnData(int col) const {
        std::vector<std::intptr_t> data;
        for (int row = 1; row < Grid().GetRowCount(); ++row) data.push_back(Grid().GetCellData(row, col));
        return data;
    }
    bool RowButtonsEnabled() const {
        bool all = true;
        bool none = true;
        for (int id : kRowButtons) {
            all = all && Button(id).isEnabled();
            none = none && !Button(id).isEnabled();
        }
        EXPECT_TRUE(all || none);
        return all;
    }

    // A new row whose Y column is the variable given, and its titles.
    void AddCurveRow(int yVariable, const QString& yTitle = {}, const QString& title = {}) {
        Click(1020);
        const int row = Grid().GetRowCount() - 1;
        if (yVariable >= 0) {
            Variables().setCurrentRow(yVariable);
            Click(1017);
        }
        if (!yTitle.isEmpty()) Grid().SetCellText(row, Designer::kYTitle, yTitle);
        Grid().SetCellText(row, Designer::kTitle, title);
    }

    // The graph windows entered in the manager.
    std::vector<CDlgGraph*> Graphs() const {
        std::vector<CDlgGraph*> graphs;
        for (IDlgGraph* entry : manager.Entries()) {
            if (entry != nullptr) graphs.push_back(static_cast<CDlgGraph*>(entry));
        }
        return graphs;
    }
};

TEST_F(GraphDesignerTest, SetsItselfUpFromTheFilesColumnNames) {
    Open();
    EXPECT_EQ(designer->windowTitle(), QString::fromStdString("Graph: " + (folder / "data.txt").string()));
    ASSERT_EQ(Variables().count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Variables().item(i)->text(), QString("U%1").arg(i + 1));
        EXPECT_EQ(Variables().item(i)->data(Qt::UserRole).toInt(), i);
    }
    EXPECT_TRUE(Variables().item(0)->isSelected());
    EXPECT_FALSE(RowButtonsEnabled());
    EXPECT_TRUE(Button(1020).isEnabled());
    for (int id : {1023, 1024, 1025}) EXPECT_TRUE(Check(id).isChecked()) << id;
    auto* types = FindControl<QComboBox>(*designer, 1027);
    EXPECT_EQ(types->currentIndex(), 0);
    EXPECT_EQ(types->itemText(4), "Line Graph + Points");

    EXPECT_EQ(Grid().GetRowCount(), 1);
    EXPECT_EQ(Grid().GetColumnCount(), 7);
    EXPECT_EQ(Grid().GetFixedRowCount(), 1);
    EXPECT_EQ(Grid().GetFixedColumnCount(), 1);
    EXPECT_EQ(Grid().GetCellText(0, Designer::kTitle), "Title                  ");
    EXPECT_EQ(Grid().GetCellText(0, Designer::kColour), "Color");
    EXPECT_TRUE(Grid().GetListMode());
    EXPECT_TRUE(Grid().GetSingleRowSelection());
    EXPECT_TRUE(Grid().GetDragAndDrop());
    EXPECT_EQ(Grid().GetDefaultCell(false, false)->GetBackColour(), Designer::kCellBackground);
    // Wide enough for the heading and its blanks.
    EXPECT_GT(Grid().GetColumnWidth(Designer::kTitle), Grid().GetColumnWidth(Designer::kColour));
}

TEST_F(GraphDesignerTest, AFileThatCannotBeReadLeavesTheListEmptyButRowsCanBeAdded) {
    designer = static_cast<CDlgGraphDesigner*>(createGraphDesigner(&manager, &parent, prompts));
    designer->SetDataFile((folder / "none.txt").string().c_str());
    ASSERT_TRUE(designer->OnInitDialog());
    EXPECT_EQ(Variables().count(), 0);
    Click(1020);
    EXPECT_EQ(Column(Designer::kNumber), QStringList{"01"});
    EXPECT_FALSE(Button(1016).isEnabled());
    EXPECT_FALSE(Button(1017).isEnabled());
    EXPECT_TRUE(Button(1021).isEnabled());
    EXPECT_TRUE(prompts.prompts.empty());
}

TEST_F(GraphDesignerTest, NewRowsTakeTheCurrentXAndColour) {
    Open();
    Click(1020);
    EXPECT_EQ(Grid().GetRowCount(), 2);
    EXPECT_EQ(Grid().GetCellText(1, Designer::kNumber), "01");
    EXPECT_EQ(Grid().GetCellText(1, Designer::kXColumn), "U1");
    EXPECT_EQ(Grid().GetCellText(1, Designer::kXTitle), "U1");
    EXPECT_EQ(Grid().GetCellData(1, Designer::kXColumn), 0);
    EXPECT_EQ(Grid().GetCellBackColour(1, Designer::kColour), 0xFF0000u);
    EXPECT_EQ(Grid().GetCell(1, Designer::kNumber)->GetTextColour(), 0xFF0000u);
    for (int col = 1; col < Designer::kColumnCount; ++col) {
        const bool readOnly = col == Designer::kXColumn || col == Designer::kYColumn || col == Designer::kColour;
        EXPECT_EQ((Grid().GetCellState(1, col) & GridCellState::ReadOnly) != 0, readOnly) << col;
    }
    EXPECT_EQ(Grid().GetFocusCell(), (CCellID{1, 2}));
    EXPECT_TRUE(RowButtonsEnabled());

    // Without "One Graph" the X column starts empty; the colour is the
    // picker's.
    Check(1025).setChecked(false);
    FindControl<CColourPicker>(*designer, 1018)->setColour(0x0000FF);
    Click(1020);
    EXPECT_EQ(Grid().GetCellText(2, Designer::kNumber), "02");
    EXPECT_EQ(Grid().GetCellText(2, Designer::kXColumn), "");
    EXPECT_EQ(Grid().GetCellText(2, Designer::kXTitle), "U1");
    EXPECT_EQ(Grid().GetCellBackColour(2, Designer::kColour), 0x0000FFu);
    EXPECT_EQ(Grid().GetCellBackColour(1, Designer::kColour), 0xFF0000u);
}

TEST_F(GraphDesignerTest, UseAsXWithOneGraphRewritesEveryRowsXButOnlyTheFocusRowsTitle) {
    Open();
    for (int i = 0; i < 3; ++i) Click(1020);
    ClickCell(2, Designer::kYColumn);
    Variables().setCurrentRow(2);
    Click(1016);
    EXPECT_EQ(Column(Designer::kXColumn), (QStringList{"U3", "U3", "U3"}));
    EXPECT_EQ(ColumnData(Designer::kXColumn), (std::vector<std::intptr_t>{2, 2, 2}));
    EXPECT_EQ(Column(Designer::kXTitle), (QStringList{"U1", "U3", "U1"}));
    EXPECT_TRUE(Grid().GetCellState(2, Designer::kXColumn) & GridCellState::Modified);
    EXPECT_EQ(Grid().GetFocusCell(), (CCellID{2, 2}));
    // It is the current X from now on.
    Click(1020);
    EXPECT_EQ(Grid().GetCellText(4, Designer::kXColumn), "U3");
    EXPECT_EQ(Grid().GetCellText(4, Designer::kXTitle), "U3");

    // Without "One Graph" only the focus row changes; checking it again
    // gives every row the current X.
    Check(1025).click();
    ASSERT_FALSE(Check(1025).isChecked());
    ClickCell(1, Designer::kYColumn);
    Variables().setCurrentRow(3);
    Click(1016);
    EXPECT_EQ(Column(Designer::kXColumn), (QStringList{"U4", "U3", "U3", "U3"}));
    Check(1025).click();
    EXPECT_EQ(Column(Designer::kXColumn), (QStringList{"U4", "U4", "U4", "U4"}));
    EXPECT_EQ(ColumnData(Designer::kXColumn), (std::vector<std::intptr_t>{3, 3, 3, 3}));
}

TEST_F(GraphDesignerTest, UseAsYFillsTheYColumnAndItsTitle) {
    Open();
    Click(1020);
    Click(1020);
    ClickCell(1, Designer::kTitle);
    Variables().setCurrentRow(1);
    Click(1017);
    EXPECT_EQ(Column(Designer::kYColumn), (QStringList{"U2", ""}));
    EXPECT_EQ(Column(Designer::kYTitle), (QStringList{"U2", ""}));
    EXPECT_EQ(Grid().GetCellData(1, Designer::kYColumn), 1);
    EXPECT_TRUE(Grid().GetCellState(1, Designer::kYColumn) & GridCellState::Modified);

    // Nothing without a focus cell.
    Grid().SetFocusCell(-1, -1);
    Variables().setCurrentRow(3);
    Click(1017);
    Click(1016);
    EXPECT_EQ(Column(Designer::kYColumn), (QStringList{"U2", ""}));
    EXPECT_EQ(Column(Designer::kXColumn), (QStringList{"U1", "U1"}));
}

TEST_F(GraphDesignerTest, DeleteAndInsertKeepTheRowsNumbered) {
    Open();
    for (int y = 0; y < 4; ++y) AddCurveRow(y);
    ClickCell(2, Designer::kYColumn);
    Click(1022);
    EXPECT_EQ(Column(Designer::kNumber), (QStringList{"01", "02", "03"}));
    EXPECT_EQ(Column(Designer::kYColumn), (QStringList{"U1", "U3", "U4"}));
    EXPECT_FALSE(RowButtonsEnabled());
    EXPECT_FALSE(Grid().GetFocusCell().IsValid());

    ClickCell(3, Designer::kYColumn);
    Click(1022);
    EXPECT_EQ(Column(Designer::kNumber), (QStringList{"01", "02"}));

    FindControl<CColourPicker>(*designer, 1018)->setColour(0x00FF00);
    ClickCell(2, Designer::kTitle);
    Click(1021);
    EXPECT_EQ(Column(Designer::kNumber), (QStringList{"01", "02", "03"}));
    EXPECT_EQ(Column(Designer::kYColumn), (QStringList{"U1", "", "U3"}));
    EXPECT_EQ(Column(Designer::kXColumn), (QStringList{"U1", "U1", "U1"}));
    EXPECT_EQ(Column(Designer::kXTitle), (QStringList{"U1", "U1", "U1"}));
    EXPECT_EQ(Grid().GetCellBackColour(2, Designer::kColour), 0x00FF00u);
    EXPECT_EQ(Grid().GetCell(2, Designer::kNumber)->GetTextColour(), 0x00FF00u);
    EXPECT_TRUE(Grid().GetCellState(2, Designer::kYColumn) & GridCellState::ReadOnly);
    EXPECT_FALSE(Grid().GetCellState(2, Designer::kYTitle) & GridCellState::ReadOnly);
    EXPECT_EQ(Grid().GetFocusCell(), (CCellID{2, 2}));
    EXPECT_TRUE(RowButtonsEnabled());

    // Without "One Graph" an inserted row has no X.
    Check(1025).setChecked(false);
    Click(1021);
    EXPECT_EQ(Column(Designer::kXColumn), (QStringList{"U1", "", "U1", "U1"}));
    EXPECT_EQ(Column(Designer::kXTitle), (QStringList{"U1", "", "U1", "U1"}));
}

TEST_F(GraphDesignerTest, RefreshPaintsTheFocusRowInTheCurrentColour) {
    Open();
    Click(1020);
    Click(1020);
    FindControl<CColourPicker>(*designer, 1018)->setColour(0x0000FF);
    ClickCell(1, Designer::kXTitle);
    Click(1019);
    EXPECT_EQ(Grid().GetCellBackColour(1, Designer::kColour), 0x0000FFu);
    EXPECT_EQ(Grid().GetCell(1, Designer::kNumber)->GetTextColour(), 0x0000FFu);
    EXPECT_EQ(Grid().GetCellBackColour(2, Designer::kColour), 0xFF0000u);
}

TEST_F(GraphDesignerTest, AGridClickEnablesTheRowButtonsWhenACellHasTheFocus) {
    Open();
    Click(1020);
    Grid().SetFocusCell(-1, -1);
    Grid().SendNotify(GridNotify::Click, 1, 1);
    EXPECT_FALSE(RowButtonsEnabled());
    Grid().SetFocusCell(1, 3);
    Grid().SendNotify(GridNotify::Click, -1, -1);
    EXPECT_FALSE(RowButtonsEnabled());
    Grid().SendNotify(GridNotify::Click, 1, 3);
    EXPECT_TRUE(RowButtonsEnabled());
}

TEST_F(GraphDesignerTest, OkOpensOneGraphOfAllCompleteRowsOrOneGraphPerRow) {
    struct Case {
        bool oneGraph;
        bool complete;  // rows with X and Y besides the incomplete ones
        std::size_t graphs;
    };
    const Case cases[] = {{true, true, 1}, {false, true, 3}, {true, false, 1}, {false, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.oneGraph << c.complete);
        if (designer != nullptr) designer->Release();
        const std::size_t before = Graphs().size();
        Open();
        FindControl<QComboBox>(*designer, 1027)->setCurrentIndex(2);
        Check(1023).setChecked(false);
        if (c.complete) {
            AddCurveRow(1, "T1", "Voltages");
            AddCurveRow(2, "T2", "Second");
            Grid().SetCellText(2, Designer::kXTitle, "Load");
        }
        AddCurveRow(-1, "no Y");
        Check(1025).setChecked(false);
        AddCurveRow(3, "no X");
        if (c.complete) {
            FindControl<CColourPicker>(*designer, 1018)->setColour(0x00FF00);
            AddCurveRow(3, "T3", "Third");
            Variables().setCurrentRow(0);
            Click(1016);
        }
        Check(1025).setChecked(c.oneGraph);
        Click(1);

        EXPECT_EQ(designer->result(), QDialog::Accepted);
        const std::vector<CDlgGraph*> all = Graphs();
        const std::vector<CDlgGraph*> graphs(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
        ASSERT_EQ(graphs.size(), c.graphs);
        for (CDlgGraph* graph : graphs) {
            EXPECT_TRUE(graph->isVisible());
            EXPECT_EQ(graph->parentWidget(), &parent);
            EXPECT_EQ(graph->Plot().GetGraphType(), 2);
            EXPECT_FALSE(graph->Plot().HorizontalGridLines());
            EXPECT_TRUE(graph->Plot().VerticalGridLines());
        }
        if (c.graphs == 0) continue;
        CGraphWnd& first = graphs[0]->Plot();
        if (!c.complete) {
            EXPECT_TRUE(first.GetCurves().empty());
            EXPECT_EQ(first.GetGraphTitle(), "");
            EXPECT_EQ(first.GetXAxisTitle(), "");
            EXPECT_EQ(first.GetYAxisTitle(), "");
            continue;
        }
        const CurveArray& curves = designer->Curves();
        ASSERT_EQ(curves.size(), 3u);
        EXPECT_EQ(curves[0].yName, "U2");
        EXPECT_EQ(curves[2].yName, "U4");
        EXPECT_EQ(curves[2].yColumn, 3);
        EXPECT_EQ(curves[2].xName, "U1");
        EXPECT_EQ(curves[2].xColumn, 0);
        EXPECT_EQ(curves[1].xAxisTitle, "Load");
        EXPECT_EQ(curves[0].color, 0xFF0000u);
        EXPECT_EQ(curves[2].color, 0x00FF00u);
        if (c.oneGraph) {
            ASSERT_EQ(first.GetCurves().size(), 3u);
            EXPECT_EQ(first.GetCurves()[1].legend, "T2");
            EXPECT_EQ(first.GetGraphTitle(), "Voltages");
            EXPECT_EQ(first.GetXAxisTitle(), "U1");
            EXPECT_EQ(first.GetYAxisTitle(), "T1, T2, T3");
        } else {
            const char* titles[][3] = {{"Voltages", "U1", "T1"}, {"Second", "Load", "T2"}, {"Third", "U1", "T3"}};
            for (std::size_t i = 0; i < 3; ++i) {
                CGraphWnd& plot = graphs[i]->Plot();
                ASSERT_EQ(plot.GetCurves().size(), 1u);
                EXPECT_EQ(plot.GetCurves()[0].yName, curves[i].yName);
                EXPECT_EQ(plot.GetGraphTitle(), titles[i][0]);
                EXPECT_EQ(plot.GetXAxisTitle(), titles[i][1]);
                EXPECT_EQ(plot.GetYAxisTitle(), titles[i][2]);
            }
        }
    }
}

TEST_F(GraphDesignerTest, SingleByteNamesReachTheGraphUnchanged) {
    Open("U1 \x8A\xE8 U3\n1 2 3\n2 4 6\n");
    EXPECT_EQ(Variables().item(1)->text(), FromWindows1250("\x8A\xE8"));
    AddCurveRow(1);
    Click(1);
    const std::vector<CDlgGraph*> graphs = Graphs();
    ASSERT_EQ(graphs.size(), 1u);
    CGraphWnd& plot = graphs[0]->Plot();
    ASSERT_EQ(plot.GetCurves().size(), 1u);
    EXPECT_EQ(plot.GetCurves()[0].yName, "\x8A\xE8");
    ASSERT_TRUE(plot.IsLoaded());
    ASSERT_NE(plot.Column(1), nullptr);
    EXPECT_EQ(*plot.Column(1), (std::vector<float>{2, 4}));
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(GraphDesignerTest, EnterAndEscEndAnInPlaceEditAndTheDesignerStaysOpen) {
    Open();
    designer->show();
    designer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(designer));
    Click(1020);
    Click(1020);
    auto edit = [&](const char* typed, Qt::Key end) {
        Grid().SetFocusCell(1, Designer::kYTitle);
        Grid().setFocus();
        QTest::keyClicks(&Grid(), typed);
        CInPlaceEdit* editor = Grid().GetCell(1, Designer::kYTitle)->GetEditWnd();
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, end);
        QCoreApplication::processEvents();
    };
    edit("Volts", Qt::Key_Return);
    EXPECT_EQ(Grid().GetCellText(1, Designer::kYTitle), "Volts");
    EXPECT_TRUE(designer->isVisible());
    edit("xyz", Qt::Key_Escape);
    EXPECT_EQ(Grid().GetCellText(1, Designer::kYTitle), "Volts");
    EXPECT_TRUE(designer->isVisible());
    EXPECT_TRUE(Graphs().empty());

    // The read-only columns open no edit.
    Grid().SetFocusCell(1, Designer::kYColumn);
    QTest::keyClicks(&Grid(), "U");
    EXPECT_EQ(Grid().GetCell(1, Designer::kYColumn)->GetEditWnd(), nullptr);

    // A click on a cell reaches the designer.
    Grid().SetFocusCell(2, Designer::kYColumn);
    Click(1022);
    ASSERT_FALSE(RowButtonsEnabled());
    Rect cell;
    ASSERT_TRUE(Grid().GetCellRect(1, Designer::kTitle, &cell));
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, QPoint(cell.left + 5, cell.top + 5));
    EXPECT_TRUE(RowButtonsEnabled());
}

TEST_F(GraphDesignerTest, OutOfMemoryWhileTheGridIsSizedKeepsTheDesignerShut) {
    designer = static_cast<CDlgGraphDesigner*>(createGraphDesigner(&manager, &parent, prompts));
    designer->SetDataFile(WriteFile("data.txt", kData).c_str());
    designer->Grid().SetCellFactory([]() -> std::unique_ptr<CGridCellBase> { throw std::bad_alloc(); });
    EXPECT_EQ(designer->DoModal(), QDialog::Rejected);
    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(prompts.prompts[0].kind, ScriptedPromptService::Kind::Message);
    EXPECT_EQ(prompts.prompts[0].text, "Out of memory.");
}

TEST_F(GraphDesignerTest, RunsModallyThroughThePromptService) {
    designer = static_cast<CDlgGraphDesigner*>(createGraphDesigner(&manager, &parent, prompts));
    designer->SetDataFile(WriteFile("data.txt", kData).c_str());
    prompts.dialogScripts.push_back([&](QDialog& dialog) {
        EXPECT_EQ(&dialog, designer);
        AddCurveRow(1);
        dialog.accept();
    });
    EXPECT_EQ(designer->DoModal(), QDialog::Accepted);
    EXPECT_EQ(Graphs().size(), 1u);
    // Cancel opens nothing.
    prompts.dialogScripts.push_back([&](QDialog& dialog) {
        AddCurveRow(2);
        dialog.reject();
    });
    EXPECT_EQ(designer->DoModal(), QDialog::Rejected);
    EXPECT_EQ(Graphs().size(), 1u);
}

}  // namespace
