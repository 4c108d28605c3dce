#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPrinter>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>

#include "grid_ctrl.h"

namespace {

bool HasWord(const QString& text, const QString& word) {
    return text.contains(QRegularExpression("\\b" + word + "\\b"));
}

// The text of a PDF, pages separated by form feeds.
QString PdfText(const QString& path) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", path, "-"});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0) return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

class GridPrinting : public ::testing::Test {
protected:
    void SetUp() override {
        window.setWindowTitle("Curve table");
        auto* layout = new QVBoxLayout(&window);
        auto* inner = new QWidget;  // untitled: the header looks further up
        layout->addWidget(inner);
        auto* innerLayout = new QVBoxLayout(inner);
        grid = new CGridCtrl(1, 3, 1, 1);
        innerLayout->addWidget(grid);
        grid->SetCellText(0, 1, "Heading");
        for (int col = 0; col < 3; ++col) grid->SetColumnWidth(col, 80);
        QGuiApplication::setApplicationDisplayName("Gridprint");
    }
    void TearDown() override { QGuiApplication::setApplicationDisplayName(QString()); }

    // Rows of 20 pixels until the table is `pages` pages high.
    void FillPages(int pages) {
        grid->SetRowCount(200);
        for (int row = 1; row < 200; ++row) {
            grid->SetRowHeight(row, 20);
            grid->SetCellText(row, 0, QString("R%1").arg(row));
            grid->SetCellText(row, 1, QString("cell%1").arg(row));
        }
        QPrinter probe(QPrinter::HighResolution);
        probe.setOutputFormat(QPrinter::PdfFormat);
        probe.setOutputFileName(dir.filePath("probe.pdf"));
        QPainter painter(&probe);
        GridPrintInfo info;
        grid->OnBeginPrinting(painter, info);
        grid->OnEndPrinting(painter, info);
        ASSERT_GT(grid->GetPrintLayout().PagesDown(), pages);
        grid->SetRowCount(grid->GetPrintLayout().rowBands[static_cast<std::size_t>(pages)]);
    }

    QTemporaryDir dir;
    QWidget window;
    CGridCtrl* grid = nullptr;
};

TEST_F(GridPrinting, ATableTwoPagesHighPrintsTwoPagesWithHeaderAndFooter) {
    FillPages(2);
    int lastRow = grid->GetRowCount() - 1;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("grid.pdf"));
    ASSERT_TRUE(grid->Print(printer));
    EXPECT_EQ(grid->GetPrintLayout().PagesDown(), 2);
    EXPECT_EQ(grid->GetPrintLayout().PagesAcross(), 1);

    QStringList pages = PdfText(dir.filePath("grid.pdf")).split('\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2);
    for (int page = 0; page < 2; ++page) {
        SCOPED_TRACE(page + 1);
        EXPECT_TRUE(pages[page].contains("Curve table"));
        EXPECT_TRUE(pages[page].contains("Gridprint"));
        EXPECT_TRUE(pages[page].contains(QString("Page %1 of 2").arg(page + 1)));
        EXPECT_TRUE(pages[page].contains("Heading"));
    }
    int secondBand = grid->GetPrintLayout().rowBands[1];
    EXPECT_TRUE(HasWord(pages[0], "cell1"));
    EXPECT_TRUE(HasWord(pages[0], QString("cell%1").arg(secondBand - 1)));
    EXPECT_FALSE(HasWord(pages[0], QString("cell%1").arg(secondBand)));
    EXPECT_TRUE(HasWord(pages[1], QString("R%1").arg(secondBand)));
    EXPECT_TRUE(HasWord(pages[1], QString("cell%1").arg(lastRow)));
    EXPECT_FALSE(HasWord(pages[1], "cell1"));
}

TEST_F(GridPrinting, AtScreenProportionsWideTablesGoAcrossFirst) {
    grid->SetColumnCount(12);
    for (int col = 0; col < 12; ++col) {
        grid->SetColumnWidth(col, 100);
        grid->SetCellText(0, col, QString("H%1").arg(col));
    }
    grid->SetRowCount(3);
    grid->SetPrintAtScreenProportions(true);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("wide.pdf"));
    ASSERT_TRUE(grid->Print(printer));
    const GridPrintLayout& layout = grid->GetPrintLayout();
    ASSERT_GT(layout.PagesAcross(), 1);
    EXPECT_EQ(layout.PagesDown(), 1);
    QStringList pages = PdfText(dir.filePath("wide.pdf")).split('\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), layout.PagesAcross());
    // Every page carries the corner heading and its own columns.
    EXPECT_TRUE(pages.back().contains(QString("Page %1 of %1").arg(layout.PagesAcross())));
    EXPECT_TRUE(HasWord(pages[1], QString("H%1").arg(layout.columnBands[1])));
    EXPECT_TRUE(HasWord(pages[1], "H0"));
    EXPECT_FALSE(HasWord(pages[1], "H1"));
}

}  // namespace
