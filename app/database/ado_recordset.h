#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "database_error.h"
#include "field_value.h"

class CADODataBase;
class CADOCommand;
class IComboItems;
class IPrompt;

// What the source of CADORecordset::Open names.
enum class RecordsetSource { Query = 1, Table = 2, StoredProc = 3 };

// The rows of one query, held in memory once it ran, so that they can be
// counted and walked at will while the database goes on. Operations that
// do work answer false on failure and keep a last-error text that begins
// with "Query = <the query>\n"; moving and testing never fail (moving past
// the end stays at the end). The database is borrowed.
class CADORecordset {
public:
    explicit CADORecordset(CADODataBase* database);

    // Closes, then runs `source`: SQL text, a table's name (all its rows and
    // columns) or a stored query's name (without parameters). A non-empty
    // source replaces the kept query text.
    bool Open(std::string_view source, RecordsetSource kind = RecordsetSource::Query);
    // The same on another database, when this record set was made without one.
    bool Open(CADODataBase* database, std::string_view source, RecordsetSource kind = RecordsetSource::Query);
    // Closes, then takes the rows of a command run with its present parameter
    // values.
    bool Execute(CADOCommand* command);

    // Open, and the database it came from still open.
    bool IsOpen() const;
    void Close();

    bool IsEof() const { return !open_ || current_ >= rows_.rows.size(); }
    void MoveFirst() { current_ = 0; }
    void MoveNext() {
        if (current_ < rows_.rows.size()) ++current_;
    }
    // 0 when closed; leaves the current row where it is.
    int GetRecordCount() const { return open_ ? static_cast<int>(rows_.rows.size()) : 0; }

    // The value of a field of the current row, by column name (ignoring
    // case). Null reads as 0 or an empty text. False, with the error kept,
    // for an unknown field, no current row, or a value that cannot be read
    // in that form (see field_value.h).
    bool GetFieldValue(std::string_view field, double& value);
    bool GetFieldValue(std::string_view field, int& value);
    bool GetFieldValue(std::string_view field, std::string& value);

    // Empties the box, then adds every row's text field, carrying the int
    // data field as item data when one is named. A field that cannot be read
    // shows a message box and answers false, leaving what was added.
    bool FillComboBox(IComboItems& box, std::string_view textField, const char* dataField, IPrompt& prompt);

    const std::string& GetQuery() const { return query_; }
    const std::string& GetLastError() const { return lastError_; }
    int GetLastErrorCode() const { return lastErrorCode_; }

private:
    bool Run(const std::string& sql);
    const FieldValue* Field(std::string_view field);
    template <class T>
    bool ReadField(std::string_view field, std::optional<T> (*convert)(const FieldValue&), const char* refusal,
                   T& value);
    bool Fail(const DatabaseError& error);

    CADODataBase* database_;
    RowSet rows_;
    std::size_t current_ = 0;
    bool open_ = false;
    std::string query_;
    std::string lastError_;
    int lastErrorCode_ = 0;
};
