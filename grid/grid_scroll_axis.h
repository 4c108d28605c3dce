#pragma once

// One direction of the grid's geometry, shared by the geometry queries and
// the scroll steps: the row heights with the viewport's height, or the
// column widths with its width. Indexes are the grid's rows or columns.

#include <vector>

#include <QScrollBar>

#include "grid_ctrl.h"

struct CGridCtrl::ScrollAxis {
    const std::vector<int>& sizes;
    int fixedCount;
    int fixedExtent;
    int clientExtent;
    // The grid's stored largest position (extent - 1, or 0 without a bar).
    int largest;
    QScrollBar* bar;

    int Count() const { return static_cast<int>(sizes.size()); }
    int Size(int index) const { return sizes[static_cast<std::size_t>(index)]; }
    // The sizes of [from, to).
    int Span(int from, int to) const;
    // The first non-fixed index shown at `position`: the one whose start
    // reaches or passes it, the last one at most.
    int FirstShown(int position) const;
    // The last index that starts inside the viewport when `first` is the
    // first shown, and the edge (viewport or table end) that ends the walk.
    int LastShown(int first, int* end) const;
    // The index shown at a pixel of the viewport when `first` is the first
    // non-fixed one shown; -1 outside the table.
    int IndexAt(int pixel, int first) const;
    // The next (step 1) or previous (step -1) non-fixed index of nonzero
    // size from `index`; -1 when there is none.
    int NextShown(int index, int step) const;
    // Where line steps from `position` leave the scroll position once
    // `target` is as fully in view as they can bring it.
    int PositionShowing(int target, int position) const;
};
