#include "ado_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ado_parameter.h"
#include "ado_recordset.h"
#include "fresh_results_database.h"

namespace {

class CADOCommandOnResults : public FreshResultsDatabase {
protected:
    // The system ID the stored query getSystem finds for a name; 0 when none.
    int FindSystem(const std::string& name) {
        CADOParameter parameter(ParameterType::Text, 50, ParameterDirection::Input, "");
        EXPECT_TRUE(parameter.SetValue(name));
        CADOCommand command(&database_, "getSystem", CommandType::StoredProc);
        EXPECT_TRUE(command.AddParameter(&parameter));
        CADORecordset rows(&database_);
        EXPECT_TRUE(rows.Execute(&command)) << rows.GetLastError();
        int id = 0;
        if (rows.GetRecordCount() > 0) {
            EXPECT_TRUE(rows.GetFieldValue("ID", id));
        }
        return id;
    }

    // Inserts a system through bound parameters, as a save does.
    void AddSystem(int id, const std::string& name) {
        CADOParameter idParameter(ParameterType::Integer, 0, ParameterDirection::Input, "ID");
        CADOParameter nameParameter(ParameterType::Text, 0, ParameterDirection::Input, "Name");
        ASSERT_TRUE(idParameter.SetValue(id));
        ASSERT_TRUE(nameParameter.SetValue(name));
        CADOCommand insert(&database_, "INSERT INTO Systems (ID, Name) VALUES (?, ?)", CommandType::Text);
        ASSERT_TRUE(insert.AddParameter(&idParameter) && insert.AddParameter(&nameParameter));
        CADORecordset rows(&database_);
        ASSERT_TRUE(rows.Execute(&insert)) << rows.GetLastError();
        EXPECT_EQ(insert.GetRecordsAffected(), 1);
    }
};

TEST_F(CADOCommandOnResults, NamesAndIdsRoundTripThroughParameters) {
    const std::string longName(60, 'x');
    struct Case {
        int id;
        std::string name;
        int found;  // what getSystem answers for the name
    };
    const Case cases[] = {
        {1, "O'Brien.pf", 1},
        {40000, "Quote \" and -- comment.pf", 40000},
        {70000, "Network.pf", 70000},
        // Looked up by its first 50 characters only, so never found again.
        {3, longName, 0},
    };
    for (const Case& c : cases) AddSystem(c.id, c.name);
    for (const Case& c : cases) EXPECT_EQ(FindSystem(c.name), c.found) << c.name;

    CADORecordset rows(&database_);
    ASSERT_TRUE(rows.Open("SELECT Name FROM Systems WHERE ID = 3"));
    std::string stored;
    ASSERT_TRUE(rows.GetFieldValue("Name", stored));
    EXPECT_EQ(stored, longName);  // stored whole
}

TEST_F(CADOCommandOnResults, TextParameterKeepsItsSize) {
    CADOParameter sized(ParameterType::Text, 50, ParameterDirection::Input, "");
    ASSERT_TRUE(sized.SetValue(std::string(70, 'a')));
    EXPECT_EQ(sized.Value(), FieldValue(std::string(50, 'a')));

    CADOParameter unsized(ParameterType::Text, 0, ParameterDirection::Input, "");
    ASSERT_TRUE(unsized.SetValue("four"));
    EXPECT_EQ(unsized.GetSize(), 4);
    ASSERT_TRUE(unsized.SetValue("longer"));  // the first value set the size
    EXPECT_EQ(unsized.Value(), FieldValue(std::string("long")));
    ASSERT_TRUE(unsized.SetValue(""));
    EXPECT_EQ(unsized.Value(), FieldValue(std::monostate{}));

    EXPECT_FALSE(unsized.SetValue(7));
    EXPECT_EQ(unsized.GetLastError().rfind("CADOParameter Error\n\tCode = 00000014\n\tCode meaning = datatype mismatch\n", 0),
              0u)
        << unsized.GetLastError();
}

TEST_F(CADOCommandOnResults, ResultQueriesAnswerOneSystemAndCaseInKeyOrder) {
    Exec("INSERT INTO Buses (SystemID, ID, Name) VALUES (1, 2, 'North'), (1, 1, 'South'), (2, 1, 'Elsewhere')");
    Exec("INSERT INTO PFBuses (SystemID, Solution, ID, V, Vpu, Vbase, Angle, Pgen, Qgen, Pload, Qload, Pshunt, Qshunt, Type) "
         "VALUES (1, 1, 2, 231.0, 1.05, 220.0, -3.5, 0, 0, 80, 20, 0, 0, 1), "
         "(1, 1, 1, 220.0, 1.0, 220.0, 0, 100, 30, 0, 0, 0, 0, 3), "
         "(1, 2, 1, 218.0, 0.99, 220.0, 0, 90, 25, 0, 0, 0, 0, 3), "
         "(1, 1, 7, 110.0, 1.0, 110.0, 0, 0, 0, 0, 0, 0, 0, 1)");
    Exec("INSERT INTO PFBranches (SystemID, Solution, ID, Type, Ifrom, Ito, Pfrom, Qfrom, Pto, Qto, BusFromID, BusToID) "
         "VALUES (1, 1, 512, 0, 100, 99, 80, 10, -79, -9, 1, 2)");

    CADOParameter system(ParameterType::Integer, 4, ParameterDirection::Input, "");
    CADOParameter solution(ParameterType::Integer, 4, ParameterDirection::Input, "");
    ASSERT_TRUE(system.SetValue(1) && solution.SetValue(1));
    CADOCommand buses(&database_, "getBusResults", CommandType::StoredProc);
    ASSERT_TRUE(buses.AddParameter(&system) && buses.AddParameter(&solution));
    CADORecordset rows(&database_);
    ASSERT_TRUE(rows.Execute(&buses)) << rows.GetLastError();
    EXPECT_EQ(rows.GetQuery(), "getBusResults");
    ASSERT_EQ(rows.GetRecordCount(), 3);
    struct Bus {
        int id;
        std::string name;
        double v, pload;
    };
    const Bus expected[] = {{1, "South", 220.0, 0}, {2, "North", 231.0, 80}, {7, "", 110.0, 0}};
    rows.MoveFirst();
    for (const Bus& bus : expected) {
        int id = 0;
        std::string name;
        double v = 0, pload = 0;
        ASSERT_TRUE(rows.GetFieldValue("ID", id) && rows.GetFieldValue("Name", name) && rows.GetFieldValue("V", v) &&
                    rows.GetFieldValue("Pload", pload));
        EXPECT_EQ(id, bus.id);
        EXPECT_EQ(name, bus.name);  // a bus added after the first save has no name
        EXPECT_EQ(v, bus.v);
        EXPECT_EQ(pload, bus.pload);
        for (const char* column : {"Pgen", "Qgen", "Qload", "Pshunt", "Qshunt", "Vpu", "Vbase", "Angle"}) {
            double value = 0;
            EXPECT_TRUE(rows.GetFieldValue(column, value)) << column;
        }
        rows.MoveNext();
    }

    // The same command again with the next case's number.
    ASSERT_TRUE(solution.SetValue(2));
    ASSERT_TRUE(rows.Execute(&buses));
    EXPECT_EQ(rows.GetRecordCount(), 1);

    ASSERT_TRUE(solution.SetValue(1));
    CADOCommand branches(&database_, "getBranchResults", CommandType::StoredProc);
    ASSERT_TRUE(branches.AddParameter(&system) && branches.AddParameter(&solution));
    ASSERT_TRUE(rows.Execute(&branches)) << rows.GetLastError();
    ASSERT_EQ(rows.GetRecordCount(), 1);
    std::string from, to;
    int fromId = 0, toId = 0;
    ASSERT_TRUE(rows.GetFieldValue("BusFrom", from) && rows.GetFieldValue("BusTo", to) &&
                rows.GetFieldValue("BusFromID", fromId) && rows.GetFieldValue("BusToID", toId));
    EXPECT_EQ(from, "South");
    EXPECT_EQ(to, "North");
    EXPECT_EQ(fromId, 1);
    EXPECT_EQ(toId, 2);
    for (const char* column : {"Ifrom", "Ito", "Pfrom", "Qfrom", "Pto", "Qto"}) {
        double value = 0;
        EXPECT_TRUE(rows.GetFieldValue(column, value)) << column;
    }
}

TEST_F(CADOCommandOnResults, WrongParameterCountOrMissingParameterFails) {
    CADOCommand command(&database_, "getBusResults", CommandType::StoredProc);
    CADOParameter system(ParameterType::Integer, 4, ParameterDirection::Input, "");
    ASSERT_TRUE(system.SetValue(1));
    ASSERT_TRUE(command.AddParameter(&system));
    EXPECT_FALSE(command.AddParameter(nullptr));
    EXPECT_EQ(command.GetLastError().rfind("CADOCommand Error\n\tCode = 00000015\n", 0), 0u) << command.GetLastError();

    CADORecordset rows(&database_);
    EXPECT_FALSE(rows.Execute(&command));
    EXPECT_EQ(rows.GetLastError().rfind("Query = getBusResults\nCADORecordset Error\n\tCode = 00000019\n", 0), 0u)
        << rows.GetLastError();
    EXPECT_FALSE(rows.IsOpen());
}

// A database from elsewhere may store any text as a query; only a single
// statement that reads this database runs.
TEST_F(CADOCommandOnResults, AStoredQueryThatWritesOrReachesOutsideIsRefused) {
    AddSystem(1, "Network.pf");
    const std::filesystem::path outside = folder_ / "outside.db";
    const std::string quotedOutside = "'" + outside.string() + "'";
    const std::string texts[] = {
        "VACUUM INTO " + quotedOutside,
        "ATTACH " + quotedOutside + " AS other",
        "DELETE FROM Systems WHERE Name = ?1",
        "SELECT ID FROM Systems WHERE Name = ?1; DROP TABLE Systems",
        "PRAGMA writable_schema = ON",
        "SELECT load_extension(?1)",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        std::string quoted;
        for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
        Exec("UPDATE StoredQueries SET Sql = '" + quoted + "' WHERE Name = 'getSystem'");

        CADOParameter parameter(ParameterType::Text, 50, ParameterDirection::Input, "");
        ASSERT_TRUE(parameter.SetValue("Network.pf"));
        CADOCommand command(&database_, "getSystem", CommandType::StoredProc);
        ASSERT_TRUE(command.AddParameter(&parameter));
        CADORecordset rows(&database_);
        EXPECT_FALSE(rows.Execute(&command));
        EXPECT_NE(rows.GetLastError().find("refused stored query: getSystem"), std::string::npos)
            << rows.GetLastError();
        EXPECT_FALSE(rows.Open("getSystem", RecordsetSource::StoredProc));
        EXPECT_NE(rows.GetLastError().find("refused stored query: getSystem"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(outside));
    }
    // The connection keeps working without the stored queries' guard.
    Exec("UPDATE StoredQueries SET Sql = 'SELECT ID FROM Systems WHERE Name = ?1' WHERE Name = 'getSystem'");
    EXPECT_EQ(FindSystem("Network.pf"), 1);
    Exec("PRAGMA user_version = 3");
}

}  // namespace
