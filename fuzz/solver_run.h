#pragma once

#include <string>
#include <vector>

#include "line_writer.h"
#include "solver_interface.h"

// A line writer that drops what it is given.
class DiscardingLineWriter final : public ILineWriter {
public:
    ILineWriter& EndLine() override { return *this; }
    ILineWriter& Append(const char*) override { return *this; }
};

// One file run of a fresh solver over the argument items (item 0, the
// program name, is added here), as the command-line driver makes it. Its
// diagnostics go nowhere and no listing is written; with a writer, the
// summary report follows the run. Answers Main's result.
inline int RunSolver(std::vector<std::string> items, ILineWriter* report = nullptr) {
    items.insert(items.begin(), {"ostrand", "-l/dev/null", "-s"});
    std::vector<const char*> pointers;
    for (const auto& item : items) pointers.push_back(item.c_str());
    ISolver* solver = createPSSolver();
    if (!solver) return 0;
    const int result = solver->Main(static_cast<int>(pointers.size()), pointers.data(), 0);
    if (report) solver->WriteReport(report);
    solver->Release();
    return result;
}
