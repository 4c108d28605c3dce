#include "results_database_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "ado_database.h"
#include "ado_recordset.h"
#include "recording_message_sink.h"
#include "recording_prompt.h"
#include "scratch_folder.h"

namespace {

// What the sqlite3 command-line shell prints for a query on a database file.
std::string ShellOutput(const std::filesystem::path& database, const std::string& sql) {
    const std::string command = std::string(SQLITE3_PROGRAM) + " '" + database.string() + "' \"" + sql + "\"";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string output;
    char buffer[256];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
    return output;
}

TEST(ResultsDatabaseFile, MissingDatabaseIsCreatedAndSaidSo) {
    ScratchFolder folder("results_file_new");
    const auto path = folder / "Results.db";
    CADODataBase database;
    RecordingMessageSink sink;
    RecordingPrompt prompt;
    ASSERT_TRUE(OpenResultsDatabase(database, path, &sink, prompt)) << database.GetLastError();
    EXPECT_TRUE(prompt.boxes.empty());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].level, IMessageSink::Information);
    EXPECT_NE(sink.messages[0].text.find("created"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / ""), {}), 1)
        << "nothing but Results.db is left behind";

    EXPECT_EQ(ShellOutput(path, "SELECT Name FROM StoredQueries ORDER BY Name"),
              "getBranchResults\ngetBusResults\ngetSystem\n");
    for (const char* table : {"Systems", "Solutions", "Buses", "Branches", "PFBuses", "PFBranches"}) {
        CADORecordset rows(&database);
        EXPECT_TRUE(rows.Open(table, RecordsetSource::Table)) << rows.GetLastError();
        EXPECT_EQ(rows.GetRecordCount(), 0) << table;
    }
}

TEST(ResultsDatabaseFile, ExistingFileIsOpenedAsItIs) {
    ScratchFolder folder("results_file_old");
    const auto path = folder / "Results.db";
    std::string error;
    ASSERT_TRUE(CreateResultsDatabase(path, error)) << error;
    EXPECT_FALSE(CreateResultsDatabase(path, error));  // never over an existing file
    {
        CADODataBase database;
        ASSERT_TRUE(database.Open(path.string()));
        ASSERT_TRUE(database.Execute("INSERT INTO Systems (ID, Name) VALUES (1, 'kept')"));
    }
    CADODataBase database;
    RecordingMessageSink sink;
    RecordingPrompt prompt;
    ASSERT_TRUE(OpenResultsDatabase(database, path, &sink, prompt));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(ShellOutput(path, "SELECT Name FROM Systems"), "kept\n");
}

TEST(ResultsDatabaseFile, UnusableDatabaseIsReportedAndTheProgramGoesOn) {
    ScratchFolder folder("results_file_bad");
    const auto notADatabase = folder / "Results.db";
    std::ofstream(notADatabase) << "these bytes are no database; the header is wrong from the first byte on";
    const auto cannotBeMade = folder / "no such folder" / "Results.db";

    struct Case {
        std::filesystem::path path;
        int messages;
    };
    // A file that cannot be made says so, then that it cannot be opened.
    for (const Case& c : {Case{notADatabase, 1}, Case{cannotBeMade, 2}}) {
        CADODataBase database;
        RecordingMessageSink sink;
        RecordingPrompt prompt;
        EXPECT_FALSE(OpenResultsDatabase(database, c.path, &sink, prompt)) << c.path;
        ASSERT_EQ(prompt.boxes.size(), 1u);
        EXPECT_EQ(prompt.boxes[0].text, "Cannot open Results database!");
        EXPECT_EQ(prompt.boxes[0].caption, "Open Error");
        ASSERT_EQ(static_cast<int>(sink.messages.size()), c.messages) << c.path;
        for (const auto& message : sink.messages) EXPECT_EQ(message.level, IMessageSink::Failure) << message.text;
        EXPECT_NE(sink.messages.back().text.find("CADODataBase Error"), std::string::npos);
    }

    // No message window yet: still no crash.
    CADODataBase database;
    RecordingPrompt prompt;
    EXPECT_FALSE(OpenResultsDatabase(database, notADatabase, nullptr, prompt));
}

}  // namespace
