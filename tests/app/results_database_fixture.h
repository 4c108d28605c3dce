#pragma once

#include <string>

#include "ado_recordset.h"
#include "database/fresh_results_database.h"
#include "database_transaction.h"
#include "scripted_prompt_service.h"

// A results database made by the schema script, the prompts the dialogs on
// it show, and a way to count its rows.
class ResultsDatabaseFixture : public FreshResultsDatabase {
protected:
    // Runs statements separated by ';' (none of the values holds one) in
    // one transaction.
    void Script(const std::string& sql) {
        DatabaseTransaction transaction(database_);
        std::size_t start = 0;
        for (std::size_t end; (end = sql.find(';', start)) != std::string::npos; start = end + 1)
            Exec(sql.substr(start, end - start));
        EXPECT_TRUE(transaction.Commit()) << database_.GetLastError();
    }

    // The first column of the query's first row, as an integer.
    int Number(const std::string& sql) {
        CADORecordset rows(&database_);
        EXPECT_TRUE(rows.Open(sql)) << rows.GetLastError();
        std::string column = "N";
        int value = -1;
        rows.MoveFirst();
        EXPECT_TRUE(rows.GetFieldValue(column, value)) << sql << ": " << rows.GetLastError();
        return value;
    }
    int Rows(const std::string& table) { return Number("SELECT count(*) AS N FROM " + table); }

    // The texts of the message boxes shown so far, then forgotten.
    std::vector<QString> TakeMessages() {
        std::vector<QString> texts;
        for (const auto& prompt : prompts_.Messages()) texts.push_back(prompt.text);
        prompts_.prompts.clear();
        return texts;
    }

    ScriptedPromptService prompts_;
};
