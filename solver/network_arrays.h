#pragma once

#include <span>
#include <vector>

#include "network.h"

// The links of a network as the AC equations walk them, in arrays read in
// order: every bus's branch ends (in the order of its branch list) side by
// side, each naming its branch and the bus at its other end by their places
// in the network's lists. The equations keep the buses' state and the
// branches' terms in arrays of the same places, so that a pass reads
// memory in order rather than following pointers from bus to branch to bus.
//
// The links hold while the network's lists do: they are taken again for a
// network other than the last, or one whose lists changed size.
class NetworkArrays {
public:
    // A bus as one pass of the equations reads it.
    struct BusTerms {
        double voltage = 0.0;
        double angle = 0.0;
        int angleColumn = 0;       // 0: the angle is held (a slack)
        int voltageColumn = 0;     // where the derivatives by its voltage go
        bool voltageFree = false;  // else a 0 there keeps the pattern
    };
    // A branch's terms as one pass reads them (p.u., the shift turned into
    // its cosine and sine).
    struct BranchTerms {
        double g = 0.0;
        double b = 0.0;
        double tap = 0.0;
        double cosShift = 1.0;
        double sinShift = 0.0;
        double fromShuntG = 0.0;
        double fromShuntB = 0.0;
        double toShuntG = 0.0;
        double toShuntB = 0.0;
        // The from bus's angle minus the to bus's, by its cosine and sine.
        double cosAngle = 1.0;
        double sinAngle = 0.0;
        bool hasControlColumn = false;  // a regulating transformer with a column of its control
        bool controlled = false;        // the same, where the pass enters the Jacobian
    };

    struct End {
        int branch = 0;  // place in the network's branch list
        int other = 0;   // place of the bus at the other end in the bus list
        bool atFrom = false;  // the bus is the branch's from end
    };

    // Takes the links of the network unless they are those taken last.
    void Link(const Network& network);
    // Forgets the links, so that the next Link takes them anew.
    void Forget() {
        network_ = nullptr;
        Release();
    }

    // The places of a branch's from and to buses in the bus list.
    struct BranchBuses {
        int from = 0;
        int to = 0;
    };

    std::span<const End> EndsOf(int bus) const {
        return {ends_.data() + endStart_[bus], ends_.data() + endStart_[bus + 1]};
    }
    NetBranch& Branch(int branch) const { return *branches_[branch]; }
    BranchBuses BusesOf(int branch) const { return branchBuses_[branch]; }

    // Filled by each pass, by the places of the bus and branch lists.
    std::vector<BusTerms> busTerms;
    std::vector<BranchTerms> branchTerms;

    // A bus's load models, P and Q.
    struct BusLoads {
        LoadModel p;
        LoadModel q;
    };
    // The buses' load models side by side, by bus place, while they hold
    // still (a continuation's tracing takes them once its base load is
    // set): a pass then reads them in order instead of from three lines of
    // every bus record. Empty while the passes read the buses.
    std::vector<BusLoads> heldLoads;
    void HoldLoads(const Network& network);

    // The load models of the bus at `place`: the held ones while they are
    // held, else the bus's own.
    const LoadModel& LoadModelP(const NetBus& bus, std::size_t place) const {
        return heldLoads.empty() ? bus.loadModelP : heldLoads[place].p;
    }
    const LoadModel& LoadModelQ(const NetBus& bus, std::size_t place) const {
        return heldLoads.empty() ? bus.loadModelQ : heldLoads[place].q;
    }

    // The branches' terms while they hold still (a continuation's tracing):
    // only a regulating transformer's ratio, shift and code move then, and
    // only those of the branches on a bus's list of regulating branches.
    // The others keep the terms that the first pass after HoldBranches
    // took; the passes take the listed ones anew from their records.
    void HoldBranches(const Network& network);
    // Whether the pass may keep the branch's terms of the last pass.
    bool BranchTermsHeld(int branch) const { return branchTermsTaken_ && !moving_[branch]; }
    // The pass took every branch's terms.
    void BranchTermsTaken() { branchTermsTaken_ = !moving_.empty(); }

    // Drops what is held: the passes read the records again.
    void Release() {
        heldLoads.clear();
        moving_.clear();
        branchTermsTaken_ = false;
    }

private:
    const Network* network_ = nullptr;
    std::size_t busCount_ = 0;
    std::size_t branchCount_ = 0;
    std::vector<int> endStart_;  // bus b's ends are endStart_[b] .. endStart_[b + 1] - 1
    std::vector<End> ends_;
    std::vector<NetBranch*> branches_;
    std::vector<BranchBuses> branchBuses_;
    std::vector<char> moving_;  // by branch place while the branches are held: terms taken by every pass
    bool branchTermsTaken_ = false;
};
