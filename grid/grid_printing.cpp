// Printing the table over as many pages as it needs. When printing begins the
// page is given logical units in which the cells keep their screen sizes:
// either the table's full width between the margins (one page across), or
// the screen's proportions (as many pages across as the columns need). Each
// page has a header (the window's title and the program's name), the
// headings, one band of rows and of columns, and a footer (page number,
// date and time).

#include <algorithm>
#include <cstdint>
#include <ctime>

#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QScreen>

#include "grid_ctrl.h"
#include "grid_text_format.h"
#include "qt_font.h"

namespace {

// Measured for the average character width; its 53 letters are divided by
// 52, as the layout has always been.
constexpr char kMeasuringString[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";
constexpr int kMeasuringLength = 52;

// a * b / c rounded to the nearest; -1 for c = 0.
int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    std::int64_t product = std::int64_t{a} * b;
    std::int64_t half = (c > 0 ? c : -c) / 2;
    std::int64_t result = ((product < 0) != (c < 0) ? product - half : product + half) / c;
    return static_cast<int>(std::clamp<std::int64_t>(result, INT32_MIN, INT32_MAX));
}

QFont PrinterFont() {
    LogFont font;
    font.height = -10;  // character height, logical units
    font.weight = 400;
    font.SetFaceName("Arial");
    return ToQFont(font);
}

QFont Bold(QFont font) {
    font.setBold(true);
    return font;
}

QSize ScreenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {96, 96};
    return {qRound(screen->logicalDotsPerInchX()), qRound(screen->logicalDotsPerInchY())};
}

// The date and time as the user's locale writes them.
QString LocalDateTimeText() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[128];
    std::size_t length = std::strftime(text, sizeof text, "%c", &local);
    return QString::fromLocal8Bit(text, static_cast<qsizetype>(length));
}

// The index one past band `band`'s last.
int BandEnd(const std::vector<int>& bands, int band, int count) {
    std::size_t next = static_cast<std::size_t>(band) + 1;
    return next < bands.size() ? bands[next] : count;
}

void Line(QPainter& painter, int x1, int y1, int x2, int y2) { painter.drawLine(x1, y1, x2, y2); }

constexpr unsigned kSingleLine = TextFormat::SingleLine | TextFormat::VCenter | TextFormat::NoPrefix;

}  // namespace

bool CGridCtrl::Print(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    GridPrintInfo info;
    OnBeginPrinting(painter, info);
    // The pages the caller's print dialog chose, if it chose a range.
    int first = std::max(1, printer.fromPage());
    int last = printer.toPage() > 0 ? std::min(printer.toPage(), info.lastPage) : info.lastPage;
    for (int page = first; page <= last; ++page) {
        if (page > first) printer.newPage();
        info.currentPage = page;
        OnPrint(painter, info);
    }
    OnEndPrinting(painter, info);
    return painter.end();
}

void CGridCtrl::OnBeginPrinting(QPainter& painter, GridPrintInfo& info) {
    GridPrintLayout& layout = printLayout_;
    printerFont_ = PrinterFont();
    painter.setFont(*printerFont_);
    QPaintDevice* device = painter.device();
    QFontMetrics metrics(*printerFont_, device);
    layout.charSize = QSize(metrics.horizontalAdvance(QString::fromLatin1(kMeasuringString)) / kMeasuringLength,
                            metrics.height());
    int charWidth = layout.charSize.width();
    int charHeight = layout.charSize.height();
    int margins = (layout.leftMargin + layout.rightMargin) * charWidth;

    layout.physicalPage = QSize(device->width(), device->height());
    if (printAtScreenProportions_) {
        QSize screen = ScreenDpi();
        layout.logicalPage = QSize(MulDiv(device->width(), screen.width(), device->logicalDpiX()) * 3 / 4,
                                   MulDiv(device->height(), screen.height(), device->logicalDpiY()) * 3 / 4);
    } else {
        // The whole table's width fits the page; the height keeps the
        // paper's proportions.
        int width = GetVirtualWidth() + margins;
        int height = device->width() > 0 ? MulDiv(width, device->height(), device->width()) : 0;
        layout.logicalPage = QSize(width, height);
    }

    int headingRoom = (layout.footerLines + 2 * layout.gap + layout.headerLines) * charHeight;
    layout.pageHeight = layout.logicalPage.height() - headingRoom - GetFixedRowHeight();
    layout.pageWidth = layout.logicalPage.width() - GetFixedColumnWidth() - margins;
    layout.rowBands = PrintBands(rowHeights_, fixedRows_, layout.pageHeight);
    layout.columnBands = printAtScreenProportions_ ? PrintBands(colWidths_, fixedCols_, layout.pageWidth)
                                                   : std::vector<int>{fixedCols_};
    info.lastPage = layout.PagesDown() * layout.PagesAcross();
    info.currentPage = 1;
}

void CGridCtrl::OnPrint(QPainter& painter, const GridPrintInfo& info) {
    const GridPrintLayout& layout = printLayout_;
    int pages = layout.PagesDown() * layout.PagesAcross();
    if (!printerFont_ || info.currentPage < 1 || info.currentPage > pages) return;
    painter.save();
    painter.setFont(*printerFont_);
    int charHeight = layout.charSize.height();
    int leftMargin = layout.leftMargin * layout.charSize.width();
    int width = layout.logicalPage.width() - leftMargin - layout.rightMargin * layout.charSize.width();
    // x = 0 lies one margin in from the paper's left edge.
    painter.setWindow(-leftMargin, 0, layout.logicalPage.width(), layout.logicalPage.height());
    painter.setViewport(0, 0, layout.physicalPage.width(), layout.physicalPage.height());

    int headerHeight = layout.headerLines * charHeight;
    PrintHeader(painter, Rect{0, 0, width, headerHeight});

    int page = info.currentPage - 1;
    int rowBand = page / layout.PagesAcross();
    int columnBand = page % layout.PagesAcross();
    CCellRange cells{layout.rowBands[static_cast<std::size_t>(rowBand)],
                     layout.columnBands[static_cast<std::size_t>(columnBand)],
                     BandEnd(layout.rowBands, rowBand, GetRowCount()) - 1,
                     BandEnd(layout.columnBands, columnBand, GetColumnCount()) - 1};
    int top = headerHeight + layout.gap * charHeight + GetFixedRowHeight();
    painter.save();
    // A row or column larger than the page is cut at the page's edges.
    int tableTop = headerHeight + layout.gap * charHeight;
    painter.setClipRect(QRect(-1, tableTop - 1, width + 2, top + layout.pageHeight - tableTop + 2));
    PrintRowHeadings(painter, cells, top);
    PrintColumnHeadings(painter, cells, top - GetFixedRowHeight());
    int fixedWidth = GetFixedColumnWidth();
    int y = top;
    for (int row = cells.minRow; row <= cells.maxRow; ++row) {
        PrintRowCells(painter, row, cells.minCol, cells.maxCol, QPoint(fixedWidth, y), row == cells.minRow);
        y += GetRowHeight(row);
    }
    painter.restore();

    int footerHeight = layout.footerLines * charHeight;
    int pageHeight = layout.logicalPage.height();
    PrintFooter(painter, Rect{0, pageHeight - footerHeight, width, pageHeight}, info);
    painter.restore();
}

void CGridCtrl::OnEndPrinting(QPainter& /*painter*/, const GridPrintInfo& /*info*/) { printerFont_.reset(); }

void CGridCtrl::PrintHeader(QPainter& painter, const Rect& rect) {
    QString title;
    for (const QWidget* window = parentWidget(); window && title.isEmpty(); window = window->parentWidget()) {
        title = window->windowTitle();
    }
    painter.save();
    painter.setFont(Bold(*printerFont_));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(Qt::black);
    DrawFormattedText(painter, title, rect, TextFormat::Center | kSingleLine, 0);
    DrawFormattedText(painter, QGuiApplication::applicationDisplayName(), rect, TextFormat::Right | kSingleLine, 0);
    painter.setPen(QPen(Qt::black, 0));
    Line(painter, rect.left, rect.bottom, rect.right, rect.bottom);
    painter.restore();
}

void CGridCtrl::PrintFooter(QPainter& painter, const Rect& rect, const GridPrintInfo& info) {
    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    Line(painter, rect.left, rect.top, rect.right, rect.top);
    painter.setFont(Bold(*printerFont_));
    painter.setBackgroundMode(Qt::TransparentMode);
    QString page = QStringLiteral("Page %1 of %2").arg(info.currentPage).arg(info.lastPage);
    DrawFormattedText(painter, page, rect, TextFormat::Left | kSingleLine, 0);
    DrawFormattedText(painter, LocalDateTimeText(), rect, TextFormat::Right | kSingleLine, 0);
    painter.restore();
}

void CGridCtrl::PrintRowHeadings(QPainter& painter, const CCellRange& cells, int top) {
    int y = top;
    for (int row = cells.minRow; row <= cells.maxRow; ++row) {
        PrintRowCells(painter, row, 0, fixedCols_ - 1, QPoint(0, y), false);
        y += GetRowHeight(row);
    }
    if (static_cast<unsigned>(gridLines_) & static_cast<unsigned>(GridLines::Horizontal)) {
        // The band's first heading is closed above, where the column
        // headings may not reach.
        painter.save();
        painter.setPen(QPen(Qt::black, 0));
        Line(painter, -1, top - 1, GetFixedColumnWidth() - 1, top - 1);
        painter.restore();
    }
}

void CGridCtrl::PrintColumnHeadings(QPainter& painter, const CCellRange& cells, int top) {
    int fixedWidth = GetFixedColumnWidth();
    int y = top;
    for (int row = 0; row < fixedRows_; ++row) {
        PrintRowCells(painter, row, 0, fixedCols_ - 1, QPoint(0, y), row == 0);
        PrintRowCells(painter, row, cells.minCol, cells.maxCol, QPoint(fixedWidth, y), row == 0);
        y += GetRowHeight(row);
    }
    if (static_cast<unsigned>(gridLines_) & static_cast<unsigned>(GridLines::Vertical)) {
        // Each heading band is closed on its left.
        painter.save();
        painter.setPen(QPen(Qt::black, 0));
        Line(painter, -1, top, -1, top + GetFixedRowHeight() - 1);
        Line(painter, fixedWidth - 1, top, fixedWidth - 1, top + GetFixedRowHeight() - 1);
        painter.restore();
    }
}

void CGridCtrl::PrintRowCells(QPainter& painter, int row, int firstCol, int lastCol, QPoint origin,
                              bool firstRowOfBand) {
    int height = GetRowHeight(row);
    if (height <= 0) return;
    auto lines = static_cast<unsigned>(gridLines_);
    int x = origin.x();
    for (int col = firstCol; col <= lastCol; ++col) {
        int width = GetColumnWidth(col);
        CGridCellBase* cell = GetCell(row, col);
        if (width <= 0 || !cell) {
            x += std::max(width, 0);
            continue;
        }
        Rect rect{x, origin.y(), x + width - 1, origin.y() + height - 1};
        cell->PrintCell(&painter, row, col, rect);
        painter.save();
        painter.setPen(QPen(Qt::black, 0));
        if (lines & static_cast<unsigned>(GridLines::Horizontal)) {
            int from = col == 0 ? rect.left : rect.left - 1;
            Line(painter, from, rect.bottom, rect.right, rect.bottom);
            if (row == 0) Line(painter, from, rect.top, rect.right, rect.top);
        }
        if (lines & static_cast<unsigned>(GridLines::Vertical)) {
            int from = firstRowOfBand ? rect.top : rect.top - 1;
            Line(painter, rect.right, from, rect.right, rect.bottom);
            if (col == 0) Line(painter, rect.left, from, rect.left, rect.bottom);
        }
        painter.restore();
        x += width;
    }
}
