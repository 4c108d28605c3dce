#pragma once

#include <string>
#include <string_view>

struct sqlite3;

// What went wrong in one database operation: an SQLite result code (the
// extended code where SQLite gives one) and the message that says why. The
// access classes turn it into their last-error text.
struct DatabaseError {
    int code = 0;
    std::string description;

    // The last error of a connection (or "out of memory" without one).
    static DatabaseError FromConnection(sqlite3* connection);
    // An error the access layer finds itself, under an SQLite result code.
    static DatabaseError Raised(int code, std::string description);
};

// "<title> Error\n\tCode = ...\n\tCode meaning = ...\n\tSource = SQLite\n\tDescription = ...\n"
std::string ErrorText(std::string_view title, const DatabaseError& error);
