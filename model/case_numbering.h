#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <utility>
#include <vector>

class ElementList;

// The bus numbers of the model's network in an IEEE common-format case and
// in the listing the solver writes for it: a bus carries its key serial, a
// bus group the number it was given, every bus of a group its group's
// number. Each exported line or transformer is kept with the numbers of its
// from and to ends and its circuit, so that a listed branch row finds its
// element and the end it belongs to.
class CaseNumbering {
public:
    // The bus or the group a number stands for.
    struct Node {
        bool group = false;
        int id = 0;  // bus key, or group index
    };
    // A listed branch's element and whether the row's bus is its from end.
    struct BranchEnd {
        int key = 0;
        bool atFrom = true;
    };

    // The numbers that the groups take in a case file: for each group index
    // the smallest number that no bus of the list carries as its serial and
    // no earlier group took.
    static std::vector<int> FreeGroupNumbers(const ElementList& buses, int groupCount);

    void AddBus(int number, int busKey) { nodes_[number] = Node{false, busKey}; }
    void AddGroup(int number, int index) { nodes_[number] = Node{true, index}; }
    // A branch in the order of the case file; answers the circuit it is to
    // carry there: `circuit` unless an earlier branch between the same two
    // numbers has it, then the first character of "123456789A-Z" that none
    // of them has, so that parallel branches tell themselves apart.
    char AddBranch(int key, int fromNumber, int toNumber, char circuit);
    bool HasGroups() const;

    std::optional<Node> Find(int number) const;
    // The branch listed at bus `number` towards `farNumber` with the
    // circuit: the first one between the two numbers with that circuit
    // whose end at `number` no earlier call took, else the first such end of
    // any circuit. Nothing when none is left.
    std::optional<BranchEnd> TakeBranchEnd(int number, int farNumber, char circuit);

private:
    struct Branch {
        int key = 0;
        int from = 0;
        int to = 0;
        char circuit = ' ';
        bool fromTaken = false;
        bool toTaken = false;
    };
    std::map<int, Node> nodes_;
    std::vector<Branch> branches_;
    std::multimap<std::pair<int, int>, std::size_t> byEnds_;  // (lower, higher number) -> branch
};
