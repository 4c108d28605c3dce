// The report window's print preview in a running program.

#include <gtest/gtest.h>

#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>

#include "command_ids.h"
#include "mapped_bitmap_button.h"
#include "preview_pages.h"
#include "report_preview.h"
#include "report_window_fixture.h"

namespace {

using namespace Command;

class ReportPreviewTest : public ReportWindowTest {
protected:
    ReportPreview& Preview() {
        QWidget* standIn = Windows().back()->StandIn();
        EXPECT_NE(standIn, nullptr);
        return dynamic_cast<ReportPreview&>(*standIn);
    }
    void Press(PreviewButton button) { Preview().Button(button).click(); }
    QString Status() { return Frame().statusBar()->currentMessage(); }
    QImage ButtonFace(PreviewButton button) { return Preview().Button(button).grab().toImage(); }
};

TEST_F(ReportPreviewTest, TheToolBarsTipsAndTheOneTwoPageButtonFollowingTheSpread) {
    Open(3);
    Execute(FilePrintPreview);
    struct Case {
        PreviewButton button;
        const char* tip;
    };
    const Case cases[] = {
        {PreviewButton::Print, "Print the report"},
        {PreviewButton::NextPage, "Move to next page"},
        {PreviewButton::PreviousPage, "Move to previous page"},
        {PreviewButton::OnePageTwoPages, "Preview 2 pages at a time"},
        {PreviewButton::ZoomIn, "Zoom in"},
        {PreviewButton::ZoomOut, "Zoom out"},
        {PreviewButton::Close, "Close report"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Preview().Button(c.button).toolTip(), c.tip);
        if (c.button == PreviewButton::Close) continue;
        auto* button = dynamic_cast<CMappedBitmapButton*>(&Preview().Button(c.button));
        ASSERT_NE(button, nullptr) << c.tip;
        EXPECT_TRUE(button->HasFaces()) << c.tip;
    }
    EXPECT_EQ(Preview().Button(PreviewButton::Close).text(), "&Close");
    EXPECT_FALSE(Preview().Button(PreviewButton::PreviousPage).isEnabled());
    EXPECT_FALSE(Preview().Button(PreviewButton::ZoomOut).isEnabled());

    const QImage onePageFace = ButtonFace(PreviewButton::OnePageTwoPages);
    Press(PreviewButton::OnePageTwoPages);
    EXPECT_EQ(Preview().Button(PreviewButton::OnePageTwoPages).toolTip(), "Preview 1 page at a time");
    EXPECT_NE(ButtonFace(PreviewButton::OnePageTwoPages), onePageFace);
    // Zoomed, one page fills the window and the toggle waits.
    Press(PreviewButton::ZoomIn);
    EXPECT_FALSE(Preview().Button(PreviewButton::OnePageTwoPages).isEnabled());
    EXPECT_EQ(Preview().Button(PreviewButton::OnePageTwoPages).toolTip(), "Preview 1 page at a time");
}

TEST_F(ReportPreviewTest, OpensOnThePageShownAndDescribesThePagesInTheStatusBar) {
    CountingReport& report = Open(5);
    Execute(NextPage);
    report.rendered.clear();
    Execute(FilePrintPreview);
    EXPECT_EQ(Status(), "Page 2");
    Preview().Pages().viewport()->grab();
    EXPECT_EQ(report.rendered, std::vector<int>{2});

    Press(PreviewButton::OnePageTwoPages);  // back one page to make the spread
    Press(PreviewButton::NextPage);
    EXPECT_EQ(Status(), "Pages 2-3");
    Press(PreviewButton::NextPage);
    Press(PreviewButton::NextPage);
    EXPECT_EQ(Status(), "Pages 4-5");
    EXPECT_FALSE(Preview().Button(PreviewButton::NextPage).isEnabled());
    // Each sheet is drawn by the view's page routine, into a picture of
    // A4 landscape over the printable area.
    report.rendered.clear();
    Preview().Pages().viewport()->grab();
    EXPECT_EQ(report.rendered, (std::vector<int>{4, 5}));
    const QImage& sheet = Preview().Pages().Sheet(4);
    EXPECT_NEAR(double(sheet.width()) / sheet.height(), 297.0 / 210.0, 0.01);
}

TEST_F(ReportPreviewTest, CloseGivesTheWindowBackToTheViewOnThePageItShowed) {
    Open(6);
    Execute(NextPage);
    Execute(NextPage);
    const QImage before = Grab();
    Execute(FilePrintPreview);
    CChildFrame& frame = *Windows().back();
    EXPECT_EQ(frame.widget(), &Preview());
    // The view's own commands are out of reach while the preview is up.
    EXPECT_FALSE(Enabled(NextPage));
    Execute(NextPage);
    Press(PreviewButton::NextPage);
    Press(PreviewButton::ZoomIn);

    Press(PreviewButton::Close);
    SettleDeletions();
    EXPECT_EQ(frame.StandIn(), nullptr);
    EXPECT_EQ(frame.widget(), &View());
    EXPECT_TRUE(View().isVisible());
    EXPECT_EQ(View().CurrentPage(), 3);
    EXPECT_EQ(Grab(), before);
    EXPECT_TRUE(Enabled(NextPage));
}

TEST_F(ReportPreviewTest, TheTogglesChoiceIsTheDefaultOfLaterPreviewsInTheRun) {
    Open(1);
    Execute(FilePrintPreview);
    EXPECT_EQ(Preview().State().PagesShown(), 1);
    EXPECT_FALSE(Preview().Button(PreviewButton::OnePageTwoPages).isEnabled());
    Press(PreviewButton::Close);

    Open(3);
    Execute(FilePrintPreview);
    Press(PreviewButton::OnePageTwoPages);
    Press(PreviewButton::Close);

    Open(1);
    Execute(FilePrintPreview);
    EXPECT_EQ(Preview().State().PagesShown(), 2);
    EXPECT_TRUE(Preview().Button(PreviewButton::OnePageTwoPages).isEnabled());
    EXPECT_EQ(Status(), "Page 1");
}

TEST_F(ReportPreviewTest, TheWheelSumsFineStepsIntoNotchesAndTurnsAPageEverySecondNotch) {
    Open(10);
    Execute(FilePrintPreview);
    QWidget* viewport = Preview().Pages().viewport();
    auto roll = [&](int delta) {
        const QPointF at(10, 10);
        QWheelEvent event(at, viewport->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &event);
    };
    for (int i = 0; i < 8; ++i) roll(-60);  // four notches towards the user
    EXPECT_EQ(Preview().State().CurrentPage(), 3);
    EXPECT_EQ(Preview().Pages().verticalScrollBar()->value(), 3);

    // Zoomed, a notch scrolls the page by its delta.
    Press(PreviewButton::ZoomIn);
    QScrollBar& down = *Preview().Pages().verticalScrollBar();
    down.setValue(0);
    roll(120);
    EXPECT_EQ(down.value(), std::min(120, down.maximum()));
    EXPECT_EQ(Preview().State().CurrentPage(), 3);
}

TEST_F(ReportPreviewTest, TheScrollBarTurnsToThePageChosen) {
    Open(10);
    Execute(FilePrintPreview);
    QScrollBar& down = *Preview().Pages().verticalScrollBar();
    EXPECT_EQ(down.minimum(), 1);
    EXPECT_EQ(down.maximum(), 10);
    down.setValue(7);
    EXPECT_EQ(Preview().State().CurrentPage(), 7);
    EXPECT_EQ(Status(), "Page 7");
}

TEST_F(ReportPreviewTest, AClickOnAPageZoomsInAndFromFullZoomBackOut) {
    Open(4);
    Execute(FilePrintPreview);
    SizeClient(800, 600);
    auto clickSheet = [&] {
        QPoint middle = Preview().Pages().SheetRect(0).center();
        Preview().Click(middle);
    };
    clickSheet();
    EXPECT_EQ(Preview().State().Zoom(), PreviewZoom::Middle);
    clickSheet();
    EXPECT_EQ(Preview().State().Zoom(), PreviewZoom::In);
    clickSheet();
    EXPECT_EQ(Preview().State().Zoom(), PreviewZoom::Out);
    Preview().Click({1, 1});  // the desk: nothing
    EXPECT_EQ(Preview().State().Zoom(), PreviewZoom::Out);
}

TEST_F(ReportPreviewTest, PrintClosesThePreviewAndPrintsTheReportThroughThePrintDialog) {
    Open(4);
    Execute(FilePrintPreview);
    Press(PreviewButton::NextPage);
    const QString pdf = folder.filePath("preview.pdf");
    prompts.dialogScripts.push_back([&](QDialog& dialog) {
        auto& print = dynamic_cast<QPrintDialog&>(dialog);
        EXPECT_EQ(print.maxPage(), 4);
        print.printer()->setOutputFormat(QPrinter::PdfFormat);
        print.printer()->setOutputFileName(pdf);
        dialog.done(QDialog::Accepted);
    });
    Press(PreviewButton::Print);
    SettleDeletions();
    EXPECT_EQ(Windows().back()->StandIn(), nullptr);
    EXPECT_EQ(ReadPdf(pdf).pages, 4);
    EXPECT_EQ(View().CurrentPage(), 1);
}

TEST_F(ReportPreviewTest, AReportWithoutPagesCannotBePreviewed) {
    Open(0);
    Execute(FilePrintPreview);
    EXPECT_EQ(Windows().back()->StandIn(), nullptr);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "Command failed.");
}

}  // namespace
