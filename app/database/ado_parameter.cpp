#include "ado_parameter.h"

#include <sqlite3.h>

CADOParameter::CADOParameter(ParameterType type, int size, ParameterDirection, std::string_view name)
    : type_(type), size_(size < 0 ? 0 : size), name_(name) {}

bool CADOParameter::SetValue(int value) {
    if (type_ != ParameterType::Integer)
        return Fail(DatabaseError::Raised(SQLITE_MISMATCH, "an integer given to the text parameter '" + name_ + "'"));
    if (size_ == 0) size_ = 4;
    value_ = std::int64_t{value};
    return true;
}

bool CADOParameter::SetValue(std::string_view text) {
    if (type_ != ParameterType::Text)
        return Fail(DatabaseError::Raised(SQLITE_MISMATCH, "a text given to the integer parameter '" + name_ + "'"));
    if (text.empty()) {
        value_ = std::monostate{};
        return true;
    }
    if (size_ == 0) size_ = static_cast<int>(text.size());
    value_ = std::string(text.substr(0, static_cast<std::size_t>(size_)));
    return true;
}

bool CADOParameter::Fail(const DatabaseError& error) {
    lastErrorCode_ = error.code;
    lastError_ = ErrorText("CADOParameter", error);
    return false;
}
