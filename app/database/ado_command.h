#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ado_parameter.h"
#include "database_error.h"

class CADODataBase;
struct StatementResult;

// What a command's text is: SQL itself, or the name of a query stored in
// the database's StoredQueries table.
enum class CommandType { Text = 1, StoredProc = 4 };

// A statement with parameters, run into a record set by
// CADORecordset::Execute. The database and the appended parameters are
// borrowed and must outlive the command's runs; a parameter's value is read
// at each run, so one command can be run again with new values.
class CADOCommand {
public:
    CADOCommand(CADODataBase* database, std::string_view text, CommandType type);

    // Appended parameters fill ?1, ?2, ... in order.
    bool AddParameter(CADOParameter* parameter);

    // Runs the command once; used by CADORecordset::Execute, which keeps the
    // error. Also keeps the number of rows written.
    bool Run(StatementResult& result, DatabaseError& error);

    const std::string& GetText() const { return text_; }
    CommandType GetType() const { return type_; }
    int GetRecordsAffected() const { return recordsAffected_; }
    const std::string& GetLastError() const { return lastError_; }
    int GetLastErrorCode() const { return lastErrorCode_; }

private:
    CADODataBase* database_;
    std::string text_;
    CommandType type_;
    std::vector<CADOParameter*> parameters_;
    int recordsAffected_ = 0;
    std::string lastError_;
    int lastErrorCode_ = 0;
};
