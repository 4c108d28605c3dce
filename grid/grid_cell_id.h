#pragma once

#include <compare>

// A cell's place in the grid: 0-based row and column, -1 for none.
struct CCellID {
    int row = -1;
    int col = -1;

    bool IsValid() const { return row >= 0 && col >= 0; }

    friend auto operator<=>(const CCellID&, const CCellID&) = default;
};
