#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "casefiles/card_fields.h"
#include "solution_values.h"
#include "number_text.h"
#include "solver.h"

// The continuation table: a header line of column names, then one row per
// point of the traced curve, the first for the solved base case. Fields are
// separated by tabs and most carry their own trailing tab; the graph reader
// takes the k-th name of the header as the label of the k-th value of every
// row, so names never hold blanks.

namespace {

constexpr double kDegreesPerRadian = 57.29577950560105;

// The totals columns in the order they stand, each with its place among the
// flags of SetTotalsColumns (P generation, Q generation, P load, Q load).
struct TotalsColumn {
    const char* header;
    int flag;
    double Solver::TableTotals::*value;
};
constexpr TotalsColumn kTotalsColumns[] = {
    {"PLoad_Total", 2, &Solver::TableTotals::loadP},
    {"QLoad_Total", 3, &Solver::TableTotals::loadQ},
    {"PGen_Total", 0, &Solver::TableTotals::generationP},
    {"QGen_Total", 1, &Solver::TableTotals::generationQ},
};

// A bus name as part of a column name: blanks become underscores, at most
// 11 characters.
std::string ColumnName(const std::string& name) {
    std::string text = name.substr(0, 11);
    std::replace(text.begin(), text.end(), ' ', '_');
    return text;
}

// Option e: the armature current, E and rotor angle of the generator model
// of every column's bus that has one, named with the bus's number.
std::string GeneratorModelHeader(const std::vector<NetBus*>& columns) {
    std::string header;
    for (const NetBus* bus : columns) {
        if (!bus->generator) continue;
        const int number = ListedNumber(*bus);
        header += FormatInCLocale("Ia%-5d\tEq%-5d\tdg%-5d\t", number, number, number);
    }
    return header;
}

// Armature current and E (p.u.), rotor angle (degrees).
std::string GeneratorModelRow(const std::vector<NetBus*>& columns) {
    std::string row;
    for (const NetBus* bus : columns) {
        if (!bus->generator) continue;
        const NetGenerator& m = *bus->generator;
        row += FormatNumber(0, 6, 4, m.ia) + "\t" + FormatNumber(0, 6, 4, m.e) + "\t" +
               FormatNumber(0, 6, 2, m.delta * kDegreesPerRadian) + "\t";
    }
    return row;
}

// Option O: the field width of the energy-measure column and of the
// converter columns.
int EnergyWidth(const Solver& solver) {
    return solver.IntOption('O', 6, 6, 10);
}

}  // namespace

// Every bus gets a voltage column, in the reverse order of the bus list,
// and with option e its generator model three more. In the matrix form of
// option O the AC bus of every converter also gets an angle column; these
// stand first, the last converter's bus first.
void Solver::WriteTableHeader(FILE* file) {
    const Network& network = *network_;
    const bool matrixForm = HasOption('m');
    const bool energy = HasOption('O');
    const bool devices = HasOption('e');

    tableColumns_.clear();
    for (auto bus = network.buses.rbegin(); bus != network.buses.rend(); ++bus) tableColumns_.push_back(bus->get());
    tableAngleColumns_.clear();
    if (matrixForm && energy)
        for (const auto& converter : network.converters)
            if (!InMonitoredList(converter->acBus, tableAngleColumns_))
                tableAngleColumns_.insert(tableAngleColumns_.begin(), converter->acBus);

    std::string header = matrixForm ? "% " : "";
    for (const NetBus* bus : tableAngleColumns_) header += "D_" + ColumnName(bus->name) + "\t";
    for (const NetBus* bus : tableColumns_) header += "V_" + ColumnName(bus->name) + "\t";
    if (devices) header += GeneratorModelHeader(tableColumns_);
    if (energy) header += EnergyWidth(*this) > 7 ? "Vac\t\t" : "Vac\t";
    if (energy || devices) header += ConverterColumnNames(energy);
    for (const TotalsColumn& totals : kTotalsColumns)
        if (totals_[totals.flag]) header += std::string(totals.header) + "\t\t";
    if (HasOption('f')) {
        // The rows always carry the bus of interest's two values, so the
        // header always names them, after the bus that option f names (0
        // when the largest tangent entry is to choose it).
        const int bus = IntOption('f', 0, 1, 9999);
        header += "VSFone\tVSFbus\tVSFinf\tSF\t" + FormatInCLocale("TVI_%d\t%d_Rank", bus, bus);
    }
    header += matrixForm ? "\nx=[\n" : "\n";
    std::fputs(header.c_str(), file);
}

// Counts the point and writes its values; the row stays open for the
// values of the tangent taken at it (EndTableRow).
void Solver::WriteTableRow(FILE* file) {
    RequireFiniteSolution();
    ++pointCount_;
    std::string row;
    for (const NetBus* bus : tableAngleColumns_) {
        AppendNumber(row, 0, 6, 2, bus->angle * kDegreesPerRadian);
        row += '\t';
    }
    for (const NetBus* bus : tableColumns_) {
        AppendNumber(row, 0, 6, 4, bus->voltage);
        row += '\t';
    }
    if (HasOption('e')) row += GeneratorModelRow(tableColumns_);
    if (HasOption('O')) {
        row += FormatNumber(0, EnergyWidth(*this), 4, EnergyMeasure(pointCount_ == 1)) + "\t";
        std::fputs(row.c_str(), file);
        row.clear();
        WriteConverterColumns(file);
    } else if (HasOption('e')) {
        row += ConverterDeviceValues();
    }
    for (const TotalsColumn& totals : kTotalsColumns)
        if (totals_[totals.flag]) row += FormatNumber(0, 8, 2, tableTotals_.*totals.value) + "\t";
    std::fputs(row.c_str(), file);
}

// Names of the converter columns, a pair of ends per link numbered from 2:
// option O's three coefficients at each end, or option e's angles and
// current of the link.
std::string Solver::ConverterColumnNames(bool energy) const {
    const std::string pad = EnergyWidth(*this) > 7 ? "\t" : "";
    std::string names;
    int j = 0;
    for (const auto& c : network_->converters) {
        if (c->code != "R") continue;
        j += 2;
        if (energy) {
            for (int end : {j - 1, j})
                for (const char* name : {"a", "b", "d"}) names += FormatInCLocale("%s%1d\t", name, end) + pad;
        } else {
            names += FormatInCLocale("alR_%1d\tgaI_%1d\tId_%1d\t", j, j, j);
        }
    }
    return names;
}

// Option O: for every link, three coefficients at the rectifier (its firing
// angle) and three at the inverter (its extinction angle), each from that
// converter's DC current Id, commutation reactance Xc and ratio a:
// -(Id Xc)^2, 2 sqrt2 Id Xc a cos(angle), 8 (Id a Xc)^2.
void Solver::WriteConverterColumns(FILE* file) {
    const int width = EnergyWidth(*this);
    std::string row;
    for (const auto& owned : network_->converters) {
        if (owned->code != "R") continue;
        for (const NetConverter* c : {owned.get(), owned->partner}) {
            const double idXc = c->id * c->xc;
            const double a = c->tap * c->nominalRatio;
            const double angle = c == owned.get() ? c->alpha : c->gamma;
            for (double value : {-idXc * idXc, 2.0 * std::sqrt(2.0) * idXc * a * std::cos(angle),
                                 8.0 * (idXc * a) * (idXc * a)})
                row += FormatNumber(0, width, 4, value) + "\t";
        }
    }
    std::fputs(row.c_str(), file);
}

// Option e: per link the rectifier's firing angle and the inverter's
// extinction angle in degrees, and the DC current in A.
std::string Solver::ConverterDeviceValues() const {
    std::string row;
    for (const auto& c : network_->converters) {
        if (c->code != "R") continue;
        const NetConverter& i = *c->partner;
        const double amperes = mvaBase_ / c->dcBaseKv * i.id * 1000.0;
        for (double value : {c->alpha * 180.0 / kPi, i.gamma * 180.0 / kPi, amperes})
            row += FormatNumber(0, 6, 2, value) + "\t";
    }
    return row;
}

// Closes the open row: with option f the tangent's values at its point, all
// 0 past the nose, where they no longer rank the buses; then the line end.
void Solver::EndTableRow(FILE* file, bool descending) {
    std::string end;
    if (HasOption('f')) {
        const TangentStatistics s = descending ? TangentStatistics{} : tangentStatistics_;
        end += FormatNumber(0, 6, 4, s.largest);
        end += FormatInCLocale("\t%6d\t", s.largestBus);
        end += FormatNumber(0, 6, 4, s.sum) + "\t";
        end += FormatNumber(0, 6, 4, s.factor) + "\t";
        end += s.busOfInterestEntry != 0.0 ? FormatNumber(0, 6, 4, 1.0 / s.busOfInterestEntry)
                                           : FormatInCLocale("%6d", 0);
        end += FormatInCLocale("\t%6d", s.busOfInterestRank);
    }
    end += '\n';
    std::fputs(end.c_str(), file);
}

// The loads follow the load model at the present voltage and load parameter.
void Solver::SumTableTotals() {
    tableTotals_ = {};
    std::size_t place = 0;
    for (const auto& bus : network_->buses) {
        const LoadModel& p = equationArrays_.LoadModelP(*bus, place);
        const LoadModel& q = equationArrays_.LoadModelQ(*bus, place++);
        tableTotals_.loadP += LoadAt(p, bus->voltage, lambda_);
        tableTotals_.loadQ += LoadAt(q, bus->voltage, lambda_);
        tableTotals_.generationP += bus->generationP;
        tableTotals_.generationQ += bus->generationQ;
    }
}

bool Solver::InMonitoredList(const NetBus* bus, const std::vector<NetBus*>& list) {
    return std::find(list.begin(), list.end(), bus) != list.end();
}
