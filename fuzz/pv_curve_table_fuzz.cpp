// Feeds arbitrary bytes to the reading of a continuation table for the
// PV-curve chooser. Besides a crash, a hang, a leak or a large allocation,
// an answer that is not what the chooser may offer is a finding: a usable
// table names an X column and offers Y names, each a token of the table;
// an unusable one offers nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "pv_curve_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream table(bytes);
    const PvCurveColumns columns = ReadPvCurveColumns(table);
    if (!columns.usable) {
        if (!columns.yNames.empty() || !columns.xName.empty()) std::abort();
        return 0;
    }
    if (columns.yNames.empty() || columns.xName.empty()) std::abort();
    // Every name offered is a token of the table, and no blank is in one.
    for (const std::string& name : columns.yNames) {
        if (name.empty() || name.find_first_of(" \t\r\n") != std::string::npos) std::abort();
        if (bytes.find(name) == std::string::npos) std::abort();
    }
    return 0;
}
