// Takes arbitrary bytes as a results database file and does with it what
// the save and compare dialogs do: save a small network (its system looked
// up and numbered from the file's rows, in a transaction), then compare two
// stored cases into a report. Every step may fail; a crash, a hang, a leak
// or a large allocation is a finding. The seed holds two comparable cases.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "ado_database.h"
#include "memory_record_cursor.h"
#include "report_interface.h"
#include "results_cases.h"
#include "results_comparison.h"

namespace {

// Every character one cell of 6 x 12.
class CellMeasurer final : public ITextMeasurer {
public:
    Size TextExtent(const LogFont&, std::string_view text) override {
        return {6 * static_cast<int>(text.size()), 12};
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("results_cases_fuzz_" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(path);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    CADODataBase database;
    database.SetConnectionTimeout(1);
    if (database.Open(path.string())) {
        MemoryRecordCursor network;
        network.AddBus(1, 0, "North").voltageCopy = 1.02;
        network.AddBus(2, 1, "South").voltageCopy = 0.98;
        network.AddBranch(0, 1, 2, 0.01, 0.1);
        SaveResultCase(database, "fuzz.pf", "O'Brien", network);

        CellMeasurer display;
        std::string failure;
        IDBReport* report = CompareResultCases(database, {1, 1, "one"}, {1, 2, "two"},
                                               [&] { return createReport(display); }, failure);
        if (report) report->Release();
    }
    database.Close();
    std::filesystem::remove(path);
    return 0;
}
