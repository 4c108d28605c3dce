#include "sql_statement.h"

#include <sqlite3.h>

#include <memory>

namespace {

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

bool Prepare(sqlite3* connection, std::string_view sql, Statement& statement, DatabaseError& error) {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(connection, sql.data(), static_cast<int>(sql.size()), &raw, &tail) != SQLITE_OK) {
        error = DatabaseError::FromConnection(connection);
        return false;
    }
    statement.reset(raw);
    if (!statement) {
        error = DatabaseError::Raised(SQLITE_MISUSE, "the command holds no SQL statement");
        return false;
    }
    // A second statement after the first would run unseen: refuse it.
    const std::string_view rest(tail, static_cast<std::size_t>(sql.data() + sql.size() - tail));
    sqlite3_stmt* next = nullptr;
    const int rc = sqlite3_prepare_v2(connection, rest.data(), static_cast<int>(rest.size()), &next, nullptr);
    if (rc != SQLITE_OK || next) {
        sqlite3_finalize(next);
        error = DatabaseError::Raised(SQLITE_MISUSE, "the command holds more than one SQL statement");
        return false;
    }
    return true;
}

bool Bind(sqlite3* connection, sqlite3_stmt* statement, const std::vector<FieldValue>& parameters,
          DatabaseError& error) {
    const int wanted = sqlite3_bind_parameter_count(statement);
    if (wanted != static_cast<int>(parameters.size())) {
        error = DatabaseError::Raised(SQLITE_RANGE, "the statement takes " + std::to_string(wanted) +
                                                        " parameters, " + std::to_string(parameters.size()) +
                                                        " given");
        return false;
    }
    for (int i = 0; i < wanted; ++i) {
        const FieldValue& value = parameters[static_cast<std::size_t>(i)];
        int rc = SQLITE_OK;
        if (auto* number = std::get_if<std::int64_t>(&value)) {
            rc = sqlite3_bind_int64(statement, i + 1, *number);
        } else if (auto* real = std::get_if<double>(&value)) {
            rc = sqlite3_bind_double(statement, i + 1, *real);
        } else if (auto* text = std::get_if<std::string>(&value)) {
            rc = sqlite3_bind_text64(statement, i + 1, text->data(), text->size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        } else if (auto* blob = std::get_if<Blob>(&value)) {
            rc = sqlite3_bind_blob64(statement, i + 1, blob->data(), blob->size(), SQLITE_TRANSIENT);
        } else {
            rc = sqlite3_bind_null(statement, i + 1);
        }
        if (rc != SQLITE_OK) {
            error = DatabaseError::FromConnection(connection);
            return false;
        }
    }
    return true;
}

FieldValue ColumnValue(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
            return static_cast<std::int64_t>(sqlite3_column_int64(statement, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(statement, column);
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            return std::string(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
        }
        case SQLITE_BLOB: {
            const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(statement, column));
            return Blob(bytes, bytes + sqlite3_column_bytes(statement, column));
        }
        default:
            return std::monostate{};
    }
}

// The authorizer of a stored query's preparation: the file may come from
// anywhere, so its queries may read tables and call the functions of plain
// SQL, and nothing else: no writes, no attaching, no pragmas, no functions
// that reach files or load code.
int AuthorizeRead(void*, int action, const char*, const char* second, const char*, const char*) {
    switch (action) {
        case SQLITE_SELECT:
        case SQLITE_READ:
        case SQLITE_RECURSIVE:
            return SQLITE_OK;
        case SQLITE_FUNCTION:
            for (const char* outside : {"load_extension", "readfile", "writefile", "edit", "fts3_tokenizer"}) {
                if (second && sqlite3_stricmp(second, outside) == 0) return SQLITE_DENY;
            }
            return SQLITE_OK;
        default:
            return SQLITE_DENY;
    }
}

// One statement that only reads the database: prepared under the
// authorizer, which stays on only for that preparation.
bool IsPlainRead(sqlite3* connection, const std::string& sql) {
    sqlite3_set_authorizer(connection, AuthorizeRead, nullptr);
    Statement statement;
    DatabaseError ignored;
    const bool prepared = Prepare(connection, sql, statement, ignored);
    sqlite3_set_authorizer(connection, nullptr, nullptr);
    return prepared && sqlite3_stmt_readonly(statement.get()) != 0;
}

}  // namespace

bool RunStatement(sqlite3* connection, std::string_view sql, const std::vector<FieldValue>& parameters,
                  StatementResult& result, DatabaseError& error) {
    result = {};
    if (!connection) {
        error = DatabaseError::Raised(SQLITE_MISUSE, "the database is not open");
        return false;
    }
    Statement statement;
    if (!Prepare(connection, sql, statement, error) || !Bind(connection, statement.get(), parameters, error))
        return false;

    const int columns = sqlite3_column_count(statement.get());
    for (int c = 0; c < columns; ++c) {
        const char* name = sqlite3_column_name(statement.get(), c);
        result.rows.columns.emplace_back(name ? name : "");
    }
    for (;;) {
        const int rc = sqlite3_step(statement.get());
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) {
            error = DatabaseError::FromConnection(connection);
            result.rows.rows.clear();
            return false;
        }
        auto& row = result.rows.rows.emplace_back();
        row.reserve(static_cast<std::size_t>(columns));
        for (int c = 0; c < columns; ++c) row.push_back(ColumnValue(statement.get(), c));
    }
    // A read leaves the count of the last write standing: it changed nothing.
    result.changes = sqlite3_stmt_readonly(statement.get()) ? 0 : sqlite3_changes(connection);
    return true;
}

bool FindStoredQuery(sqlite3* connection, std::string_view name, std::string& sql, DatabaseError& error) {
    StatementResult found;
    if (!RunStatement(connection, "SELECT Sql FROM StoredQueries WHERE Name = ?1",
                      {FieldValue(std::string(name))}, found, error))
        return false;
    if (found.rows.rows.empty() || !std::holds_alternative<std::string>(found.rows.rows.front().front())) {
        error = DatabaseError::Raised(SQLITE_ERROR, "no such stored query: " + std::string(name));
        return false;
    }
    sql = std::get<std::string>(found.rows.rows.front().front());
    if (!IsPlainRead(connection, sql)) {
        error = DatabaseError::Raised(SQLITE_AUTH, "refused stored query: " + std::string(name));
        return false;
    }
    return true;
}
