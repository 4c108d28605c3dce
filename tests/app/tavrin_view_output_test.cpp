#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include <unistd.h>
#include <sys/stat.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTest>

#include "app_printer.h"
#include "bus.h"
#include "cdf_model.h"
#include "command_ids.h"
#include "diagram_pages.h"
#include "drawn_network.h"
#include "emf_drawing_context.h"
#include "emf_picture.h"
#include "fixed_metric_measurer.h"
#include "power_line.h"
#include "report_preview.h"
#include "report_window_fixture.h"
#include "shell_fixture.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"

namespace {

namespace fs = std::filesystem;

const QColor kGround(255, 255, 200);  // the layer the tests lay under a diagram

std::uint32_t U32(const std::string& bytes, std::size_t at) {
    auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])); };
    return byte(0) | (byte(1) << 8) | (byte(2) << 16) | (byte(3) << 24);
}

// The type of the last record of a metafile, walking the records by size.
std::uint32_t LastRecordType(const std::string& bytes) {
    std::uint32_t last = 0;
    for (std::size_t at = 0; at + 8 <= bytes.size() && U32(bytes, at + 4) >= 8; at += U32(bytes, at + 4)) {
        last = U32(bytes, at);
    }
    return last;
}

// A layer's picture: one colour over the whole of its frame.
std::vector<std::uint8_t> OneColourPicture(ColorRef colour) {
    FixedMetricMeasurer measurer;
    EmfDrawingContext emf(measurer, {10, 10});
    emf.SelectPen({PenStyle::Solid, {0, 0}, colour});
    emf.SelectBrush({BrushStyle::Solid, colour, 0});
    emf.Rectangle({0, 0, 10, 10});
    return emf.Finish();
}

QImage PlayedMetafile(const std::string& bytes, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const std::span<const std::uint8_t> metafile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    EXPECT_TRUE(PlayEnhancedMetafile(painter, metafile, QRectF(0, 0, width, height)));
    return image;
}

// Whether a pixel inside the rectangle (grown by 1 on every side) differs
// from the colour.
bool ShowsOtherThan(const QImage& image, QRect r, QColor colour) {
    r = r.adjusted(-1, -1, 1, 1).intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (image.pixelColor(x, y) != colour) return true;
        }
    }
    return false;
}

// A program whose network windows show diagrams drawn in the tests.
class NetworkOutput : public ShellTest {
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }

    // Stores the model as a document and opens it as the user would.
    CTavrinView& Open(PowerSystem& model) {
        Archive stored = Archive::ForStoring();
        model.SerializeModel(stored);
        const QString path = folder.filePath(QString("diagram%1.pf").arg(opened_++));
        SaveArchiveFile(stored, path.toStdString());
        EXPECT_NE(app->OpenDocumentFile(path), nullptr);
        return dynamic_cast<CTavrinView&>(Windows().back()->View());
    }

    // Two buses joined by a line, on a white ground.
    CTavrinView& OpenTwoBuses() {
        DrawnNetwork drawn;
        drawn.model().SetBackgroundColor(kWhite);
        Bus& a = drawn.AddBus("A");
        Bus& b = drawn.AddBus("B");
        drawn.Join<PowerLine>(a, b);
        firstBusKey_ = a.GetKey();
        return Open(drawn.model());
    }

    Rect FirstBus(CTavrinView& view) {
        return view.GetDocument()->GetModel()->FindByKey(firstBusKey_)->GetBoundingRect();
    }

    void Execute(int id) { Frame().Commands().Execute(id); }

    std::string FileBytes(const QString& name) { return Bytes(folder.filePath(name)); }

    int firstBusKey_ = 0;

private:
    int opened_ = 0;
};

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

TEST_F(NetworkOutput, ADiagramTwoAndAHalfPagesWideAndOnePointTwoHighPrintsOnSixPages) {
    QPrinter& printer = app->Printing().Printer();
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    const QString pdf = folder.filePath("diagram.pdf");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    const DiagramPages probe({{printer.widthMM(), printer.heightMM()}, {printer.width(), printer.height()}}, {1, 1});
    const Size page = probe.PageSize();

    // A layer sizes the diagram: it ends 10 units (the print margin) short
    // of 2.5 x 1.2 pages.
    DrawnNetwork drawn;
    Bus& first = drawn.AddBus("A");
    drawn.Join<PowerLine>(first, drawn.AddBus("B"));
    firstBusKey_ = first.GetKey();
    drawn.model().GetBackgroundPictures().push_back(
        {true, {0, 0, page.cx * 5 / 2 - 10, page.cy * 6 / 5 - 10}, "ground", OneColourPicture(Rgb(255, 255, 200))});
    CTavrinView& view = Open(drawn.model());

    Execute(Command::FilePrintDirect);
    EXPECT_TRUE(prompts.prompts.empty());
    ASSERT_TRUE(view.PrintPages().has_value());
    EXPECT_EQ(view.PrintPages()->Columns(), 3);
    EXPECT_EQ(view.PrintPages()->Rows(), 2);
    const PdfFacts facts = ReadPdf(pdf);
    EXPECT_EQ(facts.pages, 6);
    EXPECT_EQ(facts.pageSize, QSize(595, 842));

    // Page 1 at one pixel per point: the diagram's units map onto the
    // printable area, the page's width holding the extent.
    QProcess render;
    render.start("pdftoppm", {"-r", "72", "-f", "1", "-l", "1", "-png", "-singlefile", pdf, folder.filePath("page1")});
    ASSERT_TRUE(render.waitForFinished(30000));
    const QImage rendered(folder.filePath("page1.png"));
    ASSERT_FALSE(rendered.isNull());
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Point);
    const double pointsPerUnit = printable.width() / probe.Extent();
    auto onPage = [&](const Rect& r) {
        return QRect(qRound(printable.left() + r.left * pointsPerUnit), qRound(printable.top() + r.top * pointsPerUnit),
                     qMax(1, qRound(r.Width() * pointsPerUnit)), qMax(1, qRound(r.Height() * pointsPerUnit)));
    };
    const Rect bus = FirstBus(view);
    EXPECT_TRUE(ShowsOtherThan(rendered, onPage(bus), kGround));
    const QRect empty = onPage({bus.left, bus.bottom + 60, bus.right, bus.bottom + 80});
    EXPECT_EQ(rendered.pixelColor(empty.center()), kGround);
}

TEST_F(NetworkOutput, ThePreviewShowsTwoPagesOfALargeDiagramAndOneOfASmallOne) {
    app->PreviewPages() = 2;
    OpenTwoBuses();
    Execute(Command::FilePrintPreview);
    auto* preview = dynamic_cast<ReportPreview*>(Windows().back()->StandIn());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->State().LastPage(), 1);
    EXPECT_EQ(preview->State().PagesShown(), 1);
    preview->Close();
    SettleDeletions();

    app->PreviewPages() = 1;
    DrawnNetwork wide;
    for (int i = 0; i < 12; ++i) wide.AddBus("B" + std::to_string(i));  // 2,300 units across
    Open(wide.model());
    Execute(Command::FilePrintPreview);
    preview = dynamic_cast<ReportPreview*>(Windows().back()->StandIn());
    ASSERT_NE(preview, nullptr);
    EXPECT_GT(preview->State().LastPage(), 1);
    EXPECT_EQ(preview->State().PagesShown(), 2);
    EXPECT_EQ(app->PreviewPages(), 1);  // the user's own choice stays
}

TEST_F(NetworkOutput, PrintSetupChoosesThePaperOfTheNextPrintAndPreview) {
    prompts.dialogScripts.push_back([&](QDialog& dialog) {
        auto& setup = dynamic_cast<QPageSetupDialog&>(dialog);
        EXPECT_EQ(setup.printer(), &app->Printing().Printer());
        // What the dialog writes into its printer when the user accepts.
        setup.printer()->setPageOrientation(QPageLayout::Landscape);
        dialog.done(QDialog::Accepted);
    });
    Execute(Command::FilePrintSetup);
    EXPECT_EQ(app->Printing().Printer().pageLayout().orientation(), QPageLayout::Landscape);

    CTavrinView& view = OpenTwoBuses();
    Execute(Command::FilePrintPreview);
    ASSERT_TRUE(view.PrintPages().has_value());
    EXPECT_GT(view.PrintPages()->PageSize().cx, view.PrintPages()->PageSize().cy);
}

TEST_F(NetworkOutput, ATwoBusDiagramExportsAsABitmapAndAMetafileThatShowTheBusAlike) {
    CTavrinView& view = OpenTwoBuses();
    IModel& model = *view.GetDocument()->GetModel();
    Rect bounds{0, 0, 100, 100};
    model.GetBoundingRect(bounds);
    const QRect bus = ToQRect(FirstBus(view));

    prompts.fileNames.push_back(folder.filePath("d.bmp"));
    Execute(Command::FileExportPicture);
    const std::string bmp = FileBytes("d.bmp");
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(U32(bmp, 2), bmp.size());
    EXPECT_EQ(U32(bmp, 10), 0x36u);
    const QImage bitmap(folder.filePath("d.bmp"));
    ASSERT_EQ(bitmap.size(), QSize(bounds.right + 10, bounds.bottom + 10));
    EXPECT_EQ(bitmap.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_TRUE(ShowsOtherThan(bitmap, bus, Qt::white));

    prompts.fileNames.push_back(folder.filePath("d.emf"));
    Execute(Command::FileExportPicture);
    const std::string emf = FileBytes("d.emf");
    ASSERT_GE(emf.size(), 108u);
    EXPECT_EQ(U32(emf, 0), 1u);
    EXPECT_EQ(emf.substr(40, 4), " EMF");
    EXPECT_EQ(U32(emf, 8), 0u);
    EXPECT_EQ(U32(emf, 12), 0u);
    EXPECT_EQ(U32(emf, 16), static_cast<std::uint32_t>(bounds.right + 5));
    EXPECT_EQ(U32(emf, 20), static_cast<std::uint32_t>(bounds.bottom + 5));
    EXPECT_EQ(U32(emf, 48), emf.size());
    EXPECT_EQ(LastRecordType(emf), 14u);
    const QImage played = PlayedMetafile(emf, bounds.right + 6, bounds.bottom + 6);
    EXPECT_EQ(played.pixelColor(1, 1), QColor(Qt::white));
    const QPoint middle = bus.center();
    EXPECT_EQ(played.pixelColor(middle), bitmap.pixelColor(middle));
    EXPECT_NE(played.pixelColor(middle), QColor(Qt::white));
    EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(NetworkOutput, BackgroundLayersShowInEveryPictureOfTheDiagram) {
    DrawnNetwork drawn;
    drawn.model().SetBackgroundColor(kWhite);
    drawn.AddBus("A");
    const Rect layer{400, 20, 480, 80};
    drawn.model().GetBackgroundPictures().push_back({true, layer, "layer", OneColourPicture(kRed)});
    Open(drawn.model());
    const QPoint inside(440, 50);

    prompts.fileNames.push_back(folder.filePath("layer.emf"));
    Execute(Command::FileExportPicture);
    prompts.fileNames.push_back(folder.filePath("layer.bmp"));
    Execute(Command::FileExportPicture);
    const QImage bitmap(folder.filePath("layer.bmp"));
    const QImage played = PlayedMetafile(FileBytes("layer.emf"), bitmap.width() - 4, bitmap.height() - 4);
    for (const QImage* picture : {&bitmap, &played}) {
        EXPECT_EQ(picture->pixelColor(inside), QColor(255, 0, 0));
        EXPECT_EQ(picture->pixelColor(inside.x() - 60, inside.y()), QColor(Qt::white));
    }
}

TEST_F(NetworkOutput, PictureNamesTakeTheTypedFormatOrTheChosenFilter) {
    OpenTwoBuses();
    struct Case {
        const char* typed;
        int filter;  // 0 metafile, 1 bitmap
        const char* written;
        const char* magic;
    };
    const Case cases[] = {
        {"d", 0, "d.EMF", "\x01\x00\x00\x00"},
        {"e", 1, "e.BMP", "BM"},
        {"f.bmp", 0, "f.bmp", "BM"},
        {"g.Emf", 1, "g.Emf", "\x01\x00\x00\x00"},
        {"d.txt", 0, "d.txt", "\x01\x00\x00\x00"},
        {"h.txt", 1, "h.txt", "BM"},
    };
    for (const Case& c : cases) {
        prompts.fileNames.push_back(folder.filePath(c.typed));
        prompts.fileFilters.push_back(c.filter);
        Execute(Command::FileExportPicture);
        const std::string magic(c.magic, c.magic[0] == 'B' ? 2 : 4);
        EXPECT_EQ(FileBytes(c.written).substr(0, magic.size()), magic) << c.typed;
    }
    EXPECT_TRUE(prompts.Messages().empty());
    ASSERT_FALSE(prompts.prompts.empty());
    EXPECT_EQ(QtFilterString(prompts.prompts.front().filters),
              "Enhanced Meta File (*.EMF *.emf);;Windows Bitmap (*.BMP *.bmp)");
}

TEST_F(NetworkOutput, APictureThatCannotBeWrittenIsReportedAndLeavesNothing) {
    OpenTwoBuses();
    const QString missing = folder.filePath("missing/d");
    prompts.fileNames.push_back(missing);
    Execute(Command::FileExportPicture);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "Cannot create file: " + missing + ".EMF");
    EXPECT_EQ(prompts.Messages()[0].icon, PromptIcon::Warning);
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("missing")));

    // A folder that cannot be written (root writes anywhere).
    const QString locked = folder.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(locked));
    ::chmod(QFile::encodeName(locked).constData(), 0555);
    if (::access(QFile::encodeName(locked).constData(), W_OK) != 0) {
        prompts.fileNames.push_back(locked + "/d.bmp");
        Execute(Command::FileExportPicture);
        ASSERT_EQ(prompts.Messages().size(), 2u);
        EXPECT_EQ(prompts.Messages()[1].text, "Cannot create file: " + locked + "/d.bmp");
        EXPECT_TRUE(QDir(locked).isEmpty());
    }
    ::chmod(QFile::encodeName(locked).constData(), 0755);
}

TEST_F(NetworkOutput, SendToClipboardPutsTheExportedMetafileAndAPictureOfIt) {
    CTavrinView& view = OpenTwoBuses();
    prompts.fileNames.push_back(folder.filePath("d.emf"));
    Execute(Command::FileExportPicture);
    QApplication::clipboard()->clear();

    Idle();  // the window's keys come with it once it is active
    QTest::keyClick(&Frame(), Qt::Key_B, Qt::ControlModifier);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QByteArray metafile = data->data("image/x-emf");
    EXPECT_EQ(std::string(metafile.constData(), metafile.size()), FileBytes("d.emf"));
    const QImage png = QImage::fromData(data->data("image/png"), "PNG");
    ASSERT_FALSE(png.isNull());
    EXPECT_TRUE(ShowsOtherThan(png, ToQRect(FirstBus(view)), Qt::white));
    EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(NetworkOutput, TheIeeeExportWritesTheSolvedCaseAsADirectSolveDoes) {
    CdfModel exported(TEST_DATA_DIR "/case14.cdf");
    Open(exported.model());
    prompts.fileNames.push_back(folder.filePath("x"));
    Execute(Command::FileExportIeeeCommonFormat);
    EXPECT_TRUE(prompts.Messages().empty());
    ASSERT_FALSE(prompts.prompts.empty());
    ASSERT_EQ(prompts.prompts.back().filters.size(), 1u);
    EXPECT_EQ(QtFilterString(prompts.prompts.back().filters), "IEEE Common Data Format (*.cf)");

    CdfModel direct(TEST_DATA_DIR "/case14.cdf");
    const std::string directPath = folder.filePath("direct.cf").toStdString();
    ASSERT_EQ(direct.model().RunSolver(nullptr, directPath.c_str(), nullptr), 1);
    const std::string written = FileBytes("x.cf");
    EXPECT_FALSE(written.empty());
    EXPECT_EQ(written, Bytes(QString::fromStdString(directPath)));

    // Into a folder that is not there: the message, and no file anywhere.
    const QString missing = folder.filePath("missing/y");
    prompts.fileNames.push_back(missing);
    Execute(Command::FileExportIeeeCommonFormat);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "Cannot create file: " + missing + ".cf");
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("missing")));
}

}  // namespace
