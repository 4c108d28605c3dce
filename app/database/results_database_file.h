#pragma once

#include <filesystem>
#include <string>

class CADODataBase;
class IMessageSink;
class IPrompt;

// Makes `path` an empty results database by the built-in schema script (its
// tables, stored queries and default colour maps). The file appears whole
// or not at all, and an existing file is never touched. False, with the
// reason in `error`, when it was not made.
bool CreateResultsDatabase(const std::filesystem::path& path, std::string& error);

// Opens the program's results database at start-up. A missing file is first
// created (said at level 1 in the message window); a file that cannot be
// made or opened shows "Cannot open Results database!" and its reason goes
// to the message window at level 3, and the program runs on without it.
// The sink may be null.
bool OpenResultsDatabase(CADODataBase& database, const std::filesystem::path& path, IMessageSink* sink,
                         IPrompt& prompt);
