#pragma once

#include <string>
#include <string_view>
#include <vector>

// The column names on the first line of a graph data file, as the graph
// window reads them to make its curves.
struct GraphHeader {
    enum class Status { Read, CannotOpen, NoData };
    Status status = Status::Read;
    std::vector<std::string> names;
};

// Names are separated by runs of blanks, tabs and carriage returns.
std::vector<std::string> SplitHeaderNames(std::string_view line);
// Reads the first line only; a file without one is NoData.
GraphHeader ReadGraphHeader(const char* path);
