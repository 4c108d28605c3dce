#include "network_arrays.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <stdexcept>

namespace {

// The places of the records of one list, found by their addresses: open
// addressing over a table at most half full, so that a look-up costs about
// one probe and the table one allocation.
class PlaceTable {
public:
    explicit PlaceTable(std::size_t count) : slots_(std::bit_ceil(2 * count + 2)), mask_(slots_.size() - 1) {}

    void Add(const void* record, int place) {
        std::size_t i = Home(record);
        while (slots_[i].record) i = (i + 1) & mask_;
        slots_[i] = {record, place};
    }
    int PlaceOf(const void* record) const {
        for (std::size_t i = Home(record); slots_[i].record; i = (i + 1) & mask_)
            if (slots_[i].record == record) return slots_[i].place;
        throw std::out_of_range("a branch names a record outside the network's lists");
    }

private:
    struct Slot {
        const void* record = nullptr;
        int place = 0;
    };
    std::size_t Home(const void* record) const {
        // Fibonacci hashing of the address: records lie at regular
        // distances, which the multiplication spreads over the table.
        const auto address = reinterpret_cast<std::uintptr_t>(record);
        return static_cast<std::size_t>((address * 0x9E3779B97F4A7C15ull) >> 32) & mask_;
    }
    std::vector<Slot> slots_;
    std::size_t mask_;
};

}  // namespace

void NetworkArrays::Link(const Network& network) {
    if (network_ == &network && busCount_ == network.buses.size() && branchCount_ == network.branches.size()) return;
    network_ = &network;
    Release();
    busCount_ = network.buses.size();
    branchCount_ = network.branches.size();

    PlaceTable busPlace(busCount_);
    for (std::size_t b = 0; b < busCount_; ++b) busPlace.Add(network.buses[b].get(), static_cast<int>(b));
    PlaceTable branchPlace(branchCount_);
    branches_.resize(branchCount_);
    for (std::size_t k = 0; k < branchCount_; ++k) {
        branches_[k] = network.branches[k].get();
        branchPlace.Add(branches_[k], static_cast<int>(k));
    }

    branchBuses_.resize(branchCount_);
    for (std::size_t k = 0; k < branchCount_; ++k)
        branchBuses_[k] = {busPlace.PlaceOf(branches_[k]->from), busPlace.PlaceOf(branches_[k]->to)};

    endStart_.assign(busCount_ + 1, 0);
    ends_.clear();
    ends_.reserve(2 * branchCount_);
    for (std::size_t b = 0; b < busCount_; ++b) {
        const NetBus& bus = *network.buses[b];
        for (const AdjacencyNode& node : bus.branches) {
            const NetBranch& branch = *node.branch;
            const bool atFrom = branch.from == &bus;
            const NetBus* other = atFrom ? branch.to : branch.from;
            ends_.push_back({branchPlace.PlaceOf(&branch), busPlace.PlaceOf(other), atFrom});
        }
        endStart_[b + 1] = static_cast<int>(ends_.size());
    }
}

void NetworkArrays::HoldLoads(const Network& network) {
    heldLoads.clear();
    heldLoads.reserve(network.buses.size());
    for (const auto& bus : network.buses) heldLoads.push_back({bus->loadModelP, bus->loadModelQ});
}

void NetworkArrays::HoldBranches(const Network& network) {
    std::vector<const NetBranch*> regulating;
    for (const auto& bus : network.buses)
        for (const AdjacencyNode& node : bus->regulatingBranches) regulating.push_back(node.branch);
    std::sort(regulating.begin(), regulating.end());
    moving_.assign(network.branches.size(), 0);
    for (std::size_t k = 0; k < network.branches.size(); ++k)
        moving_[k] = std::binary_search(regulating.begin(), regulating.end(), network.branches[k].get());
    branchTermsTaken_ = false;
}
