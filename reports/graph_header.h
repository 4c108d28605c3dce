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

// The column names of a data file as the plot reads them to find its
// curves' columns: the line is cut at runs of blanks, ";", tabs, CRs and
// LFs.
std::vector<std::string> SplitColumnNames(std::string_view line);
// A first line that names the parameter of a family of curves; the column
// names follow on the next line.
bool IsParameterLine(std::string_view line);
// The names of line 1, or of line 2 when line 1 is a parameter line, as the
// plot reads them; none when the file cannot be read. Names keep the file's
// bytes.
std::vector<std::string> ReadColumnNames(const char* path);
