// Takes arbitrary bytes as a results database file and does with it what
// the program does: open it, load the three colour maps, look a system up,
// read both result queries in every form, and write a row in a transaction
// that is rolled back. Every step may fail; a crash, a hang, a leak or a
// large allocation is a finding. The seed is a database made by the schema
// script with small pages.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "ado_command.h"
#include "ado_database.h"
#include "ado_parameter.h"
#include "ado_recordset.h"
#include "color_map.h"
#include "color_map_loader.h"
#include "database_transaction.h"
#include "prompt.h"

namespace {

class SilentPrompt final : public IPrompt {
public:
    PromptAnswer MessageBox(std::string_view, std::string_view, PromptIcon, PromptButtons) override {
        return PromptAnswer::Ok;
    }
};

// Reads every named column of every row in the three forms.
void ReadAll(CADORecordset& rows, std::initializer_list<const char*> columns) {
    rows.GetRecordCount();
    for (rows.MoveFirst(); !rows.IsEof(); rows.MoveNext()) {
        for (const char* column : columns) {
            double real = 0;
            int whole = 0;
            std::string text;
            rows.GetFieldValue(column, real);
            rows.GetFieldValue(column, whole);
            rows.GetFieldValue(column, text);
        }
    }
}

void RunResultQuery(CADODataBase& database, const char* name, std::initializer_list<const char*> columns) {
    CADOParameter system(ParameterType::Integer, 4, ParameterDirection::Input, "");
    CADOParameter solution(ParameterType::Integer, 4, ParameterDirection::Input, "");
    system.SetValue(1);
    solution.SetValue(1);
    CADOCommand command(&database, name, CommandType::StoredProc);
    command.AddParameter(&system);
    command.AddParameter(&solution);
    CADORecordset rows(&database);
    if (rows.Execute(&command)) ReadAll(rows, columns);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("results_database_fuzz_" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(path);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    CADODataBase database;
    database.SetConnectionTimeout(1);
    if (database.Open(path.string())) {
        SilentPrompt prompt;
        ColorMap nominalVoltage, busVoltage, loading;
        LoadColorMaps(database, {.nominalVoltage = nominalVoltage, .busVoltage = busVoltage, .loading = loading},
                      prompt);

        CADOParameter name(ParameterType::Text, 50, ParameterDirection::Input, "");
        name.SetValue("O'Brien.pf");
        CADOCommand getSystem(&database, "getSystem", CommandType::StoredProc);
        getSystem.AddParameter(&name);
        CADORecordset systems(&database);
        if (systems.Execute(&getSystem)) ReadAll(systems, {"ID"});

        RunResultQuery(database, "getBusResults",
                       {"ID", "Name", "Pgen", "Qgen", "Pload", "Qload", "Pshunt", "Qshunt", "V", "Vpu", "Vbase", "Angle"});
        RunResultQuery(database, "getBranchResults",
                       {"BusFromID", "BusToID", "BusFrom", "BusTo", "Ifrom", "Ito", "Pfrom", "Qfrom", "Pto", "Qto"});

        DatabaseTransaction transaction(database);
        database.Execute("INSERT INTO Systems (ID, Name) VALUES (32767, 'fuzz')");
    }
    database.Close();
    std::filesystem::remove(path);
    return 0;
}
