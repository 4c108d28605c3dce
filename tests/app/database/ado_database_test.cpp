#include "ado_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ado_recordset.h"
#include "database_transaction.h"
#include "fresh_results_database.h"
#include "scratch_folder.h"

namespace {

int CountRows(CADODataBase& database, const std::string& table) {
    CADORecordset rows(&database);
    EXPECT_TRUE(rows.Open("SELECT count(*) AS N FROM " + table)) << rows.GetLastError();
    int count = -1;
    EXPECT_TRUE(rows.GetFieldValue("N", count)) << rows.GetLastError();
    return count;
}

TEST(CADODataBase, OpenNeverCreatesAndRefusesWhatIsNotADatabase) {
    ScratchFolder folder("db_open");
    const auto missing = folder / "Missing.db";
    const auto text = folder / "Notes.db";
    std::ofstream(text) << "not a database, just a text long enough to fill a header page of sqlite";

    struct Case {
        std::filesystem::path path;
        const char* meaning;
    };
    for (const Case& c : {Case{missing, "unable to open database file"}, Case{text, "file is not a database"}}) {
        CADODataBase database;
        EXPECT_FALSE(database.Open(c.path.string())) << c.path;
        EXPECT_FALSE(database.IsOpen());
        EXPECT_EQ(database.GetLastError().rfind("Connection String = " + c.path.string() +
                                                    "\nCADODataBase Error\n\tCode = ",
                                                0),
                  0u)
            << database.GetLastError();
        EXPECT_NE(database.GetLastError().find("\n\tCode meaning = " + std::string(c.meaning) +
                                               "\n\tSource = SQLite\n\tDescription = "),
                  std::string::npos)
            << database.GetLastError();
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(CADODataBase, DamagedFileClaimingAHugeRecordFailsWithoutTakingTheMemory) {
    ScratchFolder folder("db_damaged");
    const auto path = folder / "Results.db";
    std::filesystem::copy_file(std::filesystem::path(TEST_DATA_DIR) / "results_damaged_huge_record.db", path);
    sqlite3_memory_highwater(1);
    CADODataBase database;
    EXPECT_FALSE(database.Open(path.string()));
    EXPECT_NE(database.GetLastError().find("CADODataBase Error"), std::string::npos);
    EXPECT_LT(sqlite3_memory_highwater(0), 40 * 1024 * 1024);
}

using CADODataBaseOnResults = FreshResultsDatabase;

TEST_F(CADODataBaseOnResults, ExecuteCountsRowsAndRunsOneStatementOnly) {
    Exec("INSERT INTO Systems (ID, Name) VALUES (1, 'a'), (2, 'b')");
    Exec("DELETE FROM Systems WHERE ID > 0");
    EXPECT_EQ(database_.GetRecordsAffected(), 2);

    // A second statement would run unseen behind the first.
    EXPECT_FALSE(database_.Execute("DELETE FROM Solutions; DROP TABLE Systems"));
    EXPECT_EQ(database_.GetRecordsAffected(), 0);
    EXPECT_NE(database_.GetLastError().find("more than one SQL statement"), std::string::npos);
    EXPECT_EQ(CountRows(database_, "StoredQueries"), 3);

    EXPECT_FALSE(database_.Execute("INSERT INTO NoSuchTable VALUES (1)"));
    EXPECT_NE(database_.GetLastError().find("Description = no such table: NoSuchTable\n"), std::string::npos);
}

TEST_F(CADODataBaseOnResults, WriteFailingOnItsThirdRowLeavesNothing) {
    Exec("CREATE TRIGGER RefuseThird BEFORE INSERT ON PFBuses WHEN NEW.ID = 3 "
         "BEGIN SELECT RAISE(ABORT, 'third row refused'); END");
    {
        DatabaseTransaction transaction(database_);
        ASSERT_TRUE(transaction.IsOpen()) << database_.GetLastError();
        Exec("INSERT INTO Solutions (SystemID, ID, Description) VALUES (1, 1, 'case')");
        Exec("INSERT INTO PFBuses (SystemID, Solution, ID) VALUES (1, 1, 1)");
        Exec("INSERT INTO PFBuses (SystemID, Solution, ID) VALUES (1, 1, 2)");
        EXPECT_FALSE(database_.Execute("INSERT INTO PFBuses (SystemID, Solution, ID) VALUES (1, 1, 3)"));
        EXPECT_NE(database_.GetLastError().find("third row refused"), std::string::npos);
    }
    EXPECT_EQ(CountRows(database_, "Solutions"), 0);
    EXPECT_EQ(CountRows(database_, "PFBuses"), 0);

    {
        DatabaseTransaction transaction(database_);
        Exec("INSERT INTO Solutions (SystemID, ID, Description) VALUES (1, 1, 'case')");
        EXPECT_TRUE(transaction.Commit());
    }
    EXPECT_EQ(CountRows(database_, "Solutions"), 1);
}

TEST_F(CADODataBaseOnResults, ClosingUndoesAnOpenTransaction) {
    ASSERT_TRUE(database_.BeginTrans());
    Exec("INSERT INTO Systems (ID, Name) VALUES (1, 'a')");
    database_.Close();
    ASSERT_TRUE(database_.Open());  // the kept connection string
    EXPECT_EQ(CountRows(database_, "Systems"), 0);
}

TEST_F(CADODataBaseOnResults, BusyDatabaseIsWaitedFor) {
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    std::thread release([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    });
    const bool written = database_.Execute("INSERT INTO Systems (ID, Name) VALUES (1, 'a')");
    release.join();
    sqlite3_close(other);
    EXPECT_TRUE(written) << database_.GetLastError();
}

TEST_F(CADODataBaseOnResults, LockHeldPastTheTimeoutFailsAsBusy) {
    database_.SetConnectionTimeout(1);
    ASSERT_TRUE(database_.Open());
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_FALSE(database_.Execute("INSERT INTO Systems (ID, Name) VALUES (1, 'a')"));
    EXPECT_EQ(database_.GetLastErrorCode() & 0xFF, SQLITE_BUSY);
    EXPECT_NE(database_.GetLastError().find("Code meaning = database is locked"), std::string::npos);
    sqlite3_close(other);
}

}  // namespace
