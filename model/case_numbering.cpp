// Bus numbers of the model in a case file and its listing.

#include "case_numbering.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "element_key.h"
#include "element_list.h"

namespace {

constexpr std::string_view kCircuits = "123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

std::pair<int, int> Ends(int a, int b) { return {std::min(a, b), std::max(a, b)}; }

}  // namespace

std::vector<int> CaseNumbering::FreeGroupNumbers(const ElementList& buses, int groupCount) {
    std::set<int> taken;
    for (const auto& [key, bus] : buses.Entries()) taken.insert(static_cast<int>(KeySerial(key)));
    std::vector<int> numbers;
    int next = 1;
    for (int i = 0; i < groupCount; ++i) {
        while (taken.contains(next)) ++next;
        numbers.push_back(next++);
    }
    return numbers;
}

char CaseNumbering::AddBranch(int key, int fromNumber, int toNumber, char circuit) {
    const auto ends = Ends(fromNumber, toNumber);
    std::set<char> used;
    const auto [first, last] = byEnds_.equal_range(ends);
    for (auto it = first; it != last; ++it) used.insert(branches_[it->second].circuit);
    if (used.contains(circuit)) {
        // More parallel branches than circuit characters keep a repeated
        // one; TakeBranchEnd then goes by their order.
        for (char c : kCircuits) {
            if (!used.contains(c)) {
                circuit = c;
                break;
            }
        }
    }
    byEnds_.emplace(ends, branches_.size());
    branches_.push_back(Branch{key, fromNumber, toNumber, circuit, false, false});
    return circuit;
}

bool CaseNumbering::HasGroups() const {
    return std::any_of(nodes_.begin(), nodes_.end(), [](const auto& entry) { return entry.second.group; });
}

std::optional<CaseNumbering::Node> CaseNumbering::Find(int number) const {
    auto found = nodes_.find(number);
    if (found == nodes_.end()) return std::nullopt;
    return found->second;
}

std::optional<CaseNumbering::BranchEnd> CaseNumbering::TakeBranchEnd(int number, int farNumber, char circuit) {
    const auto [first, last] = byEnds_.equal_range(Ends(number, farNumber));
    Branch* chosen = nullptr;
    for (auto it = first; it != last; ++it) {
        Branch& branch = branches_[it->second];
        const bool taken = branch.from == number ? branch.fromTaken : branch.toTaken;
        if (taken) continue;
        if (branch.circuit == circuit) {
            chosen = &branch;
            break;
        }
        if (!chosen) chosen = &branch;
    }
    if (!chosen) return std::nullopt;
    const bool atFrom = chosen->from == number;
    (atFrom ? chosen->fromTaken : chosen->toTaken) = true;
    return BranchEnd{chosen->key, atFrom};
}
