#pragma once

#include "geometry.h"

// The printable area of a printer's page, as the printer reports it.
struct PrinterPage {
    Size millimetres;
    Size pixels;
};

// How a diagram is tiled over printed pages. Every page shows the same
// piece of diagram whatever the printer: 1000 diagram units along the
// page's shorter side per 198 mm of it, the longer side in proportion to
// the page's pixels. The pages run left to right, then down.
class DiagramPages {
public:
    static constexpr int kUnitsPerReferenceSide = 1000;
    static constexpr int kReferenceMillimetres = 198;
    // The last page number a print range can hold; a diagram of more pages
    // prints its first ones.
    static constexpr int kMostPages = 0xFFFF;

    // `diagram` is the size to be printed, from the diagram's origin.
    DiagramPages(const PrinterPage& printer, Size diagram);

    // The piece of diagram on one page, in diagram units.
    Size PageSize() const { return page_; }
    // The window extent of the isotropic mapping onto the page's pixels:
    // the shorter side fits it exactly.
    int Extent() const { return extent_; }
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    int Count() const;
    // The diagram point at the top left corner of page `page` (from 1).
    Point Origin(int page) const;

private:
    Size page_;
    int extent_;
    int columns_;
    int rows_;
};
