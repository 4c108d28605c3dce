// Feeds arbitrary bytes to the per-bus files of a file run over the IEEE
// 14-bus case: the input is the file, and its size chooses the file and
// the study. K: the power flow at a load parameter, or a short continuation
// (with option v, a held voltage); V: the starting point of a power flow;
// 3: the generator models of a power flow with their limits.
// Every input either solves or fails with a message; a crash, a hang, a
// leak, a sanitizer report or a large allocation is a finding.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "scratch_file.h"
#include "solver_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile file("scenario.txt");
    static const std::string network = std::string(FUZZ_DATA_DIR) + "/case14.cdf";
    const std::string& path = file.Write(data, size);
    std::vector<std::string> items = {"-I", network};
    switch (size % 5) {
    case 0:
        items.insert(items.end(), {"-K" + path, "-L0.5"});
        break;
    case 1:
        items.insert(items.end(), {"-K" + path, "-c/dev/null", "-z12", "-k0.5"});
        break;
    case 2:
        items.insert(items.end(), {"-K" + path, "-v0.9"});
        break;
    case 3:
        items.push_back("-V" + path);
        break;
    case 4:
        items.push_back("-3" + path);
        break;
    }
    RunSolver(items);
    return 0;
}
