// The transfer-capability report: the study's figures, then every bus and
// every branch with its base-case values, its values at the transfer limit
// and their differences, read from the result's two record sets.

#include <array>
#include <string>

#include "branch_loading.h"
#include "branch_names.h"
#include "format_text.h"
#include "power_system.h"
#include "report_interface.h"
#include "report_markers.h"
#include "transfer_capability_result.h"

namespace {

constexpr IDBReport::_ENDL kNewLine{};
constexpr int kRuleWidth = 110;
constexpr int kLabelColumn = 30;  // where the heading's figures start
constexpr int kBusNameWidth = 20;
constexpr int kBusColumn = 15;
constexpr int kLineNameWidth = 30;
constexpr int kFlowColumn = 12;
constexpr int kLoadingColumn = 8;
constexpr const char* kNoBusName = "Bus_xx";

struct Section {
    const char* title;
    int filter;
};
constexpr Section kBusSections[] = {{"PQ Buses:", 1}, {"PV Buses:", 2}};
constexpr Section kBranchSections[] = {{"Power Transmition Lines:", 3}, {"Transformer Lines:", 4}};

using BusHeads = std::array<const char*, 6>;
constexpr BusHeads kBusBaseHeads = {"V(base)", "Angle(base)", "Pload(base)", "Qload(base)", "Pgen(base)", "Qgen(base)"};
constexpr BusHeads kBusTransferHeads = {"V TC", "Angle(TC)", "Pload(TC)", "Qload(TC)", "Pgen(TC)", "Qgen(TC)"};
constexpr BusHeads kBusUnits = {"[p.u.]", "[deg]", "[MW]", "[MVAr]", "[MW]", "[MVAr]"};
constexpr BusHeads kBranchBaseHeads = {"Pfrom(base)", "Pto(base)", "Qfrom(base)", "Qto(base)", "Ploss(base)",
                                       "Qloss(base)"};
constexpr BusHeads kBranchTransferHeads = {"Pfrom(TC)", "Pto(TC)", "Qfrom(TC)", "Qto(TC)", "Ploss(TC)", "Qloss(TC)"};
constexpr BusHeads kBranchUnits = {"[MW]", "[MW]", "[MVAr]", "[MVAr]", "[MW]", "[MVAr]"};

// V, angle, Pload, Qload, Pgen, Qgen.
std::array<double, 6> BusValues(const BusRecord& r) {
    return {r.voltage, r.angle, r.loadP, r.loadQ, r.generationP, r.generationQ};
}

// Pfrom, Pto, Qfrom, Qto and their sums (the losses).
std::array<double, 6> BranchFlows(const BranchRecord& r) {
    return {r.pFrom, r.pTo, r.qFrom, r.qTo, r.pFrom + r.pTo, r.qFrom + r.qTo};
}

class TransferCapabilityWriter {
public:
    TransferCapabilityWriter(IDBReport& report, TransferCapabilityResult& result, const PowerSystem& model)
        : report_(report), result_(result), model_(model) {}

    void Write(const char* text) {
        report_.SetPageType(1);
        report_.SetRepeatHeader(false);
        report_.SetSection(2);
        WriteHeading();
        for (const Section& section : kBusSections) WriteBusSection(section);
        report_ << kNewLine;
        Bold("Branch Results");
        report_ << kNewLine;
        for (const Section& section : kBranchSections) WriteBranchSection(section);
        report_.SetAlignment(2);
        report_.SetTitle((std::string("Transfer Capability Results: ") + (text ? text : "")).c_str());
    }

private:
    void Bold(const std::string& text) { report_ << ReportMarker::kBoldStart << text << ReportMarker::kBoldEnd; }

    void Figure(const char* label, const std::string& value) {
        report_.Spaces(kLabelColumn);
        report_.LeftJustify(label, 22);
        Bold(value);
        report_ << kNewLine;
    }

    // The names a branch is shown by: its element's as they are now, or
    // those the study copied when the element is gone.
    TransferCapabilityResult::BranchNames NamesOf(int key) const {
        if (const IElement* branch = model_.FindByKey(key)) return NamesOfBranch(*branch);
        for (const auto& row : result_.Branches(0)) {
            if (row.key == key) return row.names;
        }
        return {};
    }

    void WriteHeading() {
        report_.Spaces(20);
        report_ << ReportMarker::kHighStart << "Quellmark - Transfer Capabilty Results" << kNewLine << kNewLine;
        const int source = result_.GetSourceKey();
        const int destination = result_.GetDestinationKey();
        if (source != 0 && destination != 0) {
            Figure("Source Bus         :", model_.GetStudyName(source, kNoBusName));
            Figure("Destination Bus    :", model_.GetStudyName(destination, kNoBusName));
        }
        Figure("Transfer Rate      :", FormatText("%-.3f MW", result_.GetTransferred()));
        const int critical = result_.GetCriticalKey();
        const TransferCapabilityResult::BranchNames names = NamesOf(critical);
        if (critical != 0 && names.found) {
            Figure("Critical line name :", names.element + "(" + names.ends[0] + "-" + names.ends[1] + ")");
            Figure("Maximum load factor:", FormatText("%-.3f %%", result_.GetMaximumLoading()));
            report_ << kNewLine;
        }
        Bold("Bus Results");
        report_ << kNewLine;
    }

    // Both sets on the section's table and filter, the title, then both
    // walks started.
    void OpenSection(int table, const Section& section) {
        for (int set : {0, 1}) {
            result_.SelectSet(set);
            result_.SetTable(table, section.filter);
        }
        report_ << section.title << kNewLine;
        for (int set : {0, 1}) {
            result_.SelectSet(set);
            result_.MoveFirst();
        }
        result_.SelectSet(0);
        report_.Rule('=', kRuleWidth, true);
    }

    void Heads(const BusHeads& heads, int width) {
        for (const char* head : heads) report_.RightJustify(head, width);
    }

    // The next record of each set: the base case's and the transfer's.
    template <typename Record>
    bool NextPair(Record& base, Record& transfer) {
        result_.SelectSet(0);
        const bool more = result_.Next(base);
        result_.SelectSet(1);
        if (more) result_.Next(transfer);
        return more;
    }

    template <std::size_t N>
    void Numbers(const std::array<double, N>& values, int width) {
        for (double value : values) report_.Number(value, width, 3);
    }

    template <std::size_t N>
    static std::array<double, N> Differences(const std::array<double, N>& base, const std::array<double, N>& transfer) {
        std::array<double, N> change{};
        for (std::size_t i = 0; i < N; ++i) change[i] = transfer[i] - base[i];
        return change;
    }

    void WriteBusSection(const Section& section) {
        OpenSection(IRecordCursor::BusTable, section);
        report_.LeftJustify("Bus Name", kBusNameWidth);
        Heads(kBusBaseHeads, kBusColumn);
        report_ << kNewLine;
        report_.Spaces(kBusNameWidth);
        Heads(kBusTransferHeads, kBusColumn);
        report_ << kNewLine;
        report_.Spaces(kBusNameWidth);
        Heads({"TC-base", "TC-base", "TC-base", "TC-base", "TC-base", "TC-base"}, kBusColumn);
        report_ << kNewLine;
        report_.Spaces(kBusNameWidth);
        Heads(kBusUnits, kBusColumn);
        report_ << kNewLine;
        report_.Rule('=', kRuleWidth, true);

        BusRecord base, transfer;
        for (bool first = true; NextPair(base, transfer); first = false) {
            if (!first) report_.Rule('-', kRuleWidth, true);
            const auto before = BusValues(base);
            const auto after = BusValues(transfer);
            report_.LeftJustify(model_.GetStudyName(base.key, kNoBusName), kBusNameWidth);
            Numbers(before, kBusColumn);
            report_ << kNewLine;
            report_.Spaces(kBusNameWidth);
            Numbers(after, kBusColumn);
            report_ << kNewLine;
            report_.Spaces(kBusNameWidth);
            Numbers(Differences(before, after), kBusColumn);
            report_ << kNewLine;
        }
        report_.Rule('=', kRuleWidth, true);
    }

    void WriteBranchSection(const Section& section) {
        OpenSection(IRecordCursor::BranchTable, section);
        report_.LeftJustify("Line Name", kLineNameWidth);
        Heads(kBranchBaseHeads, kFlowColumn);
        report_.RightJustify("LF(base)", kLoadingColumn);
        report_ << kNewLine;
        report_.LeftJustify("Bus Name", 15);
        report_.LeftJustify("Bus Name", 15);
        Heads(kBranchTransferHeads, kFlowColumn);
        report_.RightJustify("LF(TC)", kLoadingColumn);
        report_ << kNewLine;
        report_.LeftJustify("(From)", 15);
        report_.LeftJustify("(To)", 15);
        Heads({"TC-base", "TC-base", "TC-base", "TC-base", "TC-base", "TC-base"}, kFlowColumn);
        report_.RightJustify("TC-base", kLoadingColumn);
        report_ << kNewLine;
        report_.Spaces(kLineNameWidth);
        Heads(kBranchUnits, kFlowColumn);
        report_.RightJustify("[%]", kLoadingColumn);
        report_ << kNewLine;
        report_.Rule('=', kRuleWidth, true);

        BranchRecord base, transfer;
        for (bool first = true; NextPair(base, transfer); first = false) {
            if (!first) report_.Rule('-', kRuleWidth, true);
            const TransferCapabilityResult::BranchNames names = NamesOf(base.key);
            const auto before = BranchFlows(base);
            const auto after = BranchFlows(transfer);
            const double loadingBefore = BranchLoading(base);
            const double loadingAfter = BranchLoading(transfer);
            report_.LeftJustify(names.found ? names.element : std::string("Line_xx"), kLineNameWidth);
            Numbers(before, kFlowColumn);
            report_.Number(loadingBefore, kLoadingColumn, 2);
            report_ << kNewLine;
            report_.LeftJustify(names.ends[0], 15);
            report_.LeftJustify(names.ends[1], 15);
            Numbers(after, kFlowColumn);
            report_.Number(loadingAfter, kLoadingColumn, 2);
            report_ << kNewLine;
            report_.Spaces(kLineNameWidth);
            Numbers(Differences(before, after), kFlowColumn);
            report_.Number(loadingAfter - loadingBefore, kLoadingColumn, 2);
            report_ << kNewLine;
        }
        report_.Rule('=', kRuleWidth, true);
    }

    IDBReport& report_;
    TransferCapabilityResult& result_;
    const PowerSystem& model_;
};

}  // namespace

IDBReport* PowerSystem::TransferCapabilityReport(TransferCapabilityResult* result, const char* text, int) {
    if (!result || result->GetSetCount() < 2) return nullptr;
    IDBReport* report = NewReport();
    if (!report) return nullptr;
    TransferCapabilityWriter(*report, *result, *this).Write(text);
    return report;
}
