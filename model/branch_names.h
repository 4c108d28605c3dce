#pragma once

#include <cstddef>
#include <string>

#include "element_interface.h"
#include "transfer_capability_result.h"

// The names a branch element is shown by in the transfer-capability
// study's files and report: its own and those of the buses at its ends.
inline TransferCapabilityResult::BranchNames NamesOfBranch(const IElement& branch) {
    TransferCapabilityResult::BranchNames names;
    names.found = true;
    names.element = branch.GetName();
    for (int end = 0; end < 2; ++end) {
        const std::string* name = branch.GetEndName(end);
        names.ends[static_cast<std::size_t>(end)] = name ? *name : "";
    }
    return names;
}
