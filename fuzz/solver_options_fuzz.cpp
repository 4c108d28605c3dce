// Hands the solver's file run arbitrary option items, one per line of the
// input, over the public test cases. Files stay the tests' own: the first
// file argument becomes one of the cases (chosen by its length), an option
// that reads a file reads the test file of its kind, and every output (the
// listing, tables, case files, vectors, diagnostics) goes to the null
// device. Every run either succeeds or fails with a message; a crash, a
// hang, a leak, a sanitizer report or a large allocation is a finding.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "solver_interface.h"

namespace {

constexpr std::size_t kMaxItems = 48;
constexpr const char* kNullDevice = "/dev/null";
// Options whose value names a file the run writes.
constexpr std::string_view kOutputLetters = "cHwWyYCl";

std::string DataFile(const char* name) { return std::string(FUZZ_DATA_DIR) + "/" + name; }

// The test file an input option reads; empty for an option that reads none.
std::string InputFileOf(char letter) {
    switch (letter) {
        case 'K': return DataFile("case14_direction.k");
        case 'V': return DataFile("case14_start.v");
        case '3': return DataFile("case14_machines.txt");
        case 'D': return DataFile("case14_loads.txt");
        case '6': return kNullDevice;
        default: return {};
    }
}

std::string NetworkFile(std::size_t choice) {
    static const char* const networks[] = {"case14.cdf", "case14.deck", "five_bus.c80", "hvdc_link.cdf"};
    return DataFile(networks[choice % std::size(networks)]);
}

// The item the solver is given for one line of the input.
std::string Item(std::string_view line, int& fileArguments) {
    if (line.size() < 2 || line[0] != '-') {
        return ++fileArguments == 1 ? NetworkFile(line.size()) : std::string(kNullDevice);
    }
    const char letter = line[1];
    std::string item(line.substr(0, 2));
    if (line.size() == 2) return item;
    if (kOutputLetters.find(letter) != std::string_view::npos) return item + kNullDevice;
    const std::string input = InputFileOf(letter);
    return item + (input.empty() ? std::string(line.substr(2)) : input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Diagnostics go nowhere: the first item of a letter wins.
    std::vector<std::string> items = {"ostrand", "-l/dev/null"};
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    int fileArguments = 0;
    for (std::size_t start = 0; start < text.size() && items.size() < kMaxItems;) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (line.find('\0') == std::string_view::npos) items.push_back(Item(line, fileArguments));
        start = end + 1;
    }
    // No listing on standard output.
    if (fileArguments == 1) items.push_back(kNullDevice);

    std::vector<const char*> pointers;
    for (const std::string& item : items) pointers.push_back(item.c_str());
    ISolver* solver = createPSSolver();
    if (!solver) return 0;
    solver->Main(static_cast<int>(pointers.size()), pointers.data(), 0);
    solver->Release();
    return 0;
}
