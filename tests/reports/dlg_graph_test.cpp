#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>

#include "clipboard_picture.h"
#include "colour_combo.h"
#include "control_id.h"
#include "dlg_graph.h"
#include "graph_header.h"
#include "graph_wnd.h"
#include "reference_manager.h"
#include "scratch_folder.h"
#include "scripted_prompt_service.h"

namespace {

void SettleDeletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DlgGraphTest : public ::testing::Test {
protected:
    ScriptedPromptService prompts;
    ScratchFolder folder{"dlg_graph"};
    QWidget parent;

    void TearDown() override { SettleDeletions(); }

    CDlgGraph* NewGraph(CReferenceManager* manager = nullptr) {
        return static_cast<CDlgGraph*>(createGraph(manager, &parent, prompts));
    }

    std::string WriteFile(const std::string& name, const std::string& contents) {
        std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

    // A PV-curve graph of the continuation fixture, shown.
    CDlgGraph* ShownContinuationGraph() {
        CDlgGraph* graph = NewGraph();
        graph->SetDataFile(TEST_DATA_DIR "/graph_continuation_lf.txt", false, -1);
        graph->SetXVariable("PLoad_Total");
        graph->AddYVariable("V_LAKE");
        graph->AddYVariable("V_NORTH");
        graph->Create();
        return graph;
    }

    static QString EditText(const CDlgGraph& graph, int id) { return FindControl<QLineEdit>(graph, id)->text(); }
    static QStringList RangeTexts(const CDlgGraph& graph) {
        return {EditText(graph, 1001), EditText(graph, 1002), EditText(graph, 1003), EditText(graph, 1004)};
    }
    // Paints the plot and lets the range notice arrive.
    static void Render(CDlgGraph& graph) {
        graph.Plot().grab();
        QCoreApplication::processEvents();
    }
};

TEST_F(DlgGraphTest, ManagerEntriesFollowTheWindowsLives) {
    auto manager = std::make_unique<CReferenceManager>();
    CDlgGraph* first = NewGraph(manager.get());
    CDlgGraph* second = NewGraph(manager.get());
    EXPECT_EQ(first->Entry(), 0);
    EXPECT_EQ(second->Entry(), 1);
    first->Create();
    second->Create();
    QPointer<CDlgGraph> closed(first);
    first->reject();  // Escape
    SettleDeletions();
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(manager->Entries()[0], nullptr);

    CDlgGraph* third = NewGraph(manager.get());
    EXPECT_EQ(third->Entry(), 0);
    // Released to nothing before it was shown: gone at once.
    EXPECT_EQ(third->Release(), 0);
    EXPECT_EQ(manager->Entries()[0], nullptr);

    // The close box cancels as Escape does.
    QPointer<CDlgGraph> boxed(NewGraph(manager.get()));
    boxed->Create();
    boxed->close();
    SettleDeletions();
    EXPECT_TRUE(boxed.isNull());
    EXPECT_EQ(manager->Entries()[0], nullptr);

    // Deleted with its parent window.
    auto owner = std::make_unique<QWidget>();
    CDlgGraph* child = static_cast<CDlgGraph*>(createGraph(manager.get(), owner.get(), prompts));
    EXPECT_EQ(child->Entry(), 0);
    owner.reset();
    EXPECT_EQ(manager->Entries()[0], nullptr);

    // The manager's end closes every window still entered; one with a
    // reference of its own stays until that goes too.
    QPointer<CDlgGraph> plain(second);
    QPointer<CDlgGraph> kept(NewGraph(manager.get()));
    kept->Create();
    kept->AddRef();
    manager.reset();
    SettleDeletions();
    EXPECT_TRUE(plain.isNull());
    ASSERT_FALSE(kept.isNull());
    EXPECT_TRUE(kept->isVisible());
    EXPECT_EQ(kept->Manager(), nullptr);
    kept->reject();
    SettleDeletions();
    EXPECT_TRUE(kept.isNull());
}

TEST_F(DlgGraphTest, ReleaseCountsDownAndClosesAtZero) {
    QPointer<CDlgGraph> graph(ShownContinuationGraph());
    graph->AddRef();
    EXPECT_EQ(graph->Release(), 1);
    SettleDeletions();
    ASSERT_FALSE(graph.isNull());
    EXPECT_EQ(graph->Release(), 0);
    SettleDeletions();
    EXPECT_TRUE(graph.isNull());
}

TEST_F(DlgGraphTest, AModalRunReadsTheFileFirstAndLeavesTheObjectToItsLastReference) {
    CReferenceManager manager;
    const std::string path = WriteFile("modal.txt", ReadBytes(TEST_DATA_DIR "/graph_sensitivity.txt"));
    QPointer<CDlgGraph> graph(NewGraph(&manager));
    graph->SetGraphType(GraphType::Categories);
    graph->SetDataFile(path.c_str(), false, -1);
    graph->SetXVariable("x");
    graph->AddYVariable("Sensitivity");
    prompts.dialogScripts.push_back([&](QDialog& dialog) {
        std::filesystem::remove(path);
        EXPECT_TRUE(graph->Plot().IsLoaded());
        EXPECT_EQ(graph->Plot().CategoryNames().size(), 3u);
        dialog.reject();
    });
    EXPECT_EQ(graph->DoModal(), QDialog::Rejected);
    SettleDeletions();
    ASSERT_FALSE(graph.isNull());
    EXPECT_EQ(manager.Entries()[0], nullptr);
    EXPECT_EQ(graph->Release(), 0);
    SettleDeletions();
    EXPECT_TRUE(graph.isNull());
}

TEST_F(DlgGraphTest, YVariablesTakeTheTwelveColoursInTurn) {
    CDlgGraph* graph = NewGraph();
    graph->SetXVariable("PLoad_Total");
    for (int i = 0; i < 13; ++i) graph->AddYVariable(("V" + std::to_string(i)).c_str());
    const CurveArray& curves = graph->Plot().GetCurves();
    ASSERT_EQ(curves.size(), 12u);
    EXPECT_EQ(curves.front().color, 0x0000FFu);
    EXPECT_EQ(curves.back().color, 0x808080u);
    EXPECT_EQ(curves.back().yName, "V11");
    EXPECT_EQ(curves.back().xName, "PLoad_Total");
    graph->Release();
}

TEST_F(DlgGraphTest, HeaderReadNowMakesCurvesOfEveryOtherColumn) {
    struct Case {
        const char* header;
        int xColumn;
        std::vector<std::string> yNames;
        std::string xName;
    };
    const Case cases[] = {
        {"A B C D E F G H\n1 2 3 4 5 6 7 8\n", -1, {"A", "B", "C", "D", "E", "F"}, "H"},
        {"Only\n", 0, {}, ""},
        {"V1\t\tV2  V3\r\n", -1, {"V1", "V2"}, "V3"},
        {"P Q U\n", 1, {"P", "U"}, "Q"},
        {"P Q U\n", 3, {}, ""},  // beyond the header: nothing, and nothing said
        {"\n1 2\n", -1, {}, ""},
    };
    const ColorRef colors[] = {0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0x000000};
    for (const Case& c : cases) {
        CDlgGraph* graph = NewGraph();
        graph->SetDataFile(WriteFile("header.txt", c.header).c_str(), true, c.xColumn);
        const CurveArray& curves = graph->Plot().GetCurves();
        ASSERT_EQ(curves.size(), c.yNames.size()) << c.header;
        for (std::size_t i = 0; i < curves.size(); ++i) {
            EXPECT_EQ(curves[i].yName, c.yNames[i]) << c.header;
            EXPECT_EQ(curves[i].xName, c.xName) << c.header;
            EXPECT_EQ(curves[i].color, colors[i]) << c.header;
        }
        graph->Release();
    }
    EXPECT_TRUE(prompts.Messages().empty());
    EXPECT_EQ(SplitHeaderNames("V1\t\tV2  V3\r"), (std::vector<std::string>{"V1", "V2", "V3"}));
}

TEST_F(DlgGraphTest, HeaderOfAMissingOrEmptyFileIsToldAndMakesNoCurve) {
    const std::string missing = (folder / "missing.txt").string();
    const std::string empty = WriteFile("empty.txt", "");
    for (const std::string& path : {missing, empty}) {
        CDlgGraph* graph = NewGraph();
        graph->SetDataFile(path.c_str(), true, -1);
        EXPECT_TRUE(graph->Plot().GetCurves().empty());
        graph->Release();
    }
    ASSERT_EQ(prompts.Messages().size(), 2u);
    EXPECT_EQ(prompts.Messages()[0].text, QString::fromStdString("Cannot open file:\n" + missing + "!!"));
    EXPECT_EQ(prompts.Messages()[1].text, QString::fromStdString("There is no data in input file:\n" + empty + "!!"));
    for (const auto& message : prompts.Messages()) {
        EXPECT_EQ(message.caption, "File open error");
        EXPECT_EQ(message.icon, PromptIcon::Error);
    }
}

TEST_F(DlgGraphTest, InitialisationSetsCaptionOffsetAndCategoryEdits) {
    // Where a dialog opens depends on the windows shown before it.
    parent.setGeometry(0, 0, 700, 500);
    parent.show();
    CDlgGraph* plain = NewGraph();
    plain->Create();
    EXPECT_EQ(plain->windowTitle(), "");
    EXPECT_FALSE(plain->windowIcon().isNull());
    EXPECT_TRUE(FindControl<QLineEdit>(*plain, 1001)->isEnabled());
    EXPECT_TRUE(FindControl<QPushButton>(*plain, 1015)->isEnabled());

    CDlgGraph* unmoved = NewGraph();
    unmoved->SetCascadeOffset(0);
    unmoved->Create();
    EXPECT_EQ(unmoved->pos(), plain->pos());

    CDlgGraph* bars = NewGraph();
    bars->SetCaption("Mre\x9E" "a - Angle Sensitivity (dTheta/dP)");
    bars->SetGraphType(GraphType::Categories);
    bars->SetCascadeOffset(30);
    bars->Create();
    EXPECT_EQ(bars->windowTitle(), QString::fromUtf8("Mre\u017Ea - Angle Sensitivity (dTheta/dP)"));
    EXPECT_EQ(bars->pos(), plain->pos() + QPoint(30, 30));
    EXPECT_FALSE(FindControl<QLineEdit>(*bars, 1001)->isEnabled());
    EXPECT_FALSE(FindControl<QLineEdit>(*bars, 1002)->isEnabled());
    EXPECT_TRUE(FindControl<QLineEdit>(*bars, 1003)->isEnabled());

    bool xTitleEnabled = true;
    prompts.dialogScripts.push_back([&](QDialog& titles) {
        xTitleEnabled = FindControl<QLineEdit>(titles, 1006)->isEnabled();
        EXPECT_EQ(titles.windowTitle(), "Graph Titles");
    });
    bars->OnTitles();
    EXPECT_FALSE(xTitleEnabled);
}

TEST_F(DlgGraphTest, TitlesDialogEditsTheThreeTitles) {
    CDlgGraph* graph = ShownContinuationGraph();
    graph->SetGraphTitle("PV Curves");
    graph->SetXAxisTitle("Total Load [p.u.]");
    prompts.dialogScripts.push_back([](QDialog& titles) {
        EXPECT_EQ(FindControl<QLineEdit>(titles, 1008)->text(), "PV Curves");
        EXPECT_EQ(FindControl<QLineEdit>(titles, 1006)->text(), "Total Load [p.u.]");
        FindControl<QLineEdit>(titles, 1007)->setText(QString::fromUtf8("Napon \u0161"));
        titles.accept();
    });
    graph->OnTitles();
    EXPECT_EQ(graph->Plot().GetYAxisTitle(), "Napon \x9A");
    EXPECT_EQ(graph->Plot().GetGraphTitle(), "PV Curves");
    prompts.dialogScripts.push_back([](QDialog& titles) {
        FindControl<QLineEdit>(titles, 1008)->setText("dropped");
        titles.reject();
    });
    graph->OnTitles();
    EXPECT_EQ(graph->Plot().GetGraphTitle(), "PV Curves");
}

TEST_F(DlgGraphTest, ColorsChangesTheBackgroundOfThePlot) {
    CDlgGraph* graph = ShownContinuationGraph();
    Render(*graph);
    constexpr ColorRef kNavy = 0x800000;
    prompts.dialogScripts.push_back([](QDialog& properties) {
        EXPECT_EQ(properties.windowTitle(), "Graph Properties");
        FindControl<CColourCombo>(properties, 1011)->SelectColour(kNavy);
        FindControl<QPushButton>(properties, 1)->click();
    });
    FindControl<QPushButton>(*graph, 1015)->click();
    EXPECT_TRUE(prompts.dialogScripts.empty());
    EXPECT_EQ(graph->Plot().GetBackgroundColor(), kNavy);
    // The plot area's top left corner, inside the frame.
    const QImage shown = graph->Plot().grab().toImage();
    EXPECT_EQ(shown.pixelColor(GraphPlot::kLeft + 3, GraphPlot::kTop + 3), QColor(0, 0, 128));
}

TEST_F(DlgGraphTest, RangeEditsFollowThePlotAndSetTheRange) {
    CDlgGraph* graph = ShownContinuationGraph();
    Render(*graph);
    const QStringList automatic{"2.5", "3.9", "0.82", "1.05"};
    EXPECT_EQ(RangeTexts(*graph), automatic);

    FindControl<QLineEdit>(*graph, 1001)->setText("0");
    FindControl<QLineEdit>(*graph, 1002)->setText(" 5 ");
    FindControl<QLineEdit>(*graph, 1003)->setText("0.5");
    FindControl<QLineEdit>(*graph, 1004)->setText("1.2");
    graph->OnSetRange();
    float xmin, xmax, ymin, ymax;
    graph->Plot().GetStoredRange(xmin, xmax, ymin, ymax);
    EXPECT_EQ(xmax, 5.0f);
    EXPECT_EQ(ymin, 0.5f);

    // Text that is no number keeps the range and is pointed at.
    for (const char* bad : {"abc", "1e50", ""}) {
        FindControl<QLineEdit>(*graph, 1003)->setText(bad);
        graph->OnSetRange();
        graph->Plot().GetStoredRange(xmin, xmax, ymin, ymax);
        EXPECT_EQ(ymin, 0.5f) << bad;
        EXPECT_EQ(graph->focusWidget(), FindControl<QLineEdit>(*graph, 1003)) << bad;
        FindControl<QLineEdit>(*graph, 1001)->setFocus();
    }
    ASSERT_EQ(prompts.Messages().size(), 3u);
    EXPECT_EQ(prompts.Messages()[0].text, "Please enter a number.");

    graph->OnAutoScale();
    QCoreApplication::processEvents();
    EXPECT_EQ(RangeTexts(*graph), automatic);
}

TEST_F(DlgGraphTest, ExportNamesAndFormats) {
    CDlgGraph* graph = ShownContinuationGraph();
    Render(*graph);
    struct Case {
        const char* typed;
        int filter;
        const char* written;
        const char* magic;
    };
    const Case cases[] = {
        {"x", 1, "x.BMP", "BM"},
        {"y", 0, "y.EMF", "\x01\x00\x00\x00"},
        {"x.bmp", 0, "x.bmp", "BM"},
        {"z.Emf", 1, "z.Emf", "\x01\x00\x00\x00"},
        {"x.png", 0, "x.png", "\x01\x00\x00\x00"},
        {"w.png", 1, "w.png", "BM"},
    };
    for (const Case& c : cases) {
        prompts.fileNames.push_back(QString::fromStdString((folder / c.typed).string()));
        prompts.fileFilters.push_back(c.filter);
        graph->OnExport();
        const std::string bytes = ReadBytes(folder / c.written);
        const std::string magic(c.magic, c.magic[0] == 'B' ? 2 : 4);
        EXPECT_EQ(bytes.substr(0, magic.size()), magic) << c.typed;
    }
    const auto& dialog = prompts.prompts.front();
    ASSERT_EQ(dialog.filters.size(), 2u);
    EXPECT_EQ(QtFilterString(dialog.filters), "Enhanced Meta File (*.EMF *.emf);;Windows Bitmap (*.BMP *.bmp)");
    EXPECT_TRUE(prompts.Messages().empty());

    const std::filesystem::path unwritable = folder / "no_such_folder" / "plot";
    prompts.fileNames.push_back(QString::fromStdString(unwritable.string()));
    graph->OnExport();
    EXPECT_FALSE(std::filesystem::exists(unwritable.parent_path()));
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, QString::fromStdString("Cannot create file: " + unwritable.string() + ".EMF"));
    EXPECT_EQ(prompts.Messages()[0].caption, "File Creation Error");
    EXPECT_EQ(prompts.Messages()[0].icon, PromptIcon::Warning);

    // A cancelled dialog writes nothing and says nothing.
    graph->OnExport();
    EXPECT_EQ(prompts.Messages().size(), 1u);
}

TEST_F(DlgGraphTest, CopyPutsTheMetafileAndAPngOnTheClipboard) {
    CDlgGraph* graph = ShownContinuationGraph();
    Render(*graph);
    QGuiApplication::clipboard()->clear();
    graph->OnCopy();
    EXPECT_TRUE(prompts.Messages().empty());
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QByteArray metafile = data->data(kMetafileMimeType);
    ASSERT_GT(metafile.size(), 4);
    EXPECT_EQ(metafile.left(4), QByteArray("\x01\x00\x00\x00", 4));
    QImage png;
    ASSERT_TRUE(png.loadFromData(data->data(kPngMimeType), "PNG"));
    EXPECT_EQ(png.size(), graph->Plot().size());
}

TEST_F(DlgGraphTest, ThePlotTakesWhatTheWindowGrowsBy) {
    CDlgGraph* graph = ShownContinuationGraph();
    QCoreApplication::processEvents();
    const QSize initial = graph->size();
    const QRect plot = graph->Plot().geometry();
    const QRect button = FindControl<QPushButton>(*graph, 1013)->geometry();
    graph->resize(initial + QSize(100, 80));
    QCoreApplication::processEvents();
    EXPECT_EQ(graph->Plot().geometry().size(), plot.size() + QSize(100, 80));
    EXPECT_EQ(FindControl<QPushButton>(*graph, 1013)->geometry(), button.translated(100, 0));

    EXPECT_EQ(graph->minimumSize(), initial - QSize(40, 40));
    graph->resize(100, 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(graph->size(), initial - QSize(40, 40));
}

}  // namespace
