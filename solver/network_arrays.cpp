#include "network_arrays.h"

#include <unordered_map>

#include "network.h"

void NetworkArrays::Link(const Network& network) {
    if (network_ == &network && busCount_ == network.buses.size() && branchCount_ == network.branches.size()) return;
    network_ = &network;
    busCount_ = network.buses.size();
    branchCount_ = network.branches.size();

    std::unordered_map<const NetBus*, int> busPlace(busCount_);
    for (std::size_t b = 0; b < busCount_; ++b) busPlace.emplace(network.buses[b].get(), static_cast<int>(b));
    std::unordered_map<const NetBranch*, int> branchPlace(branchCount_);
    branches_.resize(branchCount_);
    for (std::size_t k = 0; k < branchCount_; ++k) {
        branches_[k] = network.branches[k].get();
        branchPlace.emplace(branches_[k], static_cast<int>(k));
    }

    endStart_.assign(busCount_ + 1, 0);
    ends_.clear();
    for (std::size_t b = 0; b < busCount_; ++b) {
        const NetBus& bus = *network.buses[b];
        for (const AdjacencyNode& node : bus.branches) {
            const NetBranch& branch = *node.branch;
            const bool atFrom = branch.from == &bus;
            const NetBus* other = atFrom ? branch.to : branch.from;
            ends_.push_back({branchPlace.at(&branch), busPlace.at(other), atFrom});
        }
        endStart_[b + 1] = static_cast<int>(ends_.size());
    }
}
