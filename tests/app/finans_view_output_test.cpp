// Leaving the report window with the report: go to page, the printer file,
// printing.

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>

#include "app_printer.h"
#include "command_ids.h"
#include "control_id.h"
#include "dlg_idi_na_stranu.h"
#include "report_window_fixture.h"

namespace {

using ReportWindow = ReportWindowTest;
using namespace Command;

// Plays the user in the go-to-page dialog: each text typed, then OK.
std::function<void(QDialog&)> TypePages(std::vector<QString> texts, std::vector<int>* results) {
    return [texts, results](QDialog& dialog) {
        for (const QString& text : texts) {
            FindControl<QLineEdit>(dialog, CDlgIdiNaStranu::kPageFieldId)->setText(text);
            dialog.accept();
            results->push_back(dialog.result());
        }
    };
}

TEST_F(ReportWindow, GoToPageRefusesAPageOutsideTheReportAndKeepsTheDialogOpen) {
    CountingReport& report = Open(5);
    std::vector<int> results;
    prompts.dialogScripts.push_back([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Idi na stranu");
        EXPECT_EQ(FindControl<QLineEdit>(dialog, CDlgIdiNaStranu::kPageFieldId)->text(), "1");
        for (int id : {CDlgIdiNaStranu::kPageCountId, CDlgIdiNaStranu::kCurrentPageId}) {
            EXPECT_EQ(FindControl<QLabel>(dialog, id)->font().weight(), QFont::Bold);
        }
        EXPECT_EQ(FindControl<QLabel>(dialog, CDlgIdiNaStranu::kPageCountId)->text(), "5");
        EXPECT_EQ(FindControl<QLabel>(dialog, CDlgIdiNaStranu::kCurrentPageId)->text(), "1");
        TypePages({"0", "6", "4"}, &results)(dialog);
    });
    Execute(GoToPage);
    EXPECT_EQ(results, (std::vector<int>{QDialog::Rejected, QDialog::Rejected, QDialog::Accepted}));
    auto messages = prompts.Messages();
    ASSERT_EQ(messages.size(), 2u);
    for (const auto& message : messages) {
        EXPECT_EQ(message.text, QString::fromUtf8("Morate unijeti broj između 1 i 5!"));
        EXPECT_EQ(message.caption, QString::fromUtf8("Pogrešan broj strane"));
    }
    EXPECT_EQ(View().CurrentPage(), 4);
    EXPECT_EQ(report.rendered, (std::vector<int>{1, 4}));

    // The page shown already: the dialog closes and nothing is rendered.
    prompts.dialogScripts.push_back(TypePages({"4"}, &results));
    Execute(GoToPage);
    EXPECT_EQ(results.back(), QDialog::Accepted);
    EXPECT_EQ(report.rendered, (std::vector<int>{1, 4}));
    // Cancel leaves the page.
    Execute(GoToPage);
    EXPECT_EQ(View().CurrentPage(), 4);
}

// A real report of two landscape pages, measured with the screen's fonts.
IDBReport* TwoPageReport(ITextMeasurer& display) {
    IDBReport* report = createReport(display);
    report->SetPageType(2);
    report->SetSection(2);
    for (int line = 0; line < 80; ++line) *report << "Bus " << std::to_string(line).c_str() << NL;
    report->SetTitle("Power flow");
    return report;
}

TEST_F(ReportWindow, SaveWritesThePrinterFileAndGivesANameWithoutExtensionTheTextOne) {
    ASSERT_TRUE(Start());
    IDBReport* report = TwoPageReport(app->TextMeasurer());
    ASSERT_EQ(report->GetPageCount(), 2);
    app->OpenResultsDocument(report);
    struct Case {
        const char* chosen;
        const char* written;
    };
    for (const Case& c : {Case{"r", "r.txt"}, Case{"r.", "r.txt"}, Case{"r.dat", "r.dat"}}) {
        SCOPED_TRACE(c.chosen);
        QFile::remove(folder.filePath(c.written));
        prompts.fileNames.push_back(folder.filePath(c.chosen));
        Execute(c.chosen[1] == '\0' ? FileSave : FileSaveAs);
        std::string bytes = Bytes(folder.filePath(c.written));
        // ESC M SI: a landscape report; a form feed ends each page.
        EXPECT_EQ(bytes.substr(0, 3), "\x1B\x4D\x0F");
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\x0C'), 2);
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("r.")));
    const auto& dialog = prompts.prompts.front();
    ASSERT_EQ(dialog.filters.size(), 2u);
    EXPECT_EQ(dialog.filters[0].description, "Power Flow Results (*.txt) ");
    EXPECT_EQ(dialog.filters[0].patterns, "*.TXT");
    EXPECT_EQ(dialog.filters[1].description, "All Files (*.*)");
    EXPECT_TRUE(prompts.Messages().empty());

    const QString nowhere = folder.filePath("missing/r.txt");
    prompts.fileNames.push_back(nowhere);
    Execute(FileSave);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "Cannot create file: " + nowhere);
    EXPECT_EQ(prompts.Messages()[0].caption, "File Creation Error");
    EXPECT_EQ(prompts.Messages()[0].icon, PromptIcon::Warning);
}

TEST_F(ReportWindow, PrintingPutsEachPageOnAnA4SheetOfTheReportsOrientationAndLeavesThePageShown) {
    CountingReport& report = Open(3);  // landscape
    Execute(NextPage);
    QImage before = Grab();
    const QString pdf = folder.filePath("report.pdf");
    QPrinter& printer = app->Printing().Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);

    Execute(FilePrintDirect);
    EXPECT_TRUE(prompts.prompts.empty());
    PdfFacts facts = ReadPdf(pdf);
    EXPECT_EQ(facts.pages, 3);
    EXPECT_EQ(facts.pageSize, QSize(842, 595));
    // Each printed page is a picture of its own; the view keeps its page.
    EXPECT_EQ(report.rendered, (std::vector<int>{1, 2, 1, 2, 3}));
    EXPECT_EQ(View().CurrentPage(), 2);
    EXPECT_EQ(Grab(), before);
}

TEST_F(ReportWindow, ThePrintDialogOffersTheReportsPagesAndPrintsTheRangeChosen) {
    CountingReport& report = Open(5, 0);  // portrait
    const QString pdf = folder.filePath("range.pdf");
    prompts.dialogScripts.push_back([&](QDialog& dialog) {
        auto& print = dynamic_cast<QPrintDialog&>(dialog);
        EXPECT_EQ(print.minPage(), 1);
        EXPECT_EQ(print.maxPage(), 5);
        print.printer()->setOutputFormat(QPrinter::PdfFormat);
        print.printer()->setOutputFileName(pdf);
        print.printer()->setPrintRange(QPrinter::PageRange);
        print.printer()->setFromTo(2, 3);
        dialog.done(QDialog::Accepted);
    });
    Execute(FilePrint);
    PdfFacts facts = ReadPdf(pdf);
    EXPECT_EQ(facts.pages, 2);
    EXPECT_EQ(facts.pageSize, QSize(595, 842));
    EXPECT_EQ(report.rendered, (std::vector<int>{1, 2, 3}));

    Execute(FilePrint);  // cancelled
    EXPECT_EQ(report.rendered, (std::vector<int>{1, 2, 3}));
}

TEST_F(ReportWindow, PrintDirectWithoutAnyPrinterSaysSo) {
    CountingReport& report = Open(2);
    AppPrinter none([] { return QStringList(); });
    EXPECT_FALSE(PrintView(View(), none, prompts, PrintChoice::Direct, nullptr));
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "There is no printer installed");
    EXPECT_EQ(report.rendered, std::vector<int>{1});
}

}  // namespace
