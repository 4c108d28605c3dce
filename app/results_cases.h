#pragma once

#include <optional>
#include <string>
#include <string_view>

class CADODataBase;
class IRecordCursor;

// The stored cases of the results database as the save and delete dialog
// writes them: a network is a system (found again by its document title),
// each solved state of it a case with one row per bus and per branch.
// Names and descriptions are Windows-1250 bytes, as the model keeps them.

// What the stored query getSystem answered for a system name.
enum class SystemLookup { Found, Missing, Failed };

// The whole name is looked up, however long. `id` is 0 unless found.
SystemLookup FindSystem(CADODataBase& database, std::string_view systemName, int& id);

// Saves what the model's cursor yields now as the next case of the system,
// making the system (with its Buses and Branches rows) on its first save.
// All or nothing: on failure every row of this save is undone and the
// answer is the message that says which step failed.
std::optional<std::string> SaveResultCase(CADODataBase& database, std::string_view systemName,
                                          std::string_view description, IRecordCursor& cursor);

// Each delete is one transaction; false (nothing deleted) when a statement
// failed.
bool DeleteSystemResults(CADODataBase& database, int systemId);
bool DeleteResultCase(CADODataBase& database, int systemId, int caseId);
