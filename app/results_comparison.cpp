// The comparison report: the bus results of both cases, then their branch
// results, each block of three lines (case 1, case 2, difference) and each
// table closed by its totals.

#include "results_comparison.h"

#include <array>
#include <cstddef>
#include <memory>

#include "ado_command.h"
#include "ado_parameter.h"
#include "ado_recordset.h"
#include "c_locale_format.h"
#include "report_interface.h"

namespace {

constexpr int kBusWidth = 145;
constexpr int kBranchHeaderRuleWidth = 153;
constexpr int kBranchWidth = 154;

// The messages of a result query's steps; the branch query reports its own
// failures to run with the bus query's texts.
struct QueryMessages {
    const char* cannotRunCase1;
    const char* cannotRunCase2;
    const char* tooFewRows;
    const char* countsDiffer;
};
constexpr QueryMessages kBusMessages{"Cannot obtain bus results for case1!", "Cannot obtain bus results for case2!",
                                     "Not enough data for comparisson!", "System not consisted in both cases!"};
constexpr QueryMessages kBranchMessages{"Cannot obtain bus results for case1!",
                                        "Cannot obtain bus results for case2!",
                                        "Not enough data for branch comparison!",
                                        "Branches: system not consisted in both cases!"};

// A value column of a table: the field it reads and how it is written.
struct Column {
    const char* field;
    const char* format;
};

// V [kV], V [p.u.], angle [deg], Vbase [kV], then the six powers that the
// totals add up (MW and Mvar).
constexpr std::array<Column, 10> kBusColumns{{{"V", "%12.3f"},
                                              {"Vpu", "%10.3f"},
                                              {"Angle", "%12.3f"},
                                              {"Vbase", "%12.3f"},
                                              {"Pgen", "%12.3f"},
                                              {"Qgen", "%12.3f"},
                                              {"Pload", "%12.3f"},
                                              {"Qload", "%12.3f"},
                                              {"Pshunt", "%12.3f"},
                                              {"Qshunt", "%12.3f"}}};
constexpr std::size_t kFirstBusPower = 4;

// Currents at both ends [A], the powers entering at both ends, then the
// two losses computed from them (MW and Mvar).
constexpr std::array<Column, 8> kBranchColumns{{{"Ifrom", "%12.3f"},
                                                {"Ito", "%12.3f"},
                                                {"Pfrom", "%11.3f"},
                                                {"Qfrom", "%11.3f"},
                                                {"Pto", "%11.3f"},
                                                {"Qto", "%11.3f"},
                                                {nullptr, "%11.3f"},
                                                {nullptr, "%11.3f"}}};
constexpr std::size_t kPloss = 6;
constexpr std::size_t kQloss = 7;

struct ReleaseReport {
    void operator()(IDBReport* report) const { report->Release(); }
};
using HeldReport = std::unique_ptr<IDBReport, ReleaseReport>;

// Both cases' rows of a result query, each run for its own system. False,
// with the step's message, when a run fails or the row counts do not match.
bool FetchBothCases(CADODataBase& database, const char* query, const ComparedCase& case1,
                    const ComparedCase& case2, CADORecordset& rows1, CADORecordset& rows2,
                    const QueryMessages& messages, std::string& failure) {
    CADOCommand command(&database, query, CommandType::StoredProc);
    CADOParameter system(ParameterType::Integer, 4, ParameterDirection::Input, "");
    CADOParameter solution(ParameterType::Integer, 4, ParameterDirection::Input, "");
    command.AddParameter(&system);
    command.AddParameter(&solution);
    const auto run = [&](const ComparedCase& side, CADORecordset& rows) {
        return system.SetValue(side.systemId) && solution.SetValue(side.caseId) && rows.Execute(&command);
    };
    if (!run(case1, rows1)) failure = messages.cannotRunCase1;
    else if (!run(case2, rows2)) failure = messages.cannotRunCase2;
    else if (rows1.GetRecordCount() < 1 || rows2.GetRecordCount() < 1) failure = messages.tooFewRows;
    else if (rows1.GetRecordCount() != rows2.GetRecordCount()) failure = messages.countsDiffer;
    else return true;
    return false;
}

// A field that cannot be read counts as 0 (or an empty name).
template <class T>
T Read(CADORecordset& rows, const char* field) {
    T value{};
    rows.GetFieldValue(field, value);
    return value;
}

template <std::size_t N>
std::array<double, N> ReadValues(CADORecordset& rows, const std::array<Column, N>& columns) {
    std::array<double, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        if (columns[i].field) values[i] = Read<double>(rows, columns[i].field);
    }
    return values;
}

template <std::size_t N>
void WriteValues(IDBReport& report, const std::array<Column, N>& columns, const std::array<double, N>& values) {
    for (std::size_t i = 0; i < N; ++i) report << FormatCLocale(columns[i].format, values[i]);
    report << NL;
}

template <std::size_t N>
std::array<double, N> Difference(const std::array<double, N>& a, const std::array<double, N>& b) {
    std::array<double, N> difference{};
    for (std::size_t i = 0; i < N; ++i) difference[i] = a[i] - b[i];
    return difference;
}

void WriteHeading(IDBReport& report, const ComparedCase& case1, const ComparedCase& case2) {
    report.SetPageType(2);
    report.SetRepeatHeader(false);
    report.SetSection(2);
    report << std::string(29, ' ') << fmtHighStart << "Quellmark - Power Flow Results Comparison" << NL << NL;
    report << fmtBoldStart << "Case 1: " << case1.label << fmtBoldEnd << NL;
    report << fmtBoldStart << "Case 2: " << case2.label << fmtBoldEnd << NL << NL;
    report << fmtBoldStart << "Bus Comparison Results" << fmtBoldEnd << NL;
}

void WriteBusTable(IDBReport& report, CADORecordset& rows1, CADORecordset& rows2) {
    report.Rule('=', kBusWidth, true);
    report << FormatCLocale("%6s %-20s%12s%10s%12s%12s%12s%12s%12s%12s%12s%12s", "ID", "Bus Name", "V [kV]",
                            "V [p.u.]", "Angle[deg]", "Vbase[kV]", "Pgen[MW]", "Qgen [MVAr]", "Pload [MW]",
                            "Qload[MVAr]", "Pshunt[MW]", "Qsh [MVAr]")
           << NL;
    report.Rule('=', kBusWidth, true);

    std::array<double, kBusColumns.size()> totals1{}, totals2{};
    rows1.MoveFirst();
    rows2.MoveFirst();
    for (bool first = true; !rows1.IsEof() && !rows2.IsEof(); first = false, rows1.MoveNext(), rows2.MoveNext()) {
        if (!first) report.Rule('-', kBusWidth, true);
        const auto values1 = ReadValues(rows1, kBusColumns);
        const auto values2 = ReadValues(rows2, kBusColumns);
        for (auto [rows, values] : {std::pair{&rows1, &values1}, std::pair{&rows2, &values2}}) {
            report << FormatCLocale("%6d %-20s", Read<int>(*rows, "ID"), Read<std::string>(*rows, "Name").c_str());
            WriteValues(report, kBusColumns, *values);
        }
        report.Spaces(27);
        WriteValues(report, kBusColumns, Difference(values1, values2));
        for (std::size_t i = kFirstBusPower; i < kBusColumns.size(); ++i) {
            totals1[i] += values1[i];
            totals2[i] += values2[i];
        }
    }

    auto difference = Difference(totals1, totals2);
    report.Rule('=', kBusWidth, true);
    for (auto [format, totals] :
         {std::pair{"TOTAL [Pg1, Qg1, Pl1, Ql1, Psh1, Qsh1] -->%43.3f%12.3f%12.3f%12.3f%12.3f%12.3f", &totals1},
          std::pair{"TOTAL [Pg2, Qg2, Pl2, Ql2, Psh2, Qsh2] -->%43.3f%12.3f%12.3f%12.3f%12.3f%12.3f", &totals2},
          std::pair{"TOTAL(CASE1-CASE2)                     -->%43.3f%12.3f%12.3f%12.3f%12.3f%12.3f", &difference}}) {
        const auto& t = *totals;
        report << FormatCLocale(format, t[4], t[5], t[6], t[7], t[8], t[9]) << NL;
    }
    report.Rule('=', kBusWidth, true);
    report << NL;
}

void WriteBranchTable(IDBReport& report, CADORecordset& rows1, CADORecordset& rows2) {
    report.Rule('=', kBranchHeaderRuleWidth, true);
    report << FormatCLocale("%-11s%-20s %-11s%-20s%12s%12s%11s%11s%11s%11s%11s%11s", "ID From", "Bus From Name (i)",
                            "ID To", "Bus To Name (j)", "Ii [A]", "Ij [A]", "Pij [MW]", "Qij [MVAr]", "Pji [MW]",
                            "Qji [MVAr]", "Ploss[MW]", "Qlos[MVAr]")
           << NL;
    report.Rule('=', kBranchWidth, true);

    std::array<double, 2> losses1{}, losses2{};
    rows1.MoveFirst();
    rows2.MoveFirst();
    for (bool first = true; !rows1.IsEof() && !rows2.IsEof(); first = false, rows1.MoveNext(), rows2.MoveNext()) {
        if (!first) report.Rule('-', kBranchWidth, true);
        auto values1 = ReadValues(rows1, kBranchColumns);
        auto values2 = ReadValues(rows2, kBranchColumns);
        for (auto [rows, values] : {std::pair{&rows1, &values1}, std::pair{&rows2, &values2}}) {
            auto& v = *values;
            v[kPloss] = v[2] + v[4];  // Pfrom + Pto
            v[kQloss] = v[3] + v[5];  // Qfrom + Qto
            report << FormatCLocale("%-11d%-20s %-11d%-20s", Read<int>(*rows, "BusFromID"),
                                    Read<std::string>(*rows, "BusFrom").c_str(), Read<int>(*rows, "BusToID"),
                                    Read<std::string>(*rows, "BusTo").c_str());
            WriteValues(report, kBranchColumns, v);
        }
        report.Spaces(63);
        WriteValues(report, kBranchColumns, Difference(values1, values2));
        losses1[0] += values1[kPloss];
        losses1[1] += values1[kQloss];
        losses2[0] += values2[kPloss];
        losses2[1] += values2[kQloss];
    }

    report.Rule('=', kBranchWidth, true);
    report << FormatCLocale("TOTAL [Ploss1, Qloss1] -->%117.3f%11.3f", losses1[0], losses1[1]) << NL;
    report << FormatCLocale("TOTAL [Ploss2, Qloss2] -->%117.3f%11.3f", losses2[0], losses2[1]) << NL;
    report << FormatCLocale("TOTAL(CASE1 - CASE2)   -->%117.3f%11.3f", losses1[0] - losses2[0],
                            losses1[1] - losses2[1])
           << NL;
    report.Rule('=', kBranchWidth, true);
}

}  // namespace

IDBReport* CompareResultCases(CADODataBase& database, const ComparedCase& case1, const ComparedCase& case2,
                              const ReportMaker& makeReport, std::string& failure) {
    failure.clear();
    CADORecordset rows1(&database);
    CADORecordset rows2(&database);
    if (!FetchBothCases(database, "getBusResults", case1, case2, rows1, rows2, kBusMessages, failure)) return nullptr;

    HeldReport report(makeReport());
    if (!report) {
        failure = "Cannot make the comparison report!";
        return nullptr;
    }
    WriteHeading(*report, case1, case2);
    WriteBusTable(*report, rows1, rows2);

    *report << fmtBoldStart << "Branch Comparison Results" << fmtBoldEnd << NL;
    if (!FetchBothCases(database, "getBranchResults", case1, case2, rows1, rows2, kBranchMessages, failure))
        return nullptr;
    WriteBranchTable(*report, rows1, rows2);

    report->SetAlignment(2);
    report->SetTitle("Power Flow Results Comparison");
    return report.release();
}
