#pragma once

#include <array>
#include <string>
#include <vector>

#include <QString>

#include "dialog_base.h"
#include "direction_factors.h"

class IModel;
class IRecordCursor;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// How generation and load grow in a continuation run, bus by bus: every
// bus with generation or load is a row of its totals and its three
// direction factors, edited one row or many rows at a time. OK hands each
// edited row to the model (IModel::ApplyRecordToElement) and stores the
// output path; the caller reads the run options. Cancel changes nothing.
class CDlgLoadDirections : public DialogBase {
public:
    static constexpr int kListId = 1115;
    static constexpr int kBrowseId = 1116;
    static constexpr int kOutputPathId = 1117;
    static constexpr int kCreateOutputId = 1132;
    static constexpr int kStopAtLoadId = 1133;
    static constexpr int kTotalLoadId = 1134;
    static constexpr int kEditId = 1051;
    static constexpr int kAdjustAllId = 1052;
    static constexpr int kAutoAdjustId = 1053;

    // The list's columns, in order.
    enum Column { kNameColumn, kPgenColumn, kPloadColumn, kQloadColumn, kPgColumn, kPlColumn, kQlColumn, kColumnCount };

    // The cursor is the model's; both are borrowed for the dialog's life.
    CDlgLoadDirections(PromptService& prompts, IRecordCursor& cursor, IModel& model, QWidget* parent = nullptr);

    // Read after OK.
    bool CreateOutput() const { return createOutput_ == 1; }
    bool StopAtLoad() const { return stopAtLoad_ == 1; }
    double TotalLoad() const { return totalLoad_; }  // MW

    // "&Edit...": the selected rows' factors, in the one-row dialog or the
    // many-row dialog.
    void OnEdit();
    // "Adjust &All...": every row selected, then edited.
    void OnAdjustAll();
    // "Auto Adjust": every factor a row has becomes 1.
    void OnAutoAdjust();
    // "...": the output file chosen in a save dialog.
    void OnBrowse();

protected:
    void OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool Validate() override;
    void Commit() override;

private:
    // A factor as stored in the model, or as the user last set it.
    struct Factor {
        double value = 0.0;
        bool edited = false;
    };
    struct DirectionRow {
        int busKey = 0;
        bool hasGeneration = false;
        bool hasLoad = false;
        std::array<Factor, 3> factors;  // kPg, kPl, kQl
    };

    void ListBuses();
    void AddRow(const DirectionRow& row, const std::array<QString, kPgColumn>& texts);
    // A factor set by the user: the cell shows it and OK hands it to the
    // model; a value equal to the one there changes nothing.
    void SetFactor(int row, int factor, double value);
    // The factors as the row's cells show them.
    DirectionFactors ShownFactors(int row) const;
    void EditOneRow(int row);
    void EditRows(const std::vector<int>& rows);
    std::vector<int> SelectedRows() const;
    void UpdateEditButton();
    // The two run options exclude each other: stopping at a load writes no
    // output file. `fromStopCheck` applies the whole rule; the output check
    // alone only enables the path.
    void ApplyRunOptions(bool fromStopCheck);

    IRecordCursor& cursor_;
    IModel& model_;
    std::vector<DirectionRow> rows_;
    QString outputPath_;
    int createOutput_ = 0;
    int stopAtLoad_ = 0;
    double totalLoad_ = 0.0;

    QTableWidget* list_;
    QLineEdit* outputPathField_;
    QPushButton* browseButton_;
    QCheckBox* createOutputBox_;
    QCheckBox* stopAtLoadBox_;
    QLineEdit* totalLoadField_;
    QPushButton* editButton_;
    QPushButton* adjustAllButton_;
};
