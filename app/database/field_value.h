#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// One value of a result row or of a parameter, as SQLite stores it: null, a
// 64-bit integer, a double, a text (bytes as stored, Windows-1250 names
// included) or a blob.
using Blob = std::vector<unsigned char>;
using FieldValue = std::variant<std::monostate, std::int64_t, double, std::string, Blob>;

// The readings of a field value that the record set offers; empty where the
// value cannot be read that way. Integers wider than an int and doubles with
// a fraction are not read as an int; texts and blobs are not numbers.
std::optional<double> AsDouble(const FieldValue& value);
std::optional<int> AsInt(const FieldValue& value);
// Texts lose their trailing blanks; doubles are written in the C locale
// with at most 20 significant digits, the decimal point kept ("1.").
std::optional<std::string> AsText(const FieldValue& value);

// The rows a statement answered, copied out so that the statement can end
// at once and the rows can be walked back and forth.
struct RowSet {
    std::vector<std::string> columns;
    std::vector<std::vector<FieldValue>> rows;

    // Position of a column, names compared ignoring ASCII case; -1 when absent.
    int ColumnIndex(const std::string& name) const;
};
