#pragma once

#include <array>
#include <vector>

#include "element_dialog.h"
#include "network_records.h"

class CGridListCtrl;
class QCheckBox;
class QPushButton;
class VariableBank;

// Which of the step table's buttons work: with no row selected none;
// "Delete" with any; "Edit ...", "Up" and "Down" with exactly one, "Up"
// unless it is the first row and "Down" unless it is the last.
struct BankButtons {
    bool edit = false;
    bool remove = false;
    bool up = false;
    bool down = false;
    bool operator==(const BankButtons&) const = default;
};
// `row` is the selected row when exactly one is selected.
BankButtons BankButtonsFor(int selectedCount, int row, int rowCount);

// A switched capacitor or reactor bank: the Mvar at position 0, the step
// table edited row by row in the "Steps" dialog, and the label check; its
// present position and output are shown. OK rebuilds the bank's step list
// from the table at position 0, each value with the kind's sign; rows not
// edited keep their exact numbers.
class CDlgVarCondenserProperties : public ElementDialog {
public:
    enum ControlId : int {
        kPositionId = 1109,
        kGeneratedId = 1110,
        kValueAtZeroId = 1108,
        kStepListId = 1054,
        kAddId = 1106,
        kEditId = 1113,
        kDeleteId = 1107,
        kUpId = 1111,
        kDownId = 1112,
        kShowId = 1114,
    };

    CDlgVarCondenserProperties(IElement& element, PromptService& prompts, QWidget* parent = nullptr);

    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnUp();
    void OnDown();

protected:
    void LoadMembers() override;
    void ArrangeControls() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool WriteBack() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A typed value at position 0 is taken as its magnitude.
    void OnValueAtZeroEdited();
    void UpdateButtons();
    std::vector<int> SelectedRows() const;
    // The table's row shows the row's magnitudes.
    void ShowRow(int row);
    // A table row for the row of `rows_` at the same place.
    void InsertRow(int at);
    // Moves the one selected row by `offset` rows.
    void MoveSelected(int offset);
    // The Steps dialog on the block; true after OK with the typed numbers
    // in it.
    bool EditSteps(BankBlock& block);

    VariableBank* bank_;
    bool capacitor_ = true;
    int position_ = 0;
    double generated_ = 0;
    double valueAtZero_ = 0;
    int show_ = 0;
    // The table's rows: magnitudes, exact; the table shows them rounded.
    std::vector<BankBlock> rows_;

    QLineEdit* positionField_;
    QLineEdit* generatedField_;
    QLineEdit* valueAtZeroField_;
    CGridListCtrl* stepList_;
    QPushButton* editButton_;
    QPushButton* deleteButton_;
    QPushButton* upButton_;
    QPushButton* downButton_;
    QCheckBox* showCheck_;
};
