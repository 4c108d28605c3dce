#pragma once

#include <optional>
#include <string_view>

#include "dialog_base.h"
#include "results_comparison.h"

class CADODataBase;
class CDBCombo;
class IDBReport;
class QListWidget;
class QPushButton;

// Picks two stored cases, each of a system of its own choice, and makes
// their comparison report. After Compare the caller takes the report; a
// report not taken is released with the dialog.
class CDlgCompareResults : public DialogBase {
public:
    static constexpr int kSystem1Id = 1148;
    static constexpr int kSystem2Id = 1149;
    static constexpr int kCaseList1Id = 1054;
    static constexpr int kCaseList2Id = 1055;

    // The model's own system, or -1 when it is not stored. The database
    // is borrowed; the maker makes the report on Compare.
    CDlgCompareResults(PromptService& prompts, CADODataBase& database, int systemId, ReportMaker makeReport,
                       QWidget* parent = nullptr);
    ~CDlgCompareResults() override;

    // Every system into both system choices, the model's own selected.
    bool FillSystems();
    // The cases of the side's chosen system (1 or 2) into its case list.
    void FillSolutions(int side);

    // Compare.
    void accept() override;
    void reject() override;

    // The report made by Compare, with its reference; null when none.
    IDBReport* TakeReport();

    CDBCombo* SystemChoice(int side) const { return side == 1 ? system1_ : system2_; }
    QListWidget* CaseList(int side) const { return side == 1 ? cases1_ : cases2_; }
    QPushButton* CompareButton() const { return compareButton_; }

protected:
    void DoDataExchange(DataExchange&) override {}
    void OnInitDialog() override;

private:
    // The system and case chosen on a side, named by the case's text.
    std::optional<ComparedCase> ChosenCase(int side) const;
    void EnableCompare();
    void ReleaseReport();
    void Tell(std::string_view text);

    CADODataBase& database_;
    int systemId_;
    ReportMaker makeReport_;
    IDBReport* report_ = nullptr;
    CDBCombo* system1_;
    CDBCombo* system2_;
    QListWidget* cases1_;
    QListWidget* cases2_;
    QPushButton* compareButton_;
};
