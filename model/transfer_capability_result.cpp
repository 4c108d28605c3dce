#include "transfer_capability_result.h"

#include <algorithm>
#include <cmath>

#include "branch_loading.h"
#include "record_filters.h"
#include "sensitivity_file.h"

namespace {

// A flow may exceed its rating by this much before a step is refused.
constexpr double kRatingMargin = 1.001;
// Rows of a change file.
constexpr std::size_t kChangeRows = 24;

bool IsTransformer(int kind) { return kind != 0; }

// False when a flow of the record exceeds the rating (A for lines, MVA for
// transformers) by more than the margin.
bool WithinRating(const BranchRecord& record, double rating) {
    if (!(rating > 0.0)) return true;
    const double limit = rating * kRatingMargin;
    if (IsTransformer(record.kind))
        return std::hypot(record.pFrom, record.qFrom) <= limit && std::hypot(record.pTo, record.qTo) <= limit;
    return std::fabs(record.currentFrom) <= limit && std::fabs(record.currentTo) <= limit;
}

// One quantity of a bus row as a change file shows it.
double BusQuantity(const TransferCapabilityResult::BusRow& row, int kind) {
    switch (kind) {
        case 0: return row.voltage;
        case 1: return row.generationQ;
        default: return row.angle;
    }
}

}  // namespace

// The next row from the state's position that its filter passes, the
// position moved past it; null at the end of the rows.
template <typename Row>
const Row* TransferCapabilityResult::NextPassing(const std::vector<Row>& rows, CursorState& state,
                                                 bool (*passes)(int filter, int kind)) {
    while (static_cast<std::size_t>(state.position) < rows.size()) {
        const Row& row = rows[static_cast<std::size_t>(state.position++)];
        if (passes(state.filter, row.kind)) return &row;
    }
    return nullptr;
}

TransferCapabilityResult::TransferCapabilityResult(int sourceKey, int destinationKey)
    : sourceKey_(sourceKey), destinationKey_(destinationKey) {}

TransferCapabilityResult::CursorState* TransferCapabilityResult::Current() {
    if (currentSet_ < 0 || currentSet_ >= setCount_) return nullptr;
    return &states_[static_cast<std::size_t>(currentSet_)];
}

bool TransferCapabilityResult::SelectSet(int set) {
    if (setCount_ == 0 || set < 0 || set >= setCount_) return false;
    currentSet_ = set;
    return true;
}

void TransferCapabilityResult::SetTable(int table, int filter) {
    CursorState* state = Current();
    if (!state) return;
    state->table = table;
    state->filter = filter;
    state->position = 0;
}

int TransferCapabilityResult::MoveFirst() {
    CursorState* state = Current();
    if (!state) return 0;
    state->position = 0;
    state->branches = state->table != BusTable;
    const std::size_t set = static_cast<std::size_t>(currentSet_);
    return static_cast<int>(state->branches ? branches_[set].size() : buses_[set].size());
}

bool TransferCapabilityResult::Next(BusRecord& record) {
    CursorState* state = Current();
    if (!state || state->branches) return false;
    const BusRow* row = NextPassing(buses_[static_cast<std::size_t>(currentSet_)], *state, BusFilterPasses);
    if (!row) return false;
    record.key = row->key;
    record.kind = row->kind;
    record.generationP = row->generationP;
    record.generationQ = row->generationQ;
    record.loadP = row->loadP;
    record.loadQ = row->loadQ;
    record.voltage = row->voltage;
    record.angle = row->angle;
    return true;
}

bool TransferCapabilityResult::Next(BranchRecord& record) {
    CursorState* state = Current();
    if (!state || !state->branches) return false;
    const BranchRow* row = NextPassing(branches_[static_cast<std::size_t>(currentSet_)], *state, BranchFilterPasses);
    if (!row) return false;
    record.key = row->key;
    record.kind = row->kind;
    record.pFrom = row->pFrom;
    record.qFrom = row->qFrom;
    record.pTo = row->pTo;
    record.qTo = row->qTo;
    record.pLoss = row->pLoss;
    record.qLoss = row->qLoss;
    record.currentFrom = row->currentFrom;
    record.currentTo = row->currentTo;
    record.rating = row->rating;
    return true;
}

void TransferCapabilityResult::CollectInitialResults(IRecordCursor& results, int busCount, int branchCount,
                                                     const BranchLookup& lookup) {
    busCount_ = busCount;
    branchCount_ = branchCount;
    std::vector<BusRow> buses;
    buses.reserve(static_cast<std::size_t>(std::max(busCount, 0)));
    results.SetTable(BusTable, 0);
    results.MoveFirst();
    for (BusRecord r; results.Next(r); r = BusRecord{}) {
        buses.push_back({r.key, r.name ? r.name : "", r.kind, r.loadP, r.loadQ, r.generationP, r.generationQ,
                         r.voltage, r.angle});
    }
    std::vector<BranchRow> branches;
    branches.reserve(static_cast<std::size_t>(std::max(branchCount, 0)));
    results.SetTable(BranchTable, 0);
    results.MoveFirst();
    for (BranchRecord r; results.Next(r); r = BranchRecord{}) {
        BranchInfo info = lookup(r.key);
        branches.push_back({r.key, r.kind, r.pFrom, r.qFrom, r.pTo, r.qTo, r.pLoss, r.qLoss, r.currentFrom,
                            r.currentTo, info.rating, std::move(info.names)});
    }
    buses_ = {buses, buses};
    branches_ = {branches, branches};
    setCount_ = 2;
    states_ = {};
}

bool TransferCapabilityResult::CheckAndStore(IRecordCursor& results, int set) {
    if (set < 0 || set >= setCount_) return false;
    std::vector<BranchRow>& branches = branches_[static_cast<std::size_t>(set)];
    std::vector<BranchRecord> branchRecords;
    branchRecords.reserve(branches.size());
    results.SetTable(BranchTable, 0);
    results.MoveFirst();
    for (BranchRecord r; branchRecords.size() < branches.size() && results.Next(r); r = BranchRecord{}) {
        if (!WithinRating(r, branches[branchRecords.size()].rating)) return false;
        branchRecords.push_back(r);
    }
    std::vector<BusRow>& buses = buses_[static_cast<std::size_t>(set)];
    results.SetTable(BusTable, 0);
    results.MoveFirst();
    for (BusRow& row : buses) {
        BusRecord r;
        if (!results.Next(r)) break;
        row.loadP = r.loadP;
        row.loadQ = r.loadQ;
        row.generationP = r.generationP;
        row.generationQ = r.generationQ;
        row.voltage = r.voltage;
        row.angle = r.angle;
    }
    for (std::size_t i = 0; i < branchRecords.size(); ++i) {
        const BranchRecord& r = branchRecords[i];
        BranchRow& row = branches[i];
        row.pFrom = r.pFrom;
        row.qFrom = r.qFrom;
        row.pTo = r.pTo;
        row.qTo = r.qTo;
        row.pLoss = r.pLoss;
        row.qLoss = r.qLoss;
        row.currentFrom = r.currentFrom;
        row.currentTo = r.currentTo;
    }
    return true;
}

double TransferCapabilityResult::Loading(const BranchRow& row) {
    return BranchLoading(row.kind, row.pFrom, row.qFrom, row.pTo, row.qTo, row.currentFrom, row.currentTo, row.rating);
}

void TransferCapabilityResult::FindCriticalLine(int set) {
    criticalKey_ = 0;
    maximumLoading_ = 0.0;
    if (set < 0 || set >= setCount_) return;
    for (const BranchRow& row : branches_[static_cast<std::size_t>(set)]) {
        const double loading = Loading(row);
        if (loading <= maximumLoading_) continue;
        criticalKey_ = row.key;
        maximumLoading_ = loading;
    }
}

std::string TransferCapabilityResult::ChangeFileName(const BranchNames& names) {
    if (!names.found) return "Line_xx";
    if (!names.element.empty()) return names.element;
    return names.ends[0] + "-" + names.ends[1];
}

bool TransferCapabilityResult::WriteChangeFile(const char* file, int kind) const {
    if (file == nullptr || setCount_ < 2) return file == nullptr;
    SensitivityFile changes;
    if (kind == 3) {
        const std::size_t count = std::min(branches_[0].size(), branches_[1].size());
        for (std::size_t i = 0; i < count; ++i) {
            const double change = Loading(branches_[1][i]) - Loading(branches_[0][i]);
            changes.Add(ChangeFileName(branches_[0][i].names), change, std::fabs(change));
        }
    } else {
        const std::size_t count = std::min(buses_[0].size(), buses_[1].size());
        for (std::size_t i = 0; i < count; ++i) {
            const double change = BusQuantity(buses_[1][i], kind) - BusQuantity(buses_[0][i], kind);
            changes.Add(buses_[0][i].name, change, std::fabs(change));
        }
    }
    changes.Sort();
    return changes.Write(file, kChangeRows);
}
