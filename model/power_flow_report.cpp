// The power-flow report: the results the elements hold, read through the
// model's own record cursor as the solver would receive them, as one table
// of buses and one of branches, each closed by its totals.

#include <array>
#include <string>

#include "branch_loading.h"
#include "format_text.h"
#include "power_system.h"
#include "report_interface.h"
#include "report_markers.h"

namespace {

constexpr IDBReport::_ENDL kNewLine{};
constexpr int kBusWidth = 145;
constexpr int kBranchWidth = 154;

// Pgen, Qgen, Pload, Qload, shunt P, shunt Q: MW and Mvar.
using BusTotals = std::array<double, 6>;
// Ploss, Qloss.
using LossTotals = std::array<double, 2>;

void BoldLine(IDBReport& report, const char* text) {
    report << ReportMarker::kBoldStart << text << ReportMarker::kBoldEnd << kNewLine;
}

const char* NameOrEmpty(const char* name) { return name ? name : ""; }

void WriteBusReportLine(const BusRecord& r, IDBReport& report) {
    const double v = r.voltageCopy;  // the solved voltage the bus holds, p.u.
    report << FormatText("%6d %-20s", r.number, NameOrEmpty(r.name)) << FormatText("%12.3f", r.baseKv * v)
           << FormatText("%10.3f", v) << FormatText("%12.3f", r.angle) << FormatText("%12.3f", r.baseKv);
    for (double x : {r.generationP, r.generationQ, r.loadP, r.loadQ, r.shuntPProduct, r.shuntQ})
        report << FormatText("%12.3f", x);
    report << kNewLine;
}

void WriteBranchReportLine(const BranchRecord& r, IDBReport& report, bool transformer) {
    report.Rule('-', kBranchWidth, true);
    const double loading = BranchLoading(transformer ? BranchRecord::Transformer : BranchRecord::Line, r.pFrom,
                                         r.qFrom, r.pTo, r.qTo, r.currentFrom, r.currentTo, r.rating);
    report << FormatText("%-20s %-20s", NameOrEmpty(r.fromName), NameOrEmpty(r.toName))
           << FormatText("%12.3f", r.currentFrom) << FormatText("%12.3f", r.currentTo)
           << FormatText("%14.3f", r.rating) << FormatText("%8.1f%%", loading);
    for (double x : {r.pFrom, r.qFrom, r.pTo, r.qTo, r.pLoss, r.qLoss}) report << FormatText("%11.3f", x);
    report << kNewLine;
}

}  // namespace

IDBReport* PowerSystem::NewReport() {
    if (!reportMaker_ || !measurer_) return nullptr;
    return reportMaker_(*measurer_);
}

IDBReport* PowerSystem::PowerFlowReport(const char* text, int) {
    IDBReport* made = NewReport();
    if (!made) return nullptr;
    IDBReport& report = *made;
    report.SetPageType(2);
    report.SetRepeatHeader(false);
    report.SetSection(2);
    // One row per bus, as the elements hold their results.
    groupBuses_ = false;
    BusTotals busTotals{};
    LossTotals lossTotals{};

    report << std::string(29, ' ') << ReportMarker::kHighStart << "Quellmark - Power Flow Results" << kNewLine
           << kNewLine;
    BoldLine(report, "Bus Results");
    report.Rule('=', kBusWidth, true);
    report << FormatText("%6s %-20s%12s%10s%12s%12s%12s%12s%12s%12s%12s%12s", "ID", "Bus Name", "V [kV]", "V [p.u.]",
                         "Angle[deg]", "Vbase[kV]", "Pgen[MW]", "Qgen [MVAr]", "Pload [MW]", "Qload[MVAr]",
                         "Pshunt[MW]", "Qsh [MVAr]")
           << kNewLine;
    report.Rule('=', kBusWidth, true);
    const auto busSection = [&](int filter) {
        SetTable(IRecordCursor::BusTable, filter);
        MoveFirst();
        for (BusRecord r; Next(r); r = BusRecord{}) {
            report.Rule('-', kBusWidth, true);
            WriteBusReportLine(r, report);
            const double values[] = {r.generationP, r.generationQ, r.loadP, r.loadQ, r.shuntPProduct, r.shuntQ};
            for (std::size_t i = 0; i < busTotals.size(); ++i) busTotals[i] += values[i];
        }
    };
    BoldLine(report, "PV Buses");
    busSection(2);
    report.Rule('-', kBusWidth, true);
    BoldLine(report, "PQ Buses");
    busSection(1);
    report.Rule('=', kBusWidth, true);
    report << FormatText("TOTAL [Pg, Qg, Pl, Ql, Psh, Qsh] -->%49.3f%12.3f%12.3f%12.3f%12.3f%12.3f", busTotals[0],
                         busTotals[1], busTotals[2], busTotals[3], busTotals[4], busTotals[5])
           << kNewLine;
    report.Rule('=', kBusWidth, true);
    report << kNewLine;

    BoldLine(report, "Branch Results");
    report.Rule('=', kBranchWidth, true);
    report << FormatText("%-20s %-20s%12s%12s%14s%9s%11s%11s%11s%11s%11s%11s", "Bus From Name (i)",
                         "Bus To Name (j)", "Ii [A]", "Ij [A]", "Rating[A/MVA]", "LF [%]", "Pij [MW]", "Qij [MVAr]",
                         "Pji [MW]", "Qji [MVAr]", "Ploss[MW]", "Qlos[MVAr]")
           << kNewLine;
    report.Rule('=', kBranchWidth, true);
    const auto branchSection = [&](int filter, bool transformer) {
        SetTable(IRecordCursor::BranchTable, filter);
        MoveFirst();
        for (BranchRecord r; Next(r); r = BranchRecord{}) {
            WriteBranchReportLine(r, report, transformer);
            lossTotals[0] += r.pLoss;
            lossTotals[1] += r.qLoss;
        }
    };
    BoldLine(report, "Transformer Lines");
    branchSection(4, true);
    report.Rule('-', kBranchWidth, true);
    BoldLine(report, "Power Lines");
    branchSection(3, false);
    report.Rule('=', kBranchWidth, true);
    report << FormatText("TOTAL [Ploss, Qloss] -->%119.3f%11.3f", lossTotals[0], lossTotals[1]) << kNewLine;
    report.Rule('=', kBranchWidth, true);

    report.SetAlignment(2);
    report.SetTitle((std::string("Power Flow Results: ") + (text ? text : "")).c_str());
    return made;
}
