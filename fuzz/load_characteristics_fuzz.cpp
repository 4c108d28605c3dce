// Feeds arbitrary bytes to the load-characteristic file (option D) of a
// file run over the IEEE 14-bus case: a plain power flow, or (an input of
// odd size) the power flow at a load parameter along every load. Every input
// either solves or fails with a message; a crash, a hang, a leak, a
// sanitizer report or a large allocation is a finding.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "scratch_file.h"
#include "solver_run.h"

namespace {

// Every load of the 14-bus case grows with its base load.
constexpr const char* kDirection =
    "2 0 0 0.217 0.127 0\n3 0 0 0.942 0.19 0\n4 0 0 0.478 -0.039 0\n5 0 0 0.076 0.016 0\n"
    "9 0 0 0.295 0.166 0\n14 0 0 0.149 0.05 0\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile file("loads.txt");
    static const ScratchFile direction("direction.k");
    static const std::string directionPath = direction.Write(kDirection);
    static const std::string network = std::string(FUZZ_DATA_DIR) + "/case14.cdf";
    const std::string& path = file.Write(data, size);
    std::vector<std::string> items = {"-I", network, "-D" + path};
    if (size % 2) items.insert(items.end(), {"-K" + directionPath, "-L0.3"});
    RunSolver(items);
    return 0;
}
