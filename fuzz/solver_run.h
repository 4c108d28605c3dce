#pragma once

#include <string>
#include <vector>

#include "solver_interface.h"

// One file run of a fresh solver over the argument items (item 0, the
// program name, is added here), as the command-line driver makes it. Its
// diagnostics go nowhere and no listing is written. Answers Main's result.
inline int RunSolver(std::vector<std::string> items) {
    items.insert(items.begin(), {"ostrand", "-l/dev/null", "-s"});
    std::vector<const char*> pointers;
    for (const auto& item : items) pointers.push_back(item.c_str());
    ISolver* solver = createPSSolver();
    if (!solver) return 0;
    const int result = solver->Main(static_cast<int>(pointers.size()), pointers.data(), 0);
    solver->Release();
    return result;
}
