#pragma once

// How a grid lays itself out on paper: the proportions it keeps in lines and
// characters of its printer font, and what it measures when printing begins.
// Logical units are the page's mapped units, in which the cells keep their
// screen sizes; device pixels are the printer's.

#include <vector>

#include <QSize>

struct GridPrintLayout {
    // In lines (character heights) and characters (average widths).
    int headerLines = 2;
    int footerLines = 2;
    int leftMargin = 4;
    int rightMargin = 4;
    int gap = 1;  // between the header and the table, and above the footer

    // Set when printing begins.
    QSize charSize;      // logical units
    QSize logicalPage;
    QSize physicalPage;  // device pixels
    // The room for the non-fixed rows and columns, logical units.
    int pageHeight = 0;
    int pageWidth = 0;
    // The first row (column) of each band that one page holds; pages run
    // across the column bands first, then down the row bands.
    std::vector<int> rowBands;
    std::vector<int> columnBands;

    int PagesDown() const { return static_cast<int>(rowBands.size()); }
    int PagesAcross() const { return static_cast<int>(columnBands.size()); }
};

// The page a print job is on, and its last page.
struct GridPrintInfo {
    int currentPage = 1;
    int lastPage = 1;
};

// Lays rows (or columns) [first, sizes' end) into bands whose sizes sum to no
// more than `pageExtent`, and answers the first index of each. A band holds
// at least one shown row, so that a row taller than the page gets a page of
// its own and a page extent of 0 or less still ends; rows of size 0 never
// begin a band. Without rows there is one band, for the headings.
std::vector<int> PrintBands(const std::vector<int>& sizes, int first, int pageExtent);
