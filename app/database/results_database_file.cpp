#include "results_database_file.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "ado_database.h"
#include "message_sink.h"
#include "prompt.h"
#include "results_schema_sql.h"

namespace {

// Runs the schema script into a new file of its own.
bool WriteSchema(const std::filesystem::path& path, std::string& error) {
    sqlite3* connection = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        const std::string script(kResultsSchemaSql);
        rc = sqlite3_exec(connection, script.c_str(), nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) error = connection ? sqlite3_errmsg(connection) : sqlite3_errstr(rc);
    sqlite3_close(connection);
    return rc == SQLITE_OK;
}

void Report(IMessageSink* sink, int level, const std::string& text) {
    if (sink) sink->AddMessage(level, text.c_str());
}

}  // namespace

bool CreateResultsDatabase(const std::filesystem::path& path, std::string& error) {
    // Built under a name of its own, then linked to its place: a start-up
    // that dies half-way leaves no half-made database, and a database that
    // appeared meanwhile is kept.
    std::filesystem::path draft = path;
    draft += ".new-" + std::to_string(static_cast<long>(::getpid()));
    std::error_code ignored;
    std::filesystem::remove(draft, ignored);

    bool made = WriteSchema(draft, error);
    if (made && ::link(draft.c_str(), path.c_str()) != 0) {
        const int linkError = errno;
        std::error_code renamed;
        // A file system without hard links: move it, unless one appeared.
        if (linkError != EEXIST && !std::filesystem::exists(path, ignored))
            std::filesystem::rename(draft, path, renamed);
        else
            renamed = std::error_code(linkError, std::generic_category());
        if (renamed) {
            error = renamed.message();
            made = false;
        }
    }
    std::filesystem::remove(draft, ignored);
    return made;
}

bool OpenResultsDatabase(CADODataBase& database, const std::filesystem::path& path, IMessageSink* sink,
                         IPrompt& prompt) {
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        std::string error;
        if (CreateResultsDatabase(path, error))
            Report(sink, IMessageSink::Information,
                   "Results database \"" + path.string() + "\" was missing: created an empty one");
        else
            Report(sink, IMessageSink::Failure,
                   "Cannot create results database \"" + path.string() + "\": " + error);
    }
    if (database.Open(path.string())) return true;
    Report(sink, IMessageSink::Failure, database.GetLastError());
    prompt.MessageBox("Cannot open Results database!", "Open Error", PromptIcon::Error, PromptButtons::Ok);
    return false;
}
