#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "database_error.h"
#include "field_value.h"

struct sqlite3;

// What one statement answered: its rows (none for a write) and the number
// of rows it inserted, changed or deleted.
struct StatementResult {
    RowSet rows;
    int changes = 0;
};

// Prepares exactly one SQL statement, binds `parameters` to ?1, ?2, ... in
// order (their count must match the statement's), runs it to the end and
// copies its rows out. Values are only ever bound, never pasted into the
// SQL text. False, with `error` filled, when any step fails.
bool RunStatement(sqlite3* connection, std::string_view sql, const std::vector<FieldValue>& parameters,
                  StatementResult& result, DatabaseError& error);

// The SQL text of a query stored by name in the database's StoredQueries
// table; false with `error` when there is no such query.
bool FindStoredQuery(sqlite3* connection, std::string_view name, std::string& sql, DatabaseError& error);
