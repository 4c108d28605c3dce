// Feeds arbitrary bytes to the two-letter card deck reader as a case file,
// solves what it reads and writes the summary report of the solution. Every
// input either solves or fails with a message; a crash, a hang, a leak, a
// sanitizer report or a large allocation is a finding.

#include <cstddef>
#include <cstdint>

#include "scratch_file.h"
#include "solver_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile deck("case.deck");
    DiscardingLineWriter report;
    RunSolver({deck.Write(data, size), "-W/dev/null"}, &report);
    return 0;
}
