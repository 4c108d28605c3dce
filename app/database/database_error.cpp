#include "database_error.h"

#include <sqlite3.h>

#include <cstdio>

DatabaseError DatabaseError::FromConnection(sqlite3* connection) {
    if (!connection) return Raised(SQLITE_NOMEM, sqlite3_errstr(SQLITE_NOMEM));
    return {sqlite3_extended_errcode(connection), sqlite3_errmsg(connection)};
}

DatabaseError DatabaseError::Raised(int code, std::string description) {
    return {code, std::move(description)};
}

std::string ErrorText(std::string_view title, const DatabaseError& error) {
    char code[16];
    std::snprintf(code, sizeof code, "%08lx", static_cast<unsigned long>(static_cast<unsigned>(error.code)));
    std::string text(title);
    text += " Error\n\tCode = ";
    text += code;
    text += "\n\tCode meaning = ";
    text += sqlite3_errstr(error.code);
    text += "\n\tSource = SQLite\n\tDescription = ";
    text += error.description;
    text += '\n';
    return text;
}
