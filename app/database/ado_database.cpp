#include "ado_database.h"

#include <sqlite3.h>

#include "sql_statement.h"

namespace {
constexpr int kDefaultBusyTimeoutMs = 5000;
// A damaged file can claim records of any size, and SQLite would allocate
// them before finding the damage. The results database needs a few MB (its
// page cache and sorting); past this ceiling SQLite answers "out of memory".
// The limit is the process's, and this layer is the program's only SQLite user.
constexpr sqlite3_int64 kSqliteHeapLimitBytes = 32 * 1024 * 1024;
}  // namespace

CADODataBase::~CADODataBase() { Close(); }

bool CADODataBase::Open(std::string_view connectionString) {
    Close();
    if (!connectionString.empty()) connectionString_ = connectionString;
    // SQLite would take an empty name for a private temporary database.
    if (connectionString_.empty())
        return Fail(DatabaseError::Raised(SQLITE_CANTOPEN, "no database file is named"));

    sqlite3_hard_heap_limit64(kSqliteHeapLimitBytes);
    sqlite3* opened = nullptr;
    const int rc = sqlite3_open_v2(connectionString_.c_str(), &opened, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        DatabaseError error = DatabaseError::FromConnection(opened);
        sqlite3_close(opened);
        return Fail(error);
    }
    sqlite3_extended_result_codes(opened, 1);
    // The file may come from anywhere: its schema must not be writable by
    // SQL, nor may its views and triggers call functions with side effects.
    sqlite3_db_config(opened, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(opened, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_busy_timeout(opened, timeoutSeconds_ > 0 ? timeoutSeconds_ * 1000 : kDefaultBusyTimeoutMs);

    StatementResult probe;
    DatabaseError error;
    if (!RunStatement(opened, "SELECT count(*) FROM sqlite_master", {}, probe, error)) {
        sqlite3_close(opened);
        return Fail(error);
    }
    connection_ = opened;
    return true;
}

bool CADODataBase::Execute(std::string_view sql) {
    recordsAffected_ = 0;
    StatementResult result;
    DatabaseError error;
    if (!RunStatement(connection_, sql, {}, result, error)) return Fail(error);
    recordsAffected_ = result.changes;
    return true;
}

void CADODataBase::Close() {
    if (!connection_) return;
    // Closing with a transaction open would keep its writes pending until
    // the handle goes; undo them explicitly.
    if (!sqlite3_get_autocommit(connection_)) sqlite3_exec(connection_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(connection_);
    connection_ = nullptr;
}

bool CADODataBase::BeginTrans() { return RunControl("BEGIN IMMEDIATE"); }
bool CADODataBase::CommitTrans() { return RunControl("COMMIT"); }
bool CADODataBase::RollbackTrans() { return RunControl("ROLLBACK"); }

bool CADODataBase::RunControl(const char* sql) {
    StatementResult result;
    DatabaseError error;
    return RunStatement(connection_, sql, {}, result, error) || Fail(error);
}

bool CADODataBase::Fail(const DatabaseError& error) {
    lastErrorCode_ = error.code;
    lastError_ = "Connection String = " + connectionString_ + "\n" + ErrorText("CADODataBase", error);
    return false;
}
