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

// A continuation table: the column names of its header and the numbers of
// its rows.
struct ContinuationTable {
    std::vector<std::string> names;
    std::vector<std::vector<double>> rows;

    std::vector<double> Column(std::size_t column) const {
        std::vector<double> values;
        for (const auto& row : rows) values.push_back(row.at(column));
        return values;
    }
    // The values under a name of the header.
    std::vector<double> Column(const std::string& name) const {
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? std::vector<double>{} : Column(static_cast<std::size_t>(found - names.begin()));
    }
};

inline ContinuationTable ReadTable(const std::string& text) {
    ContinuationTable table;
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    std::istringstream header(line);
    for (std::string name; std::getline(header, name, '\t');)
        if (!name.empty()) table.names.push_back(name);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        fields.imbue(std::locale::classic());
        std::vector<double> row;
        for (double value; fields >> value;) row.push_back(value);
        table.rows.push_back(row);
    }
    return table;
}
