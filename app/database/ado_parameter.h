#pragma once

#include <string>
#include <string_view>

#include "database_error.h"
#include "field_value.h"

// The type of a command parameter, by the codes the program passes.
enum class ParameterType { Integer = 3, Text = 202 };
// Parameters only carry values into a query.
enum class ParameterDirection { Input = 1 };

// One input value of a command, bound to the statement by its place in the
// command's list (?1, ?2, ...); the name is kept for the reader only.
class CADOParameter {
public:
    // A size of 0 is set by the first value: 4 for an integer, the text's
    // length for a text.
    CADOParameter(ParameterType type, int size, ParameterDirection direction, std::string_view name);

    // Integers keep their full 32 bits.
    bool SetValue(int value);
    // An empty text is null; a text longer than the size passes only its
    // first `size` bytes (names are single-byte).
    bool SetValue(std::string_view text);

    const FieldValue& Value() const { return value_; }
    int GetSize() const { return size_; }
    const std::string& GetName() const { return name_; }
    const std::string& GetLastError() const { return lastError_; }
    int GetLastErrorCode() const { return lastErrorCode_; }

private:
    bool Fail(const DatabaseError& error);

    ParameterType type_;
    int size_;
    std::string name_;
    FieldValue value_;
    std::string lastError_;
    int lastErrorCode_ = 0;
};
