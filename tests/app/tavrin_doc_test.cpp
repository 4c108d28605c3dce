#include <gtest/gtest.h>

#include <QImage>

#include "command_ids.h"
#include "finans_view.h"
#include "report_interface.h"
#include "label_names.h"
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
    Size page = report->GetPageSize();
    view.resize(page.cx + 100, page.cy + 40);  // room for the whole page until the view scrolls
    QImage picture = view.grab().toImage();
    int left = page.cx + 2 * CFinansView::kMargin < picture.width() ? (picture.width() - page.cx) / 2 : 0;
    EXPECT_EQ(picture.pixelColor(left / 2, 2), QColor(128, 128, 128));                          // the desk
    EXPECT_EQ(picture.pixelColor(left + page.cx - 5, CFinansView::kMargin + page.cy - 5), Qt::white);  // the page
    EXPECT_EQ(picture.pixelColor(left, CFinansView::kMargin + 50), Qt::black);                   // its edge

    // The report is not a file: New does not offer it, nor Open.
    Frame().Commands().Execute(Command::FileNew);
    EXPECT_NE(dynamic_cast<CTavrinDoc*>(Windows()[1]->View().GetDocument()), nullptr);

    Windows()[0]->close();
    SettleDeletions();
    EXPECT_EQ(report->Release(), 0);
}

TEST(LabelNames, EachKindOfElementTakesAsManyFontsAsItsListHasNames) {
    EXPECT_EQ(LabelFontCountsOfLists(), (LabelFontCounts{2, 1, 4, 5, 1, 1, 1, 1, 1}));
    EXPECT_EQ(LabelNames(LabelFamily::Transformer).back(), "Transformer ratio");
    EXPECT_EQ(LabelNames(LabelFamily::NetworkEquivalent).size(), 3u);
    EXPECT_EQ(LabelNames(LabelFamily::Defaults).front(), "All Fonts");
}

}  // namespace
