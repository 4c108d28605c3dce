#include "ado_recordset.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "combo_items.h"
#include "fresh_results_database.h"
#include "recording_prompt.h"

namespace {

// Keeps the items as a combo box would.
class RecordingCombo final : public IComboItems {
public:
    struct Item {
        std::string text;
        int data = -1;
    };
    std::vector<Item> items{{"stale", 0}};

    void ResetContent() override { items.clear(); }
    int AddString(std::string_view text) override {
        items.push_back({std::string(text)});
        return static_cast<int>(items.size()) - 1;
    }
    void SetItemData(int index, int data) override { items[static_cast<std::size_t>(index)].data = data; }
};

class CADORecordsetOnResults : public FreshResultsDatabase {
protected:
    CADORecordsetOnResults() {
        Exec("INSERT INTO Solutions (SystemID, ID, Description) VALUES (1, 2, 'peak'), (1, 1, 'base'), (2, 1, 'other')");
    }
};

TEST_F(CADORecordsetOnResults, WalksTheRowsOfAQuery) {
    CADORecordset rows(&database_);
    // Leading blanks and any letter case: still a query.
    ASSERT_TRUE(rows.Open("   sElEcT ID, Description from Solutions WHERE SystemID=1 ORDER BY Description"))
        << rows.GetLastError();
    EXPECT_TRUE(rows.IsOpen());
    EXPECT_EQ(rows.GetQuery(), "sElEcT ID, Description from Solutions WHERE SystemID=1 ORDER BY Description");
    EXPECT_EQ(rows.GetRecordCount(), 2);
    std::vector<std::pair<int, std::string>> read;
    for (rows.MoveFirst(); !rows.IsEof(); rows.MoveNext()) {
        int id = 0;
        std::string description;
        ASSERT_TRUE(rows.GetFieldValue("id", id) && rows.GetFieldValue("DESCRIPTION", description));
        read.emplace_back(id, description);
    }
    EXPECT_EQ(read, (std::vector<std::pair<int, std::string>>{{1, "base"}, {2, "peak"}}));
    rows.MoveNext();  // past the end stays at the end
    EXPECT_TRUE(rows.IsEof());
    EXPECT_EQ(rows.GetRecordCount(), 2);

    ASSERT_TRUE(rows.Open("SELECT ID FROM Solutions WHERE SystemID = 99"));
    EXPECT_EQ(rows.GetRecordCount(), 0);
    EXPECT_TRUE(rows.IsEof());

    rows.Close();
    EXPECT_FALSE(rows.IsOpen());
    EXPECT_EQ(rows.GetRecordCount(), 0);
}

TEST_F(CADORecordsetOnResults, OpensTablesAndStoredQueriesByName) {
    CADORecordset rows(&database_);
    ASSERT_TRUE(rows.Open("Solutions", RecordsetSource::Table)) << rows.GetLastError();
    EXPECT_EQ(rows.GetRecordCount(), 3);

    // A name is an identifier, never SQL.
    EXPECT_FALSE(rows.Open("Solutions; DELETE FROM Solutions", RecordsetSource::Table));
    EXPECT_NE(rows.GetLastError().find("no such table"), std::string::npos);
    ASSERT_TRUE(rows.Open("Solutions", RecordsetSource::Table));
    EXPECT_EQ(rows.GetRecordCount(), 3);

    EXPECT_FALSE(rows.Open("getNothing", RecordsetSource::StoredProc));
    EXPECT_NE(rows.GetLastError().find("Description = no such stored query: getNothing\n"), std::string::npos);
    // The stored query wants its parameters.
    EXPECT_FALSE(rows.Open("getSystem", RecordsetSource::StoredProc));
    EXPECT_NE(rows.GetLastError().find("takes 1 parameters, 0 given"), std::string::npos);
}

TEST_F(CADORecordsetOnResults, FailuresKeepTheQueryAndSayWhatFailed) {
    struct Case {
        const char* what;
        const char* query;
        const char* field;
        const char* description;
    };
    const Case cases[] = {
        {"bad SQL", "SELECT Nobody FROM Solutions", nullptr, "no such column: Nobody"},
        {"unknown field", "SELECT ID FROM Solutions", "Name", "no such column: Name"},
        {"no current row", "SELECT ID FROM Solutions WHERE 0", "ID", "no current record to read ID from"},
        {"text read as a number", "SELECT Description FROM Solutions", "Description", "Description does not hold a number"},
    };
    for (const Case& c : cases) {
        CADORecordset rows(&database_);
        if (c.field) {
            ASSERT_TRUE(rows.Open(c.query)) << c.what;
            double value = 0;
            EXPECT_FALSE(rows.GetFieldValue(c.field, value)) << c.what;
        } else {
            EXPECT_FALSE(rows.Open(c.query)) << c.what;
        }
        EXPECT_EQ(rows.GetLastError().rfind("Query = " + std::string(c.query) + "\nCADORecordset Error\n\tCode = ", 0),
                  0u)
            << c.what << ": " << rows.GetLastError();
        EXPECT_NE(rows.GetLastError().find("\n\tSource = SQLite\n\tDescription = " + std::string(c.description) + "\n"),
                  std::string::npos)
            << c.what << ": " << rows.GetLastError();
    }
}

TEST_F(CADORecordsetOnResults, ClosedDatabaseFailsEveryQuery) {
    CADORecordset rows(&database_);
    database_.Close();
    EXPECT_FALSE(rows.Open("Solutions", RecordsetSource::Table));
    EXPECT_NE(rows.GetLastError().find("the database is not open"), std::string::npos);

    CADORecordset without(nullptr);
    EXPECT_FALSE(without.Open("SELECT 1"));
    ASSERT_TRUE(database_.Open());
    EXPECT_TRUE(without.Open(&database_, "SELECT 1 AS One", RecordsetSource::Query));
    EXPECT_TRUE(without.IsOpen());
    database_.Close();
    EXPECT_FALSE(without.IsOpen());
}

TEST_F(CADORecordsetOnResults, FillComboBoxCarriesIdsAndStopsAtAMissingField) {
    RecordingPrompt prompt;
    RecordingCombo combo;
    CADORecordset rows(&database_);
    ASSERT_TRUE(rows.Open("SELECT ID, Description FROM Solutions WHERE SystemID = 1 ORDER BY ID"));
    EXPECT_TRUE(rows.FillComboBox(combo, "Description", "ID", prompt));
    ASSERT_EQ(combo.items.size(), 2u);
    EXPECT_EQ(combo.items[0].text, "base");
    EXPECT_EQ(combo.items[0].data, 1);
    EXPECT_EQ(combo.items[1].data, 2);
    EXPECT_TRUE(prompt.boxes.empty());

    EXPECT_FALSE(rows.FillComboBox(combo, "Description", "NoSuchID", prompt));
    ASSERT_EQ(combo.items.size(), 1u);  // the first text went in before the data failed
    EXPECT_EQ(combo.items[0].text, "base");
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].text, "Ne mogu naci traznu kolunu u data podacima");
    EXPECT_EQ(prompt.boxes[0].caption, "Greska");

    EXPECT_FALSE(rows.FillComboBox(combo, "Title", nullptr, prompt));
    EXPECT_TRUE(combo.items.empty());
    EXPECT_EQ(prompt.boxes.back().text, "Ne mogu naci traznu kolunu u podacima");

    ASSERT_TRUE(rows.Open("SELECT ID, Description FROM Solutions WHERE 0"));
    EXPECT_TRUE(rows.FillComboBox(combo, "Description", "ID", prompt));
    EXPECT_TRUE(combo.items.empty());
}

}  // namespace
