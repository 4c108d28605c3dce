#pragma once

#include <algorithm>
#include <fstream>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

// The PLoad_Total column (the last, p.u.) of a continuation table file,
// row by row.
inline std::vector<double> TableLoads(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    std::vector<double> loads;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        fields.imbue(std::locale::classic());
        double value = 0.0;
        for (double x; fields >> x;) value = x;
        loads.push_back(value);
    }
    return loads;
}

// Its largest value, in MW.
inline double LargestTableLoadMw(const std::string& path) {
    const std::vector<double> loads = TableLoads(path);
    return loads.empty() ? 0.0 : 100.0 * *std::max_element(loads.begin(), loads.end());
}
