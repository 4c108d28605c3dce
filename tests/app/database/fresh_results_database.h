#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ado_database.h"
#include "results_database_file.h"
#include "scratch_folder.h"

// A results database made by the schema script in a folder of its own, and
// a connection open on it.
class FreshResultsDatabase : public ::testing::Test {
protected:
    FreshResultsDatabase() {
        std::string error;
        EXPECT_TRUE(CreateResultsDatabase(path_, error)) << error;
        EXPECT_TRUE(database_.Open(path_.string())) << database_.GetLastError();
    }

    // Runs SQL that must succeed.
    void Exec(const std::string& sql) { ASSERT_TRUE(database_.Execute(sql)) << database_.GetLastError(); }

    ScratchFolder folder_{"results_db"};
    std::filesystem::path path_ = folder_ / "Results.db";
    CADODataBase database_;
};
