#include <cstdio>
#include <string>
#include <vector>

#include "number_text.h"
#include "solution_values.h"
#include "solver.h"

// The null vector as a text file: a head line with the count, then one line
// per equation in the order of the numbering, with the equation's name
// (what its mismatch balances) and its entry, and a closing line 0.

namespace {

// The generator model's eleven equations, in their order.
constexpr const char* kGeneratorRows[] = {"dPg", "dQg", "dEq", "dEd", "dVd", "dVq",
                                          "dId", "dIq", "dVr", "dVi", "dIa"};

void NameDeviceRows(std::vector<std::string>& names, int base, int rows, const char* family, int device) {
    for (int k = 1; k <= rows; ++k) names[base + k] = FormatInCLocale("%s%d_%d", family, device, k);
}

}  // namespace

void Solver::WriteUnknownVector(int count, FILE* file) {
    const Network& network = *network_;
    std::vector<std::string> names(static_cast<std::size_t>(variableCount_) + 1);
    for (const auto& owned : network.buses) {
        const NetBus& bus = *owned;
        const int number = ListedNumber(bus);
        const int first = bus.firstVariable;
        names[first] = FormatInCLocale("dP%d", number);
        names[first + 1] = FormatInCLocale("dQ%d", number);
        if (switches_.areaControl && CodeHas(bus.code, "A") && bus.area)
            names[first + 2] = FormatInCLocale("dPA%d", bus.area->number);
        if (switches_.pqTransformerControl)
            for (const AdjacencyNode& node : bus.regulatingBranches) {
                const NetBranch& branch = *node.branch;
                if (!IsFlowRegulating(branch)) continue;
                const NetBus& other = branch.from == &bus ? *branch.to : *branch.from;
                const bool active = branch.code == "RP" || CodeHas(branch.code, "PM");
                names[branch.variable] = FormatInCLocale(active ? "dP%d_%d" : "dQ%d_%d", number, ListedNumber(other));
            }
        if (bus.generator)
            for (int k = 0; k < 11; ++k)
                names[bus.generator->base + 1 + k] = FormatInCLocale("%s%d", kGeneratorRows[k], number);
    }
    // The links' unknowns lead the devices' block, eleven per rectifier.
    int next = busVariableCount_;
    int link = 0;
    for (const auto& converter : network.converters)
        if (converter->code == "R") {
            NameDeviceRows(names, next, 11, "Fdc", ++link);
            next += 11;
        }
    int device = 0;
    for (const auto& svc : network.svcs) NameDeviceRows(names, svc->base, 3, "Fsvc", ++device);
    device = 0;
    for (const auto& tcsc : network.tcscs) NameDeviceRows(names, tcsc->base, 7, "Ftcsc", ++device);
    device = 0;
    for (const auto& statcom : network.statcoms) NameDeviceRows(names, statcom->base, 7, "Fstat", ++device);

    std::string text = FormatInCLocale("%d 1\n", count);
    for (int i = 1; i <= count && i < static_cast<int>(names.size()); ++i)
        text += FormatInCLocale("%4d %8s %-11.5g\n", i, names[i].c_str(), nullVector_[i]);
    text += FormatInCLocale("%4d %8s %-11.5g\n", 0, "0", 0.0);
    std::fputs(text.c_str(), file);
    if (!CloseFile(file)) {
        std::fprintf(diagnostics_, "The unknown vector could not be written\n");
        Abort(1);
    }
}

void Solver::WriteRequestedVectors() {
    const char* left = OptionValue('y');
    const char* right = OptionValue('Y');
    if (IsEmptyValue(left) && IsEmptyValue(right)) return;
    // The vectors are of the power flow's own Jacobian, without the
    // continuation's row.
    SetContinuation(Continuation::Off);
    double eigenvalue = 0.0;
    if (!IsEmptyValue(left)) {
        InversePowerIteration(40, 1, 1e-5, 0, &eigenvalue);
        WriteUnknownVector(variableCount_, OpenOutput(left));
    }
    if (!IsEmptyValue(right)) {
        InversePowerIteration(40, 1, 1e-5, 1, &eigenvalue);
        Hook('Y', nullVector_.data(), 1.0);
    }
}
