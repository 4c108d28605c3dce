#include "ado_recordset.h"

#include <sqlite3.h>

#include "ado_command.h"
#include "ado_database.h"
#include "combo_items.h"
#include "prompt.h"
#include "sql_statement.h"

namespace {

// A table name as an SQL identifier: between double quotes, inner quotes
// doubled, so that no name can end the identifier early.
std::string QuotedIdentifier(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

CADORecordset::CADORecordset(CADODataBase* database) : database_(database) {}

bool CADORecordset::Open(CADODataBase* database, std::string_view source, RecordsetSource kind) {
    if (!database_) database_ = database;
    return Open(source, kind);
}

bool CADORecordset::Open(std::string_view source, RecordsetSource kind) {
    Close();
    if (!source.empty()) query_ = source;
    const std::size_t start = query_.find_first_not_of(' ');
    query_.erase(0, start == std::string::npos ? query_.size() : start);

    switch (kind) {
        case RecordsetSource::Query:
            return Run(query_);
        case RecordsetSource::Table:
            return Run("SELECT * FROM " + QuotedIdentifier(query_));
        case RecordsetSource::StoredProc: {
            std::string sql;
            DatabaseError error;
            if (!FindStoredQuery(database_ ? database_->Handle() : nullptr, query_, sql, error)) return Fail(error);
            return Run(sql);
        }
    }
    return Fail(DatabaseError::Raised(SQLITE_MISUSE, "unknown kind of source"));
}

bool CADORecordset::Run(const std::string& sql) {
    StatementResult result;
    DatabaseError error;
    if (!RunStatement(database_ ? database_->Handle() : nullptr, sql, {}, result, error)) return Fail(error);
    rows_ = std::move(result.rows);
    current_ = 0;
    open_ = true;
    return true;
}

bool CADORecordset::Execute(CADOCommand* command) {
    Close();
    if (!command) return Fail(DatabaseError::Raised(SQLITE_MISUSE, "no command given"));
    query_ = command->GetText();
    StatementResult result;
    DatabaseError error;
    if (!command->Run(result, error)) return Fail(error);
    rows_ = std::move(result.rows);
    current_ = 0;
    open_ = true;
    return true;
}

bool CADORecordset::IsOpen() const { return open_ && database_ && database_->IsOpen(); }

void CADORecordset::Close() {
    rows_ = {};
    current_ = 0;
    open_ = false;
}

const FieldValue* CADORecordset::Field(std::string_view field) {
    if (IsEof()) {
        Fail(DatabaseError::Raised(SQLITE_MISUSE, "no current record to read " + std::string(field) + " from"));
        return nullptr;
    }
    const int column = rows_.ColumnIndex(std::string(field));
    if (column < 0) {
        Fail(DatabaseError::Raised(SQLITE_ERROR, "no such column: " + std::string(field)));
        return nullptr;
    }
    return &rows_.rows[current_][static_cast<std::size_t>(column)];
}

template <class T>
bool CADORecordset::ReadField(std::string_view field, std::optional<T> (*convert)(const FieldValue&),
                              const char* refusal, T& value) {
    const FieldValue* read = Field(field);
    if (!read) return false;
    std::optional<T> converted = convert(*read);
    if (!converted) return Fail(DatabaseError::Raised(SQLITE_MISMATCH, std::string(field) + refusal));
    value = std::move(*converted);
    return true;
}

bool CADORecordset::GetFieldValue(std::string_view field, double& value) {
    return ReadField(field, AsDouble, " does not hold a number", value);
}

bool CADORecordset::GetFieldValue(std::string_view field, int& value) {
    return ReadField(field, AsInt, " does not hold an integer that fits an int", value);
}

bool CADORecordset::GetFieldValue(std::string_view field, std::string& value) {
    return ReadField(field, AsText, " holds a blob, not a text", value);
}

bool CADORecordset::FillComboBox(IComboItems& box, std::string_view textField, const char* dataField,
                                 IPrompt& prompt) {
    box.ResetContent();
    if (GetRecordCount() == 0) return true;
    for (MoveFirst(); !IsEof(); MoveNext()) {
        std::string text;
        if (!GetFieldValue(textField, text)) {
            prompt.MessageBox("Ne mogu naci traznu kolunu u podacima", "Greska", PromptIcon::Error, PromptButtons::Ok);
            return false;
        }
        const int index = box.AddString(text);
        if (!dataField) continue;
        int data = 0;
        if (!GetFieldValue(dataField, data)) {
            prompt.MessageBox("Ne mogu naci traznu kolunu u data podacima", "Greska", PromptIcon::Error,
                              PromptButtons::Ok);
            return false;
        }
        box.SetItemData(index, data);
    }
    return true;
}

bool CADORecordset::Fail(const DatabaseError& error) {
    lastErrorCode_ = error.code;
    lastError_ = "Query = " + query_ + "\n" + ErrorText("CADORecordset", error);
    return false;
}
