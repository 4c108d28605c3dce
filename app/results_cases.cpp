#include "results_cases.h"

#include <climits>
#include <initializer_list>

#include "ado_command.h"
#include "ado_database.h"
#include "ado_parameter.h"
#include "ado_recordset.h"
#include "c_locale_format.h"
#include "database_transaction.h"
#include "record_cursor.h"

namespace {

const char* NameOrEmpty(const char* name) { return name ? name : ""; }

// Runs a statement whose one text value is bound to ?1, so that a quote in
// a name or a description is stored as typed.
bool RunWithText(CADODataBase& database, const std::string& sql, std::string_view text) {
    // Size 0: the parameter takes the whole text, however long.
    CADOParameter parameter(ParameterType::Text, 0, ParameterDirection::Input, "");
    CADOCommand command(&database, sql, CommandType::Text);
    CADORecordset rows(&database);
    return parameter.SetValue(text) && command.AddParameter(&parameter) && rows.Execute(&command);
}

// One more than the MAXID a max(ID) query answers (a null reads as 0);
// nothing when the query fails or the number cannot grow.
std::optional<int> NextId(CADODataBase& database, const std::string& maxQuery) {
    CADORecordset rows(&database);
    if (!rows.Open(maxQuery)) return std::nullopt;
    int max = 0;
    if (rows.GetRecordCount() > 0) {
        rows.MoveFirst();
        if (!rows.GetFieldValue("MAXID", max) || max == INT_MAX) return std::nullopt;
    }
    return max + 1;
}

// Walks one table of the model's cursor, one record per bus (never per bus
// group), each record cleared before the cursor fills it. Answers the name
// of the first record `write` could not store.
template <class Record, class Write>
std::optional<std::string> FirstUnwritten(IRecordCursor& cursor, int table, Write write) {
    cursor.SetTable(table, 0);
    cursor.MoveFirst();
    if (table == IRecordCursor::BusTable) cursor.SetGroupBuses(false);
    for (Record record; cursor.Next(record); record = Record{}) {
        if (!write(record)) return std::string(NameOrEmpty(record.name));
    }
    return std::nullopt;
}

// A system's first save: its Systems row, then the names of its buses and
// branches. Answers the failure's message, or the new system's ID.
std::optional<std::string> AddSystem(CADODataBase& database, std::string_view systemName, IRecordCursor& cursor,
                                     int& systemId) {
    const std::optional<int> next = NextId(database, "SELECT max(ID) AS MAXID FROM Systems");
    if (!next) return "Cannot obtain system number!";
    systemId = *next;
    if (!RunWithText(database, FormatCLocale("INSERT INTO Systems (ID, Name) VALUES (%d, ?1)", systemId), systemName))
        return "Cannot add new system!";

    const auto addBus = [&](const BusRecord& bus) {
        return RunWithText(database,
                           FormatCLocale("INSERT INTO Buses (SystemID, ID, Name) VALUES(%d, %d, ?1)", systemId,
                                         bus.number),
                           NameOrEmpty(bus.name));
    };
    if (auto bus = FirstUnwritten<BusRecord>(cursor, IRecordCursor::BusTable, addBus)) return "Cannot add bus " + *bus;

    const auto addBranch = [&](const BranchRecord& branch) {
        return RunWithText(database,
                           FormatCLocale("INSERT INTO Branches (SystemID, ID, Name) VALUES(%d, %d, ?1)", systemId,
                                         branch.key),
                           NameOrEmpty(branch.name));
    };
    if (auto branch = FirstUnwritten<BranchRecord>(cursor, IRecordCursor::BranchTable, addBranch))
        return "Cannot add branch " + *branch;
    return std::nullopt;
}

bool AddBusResult(CADODataBase& database, int systemId, int caseId, const BusRecord& bus) {
    const double vpu = bus.voltageCopy;  // the last solved voltage the bus holds, p.u.
    return database.Execute(FormatCLocale(
        "INSERT INTO PFBuses (SystemID, Solution, ID, V, Vpu, Vbase, Angle, Pgen, Qgen, Pload, Qload, Pshunt, "
        "Qshunt, Type) VALUES(%d, %d, %d, %f, %f, %f, %f, %f, %f, %f, %f, %f, %f, %d)",
        systemId, caseId, bus.number, vpu * bus.baseKv, vpu, bus.baseKv, bus.angle, bus.generationP,
        bus.generationQ, bus.loadP, bus.loadQ, bus.shuntPProduct, bus.shuntQ, bus.kind));
}

bool AddBranchResult(CADODataBase& database, int systemId, int caseId, const BranchRecord& branch) {
    return database.Execute(FormatCLocale(
        "INSERT INTO PFBranches (SystemID, Solution, ID, Type, Ifrom, Ito, Pfrom, Qfrom, Pto, Qto, BusFromID, "
        "BusToID) VALUES(%d, %d, %d, %d, %f, %f, %f, %f, %f, %f, %d, %d)",
        systemId, caseId, branch.key, branch.kind, branch.currentFrom, branch.currentTo, branch.pFrom,
        branch.qFrom, branch.pTo, branch.qTo, branch.fromBus, branch.toBus));
}

// Runs every statement in one transaction; false, with nothing changed,
// when one fails.
bool RunAllOrNothing(CADODataBase& database, std::initializer_list<std::string> statements) {
    DatabaseTransaction transaction(database);
    if (!transaction.IsOpen()) return false;
    for (const std::string& sql : statements) {
        if (!database.Execute(sql)) return false;
    }
    return transaction.Commit();
}

}  // namespace

SystemLookup FindSystem(CADODataBase& database, std::string_view systemName, int& id) {
    id = 0;
    CADOParameter parameter(ParameterType::Text, 0, ParameterDirection::Input, "");
    CADOCommand command(&database, "getSystem", CommandType::StoredProc);
    CADORecordset rows(&database);
    if (!parameter.SetValue(systemName) || !command.AddParameter(&parameter) || !rows.Execute(&command))
        return SystemLookup::Failed;
    if (rows.GetRecordCount() == 0) return SystemLookup::Missing;
    rows.MoveFirst();
    return rows.GetFieldValue("ID", id) ? SystemLookup::Found : SystemLookup::Failed;
}

std::optional<std::string> SaveResultCase(CADODataBase& database, std::string_view systemName,
                                          std::string_view description, IRecordCursor& cursor) {
    // The lookup is the save's first step and runs inside its transaction,
    // so that no other writer adds the same system meanwhile; a transaction
    // that cannot begin fails it.
    DatabaseTransaction transaction(database);
    int systemId = 0;
    const SystemLookup lookup =
        transaction.IsOpen() ? FindSystem(database, systemName, systemId) : SystemLookup::Failed;
    // A lookup that cannot run must not make a second system of that name.
    if (lookup == SystemLookup::Failed) return "Cannot execute getSystem!";

    int caseId = 1;
    if (lookup == SystemLookup::Missing) {
        if (auto failure = AddSystem(database, systemName, cursor, systemId)) return failure;
    } else {
        const std::optional<int> next = NextId(
            database, FormatCLocale("SELECT max(ID) as MAXID FROM Solutions WHERE SystemID=%d", systemId));
        if (!next) return "Cannot obtain solution ID!";
        caseId = *next;
    }

    if (!RunWithText(database,
                     FormatCLocale("INSERT INTO Solutions (SystemID, ID, Description) VALUES(%d, %d, ?1)", systemId,
                                   caseId),
                     description))
        return "Cannot add this solution description: " + std::string(description);
    const auto addBus = [&](const BusRecord& bus) { return AddBusResult(database, systemId, caseId, bus); };
    if (auto bus = FirstUnwritten<BusRecord>(cursor, IRecordCursor::BusTable, addBus))
        return "Cannot add bus " + *bus + " into PFBuses!";
    const auto addBranch = [&](const BranchRecord& branch) {
        return AddBranchResult(database, systemId, caseId, branch);
    };
    if (auto branch = FirstUnwritten<BranchRecord>(cursor, IRecordCursor::BranchTable, addBranch))
        return "Cannot add branch " + *branch + " into PFBranches!";
    if (!transaction.Commit()) return "Cannot save results!";
    return std::nullopt;
}

bool DeleteSystemResults(CADODataBase& database, int systemId) {
    return RunAllOrNothing(database, {FormatCLocale("DELETE FROM PFBranches WHERE SystemID=%d", systemId),
                                      FormatCLocale("DELETE FROM PFBuses WHERE SystemID=%d", systemId),
                                      FormatCLocale("DELETE FROM Buses WHERE SystemID=%d", systemId),
                                      FormatCLocale("DELETE From Branches WHERE SystemID=%d", systemId),
                                      FormatCLocale("DELETE From Solutions WHERE SystemID=%d", systemId),
                                      FormatCLocale("DELETE From Systems WHERE ID=%d", systemId)});
}

bool DeleteResultCase(CADODataBase& database, int systemId, int caseId) {
    return RunAllOrNothing(
        database, {FormatCLocale("DELETE From PFBranches WHERE SystemID=%d and Solution=%d", systemId, caseId),
                   FormatCLocale("DELETE From PFBuses WHERE SystemID=%d and Solution=%d", systemId, caseId),
                   FormatCLocale("DELETE From Solutions WHERE SystemID=%d and ID=%d", systemId, caseId)});
}
