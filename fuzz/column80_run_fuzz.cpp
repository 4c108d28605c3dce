// Feeds arbitrary bytes to the column-80 deck reader, the same bytes being
// the deck and its operating-point file (the deck stops at its end record,
// the operating point reads every record), solves what it reads and writes
// the summary report. Every input either solves or fails with a message; a
// crash, a hang, a leak, a sanitizer report or a large allocation is a
// finding.

#include <cstddef>
#include <cstdint>

#include "scratch_file.h"
#include "solver_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile deck("case.c80");
    const std::string& path = deck.Write(data, size);
    DiscardingLineWriter report;
    RunSolver({"-6" + path, path}, &report);
    return 0;
}
