#pragma once

#include <string>
#include <vector>

#include "color.h"

// One curve of a plot: the data file's columns it draws, by name (the
// indices are found again from the file's header), and how it is drawn.
struct GraphCurve {
    std::string xName = "x";
    std::string yName = "y";
    std::string legend;  // the legend shows the Y column's name when empty
    std::string xAxisTitle = "x";
    std::string graphTitle = "Graph Title";
    int xColumn = 0;
    int yColumn = 0;
    ColorRef color = 0;
    int penStyle = 0;  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot
    int penWidth = 0;  // passed to the pen unchanged
    bool showCircles = false;
};

// The curves in the order they were added.
using CurveArray = std::vector<GraphCurve>;
