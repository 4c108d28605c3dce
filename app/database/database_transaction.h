#pragma once

#include "ado_database.h"

// One transaction on a connection for the length of a scope: whatever was
// written is undone on every exit but a successful Commit.
class DatabaseTransaction {
public:
    explicit DatabaseTransaction(CADODataBase& database) : database_(database), open_(database.BeginTrans()) {}
    ~DatabaseTransaction() {
        if (open_) database_.RollbackTrans();
    }
    DatabaseTransaction(const DatabaseTransaction&) = delete;
    DatabaseTransaction& operator=(const DatabaseTransaction&) = delete;

    // False when the transaction could not begin (the connection says why).
    bool IsOpen() const { return open_; }

    // False when nothing was begun or the commit failed; the writes are then
    // rolled back when the scope ends.
    bool Commit() {
        if (!open_ || !database_.CommitTrans()) return false;
        open_ = false;
        return true;
    }

private:
    CADODataBase& database_;
    bool open_;
};
