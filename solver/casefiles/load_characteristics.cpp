#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "card_fields.h"
#include "case_lines.h"
#include "solver.h"

// The load-characteristic file of option D: how much of each bus load
// follows V^exponent, the rest being constant impedance (V^2), for P and Q
// apart. A fixed-column file: rows between a " NLBS" line and an "EDATA" or
// "  END" line; "!" and "C" in column 1 mark comments.
//
// Until the load models are rescaled to the solved voltages, a model's base
// part holds the share of the load that follows V^exponent and its
// impedance part the share that follows V^2.

namespace {

// Rows that stand for a group of buses rather than one bus.
constexpr const char* kAreaGroup = "50000";
constexpr const char* kAllAreasGroup = "60000";
// Columns that hold a bus name in a row.
constexpr std::size_t kRowNameLength = 12;

bool StartsWith(const std::string& line, const char* text) {
    return line.starts_with(text);
}

bool IsEndLine(const std::string& line) {
    return StartsWith(line, "EDATA") || StartsWith(line, "  END");
}

// The four values of a row, from column `col` on.
struct LoadShares {
    double pShare = 0.0;  // fractions of the load that follow V^exponent
    double qShare = 0.0;
    double pExponent = 0.0;
    double qExponent = 0.0;
};

LoadShares ReadShares(const std::string& row, int col) {
    return {GetIntField(row, col, 5) * 0.01, GetIntField(row, col + 5, 5) * 0.01, GetRealField(row, col + 10, 10, 5),
            GetRealField(row, col + 20, 10, 5)};
}

void ApplyShare(LoadModel& model, double share, double exponent) {
    model.base = share;
    model.impedance = 1.0 - share;
    model.exponent = exponent;
}

// True when the bus's name, cut or padded with blanks to 12 characters, is
// `field`.
bool NameMatches(const std::string& name, const std::string& field) {
    for (std::size_t i = 0; i < kRowNameLength; ++i)
        if ((i < name.size() ? name[i] : ' ') != field[i]) return false;
    return true;
}

// The first bus that the row names by its name in columns 1-12 (the values
// then start in column 13) or by its number in columns 1-5 (then column 6).
// Number 0 names no bus.
NetBus* RowBus(const Network& network, const std::string& row, int& valuesColumn) {
    const std::string name = GetField(row, 1, kRowNameLength, kRowNameLength);
    const int number = GetIntField(row, 1, 5);
    for (const auto& bus : network.buses) {
        if (NameMatches(bus->name, name)) {
            valuesColumn = 13;
            return bus.get();
        }
        if (number != 0 && bus->externalNumber == number) {
            valuesColumn = 6;
            return bus.get();
        }
    }
    return nullptr;
}

[[noreturn]] void Fail(Solver& solver, const char* fileName, const char* what) {
    std::fprintf(solver.Diagnostics(), "Load characteristics %s: %s\n", fileName, what);
    solver.Abort(1);
}

[[noreturn]] void FailLine(Solver& solver, const char* fileName, int lineNumber, const char* what) {
    std::fprintf(solver.Diagnostics(), "Load characteristics %s, line %d: %s\n", fileName, lineNumber, what);
    solver.Abort(1);
}

// The row's values, refused with the row's line when an exponent lies
// outside what a load model can evaluate.
LoadShares CheckedShares(Solver& solver, const char* fileName, int lineNumber, const std::string& row, int col) {
    const LoadShares shares = ReadShares(row, col);
    if (std::fabs(shares.pExponent) > LoadModel::kMaxExponent || std::fabs(shares.qExponent) > LoadModel::kMaxExponent)
        FailLine(solver, fileName, lineNumber, "an exponent outside -10 to 10");
    return shares;
}

}  // namespace

// Answers 1 when a row applied to at least one bus. No name: nothing read.
int Solver::ReadLoadCharacteristics(const char* fileName) {
    if (IsEmptyValue(fileName)) return 0;
    FILE* input = OpenInput(fileName);
    CaseLines lines(input);
    Network& network = *network_;
    // Every load is constant impedance until a row says otherwise.
    for (const auto& bus : network.buses) {
        ApplyShare(bus->loadModelP, 0.0, 0.0);
        ApplyShare(bus->loadModelQ, 0.0, 0.0);
    }

    int applied = 0;
    bool inRows = false;
    std::string row;
    int lineNumber = 0;
    while (lines.Next(row)) {
        ++lineNumber;
        if (StartsWith(row, "!") || StartsWith(row, "C")) continue;
        if (!inRows) {
            inRows = StartsWith(row, " NLBS");
            continue;
        }
        if (IsEndLine(row)) {
            CloseFile(input);
            return applied;
        }

        const std::string key = GetField(row, 1, 5, 5);
        if (key != kAreaGroup && key != kAllAreasGroup) {
            int col = 0;
            if (NetBus* bus = RowBus(network, row, col)) {
                const LoadShares shares = CheckedShares(*this, fileName, lineNumber, row, col);
                ApplyShare(bus->loadModelP, shares.pShare, shares.pExponent);
                ApplyShare(bus->loadModelQ, shares.qShare, shares.qExponent);
                applied = 1;
            }
            continue;
        }

        // A group: the buses of one area ("50000") or of all areas, within a
        // range of numbers, whose load (MW, Mvar) is above a threshold.
        const LoadShares shares = CheckedShares(*this, fileName, lineNumber, row, 6);
        std::string selection;
        if (!lines.Next(selection) || IsEndLine(selection)) Fail(*this, fileName, "a group row without its selection line");
        ++lineNumber;
        const int areaNumber = GetIntField(selection, 1, 5);
        const int lowest = std::max(GetIntField(selection, 6, 5), 1);
        const int highest = GetIntField(selection, 11, 5);  // 0 or less: no upper bound
        const double pThreshold = GetRealField(selection, 16, 10, 5) / mvaBase_;
        const double qThreshold = GetRealField(selection, 26, 10, 5) / mvaBase_;
        const bool oneArea = key == kAreaGroup && network.areas.size() >= 2;
        for (const auto& bus : network.buses) {
            if (oneArea && (!bus->area || bus->area->number != areaNumber)) continue;
            applied = 1;
            if (bus->externalNumber < lowest || (highest > 0 && bus->externalNumber > highest)) continue;
            if (bus->loadP > pThreshold) ApplyShare(bus->loadModelP, shares.pShare, shares.pExponent);
            if (bus->loadQ > qThreshold) ApplyShare(bus->loadModelQ, shares.qShare, shares.qExponent);
        }
    }
    Fail(*this, fileName, "the file ends before its EDATA or END line");
}
