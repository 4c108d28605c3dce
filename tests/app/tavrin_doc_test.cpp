#include <algorithm>

#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include "archive_file.h"
#include "command_ids.h"
#include "drawn_network.h"
#include "control_id.h"
#include "finans_view.h"
#include "report_interface.h"
#include "label_names.h"
#include "recording_graph.h"
#include "scroll_client.h"
#include "shell_fixture.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"

namespace {

using NetworkDocument = ShellTest;

TEST_F(NetworkDocument, OwnsAModelThatSharesWhatTheApplicationHolds) {
    ASSERT_TRUE(Start());
    Frame().Commands().Execute(Command::FileNew);
    Frame().Commands().Execute(Command::FileNew);
    auto* first = dynamic_cast<CTavrinDoc*>(Windows()[0]->View().GetDocument());
    auto* second = dynamic_cast<CTavrinDoc*>(Windows()[1]->View().GetDocument());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first->GetModel(), nullptr);
    EXPECT_NE(first->GetModel(), second->GetModel());
    for (CTavrinDoc* document : {first, second}) {
        IModel& model = *document->GetModel();
        EXPECT_EQ(model.GetColorMap(kNominalVoltageColors), &app->NominalVoltageMap());
        EXPECT_EQ(model.GetColorMap(kLoadingColors), &app->LoadingMap());
        EXPECT_EQ(model.GetColorMap(kBusVoltageColors), &app->BusVoltageMap());
    }
    EXPECT_FALSE(app->HasClipboardElements());
}

TEST_F(NetworkDocument, TheViewPaintsTheModelsDiagram) {
    ASSERT_TRUE(Start());
    Frame().Commands().Execute(Command::FileNew);
    auto& view = dynamic_cast<CTavrinView&>(Windows()[0]->View());
    view.GetDocument()->GetModel()->SetBackgroundColor(Rgb(200, 10, 10));
    QImage picture = view.grab().toImage();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixelColor(5, 5), QColor(200, 10, 10));
    EXPECT_EQ(picture.pixelColor(picture.width() - 1, picture.height() - 1), QColor(200, 10, 10));
}

TEST_F(NetworkDocument, AFinishedReportOpensInAResultsWindowThatReleasesIt) {
    ASSERT_TRUE(Start());
    IDBReport* report = createReport(app->TextMeasurer());
    ASSERT_NE(report, nullptr);
    report->SetTitle("Tok snage \x9A");
    *report << "Bus 1   1.000 p.u." << IDBReport::_ENDL{};
    report->AddRef();  // the test's own, to see the window give its one back

    CDocument* document = app->OpenResultsDocument(report);
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(Windows().size(), 1u);
    EXPECT_EQ(document->GetTitle(), QString::fromUtf8("Tok snage \u0161"));
    auto& view = dynamic_cast<CFinansView&>(Windows()[0]->View());
    EXPECT_EQ(view.CurrentPage(), 1);
    // The page is drawn (its place on the desk: finans_view_test).
    Size page = report->GetPageSize();
    Windows()[0]->resize(page.cx + 200, page.cy + 200);
    QImage picture = view.Client().viewport()->grab().toImage();
    int left = (picture.width() - page.cx) / 2;
    EXPECT_EQ(picture.pixelColor(left / 2, 2), QColor(128, 128, 128));                                // the desk
    EXPECT_EQ(picture.pixelColor(left + page.cx - 5, CFinansView::kMargin + page.cy - 5), Qt::white);  // the page
    EXPECT_EQ(picture.pixelColor(left, CFinansView::kMargin + 50), Qt::black);                          // its edge

    // The report is not a file: New does not offer it, nor Open.
    Frame().Commands().Execute(Command::FileNew);
    EXPECT_NE(dynamic_cast<CTavrinDoc*>(Windows()[1]->View().GetDocument()), nullptr);

    Windows()[0]->close();
    SettleDeletions();
    EXPECT_EQ(report->Release(), 0);
}

int PixelsOf(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
    }
    return count;
}

TEST_F(NetworkDocument, SensitivityGraphShowsAFileDeletedAsSoonAsItIsOpen) {
    ASSERT_TRUE(Start());
    Frame().Commands().Execute(Command::FileNew);
    auto& view = dynamic_cast<CTavrinView&>(Windows()[0]->View());
    CTavrinDoc& document = *view.GetDocument();
    const QString path = folder.filePath("dVdQa01234");
    ASSERT_TRUE(QFile::copy(TEST_DATA_DIR "/graph_sensitivity.txt", path));
    document.ShowSensitivityGraph(&view, QFile::encodeName(path).constData(), CTavrinDoc::SensitivityKind::Angle, 0);
    ASSERT_TRUE(QFile::remove(path));

    const QList<QDialog*> graphs = view.findChildren<QDialog*>();
    ASSERT_EQ(graphs.size(), 1);
    EXPECT_EQ(graphs[0]->windowTitle(), document.GetTitle() + " - Angle Sensitivity (dTheta/dP)");
    EXPECT_TRUE(graphs[0]->isVisible());
    auto* plot = graphs[0]->findChild<QWidget*>("idc_1014");
    ASSERT_NE(plot, nullptr);
    // The bars are filled in the first curve's colour, red.
    EXPECT_GT(PixelsOf(plot->grab().toImage(), QColor(255, 0, 0)), 500);
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompts.Messages().empty());

    // Closing the document closes its graphs.
    QPointer<QDialog> graph(graphs[0]);
    Windows()[0]->close();
    SettleDeletions();
    EXPECT_TRUE(graph.isNull());
}

TEST_F(NetworkDocument, TransferCapabilityGraphsCascadeOverTheFilesGiven) {
    ASSERT_TRUE(Start());
    Frame().Commands().Execute(Command::FileNew);
    auto& view = dynamic_cast<CTavrinView&>(Windows()[0]->View());
    CTavrinDoc& document = *view.GetDocument();
    const QByteArray path = QFile::encodeName(TEST_DATA_DIR "/graph_sensitivity.txt");

    document.ShowTransferCapabilityGraphs(&view, nullptr, nullptr, nullptr, path.constData());
    document.ShowTransferCapabilityGraphs(&view, path.constData(), nullptr, path.constData(), nullptr);
    const QList<QDialog*> graphs = view.findChildren<QDialog*>();
    ASSERT_EQ(graphs.size(), 3);
    EXPECT_EQ(graphs[0]->windowTitle(), document.GetTitle() + " - Transfer Capability (LF Changes)");
    EXPECT_EQ(graphs[1]->windowTitle(), document.GetTitle() + " - Transfer Capability (Voltage Drop)");
    EXPECT_EQ(graphs[2]->windowTitle(), document.GetTitle() + " - Transfer Capability (Qgen Changes)");
    EXPECT_EQ(graphs[1]->pos(), graphs[0]->pos());
    EXPECT_EQ(graphs[2]->pos(), graphs[0]->pos() + QPoint(30, 30));
    const auto& entries = document.GraphReferences().Entries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), nullptr), 0);
    EXPECT_EQ(entries.size(), 3u);

    graphs[1]->close();
    SettleDeletions();
    EXPECT_EQ(entries[1], nullptr);
}

TEST_F(NetworkDocument, PVCurvesShowTheChosenVariablesOrNothing) {
    ASSERT_TRUE(Start());
    Frame().Commands().Execute(Command::FileNew);
    auto& view = dynamic_cast<CTavrinView&>(Windows()[0]->View());
    CTavrinDoc& document = *view.GetDocument();
    RecordingGraphFactory factory;
    document.SetGraphMaker([&](CReferenceManager*, QWidget*, PromptService&) { return factory.Make(); });
    const char* path = "/tmp/PVProf0001";

    // The graph is made before the choice; without a choice it is released
    // and nothing else is asked of it.
    std::vector<std::string> asked;
    document.ShowPVCurves(&view, path, [&](const char* file) {
        asked.push_back(file);
        return std::optional<PvCurveVariables>();
    });
    ASSERT_EQ(factory.graphs.size(), 1u);
    EXPECT_EQ(asked, std::vector<std::string>{path});
    EXPECT_EQ(factory.graphs[0]->calls, std::vector<std::string>{"Release"});

    // Thirteen columns chosen: twelve curves.
    PvCurveVariables chosen{"PLoad_Total", {}};
    for (int i = 1; i <= 13; ++i) chosen.yNames.push_back("V_Bus" + std::to_string(i));
    document.ShowPVCurves(&view, path, [&](const char*) { return std::optional(chosen); });
    ASSERT_EQ(factory.graphs.size(), 2u);
    std::vector<std::string> expected = {"SetCaption " + document.GetTitle().toStdString() + " - PV Curves",
                                         "SetDataFile later -1", "SetXVariable PLoad_Total"};
    for (int i = 1; i <= 12; ++i) expected.push_back("AddYVariable V_Bus" + std::to_string(i));
    for (const char* call : {"SetGraphTitle PV Curves", "SetXAxisTitle Total Load [p.u.]",
                             "SetYAxisTitle Voltage [p.u.]", "Create"}) {
        expected.push_back(call);
    }
    EXPECT_EQ(factory.graphs[1]->calls, expected);
    EXPECT_EQ(factory.graphs[1]->dataFile, path);

    // No window: the user is told and nothing is chosen.
    factory.failAfter = 2;
    asked.clear();
    document.ShowPVCurves(&view, path, [&](const char* file) {
        asked.push_back(file);
        return std::optional(chosen);
    });
    EXPECT_TRUE(asked.empty());
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "Cannot create preview dialog!!");
}

TEST_F(NetworkDocument, GraphFromFileRunsTheDesignerOnTheChosenFile) {
    ASSERT_TRUE(Start());
    Frame().Commands().Execute(Command::FileNew);
    auto& view = dynamic_cast<CTavrinView&>(Windows()[0]->View());
    CTavrinDoc& document = *view.GetDocument();
    // Cancelled, the file dialog opens no designer.
    document.GenerateGraphFromFile(&view);
    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(prompts.prompts[0].kind, ScriptedPromptService::Kind::OpenFile);
    ASSERT_EQ(prompts.prompts[0].filters.size(), 2u);
    EXPECT_EQ(prompts.prompts[0].filters[0].description, "Result Data (*.PRN,*.TXT,*.DAT) ");

    const QString path = TEST_DATA_DIR "/graph_continuation_lf.txt";
    prompts.fileNames.push_back(path);
    prompts.dialogScripts.push_back([](QDialog& designer) {
        auto* variables = designer.findChild<QListWidget*>(ControlName(1015));
        auto click = [&](int id) { designer.findChild<QPushButton*>(ControlName(id))->click(); };
        // PLoad_Total against each of the three voltages.
        click(1020);
        variables->setCurrentRow(3);
        click(1016);
        for (int y = 0; y < 3; ++y) {
            if (y > 0) click(1020);
            variables->setCurrentRow(y);
            click(1017);
        }
        designer.accept();
    });
    document.GenerateGraphFromFile(&view);
    ASSERT_EQ(prompts.prompts.size(), 3u);
    EXPECT_EQ(prompts.prompts[2].kind, ScriptedPromptService::Kind::Dialog);
    EXPECT_EQ(prompts.prompts[2].caption, "Graph: " + path);

    const QList<QDialog*> graphs = view.findChildren<QDialog*>();
    ASSERT_EQ(graphs.size(), 1);
    EXPECT_TRUE(graphs[0]->isVisible());
    const auto& entries = document.GraphReferences().Entries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), nullptr), 0);
    EXPECT_EQ(entries.size(), 1u);
    auto* plot = graphs[0]->findChild<QWidget*>(ControlName(1014));
    ASSERT_NE(plot, nullptr);
    // The designer's curves are blue until the user picks another colour.
    EXPECT_GT(PixelsOf(plot->grab().toImage(), QColor(0, 0, 255)), 100);
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(NetworkDocument, AChangeOfToolClearsTheSelectionButTheNodeMoverWorksOnIt) {
    DrawnNetwork drawn;
    Bus& bus = drawn.AddBus("Bus 1");
    Archive stored = Archive::ForStoring();
    drawn.model().SerializeModel(stored);
    const QString path = folder.filePath("one bus.pf");
    SaveArchiveFile(stored, path.toStdString());
    ASSERT_TRUE(Start());
    auto* document = dynamic_cast<CTavrinDoc*>(app->OpenDocumentFile(path));
    ASSERT_NE(document, nullptr);
    EXPECT_FALSE(document->IsNew());
    IModel& model = *document->GetModel();
    auto select = [&] { model.AddToSelection(model.FindByKey(bus.GetKey())); };

    struct Case {
        int from, to;
        bool keeps;
    };
    for (auto [from, to, keeps] : {Case{0, 29, true}, Case{0, 0, true}, Case{0, 1, false}, Case{29, 0, false},
                                   Case{1, 29, false}, Case{10, 0, false}}) {
        document->SetTool(from);
        select();
        ASSERT_TRUE(model.HasSelection());
        document->SetTool(to);
        EXPECT_EQ(document->GetTool(), to);
        EXPECT_EQ(model.HasSelection(), keeps) << from << " to " << to;
        model.ClearSelection();
    }

    Frame().Commands().Execute(Command::FileNew);
    auto* fresh = dynamic_cast<CTavrinDoc*>(Windows().back()->View().GetDocument());
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->IsNew());
    ASSERT_TRUE(fresh->DoSave(folder.filePath("saved.pf")));
    EXPECT_FALSE(fresh->IsNew());
}

TEST(LabelNames, EachKindOfElementTakesAsManyFontsAsItsListHasNames) {
    EXPECT_EQ(LabelFontCountsOfLists(), (LabelFontCounts{2, 1, 4, 5, 1, 1, 1, 1, 1}));
    EXPECT_EQ(LabelNames(LabelFamily::Transformer).back(), "Transformer ratio");
    EXPECT_EQ(LabelNames(LabelFamily::NetworkEquivalent).size(), 3u);
    EXPECT_EQ(LabelNames(LabelFamily::Defaults).front(), "All Fonts");
}

}  // namespace
