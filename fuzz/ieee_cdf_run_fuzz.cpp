// Feeds arbitrary bytes to the IEEE common data format reader as a case
// file and solves what it reads: a plain power flow with reactive limits.
// Every input either solves or fails with a message; a crash, a hang, a
// leak, a sanitizer report or a large allocation is a finding.

#include <cstddef>
#include <cstdint>

#include "scratch_file.h"
#include "solver_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile caseFile("case.cdf");
    RunSolver({"-I", caseFile.Write(data, size), "-W/dev/null"});
    return 0;
}
