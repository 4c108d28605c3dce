// The power flow's file road: the model's own IEEE common-format case, the
// solver's run over it, and the solution listing read back.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "bus.h"
#include "bus_card.h"
#include "case_numbering.h"
#include "element_key.h"
#include "message_sink.h"
#include "power_system.h"
#include "replacement_file.h"
#include "scope_exit.h"
#include "solution_listing.h"
#include "view.h"

namespace {

// Bus numbers take four columns in a case file.
constexpr int kLargestCaseNumber = 9999;
// Columns of the numbers in a branch card: the from and to bus, the
// circuit, the controlled bus.
constexpr std::size_t kFromColumn = 0;
constexpr std::size_t kToColumn = 5;
constexpr std::size_t kCircuitColumn = 16;
constexpr std::size_t kControlledColumn = 68;
constexpr std::size_t kNumberWidth = 4;

void PutNumber(std::string& card, std::size_t column, int number) {
    char field[16];
    std::snprintf(field, sizeof field, "%4d", number);
    card.replace(column, kNumberWidth, field);
}

int NumberAt(const std::string& card, std::size_t column) {
    int number = 0;
    std::istringstream(card.substr(column, kNumberWidth)) >> number;
    return number;
}

bool ReadWholeFile(const char* path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

}  // namespace

bool PowerSystem::ExportIEEECommonFormat(const char* path) {
    CaseNumbering numbering;
    std::string text;
    if (!path || !ComposeIeeeCase(text, numbering)) return false;
    // A failed write leaves the file that was there as it was.
    try {
        WriteFileReplacing(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    } catch (const FileWriteError&) {
        ShowMessageBox(std::string("Cannot write the file ") + path + "!");
        return false;
    }
    return true;
}

bool PowerSystem::ComposeIeeeCase(std::string& text, CaseNumbering& numbering) {
    if (lists_[kBuses].GetCount() < 2) return false;
    BuildBusGroups();
    const auto groupNumbers = CaseNumbering::FreeGroupNumbers(lists_[kBuses], busGroups_.GetGroupCount());
    auto numberOf = [&](int busKey) {
        const int group = busGroups_.GetGroup(busKey);
        return group >= 0 ? groupNumbers[static_cast<std::size_t>(group)] : static_cast<int>(KeySerial(busKey));
    };
    auto fitsCase = [&](int number, const std::string& name) {
        if (number <= kLargestCaseNumber) return true;
        ShowMessageBox("Bus '" + name + "' takes the number " + std::to_string(number) +
                       ", which does not fit the four digits of a bus number in the IEEE common data format!");
        return false;
    };
    char title[64];
    std::snprintf(title, sizeof title, " 00/00/00 %-20s %6.1f\n", "Quellmark", GetMvaBase());
    text = title;
    text += "BUS DATA FOLLOWS\n";
    bool swing = false;

    // A group is one bus of the case, with the data its record merges.
    for (int index = 0; index < busGroups_.GetGroupCount(); ++index) {
        BusRecord record;
        if (!busGroups_.FillGroupRecord(index, &record)) continue;
        BusCard card;
        card.number = groupNumbers[static_cast<std::size_t>(index)];
        card.name = record.name;
        if (!fitsCase(card.number, card.name)) return false;
        card.type = BusCard::TypeOfKind(record.kind);
        if (card.type == BusCard::kSwingType && !record.hasGeneration) {
            ShowMessageBox("Generator must be connected to the swing bus!");
            return false;
        }
        swing = swing || card.type == BusCard::kSwingType;
        card.voltage = record.voltageCopy;
        card.angle = record.angle;
        card.loadP = record.loadP;
        card.loadQ = record.loadQ;
        card.generationP = card.type == BusCard::kSwingType ? 0.0 : record.generationP;
        card.generationQ = card.type == BusCard::kLoadType ? record.generationQ : 0.0;
        card.baseKv = record.baseKv;
        card.desiredVoltage = record.voltage;
        card.maxQ = record.maxQ;
        card.minQ = record.minQ;
        card.shuntG = record.shuntG;
        card.shuntB = record.shuntB;
        card.remoteBus = card.type == BusCard::kGeneratorType ? card.number : 0;
        text += card.Text() + '\n';
        numbering.AddGroup(card.number, index);
    }
    for (const auto& [key, bus] : lists_[kBuses].Entries()) {
        if (busGroups_.GetGroup(key) >= 0) continue;
        if (!fitsCase(numberOf(key), bus->GetName())) return false;
        std::string card;
        int flags = 0;
        if (!bus->WriteCDFCard(card, &flags)) {
            if (view_) view_->InvalidateAll();
            ShowMessageBox("Selected bus is not connected appropriately!");
            return false;
        }
        swing = swing || (flags & 1) != 0;
        text += card + '\n';
        numbering.AddBus(numberOf(key), key);
    }
    if (!swing) {
        ShowMessageBox("There is no swing bus in PS model!\nThere must be at least one swing bus in PS model!!!");
        return false;
    }

    text += "-999\nBRANCH DATA FOLLOWS\n";
    for (const auto& [key, line] : lists_[kLines].Entries()) {
        if (!line->IsOn()) continue;
        std::string card;
        if (!line->WriteCDFCard(card, nullptr) || card.size() < kControlledColumn + kNumberWidth) {
            if (view_) view_->InvalidateAll();
            ShowMessageBox("Selected line is not connected appropriately!");
            return false;
        }
        const auto& ends = line->GetEndKeys();
        const int from = numberOf(ends[0]);
        const int to = numberOf(ends[1]);
        if (from == to) {
            // Both ends are one node: the solver would refuse the whole case.
            ReportWarning("Line '" + line->GetName() + "' connects buses of one bus group and is left out of the solution!");
            continue;
        }
        // The controlled bus is one of the ends, named by its serial.
        const int controlled = NumberAt(card, kControlledColumn);
        if (controlled != 0 && controlled == static_cast<int>(KeySerial(ends[0]))) PutNumber(card, kControlledColumn, from);
        else if (controlled != 0 && controlled == static_cast<int>(KeySerial(ends[1]))) PutNumber(card, kControlledColumn, to);
        PutNumber(card, kFromColumn, from);
        PutNumber(card, kToColumn, to);
        card[kCircuitColumn] = numbering.AddBranch(key, from, to, card[kCircuitColumn]);
        text += card + '\n';
    }
    text += "-999\nEND OF DATA\n";
    return true;
}

int PowerSystem::SolveThroughFiles(const char* inFile, const char* outFile) {
    const std::string listing = outFile ? outFile : std::string(inFile) + ".lst";
    bool keepListing = false;
    ScopeExit endStudy([&] {
        if (solver_) solver_->Release();
        solver_ = nullptr;
        groupBuses_ = false;
        std::remove(inFile);
        if (!keepListing) std::remove(listing.c_str());
    });
    CaseNumbering numbering;
    std::string text;
    if (!ComposeIeeeCase(text, numbering)) return 0;
    {
        std::ofstream file(inFile, std::ios::binary | std::ios::trunc);
        file << text;
        file.close();
        if (!file) {
            ShowMessageBox(std::string("Cannot write the file ") + inFile + "!");
            return 0;
        }
    }
    if (!StartStudy()) return 0;
    const char* const items[] = {"Ostrand", "-I", inFile, listing.c_str()};
    const int solved = solver_->Main(4, items, 0);
    solver_->Release();
    solver_ = nullptr;
    if (solved != 1 || !ReadSolution(listing.c_str(), numbering)) return 0;
    keepListing = remote_;
    if (view_) view_->InvalidateAll();
    return 1;
}

bool PowerSystem::ReadSolution(const char* path) {
    CaseNumbering numbering;
    std::string text;
    return path && ComposeIeeeCase(text, numbering) && ReadSolution(path, numbering);
}

bool PowerSystem::ReadSolution(const char* path, CaseNumbering& numbering) {
    auto fail = [&](int line, const std::string& reason) {
        const std::string text = "Solution file '" + std::string(path) + "', line " + std::to_string(line) + ": " + reason;
        if (sink_) sink_->AddMessage(IMessageSink::Failure, text.c_str());
        return false;
    };
    std::string text;
    if (!ReadWholeFile(path, text)) {
        const std::string message = "Cannot open the solution file '" + std::string(path) + "'!";
        if (sink_) sink_->AddMessage(IMessageSink::Failure, message.c_str());
        return false;
    }
    SolutionListing listing;
    ListingError error;
    if (!ParseSolutionListing(text, listing, error)) return fail(error.line, error.reason);

    // Every row is matched to its element before any element changes.
    std::vector<BusRecord> buses;
    std::vector<BranchRecord> branches;
    std::map<int, std::size_t> branchAt;  // element key -> index in branches
    auto nominalKv = [this](int busKey) {
        IElement* bus = FindByKey(busKey);
        const double* values = bus ? bus->GetValues() : nullptr;
        return values ? values[Bus::kNominalKv] : 0.0;
    };
    for (const ListedBus& listed : listing.buses) {
        const auto node = numbering.Find(listed.number);
        if (!node) return fail(listed.line, "bus " + std::to_string(listed.number) + " is not in the network");
        BusRecord& bus = buses.emplace_back();
        bus.key = node->group ? BusGroups::GroupKey(node->id) : node->id;
        bus.voltage = listed.voltage;
        bus.angle = listed.angle;
        bus.generationP = listed.generationP;
        bus.generationQ = listed.generationQ;
        for (const ListedBranch& row : listed.branches) {
            const auto end = numbering.TakeBranchEnd(listed.number, row.farBus, row.circuit);
            if (!end)
                return fail(row.line, "no line or transformer of the network joins buses " +
                                          std::to_string(listed.number) + " and " + std::to_string(row.farBus));
            auto [at, added] = branchAt.emplace(end->key, branches.size());
            if (added) {
                BranchRecord& record = branches.emplace_back();
                record.key = end->key;
                const auto& ends = FindByKey(end->key)->GetEndKeys();
                record.fromBaseKv = nominalKv(ends[0]);
                record.toBaseKv = nominalKv(ends[1]);
            }
            BranchRecord& record = branches[at->second];
            (end->atFrom ? record.pFrom : record.pTo) = row.p;
            (end->atFrom ? record.qFrom : record.qTo) = row.q;
            (end->atFrom ? record.currentFrom : record.currentTo) = row.current;
            if (row.transformer) {
                // The ratio as the from end sees it.
                record.tapRatio = end->atFrom ? row.ratio : (row.ratio != 0.0 ? 1.0 / row.ratio : 0.0);
                record.phaseShift = row.shift;
            }
        }
    }
    groupBuses_ = numbering.HasGroups();
    ApplyRecords(buses, branches, false);
    if (remote_) {
        if (view_) view_->InvalidateAll();
        ShowMessageBox("Problem successfully solved!");
    }
    return true;
}
