#pragma once

#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

// The rows of a graph data file ("Names x Sensitivity"), read as the graph
// windows read it: lines end with LF or CR LF; each row is a name, its
// running number and its value, tab-separated; the closing row "F" ends it.
struct GraphRow {
    std::string name;
    int x = 0;
    double value = 0.0;
};

struct GraphRows {
    std::string header;
    std::vector<GraphRow> rows;  // without the closing row
    GraphRow closing;
    bool crLf = true;  // every line ended with CR LF

    const GraphRow* Find(const std::string& name) const {
        for (const GraphRow& row : rows)
            if (row.name == name) return &row;
        return nullptr;
    }
};

inline GraphRows ReadGraphRows(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("no graph data file " + path);
    GraphRows read;
    bool first = true;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        else read.crLf = false;
        if (first) {
            read.header = line;
            first = false;
            continue;
        }
        GraphRow row;
        std::istringstream fields(line);
        std::string x, value;
        std::getline(fields, row.name, '\t');
        std::getline(fields, x, '\t');
        std::getline(fields, value, '\t');
        std::from_chars(x.data(), x.data() + x.size(), row.x);
        std::from_chars(value.data(), value.data() + value.size(), row.value);
        if (row.name == "F") read.closing = row;
        else read.rows.push_back(row);
    }
    return read;
}
