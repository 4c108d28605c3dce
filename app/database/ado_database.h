#pragma once

#include <string>
#include <string_view>

#include "database_error.h"

struct sqlite3;

// The connection to a results database: one SQLite file, opened for reading
// and writing but never created here (a missing file is an error, see
// OpenResultsDatabase). Failing operations answer false and keep a
// last-error text; nothing throws. One thread only.
class CADODataBase {
public:
    CADODataBase() = default;
    ~CADODataBase();
    CADODataBase(const CADODataBase&) = delete;
    CADODataBase& operator=(const CADODataBase&) = delete;

    // Closes an open connection first. A non-empty connection string (the
    // database file's path) replaces the kept one. The file is probed, so a
    // file that is not a database fails here rather than at the first query.
    bool Open(std::string_view connectionString = {});
    // Runs one SQL statement without parameters, for what it changes (rows
    // it answers are dropped). Keeps the number of rows it changed.
    bool Execute(std::string_view sql);
    // Rolls back a transaction still open.
    void Close();
    bool IsOpen() const { return connection_ != nullptr; }

    // A write of several rows goes in one transaction, so that a failure
    // half-way leaves nothing of it. Begin takes the write lock at once.
    bool BeginTrans();
    bool CommitTrans();
    bool RollbackTrans();

    // How long a statement waits for another connection's lock before it
    // fails as busy; 0 keeps the default of 5 s. Applies from the next Open.
    void SetConnectionTimeout(int seconds) { timeoutSeconds_ = seconds; }

    std::string GetConnectionString() const { return connectionString_; }
    const std::string& GetLastError() const { return lastError_; }
    int GetLastErrorCode() const { return lastErrorCode_; }
    int GetRecordsAffected() const { return recordsAffected_; }

    // For the record sets and commands working on this connection; null
    // while closed.
    sqlite3* Handle() const { return connection_; }

private:
    bool Fail(const DatabaseError& error);
    bool RunControl(const char* sql);

    sqlite3* connection_ = nullptr;
    std::string connectionString_;
    std::string lastError_;
    int lastErrorCode_ = 0;
    int recordsAffected_ = 0;
    int timeoutSeconds_ = 0;
};
