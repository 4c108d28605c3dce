#include "ado_command.h"

#include <sqlite3.h>

#include "ado_database.h"
#include "sql_statement.h"

CADOCommand::CADOCommand(CADODataBase* database, std::string_view text, CommandType type)
    : database_(database), text_(text), type_(type) {}

bool CADOCommand::AddParameter(CADOParameter* parameter) {
    if (parameter) {
        parameters_.push_back(parameter);
        return true;
    }
    lastErrorCode_ = SQLITE_MISUSE;
    lastError_ = ErrorText("CADOCommand", DatabaseError::Raised(SQLITE_MISUSE, "no parameter given"));
    return false;
}

bool CADOCommand::Run(StatementResult& result, DatabaseError& error) {
    recordsAffected_ = 0;
    sqlite3* connection = database_ ? database_->Handle() : nullptr;
    std::string sql = text_;
    if (type_ == CommandType::StoredProc && !FindStoredQuery(connection, text_, sql, error)) return false;

    std::vector<FieldValue> values;
    values.reserve(parameters_.size());
    for (const CADOParameter* parameter : parameters_) values.push_back(parameter->Value());
    if (!RunStatement(connection, sql, values, result, error)) return false;
    recordsAffected_ = result.changes;
    return true;
}
