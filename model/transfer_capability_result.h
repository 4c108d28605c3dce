#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "record_cursor.h"

// What a transfer-capability study is asked: move active power from the
// source bus to the destination bus in steps until a power flow fails or a
// branch exceeds its rating, and write the changes between the base case
// and the last accepted case as graph data files.
struct TransferCapabilityRequest {
    int sourceKey = 0;
    int destinationKey = 0;
    double stepMw = 0.0;             // the first step; must be above 0
    double maximumTransferMw = 0.0;  // 0 or less: no limit
    // The graph data files of the changes; null skips one.
    const char* voltageFile = nullptr;  // V, p.u.
    const char* angleFile = nullptr;    // angle, degrees
    const char* qgenFile = nullptr;     // reactive generation, Mvar
    const char* loadingFile = nullptr;  // branch loading, percent
};

// The base case (set 0) and the last accepted transfer case (set 1) of a
// transfer-capability study, with the study's figures. It is a record
// cursor: after SelectSet, SetTable and MoveFirst, Next hands out the
// selected set's buses (table 0) or branches (table 1) as records, so that
// the solver can read a stored state back and a report can read both cases.
// It keeps copies of every name, so it outlives the solver and the study.
// Made with one owner, who deletes it with Release.
class TransferCapabilityResult final : public IRecordCursor {
public:
    // The names a branch is shown by, copied from the model.
    struct BranchNames {
        std::string element;
        std::array<std::string, 2> ends;  // the buses at its two ends
        bool found = false;               // false: no element has the key
    };
    // A branch as the study knows it beyond the solver's record: its
    // rating in its own unit (A for a line, MVA for a transformer; 0 or
    // less: none) and its names.
    struct BranchInfo {
        double rating = 0.0;
        BranchNames names;
    };
    using BranchLookup = std::function<BranchInfo(int key)>;

    struct BusRow {
        int key = 0;
        std::string name;  // as the solver gave it
        int kind = 0;
        double loadP = 0.0, loadQ = 0.0;              // MW, Mvar
        double generationP = 0.0, generationQ = 0.0;  // MW, Mvar
        double voltage = 0.0;                         // p.u.
        double angle = 0.0;                           // degrees
    };
    struct BranchRow {
        int key = 0;
        int kind = 0;  // 0 line, else transformer
        double pFrom = 0.0, qFrom = 0.0, pTo = 0.0, qTo = 0.0;  // MW, Mvar
        double pLoss = 0.0, qLoss = 0.0;
        double currentFrom = 0.0, currentTo = 0.0;  // A
        double rating = 0.0;  // A or MVA
        BranchNames names;
    };

    TransferCapabilityResult(int sourceKey, int destinationKey);
    TransferCapabilityResult(const TransferCapabilityResult&) = delete;
    TransferCapabilityResult& operator=(const TransferCapabilityResult&) = delete;

    // --- IRecordCursor ---
    void SetMode(char) override {}
    // Position 0 of the current set's table.
    int MoveFirst() override;
    // The next row of the current set that the filter passes (buses: 1
    // kinds 1, 3, 6, 7, 8; 2 kinds 0, 2, 4, 5; branches: 3 lines, 4
    // transformers; 0 all; any other none). Only the row's own fields are
    // written into the record; the others keep what the caller had there.
    bool Next(BusRecord& record) override;
    bool Next(BranchRecord& record) override;
    int GetSetCount() override { return setCount_; }
    // False while no set is stored or for a set other than 0 and 1.
    bool SelectSet(int set) override;
    // Table and filter of the current set, from its first row.
    void SetTable(int table, int filter) override;
    // Deletes the result.
    void Release() override { delete this; }
    void SetGroupBuses(bool) override {}

    // --- The study's steps ---
    // Both sets take every bus and branch of the solver's results; each
    // branch takes its rating and names from `lookup`.
    void CollectInitialResults(IRecordCursor& results, int busCount, int branchCount, const BranchLookup& lookup);
    // The results of a transfer step: false, storing nothing, when a branch
    // exceeds its rating by more than 0.1 %; else the set's rows take the
    // new flows and bus values, paired with the records by position.
    bool CheckAndStore(IRecordCursor& results, int set);
    // The most loaded branch of the set (the first of equal maxima) and its
    // loading in percent, kept as the study's figures; key 0 and 0 % when no
    // branch has a rating.
    void FindCriticalLine(int set);
    void SetTransferred(double mw) { transferred_ = mw; }
    // The graph data file of the changes set 1 - set 0 of one quantity
    // (0 voltage, 1 reactive generation, 2 angle, 3 branch loading), the 24
    // largest first. Nothing for a null file; false when it could not be
    // written completely.
    bool WriteChangeFile(const char* file, int kind) const;

    // --- The figures and rows ---
    int GetSourceKey() const { return sourceKey_; }
    int GetDestinationKey() const { return destinationKey_; }
    double GetTransferred() const { return transferred_; }  // MW
    int GetCriticalKey() const { return criticalKey_; }
    double GetMaximumLoading() const { return maximumLoading_; }  // percent
    const std::vector<BusRow>& Buses(int set) const { return buses_[static_cast<std::size_t>(set)]; }
    const std::vector<BranchRow>& Branches(int set) const { return branches_[static_cast<std::size_t>(set)]; }

    // A branch's loading in percent: the larger end's MVA (transformers)
    // or current (lines) over its rating; 0 without a rating.
    static double Loading(const BranchRow& row);
    // The name a change file gives a branch: its element's name, or when
    // that is empty the names at its ends joined by "-"; "Line_xx" when no
    // element has its key.
    static std::string ChangeFileName(const BranchNames& names);

private:
    ~TransferCapabilityResult() = default;

    struct CursorState {
        int position = 0;
        bool branches = false;
        int table = 0;
        int filter = 0;
    };
    CursorState* Current();
    template <typename Row>
    static const Row* NextPassing(const std::vector<Row>& rows, CursorState& state, bool (*passes)(int, int));

    std::array<std::vector<BusRow>, 2> buses_;
    std::array<std::vector<BranchRow>, 2> branches_;
    std::array<CursorState, 2> states_{};
    int criticalKey_ = 0;
    int sourceKey_ = 0;
    int destinationKey_ = 0;
    double maximumLoading_ = 0.0;
    double transferred_ = 0.0;
    int currentSet_ = -1;
    int setCount_ = 0;
    int busCount_ = 0;
    int branchCount_ = 0;
};
