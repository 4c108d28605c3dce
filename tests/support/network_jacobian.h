#pragma once

#include <algorithm>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

// Jacobian-like matrices of networks: two unknowns a node (angle 2i-1,
// voltage 2i for node i from 1), a 2x2 block for every branch in both
// directions and a dominant block on the diagonal, so that the pattern is
// symmetric and the values are not.
struct MatrixTriplet {
    int row;
    int column;
    double value;
};

struct NetworkJacobian {
    int unknowns = 0;
    std::vector<MatrixTriplet> triplets;
};

struct NetworkBranch {
    int from;  // nodes from 1
    int to;
    double susceptance;  // p.u.
};

inline NetworkJacobian MakeNetworkJacobian(int nodes, const std::vector<NetworkBranch>& branches,
                                           unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    NetworkJacobian jacobian;
    jacobian.unknowns = 2 * nodes;
    std::vector<double> diagonal(nodes + 1, 0.0);
    const auto block = [&](int from, int to, double b, double g) {
        const int r = 2 * from - 1, c = 2 * to - 1;
        jacobian.triplets.push_back({r, c, -b});
        jacobian.triplets.push_back({r, c + 1, g});
        jacobian.triplets.push_back({r + 1, c, -g});
        jacobian.triplets.push_back({r + 1, c + 1, -b});
    };
    for (const auto& branch : branches) {
        block(branch.from, branch.to, branch.susceptance, 0.1 * branch.susceptance);
        block(branch.to, branch.from, branch.susceptance, -0.1 * branch.susceptance);
        diagonal[branch.from] += branch.susceptance;
        diagonal[branch.to] += branch.susceptance;
    }
    for (int node = 1; node <= nodes; ++node) {
        const int r = 2 * node - 1;
        jacobian.triplets.push_back({r, r, diagonal[node] + 0.5});
        jacobian.triplets.push_back({r, r + 1, 0.3 + 0.2 * unit(random)});
        jacobian.triplets.push_back({r + 1, r, -0.4});
        jacobian.triplets.push_back({r + 1, r + 1, diagonal[node] + 0.2 * unit(random)});
    }
    return jacobian;
}

// A network on a width x height lattice. meshShare 1 keeps every lattice
// edge (a full mesh, degree 4 inside). Below 1 it is a random spanning tree
// of the lattice plus that share of the other lattice edges, which gives the
// sparse meshing of transmission networks (mean degree about 2 + 2 x meshShare).
inline NetworkJacobian MakeGridJacobian(int width, int height, double meshShare, unsigned seed) {
    std::mt19937 random(seed);
    const int nodes = width * height;
    std::vector<std::pair<int, int>> lattice;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int node = y * width + x + 1;
            if (x + 1 < width) lattice.emplace_back(node, node + 1);
            if (y + 1 < height) lattice.emplace_back(node, node + width);
        }
    std::shuffle(lattice.begin(), lattice.end(), random);

    std::vector<int> parent(nodes + 1);
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&](int n) {
        while (parent[n] != n) n = parent[n] = parent[parent[n]];
        return n;
    };
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_real_distribution<double> susceptance(5.0, 20.0);
    std::vector<NetworkBranch> branches;
    for (const auto& [a, b] : lattice) {
        const int ra = root(a), rb = root(b);
        if (ra != rb)
            parent[ra] = rb;
        else if (unit(random) >= meshShare)
            continue;
        branches.push_back({a, b, susceptance(random)});
    }
    return MakeNetworkJacobian(nodes, branches, seed);
}
