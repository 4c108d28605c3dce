#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The rows of one sensitivity result and the graph data file they are
// written to: the header "Names x Sensitivity", one row per result (its
// name, its running number from 1 and its value, tab-separated), and the
// closing row "F", the next number, "0.0". Lines end in CR LF. The graph
// windows take the name as the first token of a row and "x" as increasing
// by 1 from row to row.
class SensitivityFile {
public:
    struct Row {
        std::string name;  // as written: see RowName
        double value = 0.0;
        double sortKey = 0.0;
    };

    void Add(std::string_view name, double value, double sortKey);
    // By decreasing sort key; rows with equal keys keep the order in which
    // they were added.
    void Sort();
    // Every value divided by `divisor`.
    void Divide(double divisor);
    const std::vector<Row>& Rows() const { return rows_; }

    // The file's bytes with at most `maxRows` rows, the first ones.
    std::string Text(std::size_t maxRows) const;
    // Writes the file whole, replacing what was there; false (the old file
    // left as it was) when there is no path or it cannot be written
    // completely.
    bool Write(const char* path, std::size_t maxRows) const;

    // A name as a row carries it: cut to 20 characters, each blank or
    // other white space in it turned into "_"; an empty name is "_", so
    // that a row never loses its first column.
    static std::string RowName(std::string_view name);
    // A value as a standard stream writes it by default (6 significant
    // digits, the shorter of fixed and exponent notation) with the
    // exponent's three digits: "0.5", "100", "1.5e-005".
    static std::string FormatValue(double value);

private:
    std::vector<Row> rows_;
};
